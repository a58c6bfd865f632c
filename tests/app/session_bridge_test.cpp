// The session's bridge methods end to end: page arguments in, reply texts out, against
// the simulator.
#include <gtest/gtest.h>

#include <memory>

#include "app/script_bridge.h"
#include "session/session_sim_fixture.h"

namespace valo::test {
namespace {

class SessionBridgeTest : public SessionSimTest {
 protected:
  void startBridge(const std::string& scenario = "{}") {
    bridge_.reset();
    ASSERT_NO_FATAL_FAILURE(start(scenario));
    bridge_ = std::make_unique<ScriptBridge>(context(), [] {});
  }
  std::string text(std::string_view method, const std::vector<std::string>& args) {
    std::optional<BridgeReply> reply = bridge_->call(method, args);
    EXPECT_TRUE(reply && reply->kind == BridgeReturn::kText) << method;
    return reply ? reply->text : "";
  }
  int16_t number(std::string_view method, const std::vector<std::string>& args) {
    std::optional<BridgeReply> reply = bridge_->call(method, args);
    EXPECT_TRUE(reply && reply->kind == BridgeReturn::kShort) << method;
    return reply ? reply->number : 0;
  }

  std::unique_ptr<ScriptBridge> bridge_;
};

TEST_F(SessionBridgeTest, LoginStatusOtpKeepAliveAndLogout) {
  ASSERT_NO_FATAL_FAILURE(startBridge());

  // A failed login runs no post-login checks.
  EXPECT_EQ(text("doLogin", {kUserId, "wrong"}),
            "{'errCode':'53907','errMsg':'<53907>使用者登入失敗(身分證字號或密碼錯誤)'}");
  EXPECT_TRUE(posts("getRegSet").empty());
  EXPECT_TRUE(platform_.ui.messageBoxes().empty());

  EXPECT_EQ(
      text("doLogin", {kUserId, kPassword}),
      "{'errCode':'0','errMsg':'(登入成功)','phone':'0912345678','email':'demo@example.com'}");
  // The component is not installed: the question was asked (and declined), and the
  // registry settings were fetched.
  ASSERT_EQ(platform_.ui.messageBoxes().size(), 1u);
  EXPECT_EQ(platform_.ui.messageBoxes()[0].caption, "安控元件安裝提示");
  EXPECT_EQ(posts("getRegSet").size(), 1u);

  const std::string status =
      "{'errCode':'0','errMsg':'','fnStatus':'30001','certCount':'0','effectCertCount':'0'}";
  EXPECT_EQ(text("getFnStatus", {kUserId}), status);
  EXPECT_EQ(text("getFnStatus", {kUserId}), status);
  // The CN is asked for once, then remembered.
  ASSERT_EQ(posts("getCn").size(), 1u);
  EXPECT_EQ(parameter(posts("getCn")[0], "userId"), kUserId);
  EXPECT_EQ(parameter(posts("getFnStatus")[1], "cn"), kCn);

  EXPECT_EQ(text("sendOtp", {"1", "1"}), "{'errCode':'0','errMsg':''}");
  EXPECT_EQ(text("validateOtp", {"not-the-code"}), "{'errCode':'999','errMsg':'OTP 驗證碼錯誤'}");

  EXPECT_EQ(bridge_->call("iAmAlive", {})->kind, BridgeReturn::kNothing);
  EXPECT_EQ(posts("iAmAlive").size(), 1u);

  EXPECT_EQ(number("doLogout", {"ignored"}), 0);
  EXPECT_EQ(context().sessionKey, "");
  // Without a session nothing can be sent.
  EXPECT_EQ(number("doLogout", {kUserId}), 1);
}

TEST_F(SessionBridgeTest, LogoutResultIsItsLowSixteenBits) {
  ASSERT_NO_FATAL_FAILURE(startBridge(R"({"faults": {"doLogout": {"rtnCode": "9"}}})"));
  ASSERT_NE(text("doLogin", {kUserId, kPassword}).find("'errCode':'0'"), std::string::npos);
  EXPECT_EQ(number("doLogout", {""}), static_cast<int16_t>(54003 - 65536));
}

}  // namespace
}  // namespace valo::test
