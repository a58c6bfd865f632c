#include "desktop/window_session_test_base.h"

#include <thread>

#include "desktop/display.h"
#include "desktop/process.h"
#include "desktop/x_robot.h"

namespace valo::desktoptest {

using nlohmann::json;
using std::chrono::milliseconds;

void WindowSessionTest::SetUp() {
  if (TestDesktop::get() == nullptr) {
    GTEST_SKIP() << "no desktop for the window tests: " << TestDesktop::unavailableReason();
  }
  for (const char* program : {"WebKitWebDriver", "xdotool", "import"}) {
    if (!haveProgram(program)) GTEST_SKIP() << program << " is not installed";
  }
}

void WindowSessionTest::startWindow(const std::string& program) {
  std::string error;
  session_ = WebDriverSession::start(program, error);
  ASSERT_NE(session_, nullptr) << error;
  ASSERT_TRUE(session_->waitForPage("res://valo/main.html")) << "the main page did not load";
  auto window = robot::findWindow(kMainWindowCaption);
  ASSERT_TRUE(window.has_value()) << "no main window on the screen";
  window_ = *window;
}

json WindowSessionTest::run(const std::string& script, const json& args) {
  WebDriverSession::Result result = session_->execute(script, args);
  EXPECT_TRUE(result.ok) << result.error;
  return result.value;
}

bool WindowSessionTest::waitFor(const std::string& script, const json& expected) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  json value;
  while (std::chrono::steady_clock::now() < deadline) {
    value = run(script);
    if (value == expected) return true;
    std::this_thread::sleep_for(milliseconds(100));
  }
  ADD_FAILURE() << script << " returned " << value.dump() << ", not " << expected.dump();
  return false;
}

bool WindowSessionTest::programEnds(std::chrono::seconds within) {
  const auto deadline = std::chrono::steady_clock::now() + within;
  while (processAlive(session_->programPid())) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(milliseconds(50));
  }
  return true;
}

}  // namespace valo::desktoptest
