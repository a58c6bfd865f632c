// The real program under WebKit's WebDriver: its window, its page and the bridge.
#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <future>
#include <nlohmann/json.hpp>
#include <thread>

#include "app/gtk/branding.h"
#include "app/script_bridge.h"
#include "desktop/display.h"
#include "desktop/process.h"
#include "desktop/watchdog.h"
#include "desktop/webdriver.h"
#include "desktop/window_session_test_base.h"
#include "desktop/x_robot.h"
#include "support/gateway_sim_process.h"

namespace valo::desktoptest {
namespace {

using nlohmann::json;
using std::chrono::milliseconds;

constexpr char kMainPage[] = "res://valo/main.html";

class MainWindowTest : public WindowSessionTest {
 protected:
  void SetUp() override {
    WindowSessionTest::SetUp();
    if (IsSkipped()) return;
    // The program checks its version with the gateway built into it before it shows the
    // window.
    gateway_ = std::make_unique<test::GatewaySimProcess>(test::GatewaySimProcess::builtInPorts());
    ASSERT_TRUE(gateway_->ready()) << gateway_->error();
    startWindow(VALO_PROGRAM);
  }

  std::unique_ptr<test::GatewaySimProcess> gateway_;
};

TEST_F(MainWindowTest, ShowsThePageFromTheProgramsResources) {
  const json page = run(R"JS(
    const image = document.querySelector('img');
    return [document.URL, document.characterSet, document.title,
            document.getElementById('clientVersion').textContent,
            image.complete && image.naturalWidth > 0];)JS");
  EXPECT_EQ(page, json({kMainPage, "UTF-8", "VALO 憑證管理程式", "1.3", true}));

  auto geometry = robot::geometry(window_);
  ASSERT_TRUE(geometry.has_value());
  EXPECT_NEAR(geometry->width, 640, 40);
  EXPECT_NEAR(geometry->height, 535 + 60, 60);  // the page, with the title bar above it
  const json viewport = run("return [window.innerWidth, window.innerHeight];");
  EXPECT_EQ(viewport, json({640, 535}));
  EXPECT_FALSE(saveScreenshot(window_, "main-window").empty());
}

TEST_F(MainWindowTest, WindowExternalHasExactlyTheBridgeMethodsAndIsFrozen) {
  const json names = run("return Object.keys(window.external);");
  // The table itself is pinned by the bridge's own tests; the page must see exactly it.
  json expected = json::array();
  for (const BridgeMethod& method : bridgeMethods()) expected.push_back(method.name);
  EXPECT_EQ(names, expected);
  const json locked = run(R"JS(
    const before = window.external;
    try { window.external = {}; } catch (e) {}
    try { window.external.doTest = null; } catch (e) {}
    try { delete window.external.closeApp; } catch (e) {}
    return [Object.isFrozen(window.external), window.external === before,
            Object.values(window.external).every((m) => typeof m === 'function')];)JS");
  EXPECT_EQ(locked, json({true, true, true}));
}

TEST_F(MainWindowTest, MethodsAnswerWithTheBridgesReplies) {
  const json replies = run(R"JS(
    const random = eval('(' + window.external.getRandom() + ')');
    return [window.external.getClientVersion(), window.external.doTest('A123456789'),
            /^[01]\.\d{6}$/.test(random.rnd), random.errCode];)JS");
  EXPECT_EQ(replies,
            json({"{'errCode':'0','errMsg':'','clientVersion':'1.3'}", nullptr, true, "0"}));
}

// Holds the built-in gateway's port and drops every connection, so that the program's
// gateway requests fail as they do when the gateway is down.
class UnreachableGateway {
 public:
  UnreachableGateway() {
    fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int yes = 1;
    setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(8443);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    listening_ = bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                 listen(fd_, 16) == 0;
    if (listening_) {
      thread_ = std::thread([this] {
        for (;;) {
          const int connection = accept(fd_, nullptr, nullptr);
          if (connection < 0) return;
          // Reset rather than close: a closed connection would hold the port in TIME_WAIT
          // and keep the next test from taking it.
          const linger reset{1, 0};
          setsockopt(connection, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
          close(connection);
        }
      });
    }
  }
  ~UnreachableGateway() {
    shutdown(fd_, SHUT_RDWR);
    if (thread_.joinable()) thread_.join();
    close(fd_);
  }
  bool listening() const { return listening_; }

 private:
  int fd_ = -1;
  bool listening_ = false;
  std::thread thread_;
};

TEST_F(MainWindowTest, ACallThatShowsAMessageBoxBlocksThePageUntilItIsAnswered) {
  // After a login the program asks whether to install the security component, which this
  // desktop lacks: a native question inside the bridge call.
  auto call = std::async(std::launch::async, [this] {
    return session_->execute(R"JS(
      const started = Date.now();
      const reply = window.external.doLogin('A123456789', 'demo1234');
      return [reply, Date.now() - started];)JS",
                             json::array(), std::chrono::seconds(60));
  });
  auto box = robot::findWindow("^安控元件安裝提示$", milliseconds(20000));
  ASSERT_TRUE(box.has_value()) << "no question";
  std::this_thread::sleep_for(milliseconds(1000));
  EXPECT_EQ(call.wait_for(milliseconds(0)), std::future_status::timeout)
      << "the page went on while the question was open";
  EXPECT_FALSE(saveScreenshot("root", "main-window-message-box").empty());
  ASSERT_TRUE(robot::pressKeys(*box, {"Escape"}));  // Cancel: nothing is installed
  ASSERT_EQ(call.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  WebDriverSession::Result result = call.get();
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(
      result.value[0],
      "{'errCode':'0','errMsg':'(登入成功)','phone':'0912345678','email':'demo@example.com'}");
  EXPECT_GE(result.value[1].get<int>(), 1000);
  EXPECT_EQ(gateway_->journalOf("getRegSet").size(), 1u) << "Cancel still applies the settings";
}

TEST_F(MainWindowTest, AWrongCallIsAFailureReplyNotAScriptError) {
  const json replies = run(R"JS(
    return [window.external.doLogin('only one argument'), window.external.getClientVersion('extra'),
            window.external.doLogout(), window.external.closeApp('extra')];)JS");
  EXPECT_EQ(replies, json({"{'errCode':'1','errMsg':'<1>不明的錯誤'}",
                           "{'errCode':'1','errMsg':'<1>不明的錯誤'}", 1, nullptr}));
  EXPECT_TRUE(processAlive(session_->programPid())) << "a failed closeApp must not close";
}

TEST_F(MainWindowTest, EscapeAndEnterLeaveTheWindowOpen) {
  run(R"JS(window.seenKeys = [];
          document.addEventListener('keydown', (e) => window.seenKeys.push(e.key));
          return 0;)JS");
  ASSERT_TRUE(robot::pressKeys(window_, {"Escape", "Return", "Escape", "a"}));
  // The page never sees Escape; other keys reach it as usual.
  EXPECT_TRUE(waitFor("return window.seenKeys;", json({"Enter", "a"})));
  EXPECT_TRUE(robot::windowShown(kMainWindowCaption));
  EXPECT_TRUE(processAlive(session_->programPid()));
}

TEST_F(MainWindowTest, AboutBoxOpensFromTheWindowMenuAndReturns) {
  run("window.marker = 'unchanged'; return 0;");
  std::optional<std::string> about;
  // A busy machine may be slow to open the menu: a key typed before it is up goes to the
  // page, and the user tries again.
  for (int attempt = 0; attempt < 3 && !about; ++attempt) {
    ASSERT_TRUE(robot::pressKeys(window_, {"alt+space"}));
    std::this_thread::sleep_for(milliseconds(500));
    if (attempt == 0) {
      EXPECT_FALSE(saveScreenshot("root", "main-window-menu").empty());
    }
    ASSERT_TRUE(robot::typeKeys({"a"}));  // the item's mnemonic
    about = robot::findWindow("^關於 VALO$", milliseconds(3000));
  }
  ASSERT_TRUE(about.has_value()) << "the about box did not open";
  std::this_thread::sleep_for(milliseconds(300));
  EXPECT_FALSE(saveScreenshot("root", "main-window-with-about-box").empty());
  ASSERT_TRUE(robot::pressKeys(*about, {"Return"}));
  EXPECT_TRUE(robot::waitUntilGone("^關於 VALO$"));
  EXPECT_EQ(run("return [document.URL, window.marker];"), json({kMainPage, "unchanged"}));
}

TEST_F(MainWindowTest, CloseAppEndsTheProgram) {
  const pid_t program = session_->programPid();
  ASSERT_NE(program, 0);
  // The call returns to the page and the window closes right after, possibly before the
  // driver has the script's result: only the end of the program counts.
  session_->execute("window.external.closeApp(); return 0;");
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (processAlive(program) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(milliseconds(50));
  }
  EXPECT_FALSE(processAlive(program));
}

TEST_F(MainWindowTest, TheCloseButtonEndsTheProgram) {
  const pid_t program = session_->programPid();
  ASSERT_TRUE(robot::requestClose(window_));
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (processAlive(program) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(milliseconds(50));
  }
  EXPECT_FALSE(processAlive(program));
}

TEST(StartupCheckWindowTest, AFailedVersionCheckEndsTheProgramBeforeThePageIsShown) {
  if (TestDesktop::get() == nullptr) {
    GTEST_SKIP() << "no desktop for the window tests: " << TestDesktop::unavailableReason();
  }
  if (!haveProgram("xdotool")) GTEST_SKIP() << "xdotool is not installed";
  Watchdog watchdog{std::chrono::seconds(90)};
  test::GatewaySimProcess gateway(test::GatewaySimProcess::builtInPorts(
      R"({"faults": {"checkVersion": {"httpStatus": 500}}})"));
  ASSERT_TRUE(gateway.ready()) << gateway.error();
  auto program = ChildProcess::start({VALO_PROGRAM});
  ASSERT_NE(program, nullptr);
  // The window stays hidden, so the one window with the program's caption is the
  // version-check message.
  auto box = robot::findWindow(kMainWindowCaption, milliseconds(20000));
  ASSERT_TRUE(box.has_value()) << "no message";
  std::this_thread::sleep_for(milliseconds(300));
  EXPECT_FALSE(saveScreenshot("root", "startup-check-message").empty());
  EXPECT_EQ(robot::windows(kMainWindowCaption).size(), 1u) << "the main window was shown";
  EXPECT_FALSE(program->waitForExit(milliseconds(0))) << "ended before the message was read";
  EXPECT_TRUE(robot::pressKeys(*box, {"Return"}));
  EXPECT_TRUE(program->waitForExit(std::chrono::seconds(10))) << "the program did not end";
  EXPECT_EQ(gateway.journalOf("checkVersion").size(), 1u);
}

}  // namespace
}  // namespace valo::desktoptest
