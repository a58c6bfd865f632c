#include "desktop/webdriver.h"

#include <httplib.h>

#include <thread>

#include "desktop/display.h"
#include "support/closed_port.h"

namespace valo::desktoptest {

using nlohmann::json;

WebDriverSession::Result WebDriverSession::request(const std::string& method,
                                                   const std::string& path, const json& body,
                                                   std::chrono::seconds timeout) const {
  httplib::Client client("127.0.0.1", port_);
  client.set_connection_timeout(std::chrono::seconds(5));
  client.set_read_timeout(timeout);
  client.set_write_timeout(std::chrono::seconds(5));
  httplib::Result response = method == "GET"      ? client.Get(path.c_str())
                             : method == "DELETE" ? client.Delete(path.c_str())
                                                  : client.Post(path.c_str(), body.dump(),
                                                                "application/json; charset=utf-8");
  Result result;
  if (!response) {
    result.error = "no answer from the driver: " + httplib::to_string(response.error());
    return result;
  }
  json parsed = json::parse(response->body, nullptr, false);
  if (parsed.is_discarded() || !parsed.contains("value")) {
    result.error = "unreadable answer: " + response->body;
    return result;
  }
  if (response->status != 200) {
    result.error = parsed["value"].value("error", std::string("error")) + ": " +
                   parsed["value"].value("message", std::string());
    return result;
  }
  result.ok = true;
  result.value = parsed["value"];
  return result;
}

std::unique_ptr<WebDriverSession> WebDriverSession::start(const std::string& binary,
                                                          std::string& error) {
  TestDesktop* desktop = TestDesktop::get();
  if (desktop == nullptr) {
    error = TestDesktop::unavailableReason();
    return nullptr;
  }
  std::unique_ptr<WebDriverSession> session(new WebDriverSession);
  for (int attempt = 0; attempt < 3 && !session->driver_; ++attempt) {
    session->port_ = test::closedLoopbackPort();
    auto driver = ChildProcess::start(
        {"WebKitWebDriver", "--port=" + std::to_string(session->port_), "--host=local"},
        desktop->artifactDir() + "/webdriver.log");
    if (!driver) {
      error = "cannot start WebKitWebDriver";
      return nullptr;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    bool ready = false;
    while (!ready && std::chrono::steady_clock::now() < deadline) {
      if (driver->waitForExit(std::chrono::milliseconds(100))) break;  // port taken: retry
      Result status = session->request("GET", "/status", json(), std::chrono::seconds(2));
      ready = status.ok;
    }
    if (ready) session->driver_ = std::move(driver);
  }
  if (!session->driver_) {
    error = "WebKitWebDriver did not answer";
    return nullptr;
  }
  const json capabilities = {
      {"capabilities",
       {{"alwaysMatch",
         {{"webkitgtk:browserOptions", {{"binary", binary}, {"args", {"--automation"}}}}}}}}};
  Result created = session->request("POST", "/session", capabilities, std::chrono::seconds(30));
  if (!created.ok) {
    error = "no session: " + created.error;
    return nullptr;
  }
  session->sessionId_ = created.value.value("sessionId", std::string());
  for (pid_t child : childrenOf(session->driver_->pid())) session->programPid_ = child;
  return session;
}

WebDriverSession::~WebDriverSession() {
  if (!sessionId_.empty() && processAlive(programPid_)) {
    request("DELETE", "/session/" + sessionId_, json(), std::chrono::seconds(10));
  }
  driver_.reset();
}

WebDriverSession::Result WebDriverSession::execute(const std::string& script, const json& args,
                                                   std::chrono::seconds timeout) const {
  return request("POST", "/session/" + sessionId_ + "/execute/sync",
                 {{"script", script}, {"args", args}}, timeout);
}

bool WebDriverSession::waitForPage(const std::string& url, std::chrono::seconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < deadline) {
    Result state = execute("return [document.URL, document.readyState];", json::array(),
                           std::chrono::seconds(5));
    if (state.ok && state.value.is_array() && state.value[0] == url &&
        state.value[1] == "complete") {
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return false;
}

}  // namespace valo::desktoptest
