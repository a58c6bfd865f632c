#include "app/script_bridge.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include "app/bridge_reply.h"
#include "support/test_platform.h"

namespace valo {
namespace {

class ScriptBridgeTest : public ::testing::Test {
 protected:
  ScriptBridgeTest()
      : context_(platform_.services()), bridge_(context_, [this] { ++closeRequests_; }) {}

  std::string text(std::string_view method, std::vector<std::string> args = {}) {
    auto reply = bridge_.call(method, args);
    EXPECT_TRUE(reply.has_value()) << method;
    if (!reply) return {};
    EXPECT_EQ(reply->kind, BridgeReturn::kText) << method;
    return reply->text;
  }

  test::TestPlatform platform_;
  Context context_;
  int closeRequests_ = 0;
  ScriptBridge bridge_;
};

TEST_F(ScriptBridgeTest, PublishesTheTwentyFourMethodsInDispatchOrder) {
  const char* expected[] = {"doTest",
                            "iAmAlive",
                            "getClientPfxFilePath",
                            "getClientVersion",
                            "doLogin",
                            "doLogout",
                            "getFnStatus",
                            "crtNewCert",
                            "replaceCert",
                            "dlCert",
                            "qrySvrCertInfo",
                            "qryClntCertInfo",
                            "qryIECertInfo",
                            "impUserCert",
                            "bakUserCert",
                            "changePfxPwd",
                            "deployCert",
                            "openFileManager",
                            "closeApp",
                            "getRandom",
                            "isDepCertAuto",
                            "isClientDepCertAble",
                            "sendOtp",
                            "validateOtp"};
  auto methods = bridgeMethods();
  ASSERT_EQ(methods.size(), std::size(expected));
  for (size_t i = 0; i < methods.size(); ++i) EXPECT_STREQ(methods[i].name, expected[i]);
  EXPECT_EQ(findBridgeMethod("doLogin")->parameterCount, 2);
  EXPECT_EQ(findBridgeMethod("doLogout")->returns, BridgeReturn::kShort);
  EXPECT_EQ(findBridgeMethod("GETCLIENTVERSION"), findBridgeMethod("getClientVersion"));
  EXPECT_EQ(findBridgeMethod("getClientVersions"), nullptr);
}

TEST_F(ScriptBridgeTest, RejectsUnknownNamesAndWrongArgumentCounts) {
  EXPECT_FALSE(bridge_.call("noSuchMethod", {}).has_value());
  EXPECT_FALSE(bridge_.call("getClientVersion", {"extra"}).has_value());
  EXPECT_FALSE(bridge_.call("doLogin", {"A123456789"}).has_value());
}

TEST_F(ScriptBridgeTest, ClientVersionReply) {
  EXPECT_EQ(text("getClientVersion"), "{'errCode':'0','errMsg':'','clientVersion':'1.3'}");
}

TEST_F(ScriptBridgeTest, PfxPathDoublesBackslashesAndReportsExistence) {
  context_.config.set("env.userPfxFilePath", "C:\\\\share\\cert.pfx");
  EXPECT_EQ(text("getClientPfxFilePath"),
            "{'errCode':'0','errMsg':'','pfxFilePath':'C:\\\\\\\\share\\\\cert.pfx',"
            "'pfxFileExist':'N'}");

  const std::string existing = platform_.home.path("user.pfx");
  std::ofstream(existing) << "x";
  context_.config.set("env.userPfxFilePath", existing);
  EXPECT_EQ(text("getClientPfxFilePath"),
            "{'errCode':'0','errMsg':'','pfxFilePath':'" + existing + "','pfxFileExist':'Y'}");
  context_.config.set("env.userPfxFilePath", platform_.home.root());
  EXPECT_NE(text("getClientPfxFilePath").find("'pfxFileExist':'Y'"), std::string::npos);
}

TEST_F(ScriptBridgeTest, OpenFileManagerUsesTheConfiguredPathTrimmedOrNothing) {
  ASSERT_EQ(bridge_.call("openFileManager", {""})->kind, BridgeReturn::kNothing);
  EXPECT_TRUE(platform_.shell.shownInFileManager().empty());

  context_.config.set("env.userPfxFilePath", "  /home/u/NOSK/user.pfx \n");
  bridge_.call("openFileManager", {""});
  bridge_.call("openFileManager", {"\t/tmp/other.pfx "});
  bridge_.call("openFileManager", {"   "});
  EXPECT_EQ(platform_.shell.shownInFileManager(),
            (std::vector<std::string>{"/home/u/NOSK/user.pfx", "/tmp/other.pfx"}));
}

TEST_F(ScriptBridgeTest, RandomNumberIsBetweenZeroAndOneWithSixDecimals) {
  static const std::regex kReply(R"(\{'errCode':'0','errMsg':'','rnd':'([01]\.\d{6})'\})");
  for (int i = 0; i < 50; ++i) {
    std::smatch match;
    const std::string reply = text("getRandom");
    ASSERT_TRUE(std::regex_match(reply, match, kReply)) << reply;
    const double value = std::stod(match[1]);
    EXPECT_GE(value, 0.0);
    EXPECT_LE(value, 1.0);
  }
}

TEST_F(ScriptBridgeTest, CloseAppAsksTheHostToClose) {
  EXPECT_EQ(bridge_.call("closeApp", {})->kind, BridgeReturn::kNothing);
  EXPECT_EQ(closeRequests_, 1);
}

TEST_F(ScriptBridgeTest, MethodsWithoutAnOperationYetAnswerTheGenericFailure) {
  EXPECT_EQ(text("crtNewCert", {"A123456789"}), "{'errCode':'1','errMsg':'<1>不明的錯誤'}");
  auto logout = bridge_.call("doLogout", {"A123456789"});
  ASSERT_TRUE(logout.has_value());
  EXPECT_EQ(logout->kind, BridgeReturn::kShort);
  EXPECT_EQ(logout->number, 1);
  EXPECT_EQ(bridge_.call("doTest", {"A123456789"})->kind, BridgeReturn::kNothing);
}

TEST(BridgeReplyTest, CertificateFieldsFollowInAscendingKeyOrderOnlyOnSuccess) {
  const ParamMap fields = {{"serial", "0A1B"}, {"cn", "A123456789-00-00"}};
  EXPECT_EQ(certInfoReply(0, "", fields),
            "{'errCode':'0','errMsg':'','cn':'A123456789-00-00','serial':'0A1B'}");
  EXPECT_EQ(certInfoReply(54405, "<54405>x", fields), "{'errCode':'54405','errMsg':'<54405>x'}");
  EXPECT_EQ(certInfoReply(0, "", {}), "{'errCode':'0','errMsg':''}");
}

}  // namespace
}  // namespace valo
