// Login, logout and the function status against the simulator.
#include "session/login_session.h"

#include <gtest/gtest.h>

#include <chrono>

#include "session/function_status.h"
#include "session/session_sim_fixture.h"

namespace valo::test {
namespace {

using ProgressCall = platform::ScriptedUi::ProgressCall;
using std::chrono::milliseconds;

class LoginTest : public SessionSimTest {
 protected:
  struct Outcome {
    int code;
    std::string message;
    std::string phone;
    std::string email;
  };
  Outcome logIn(const std::string& id, const std::string& password) {
    Outcome out;
    out.phone = out.email = "stale";
    out.code = login(context(), id, password, out.message, out.phone, out.email);
    return out;
  }
  size_t echoRequests() const {
    size_t count = 0;
    for (const auto& line : sim_->journal()) count += line.value("service", "").starts_with("echo");
    return count;
  }
};

TEST_F(LoginTest, EmptyIdentityNumberStillLooksTheAddressUpAndShowsProgress) {
  ASSERT_NO_FATAL_FAILURE(start());
  const Outcome out = logIn("", kPassword);
  EXPECT_EQ(out.code, 53901);
  EXPECT_EQ(out.message, "<53901>使用者帳號空白()");
  EXPECT_EQ(out.phone, "");
  EXPECT_GE(echoRequests(), 1u);
  EXPECT_TRUE(posts("doLogin").empty());
  EXPECT_EQ(platform_.ui.progressCalls(),
            (std::vector<ProgressCall>{{"登入", "", 0, 100, "登入作業進行中, 請稍候 ..."},
                                       {"登入", "", -1, 100, "登入失敗"}}));
  EXPECT_TRUE(platform_.clock.sleeps().empty());
  EXPECT_EQ(context().sessionKey, "");
}

TEST_F(LoginTest, SuccessSetsTheSessionAndTheUsersEntries) {
  ASSERT_NO_FATAL_FAILURE(start(R"({"users": [{"id": "A123456789", "password": "demo1234",
      "phone": "0912345678,0987654321", "email": "a@example.com,b@example.com",
      "aeskey": "fedcba9876543210KEY"}]})"));
  const Outcome out = logIn(kUserId, kPassword);
  ASSERT_EQ(out.code, 0) << out.message;
  EXPECT_EQ(out.message, "(登入成功)");
  EXPECT_EQ(out.phone, "0912345678,0987654321");
  EXPECT_EQ(out.email, "a@example.com,b@example.com");
  EXPECT_EQ(context().sessionKey, "fedcba9876543210KEY");
  // The configuration was loaded before the user's entries went in.
  EXPECT_EQ(posts("getSysCfg").size(), 1u);
  EXPECT_EQ(context().config.get("userIdno"), kUserId);
  EXPECT_EQ(context().config.get("userIPAddress"), "127.0.0.1");
  EXPECT_EQ(context().config.get("userPhone"), out.phone);
  EXPECT_EQ(context().config.get("userEmail"), out.email);

  const auto post = posts("doLogin").at(0);
  EXPECT_EQ(post["envelope"], "rsa");
  EXPECT_EQ(parameterNames(post), (std::vector<std::string>{"id", "ip", "pwd"}));
  EXPECT_EQ(parameter(post, "ip"), "127.0.0.1");
  EXPECT_EQ(post["violations"], nlohmann::json::array());
  EXPECT_EQ(platform_.clock.sleeps(),
            (std::vector<milliseconds>{milliseconds(500), milliseconds(500)}));
  EXPECT_EQ(platform_.ui.progressCalls().back(),
            (ProgressCall{"登入", "", -1, 100, "登入作業已完成"}));
}

TEST_F(LoginTest, ReturnCodeMustBeExactlyZero) {
  for (const char* rtnCode : {"00", " 0"}) {
    SCOPED_TRACE(std::string("rtnCode '") + rtnCode + "'");
    ASSERT_NO_FATAL_FAILURE(start(R"({"faults": {"doLogin": {"rtnCode": ")" + std::string(rtnCode) +
                                  R"(", "rtnMsg": "拒絕"}}})"));
    const Outcome out = logIn(kUserId, kPassword);
    EXPECT_EQ(out.code, 53907);
    EXPECT_EQ(out.message, "<53907>使用者登入失敗(拒絕)");
    EXPECT_EQ(out.phone, "");
    EXPECT_EQ(context().sessionKey, "");
    EXPECT_FALSE(context().config.entries().contains("userIdno"));
  }
}

TEST_F(LoginTest, SuccessWithoutKeyLeavesTheKeyEmpty) {
  ASSERT_NO_FATAL_FAILURE(start(R"({"faults": {"doLogin": {"replyXml":
      "<r><rtnCode>0</rtnCode><rtnMsg/><phone>0911</phone></r>"}}})"));
  const Outcome out = logIn(kUserId, kPassword);
  EXPECT_EQ(out.code, 0);
  EXPECT_EQ(out.message, "()");
  EXPECT_EQ(out.phone, "0911");
  EXPECT_EQ(out.email, "");
  EXPECT_EQ(context().sessionKey, "");
  EXPECT_EQ(context().config.get("userIdno"), kUserId);
}

TEST_F(LoginTest, FailedLoginLeavesAnEarlierSessionUntouched) {
  ASSERT_NO_FATAL_FAILURE(start());
  ASSERT_EQ(logIn(kUserId, kPassword).code, 0);
  const std::string key = context().sessionKey;
  ASSERT_FALSE(key.empty());
  const ParamMap before = context().config.entries();

  const Outcome wrong = logIn("B987654321", "secret");
  EXPECT_EQ(wrong.code, 53907);
  EXPECT_EQ(wrong.message, "<53907>使用者登入失敗(身分證字號或密碼錯誤)");
  EXPECT_EQ(context().sessionKey, key);
  EXPECT_EQ(context().config.entries(), before);
}

TEST_F(LoginTest, UnreadableReplyAndFailedPost) {
  ASSERT_NO_FATAL_FAILURE(start(R"({"faults": {"doLogin": {"notXml": true}}})"));
  Outcome out = logIn(kUserId, kPassword);
  EXPECT_EQ(out.code, 53905);
  EXPECT_EQ(out.message, "<53905>解析伺服器端回傳資訊失敗()");
  // No parse, no second step: one wait only.
  EXPECT_EQ(platform_.clock.sleeps().size(), 1u);

  ASSERT_NO_FATAL_FAILURE(start(R"({"faults": {"doLogin": {"httpStatus": 500}}})"));
  out = logIn(kUserId, kPassword);
  EXPECT_EQ(out.code, 1);
  EXPECT_EQ(out.message, "<1>不明的錯誤()");
  EXPECT_EQ(context().sessionKey, "");
}

TEST_F(LoginTest, LogoutAfterAFailedPostKeepsTheKey) {
  ASSERT_NO_FATAL_FAILURE(
      startLoggedIn(R"({"faults": {"doLogout": {"httpStatus": 500, "times": 1}}})"));
  std::string message;
  EXPECT_EQ(logout(context(), message), 1);
  EXPECT_EQ(message, "<1>不明的錯誤");
  EXPECT_EQ(context().sessionKey, kSessionKey);

  EXPECT_EQ(logout(context(), message), 0);
  EXPECT_EQ(message, "");
  EXPECT_EQ(context().sessionKey, "");
  const auto post = posts("doLogout").back();
  EXPECT_EQ(post["envelope"], "session");
  EXPECT_EQ(parameter(post, "version"), "1.3");
}

TEST_F(LoginTest, LogoutRefusedOrUnreadableKeepsTheKey) {
  ASSERT_NO_FATAL_FAILURE(
      startLoggedIn(R"({"faults": {"doLogout": {"rtnCode": "1", "times": 1}}})"));
  std::string message;
  EXPECT_EQ(logout(context(), message), 54003);
  EXPECT_EQ(message, "<54003>使用者登出失敗");
  EXPECT_EQ(context().sessionKey, kSessionKey);

  ASSERT_NO_FATAL_FAILURE(startLoggedIn(R"({"faults": {"doLogout": {"notXml": true}}})"));
  EXPECT_EQ(logout(context(), message), 54001);
  EXPECT_EQ(context().sessionKey, kSessionKey);
}

TEST_F(LoginTest, KeepAliveSendsVersionAndEmptyTrash) {
  ASSERT_NO_FATAL_FAILURE(startLoggedIn());
  keepAlive(context());
  const auto post = posts("iAmAlive").at(0);
  EXPECT_EQ(parameterNames(post), (std::vector<std::string>{"trash", "version"}));
  EXPECT_EQ(post["violations"], nlohmann::json::array());
  EXPECT_TRUE(platform_.ui.progressCalls().empty());
}

class FunctionStatusTest : public SessionSimTest {
 protected:
  struct Outcome {
    int code;
    std::string message;
    FunctionStatus status;
  };
  Outcome query(const std::string& cn) {
    Outcome out;
    out.status = {"stale", 7, 7};
    out.code = queryFnStatus(context(), cn, out.message, out.status);
    return out;
  }
};

TEST_F(FunctionStatusTest, CountsAreReadByTheirLeadingDigits) {
  struct Case {
    const char* replyFields;
    int certCount;
    int effectCertCount;
  };
  const Case cases[] = {
      {"<fnStatus>10001</fnStatus><effectCertCount>3</effectCertCount>", 0, 3},
      {"<fnStatus>10001</fnStatus><certCount>12abc</certCount><effectCertCount>x1"
       "</effectCertCount>",
       12, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.replyFields);
    ASSERT_NO_FATAL_FAILURE(startLoggedIn(R"({"faults": {"getFnStatus": {"replyXml":
        "<r><rtnCode>0</rtnCode><rtnMsg>ok</rtnMsg>)" +
                                          std::string(c.replyFields) + R"(</r>"}}})"));
    const Outcome out = query(kCn);
    EXPECT_EQ(out.code, 0);
    EXPECT_EQ(out.message, "");
    EXPECT_EQ(out.status.fnStatus, "10001");
    EXPECT_EQ(out.status.certCount, c.certCount);
    EXPECT_EQ(out.status.effectCertCount, c.effectCertCount);
  }
}

TEST_F(FunctionStatusTest, GatewayErrorGivesEmptyStatusAndZeroCounts) {
  ASSERT_NO_FATAL_FAILURE(startLoggedIn(R"({"faults": {"getFnStatus": {"rtnCode": "1"}}})"));
  const Outcome out = query(kCn);
  EXPECT_EQ(out.code, 54103);
  EXPECT_EQ(out.message, "<54103>查詢失敗, 伺服器端回應查詢錯誤");
  EXPECT_EQ(out.status.fnStatus, "");
  EXPECT_EQ(out.status.certCount, 0);
  EXPECT_EQ(out.status.effectCertCount, 0);
}

TEST_F(FunctionStatusTest, EmptyCnFailedPostAndUnreadableReply) {
  ASSERT_NO_FATAL_FAILURE(startLoggedIn(R"({"faults": {"getFnStatus": {"notXml": true}}})"));
  EXPECT_EQ(query("").code, 54101);
  EXPECT_TRUE(posts("getFnStatus").empty());
  EXPECT_EQ(query(kCn).code, 54105);

  // A post that fails outright is reported as the gateway's refusal, not as its own code.
  context().sessionKey = "short";
  EXPECT_EQ(query(kCn).code, 54103);
}

}  // namespace
}  // namespace valo::test
