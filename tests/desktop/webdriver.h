#ifndef VALO_TESTS_DESKTOP_WEBDRIVER_H_
#define VALO_TESTS_DESKTOP_WEBDRIVER_H_

#include <sys/types.h>

#include <chrono>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "desktop/process.h"

namespace valo::desktoptest {

// A W3C WebDriver session with the real program: WebKitWebDriver on a loopback port
// starts `binary --automation`, and the session drives its main window's page.
// Every request has a time limit.
class WebDriverSession {
 public:
  struct Result {
    bool ok = false;
    nlohmann::json value;  // the script's result when ok
    std::string error;     // what went wrong otherwise
  };

  // Starts the driver and the session on the test desktop; null (with `error`) on failure.
  static std::unique_ptr<WebDriverSession> start(const std::string& binary, std::string& error);
  ~WebDriverSession();
  WebDriverSession(const WebDriverSession&) = delete;
  WebDriverSession& operator=(const WebDriverSession&) = delete;

  // Runs `script` (a function body; `arguments` holds `args`) in the page and returns its
  // result. Safe to call from another thread while the main thread plays the user.
  Result execute(const std::string& script, const nlohmann::json& args = nlohmann::json::array(),
                 std::chrono::seconds timeout = std::chrono::seconds(30)) const;

  // Waits until the page at `url` has loaded.
  bool waitForPage(const std::string& url, std::chrono::seconds timeout = std::chrono::seconds(20));

  // The program's process id (0 when unknown).
  pid_t programPid() const { return programPid_; }

 private:
  WebDriverSession() = default;
  Result request(const std::string& method, const std::string& path, const nlohmann::json& body,
                 std::chrono::seconds timeout) const;

  int port_ = 0;
  std::string sessionId_;
  std::unique_ptr<ChildProcess> driver_;
  pid_t programPid_ = 0;
};

}  // namespace valo::desktoptest

#endif  // VALO_TESTS_DESKTOP_WEBDRIVER_H_
