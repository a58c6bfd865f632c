#ifndef VALO_TESTS_DESKTOP_WINDOW_SESSION_TEST_BASE_H_
#define VALO_TESTS_DESKTOP_WINDOW_SESSION_TEST_BASE_H_

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "desktop/watchdog.h"
#include "desktop/webdriver.h"

namespace valo::desktoptest {

// The main window's caption as a search pattern.
inline constexpr char kMainWindowCaption[] = "^VALO 憑證管理程式 V 1\\.3$";

// A test that drives a real window program through WebKit's WebDriver: skips when the
// test desktop or its tools are missing, starts the program, waits for its main page and
// its window, and gives the test the page's script.
class WindowSessionTest : public ::testing::Test {
 protected:
  // Skips the test when there is no test desktop or a tool is missing; a derived SetUp
  // calls it first and returns when IsSkipped().
  void SetUp() override;
  // Starts `program` (from SetUp); a failure is a fatal test failure.
  void startWindow(const std::string& program);

  nlohmann::json run(const std::string& script,
                     const nlohmann::json& args = nlohmann::json::array());
  // Whether `script` comes to return `expected` within a few seconds.
  bool waitFor(const std::string& script, const nlohmann::json& expected);
  // Whether the program has ended within `within`.
  bool programEnds(std::chrono::seconds within);

  Watchdog watchdog_{std::chrono::seconds(120)};
  std::unique_ptr<WebDriverSession> session_;
  std::string window_;
};

}  // namespace valo::desktoptest

#endif  // VALO_TESTS_DESKTOP_WINDOW_SESSION_TEST_BASE_H_
