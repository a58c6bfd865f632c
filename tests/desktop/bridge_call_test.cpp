// What a bridge call does to the page and the window while it runs, through the real
// window with a few methods answered by the test harness (see harness/window_harness.cpp).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <future>
#include <nlohmann/json.hpp>
#include <thread>

#include "desktop/display.h"
#include "desktop/process.h"
#include "desktop/watchdog.h"
#include "desktop/webdriver.h"
#include "desktop/window_session_test_base.h"
#include "desktop/x_robot.h"

namespace valo::desktoptest {
namespace {

using nlohmann::json;
using std::chrono::milliseconds;

class BridgeCallTest : public WindowSessionTest {
 protected:
  void SetUp() override {
    WindowSessionTest::SetUp();
    if (IsSkipped()) return;
    logPath_ = TestDesktop::get()->root() + "/harness-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".log";
    setenv("VALO_HARNESS_LOG", logPath_.c_str(), 1);
    startWindow(VALO_WINDOW_HARNESS);
  }

  // Starts `script` in the page without waiting for it.
  std::future<WebDriverSession::Result> start(const std::string& script,
                                              const json& args = json::array()) {
    const WebDriverSession* session = session_.get();
    return std::async(std::launch::async, [session, script, args] {
      return session->execute(script, args, std::chrono::seconds(60));
    });
  }

  // The calls the harness has answered so far.
  std::string harnessLog() const {
    std::ifstream log(logPath_);
    return std::string(std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>());
  }

  std::string logPath_;
};

TEST_F(BridgeCallTest, RepliesOfAnyTextArriveIntact) {
  const std::vector<std::string> texts = {
      "{'errCode':'0','errMsg':'it\\'s \"quoted\"'}",
      "</script><script>alert(1)</script>",
      std::string("zero\0inside", 11),
      "中文訊息：憑證申請完成",
      "line\nbreak\r\ttab \u2028 \\ backslash 😀",
      "",
      std::string(200000, 'x'),
  };
  for (const std::string& text : texts) {
    const json echoed = run("return window.external.qrySvrCertInfo(arguments[0]);", {text});
    EXPECT_EQ(echoed, text) << "length " << text.size();
  }
}

TEST_F(BridgeCallTest, ReturnKindsAndFailuresReachThePageAsReplies) {
  const json replies = run(R"JS(
    const results = [window.external.doLogout('-2'), typeof window.external.doLogout('7'),
                     window.external.doTest('A123456789')];
    try {
      results.push(window.external.getFnStatus('A123456789'));  // the operation throws
    } catch (e) {
      results.push('script error: ' + e);
    }
    return results;)JS");
  EXPECT_EQ(replies, json({-2, "number", nullptr, "{'errCode':'1','errMsg':'<1>不明的錯誤'}"}));
}

TEST_F(BridgeCallTest, ACallThatShowsADialogBlocksThePageUntilItIsAnswered) {
  for (const auto& [key, answer] : {std::pair{"Return", "OK"}, std::pair{"Escape", "CANCEL"}}) {
    auto call = start(R"JS(
      const started = Date.now();
      const reply = window.external.replaceCert('要繼續嗎?');
      return [reply, Date.now() - started];)JS");
    // The message box carries the program's caption, as the main window does.
    auto box = robot::findOtherWindow(kMainWindowCaption, window_);
    ASSERT_TRUE(box.has_value()) << "the call showed no message box";
    std::this_thread::sleep_for(milliseconds(1000));
    EXPECT_EQ(call.wait_for(milliseconds(0)), std::future_status::timeout)
        << "the page went on while the dialog was open";
    if (std::string(key) == "Return") {
      EXPECT_FALSE(saveScreenshot("root", "bridge-call-message-box").empty());
    }
    ASSERT_TRUE(robot::pressKeys(*box, {key}));
    ASSERT_EQ(call.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    WebDriverSession::Result result = call.get();
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.value[0], answer);
    EXPECT_GE(result.value[1].get<int>(), 1000) << "the reply came before the answer";
  }
}

TEST_F(BridgeCallTest, ALongCallDoesNotCostThePage) {
  // Long enough for WebKit to call the page's process unresponsive.
  auto call = start("return window.external.replaceCert('請稍候');");
  auto box = robot::findOtherWindow(kMainWindowCaption, window_);
  ASSERT_TRUE(box.has_value());
  std::this_thread::sleep_for(std::chrono::seconds(6));
  ASSERT_TRUE(robot::pressKeys(*box, {"Return"}));
  ASSERT_EQ(call.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  WebDriverSession::Result result = call.get();
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.value, "OK");
  EXPECT_EQ(run("window.still = 'here'; return [document.URL, window.still];"),
            json({"res://valo/main.html", "here"}));
}

TEST_F(BridgeCallTest, ClicksMadeDuringACallAreDropped) {
  run(R"JS(window.clicks = 0;
          document.addEventListener('mousedown', () => ++window.clicks);
          return 0;)JS");
  auto geometry = robot::geometry(window_);
  ASSERT_TRUE(geometry.has_value());
  const int x = geometry->width / 2;
  const int y = geometry->height * 3 / 4;  // well inside the page
  ASSERT_TRUE(robot::clickAt(window_, x, y));
  ASSERT_TRUE(waitFor("return window.clicks;", 1)) << "a click on the idle page counts";

  auto call = start("return window.external.dlCert('2000');");
  std::this_thread::sleep_for(milliseconds(500));
  ASSERT_TRUE(robot::clickAt(window_, x, y));
  ASSERT_TRUE(robot::clickAt(window_, x, y + 20));
  ASSERT_TRUE(robot::pressKeys(window_, {"b"}));
  ASSERT_EQ(call.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  WebDriverSession::Result result = call.get();
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.value, "done");
  std::this_thread::sleep_for(milliseconds(500));
  EXPECT_EQ(run("return window.clicks;"), 1)
      << "clicks made while the page was blocked came through";

  ASSERT_TRUE(robot::clickAt(window_, x, y));
  EXPECT_TRUE(waitFor("return window.clicks;", 2)) << "the page takes clicks again after the call";
}

TEST_F(BridgeCallTest, TheWindowCannotBeClosedUnderADialogOfACall) {
  auto call = start("return window.external.replaceCert('關閉前確認');");
  auto box = robot::findOtherWindow(kMainWindowCaption, window_);
  ASSERT_TRUE(box.has_value());
  ASSERT_TRUE(robot::requestClose(window_));  // as a window manager's close would
  std::this_thread::sleep_for(milliseconds(500));
  ASSERT_TRUE(robot::pressKeys(*box, {"Return"}));
  ASSERT_EQ(call.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  WebDriverSession::Result result = call.get();
  EXPECT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.value, "OK");
  std::this_thread::sleep_for(milliseconds(500));
  EXPECT_TRUE(processAlive(session_->programPid())) << "the window under the dialog closed";
  EXPECT_EQ(run("return window.external.qrySvrCertInfo('still here');"), "still here");
}

TEST_F(BridgeCallTest, AClosePressedDuringACallWaitsForTheCallToReturn) {
  auto call = start("return window.external.dlCert('1500');");
  std::this_thread::sleep_for(milliseconds(300));
  ASSERT_TRUE(robot::requestClose(window_));
  std::this_thread::sleep_for(milliseconds(500));
  EXPECT_TRUE(processAlive(session_->programPid())) << "closed in the middle of a call";
  EXPECT_TRUE(programEnds(std::chrono::seconds(10))) << "the close was forgotten";
  EXPECT_NE(harnessLog().find("dlCert -> done\n"), std::string::npos)
      << "the window closed before the call returned";
  call.wait();
}

TEST_F(BridgeCallTest, AScriptGoesOnAfterCloseAppUntilItEnds) {
  session_->execute(R"JS(
    window.external.closeApp();
    window.external.qrySvrCertInfo('after closeApp');
    return 0;)JS");
  EXPECT_TRUE(programEnds(std::chrono::seconds(10)));
  EXPECT_NE(harnessLog().find("closeApp -> \nqrySvrCertInfo -> after closeApp\n"),
            std::string::npos)
      << harnessLog();
}

TEST_F(BridgeCallTest, TheAgreementDialogRunsInsideACall) {
  auto call = start("return window.external.crtNewCert('A123456789');");
  auto agreement = robot::findWindow("^憑證管理中心用戶約定條款$");
  ASSERT_TRUE(agreement.has_value()) << "the agreement dialog did not open";
  std::this_thread::sleep_for(milliseconds(1500));  // its page loads in its own process
  EXPECT_FALSE(saveScreenshot("root", "bridge-call-agreement").empty());
  ASSERT_TRUE(robot::pressKeys(*agreement, {"Escape"}));
  ASSERT_EQ(call.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  WebDriverSession::Result result = call.get();
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.value, "CANCEL");
}

}  // namespace
}  // namespace valo::desktoptest
