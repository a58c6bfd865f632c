// Sending and verifying one-time passwords against the simulator, which "texts" each code
// into an outbox file.
#include "session/one_time_password.h"

#include <gtest/gtest.h>

#include <sstream>

#include "session/login_session.h"
#include "session/session_sim_fixture.h"
#include "support/test_util.h"

namespace valo::test {
namespace {

class OneTimePasswordTest : public SessionSimTest {
 protected:
  // A simulator with the outbox in the temporary home and a logged-in user.
  void startAndLogIn(const std::string& faults = "{}") {
    nlohmann::json scenario = {{"otpOutbox", outbox()}, {"faults", nlohmann::json::parse(faults)}};
    ASSERT_NO_FATAL_FAILURE(start(scenario.dump()));
    std::string message, phone, email;
    ASSERT_EQ(login(context(), kUserId, kPassword, message, phone, email), 0) << message;
  }
  std::string outbox() const { return platform_.home.path("otp-outbox.jsonl"); }
  // The code of the last text message.
  std::string lastCodeSent() const {
    std::istringstream lines(readTextFile(outbox()));
    std::string line, last;
    while (std::getline(lines, line)) last = line;
    return last.empty() ? "" : nlohmann::json::parse(last).value("code", "");
  }
};

TEST_F(OneTimePasswordTest, SendThenVerifyWithTheTextedCode) {
  ASSERT_NO_FATAL_FAILURE(startAndLogIn());
  std::string message = "stale";

  // Before any send there is no delivery kind to repeat: the parameter is left out.
  EXPECT_EQ(postVerifyOtp(context(), "123456", message), 999);
  EXPECT_EQ(message, "OTP 驗證碼錯誤");
  auto verify = posts("doVerifyOTP").back();
  EXPECT_EQ(parameterNames(verify), (std::vector<std::string>{"authCode", "id", "ip"}));
  EXPECT_EQ(verify["violations"], nlohmann::json::array());

  ASSERT_EQ(postSendOtp(context(), "1", "2", message), 0);
  EXPECT_EQ(message, "");
  EXPECT_EQ(context().config.get("otpType"), "1");
  const auto send = posts("doSendOTP").back();
  EXPECT_EQ(send["envelope"], "rsa");
  EXPECT_EQ(parameter(send, "otpType"), "1");
  EXPECT_EQ(parameter(send, "opType"), "2");
  EXPECT_EQ(parameter(send, "id"), kUserId);
  EXPECT_EQ(parameter(send, "ip"), "127.0.0.1");
  const std::string code = lastCodeSent();
  ASSERT_EQ(code.size(), 6u);

  EXPECT_EQ(postVerifyOtp(context(), code, message), 0);
  EXPECT_EQ(message, "");
  verify = posts("doVerifyOTP").back();
  EXPECT_EQ(parameter(verify, "otpType"), "1");
  EXPECT_EQ(parameter(verify, "authCode"), code);
  // Spent once verified.
  EXPECT_EQ(postVerifyOtp(context(), code, message), 999);
}

TEST_F(OneTimePasswordTest, EmptyOperationTypeIsNotSent) {
  ASSERT_NO_FATAL_FAILURE(startAndLogIn());
  std::string message;
  ASSERT_EQ(postSendOtp(context(), "1", "", message), 0);
  const auto send = posts("doSendOTP").back();
  EXPECT_EQ(parameterNames(send), (std::vector<std::string>{"id", "ip", "otpType"}));
  EXPECT_EQ(send["violations"], nlohmann::json::array());
}

TEST_F(OneTimePasswordTest, RefusalMessages) {
  struct Case {
    const char* fields;
    const char* sendMessage;
    const char* verifyMessage;
  };
  const Case cases[] = {
      {"<rtnMsg>X</rtnMsg><cusCode>C9</cusCode><cusMsg>Y</cusMsg>", "X(Y)", "X(Y)"},
      {"<rtnMsg>X</rtnMsg><cusMsg/>", "X", "X"},
      {"<rtnMsg></rtnMsg><cusMsg>Y</cusMsg>", "OTP發送失敗", "OTP驗證失敗"},
      {"", "OTP發送失敗", "OTP驗證失敗"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fields);
    const std::string reply = std::string("<r><rtnCode>1</rtnCode>") + c.fields + "</r>";
    const nlohmann::json fault = {{"replyXml", reply}};
    ASSERT_NO_FATAL_FAILURE(
        startAndLogIn(nlohmann::json{{"doSendOTP", fault}, {"doVerifyOTP", fault}}.dump()));
    context().config.set("otpType", "earlier");
    std::string message;
    EXPECT_EQ(postSendOtp(context(), "1", "1", message), 999);
    EXPECT_EQ(message, c.sendMessage);
    EXPECT_EQ(context().config.get("otpType"), "earlier");
    EXPECT_EQ(postVerifyOtp(context(), "123456", message), 999);
    EXPECT_EQ(message, c.verifyMessage);
  }
}

TEST_F(OneTimePasswordTest, ZeroWithABlankIsARefusal) {
  ASSERT_NO_FATAL_FAILURE(startAndLogIn(R"({"doSendOTP": {"rtnCode": "0 ", "rtnMsg": "未發送"}})"));
  std::string message;
  EXPECT_EQ(postSendOtp(context(), "1", "1", message), 999);
  EXPECT_EQ(message, "未發送");
  EXPECT_EQ(context().config.get("otpType"), "");
}

TEST_F(OneTimePasswordTest, OtherFailuresLeaveTheMessageEmpty) {
  struct Case {
    const char* fault;
    int code;
  };
  const Case cases[] = {
      {R"({"notXml": true})", 53905},
      {R"({"replyXml": "<!-- no element -->"})", 1},
      {R"({"httpStatus": 500})", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault);
    const nlohmann::json fault = nlohmann::json::parse(c.fault);
    ASSERT_NO_FATAL_FAILURE(
        startAndLogIn(nlohmann::json{{"doSendOTP", fault}, {"doVerifyOTP", fault}}.dump()));
    std::string message = "stale";
    EXPECT_EQ(postSendOtp(context(), "1", "1", message), c.code);
    EXPECT_EQ(message, "");
    message = "stale";
    EXPECT_EQ(postVerifyOtp(context(), "123456", message), c.code);
    EXPECT_EQ(message, "");
  }
}

}  // namespace
}  // namespace valo::test
