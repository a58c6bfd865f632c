// The configuration store filled from the simulator's getSysCfg and the test's own home.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "session/context.h"
#include "support/gateway_sim_process.h"
#include "support/test_platform.h"

namespace valo::test {
namespace {

constexpr char kShellFolders[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

class SysConfigLoadTest : public ::testing::Test {
 protected:
  // A simulator whose getSysCfg reply holds `sysConfig` (JSON object, in this order).
  void start(const std::string& sysConfig, const std::string& faults = "{}") {
    sim_ = std::make_unique<GatewaySimProcess>(R"({"sysConfig": )" + sysConfig + R"(, "faults": )" +
                                               faults + "}");
    ASSERT_TRUE(sim_->ready()) << sim_->error();
    context_ = std::make_unique<Context>(platform_.services(), sim_->endpoint());
  }
  void stopSim() {
    if (sim_ && sim_->ready()) {
      EXPECT_EQ(sim_->stop(), 0) << sim_->log();
    }
  }
  void TearDown() override { stopSim(); }

  SysConfig& config() { return context_->config; }
  std::string home() const { return platform_.home.home(); }
  size_t sysCfgPosts() const { return sim_->journalOf("getSysCfg").size(); }

  TestPlatform platform_;
  std::unique_ptr<GatewaySimProcess> sim_;
  std::unique_ptr<Context> context_;
};

TEST_F(SysConfigLoadTest, FirstGetLoadsGatewayValuesAndDerivesTheRest) {
  ASSERT_NO_FATAL_FAILURE(start(R"({
      "version": "1.3", "userId": "U7", "app.dlUrl": "${httpBase}/download/app",
      "default.pfxFilePath": "#userHome#/NOSK", "default.pfxFileName": "#userId#.pfx",
      "cert.expType": "pfx,ieCertStore", "cert.readOrder": "ieCertStore",
      "pfx.pwd.prompt": "請輸入密碼"})"));

  EXPECT_EQ(config().get("version"), "1.3");
  EXPECT_EQ(config().appDownloadUrl(), sim_->httpBase() + "/download/app");
  EXPECT_EQ(config().pfxPasswordPrompt(), "請輸入密碼");
  const ParamMap expectedDerived = {
      {"userIdno", ""},
      {"userAccount", ""},
      {"cn", ""},
      {"env.userHome", home()},
      {"env.localAppDataPath", platform_.home.path("data")},
      {"env.userDeskTop", home() + "/Desktop"},
      {"env.userPfxFilePath", home() + "/NOSK/U7.pfx"},
      {"env.userPfxFilePwd", ""},
      {"env.userPrivateKeyFolder", home() + "/NOSK"},
      {"env.clientVersion", "1.3"},
      {"env.write.primaryCertStore", "pfx"},
      {"env.write.secondaryCertStore", "ieCertStore"},
      {"env.read.primaryCertStore", "ieCertStore"},
      {"env.read.secondaryCertStore", ""},
  };
  for (const auto& [key, value] : expectedDerived) {
    ASSERT_TRUE(config().entries().contains(key)) << key;
    EXPECT_EQ(config().entries().at(key), value) << key;
  }
  EXPECT_FALSE(config().entries().contains("rtnCode"));
  EXPECT_FALSE(config().entries().contains("rtnMsg"));

  // Loaded once, through the RSA envelope, with the client version only.
  EXPECT_EQ(config().get("no.such.key"), "");
  EXPECT_FALSE(config().entries().contains("no.such.key"));
  auto posts = sim_->journalOf("getSysCfg");
  ASSERT_EQ(posts.size(), 1u);
  EXPECT_EQ(posts[0]["envelope"], "rsa");
  EXPECT_EQ(posts[0]["params"][0]["name"], "version");
  EXPECT_EQ(posts[0]["params"][0]["plain"], "1.3");
  EXPECT_EQ(posts[0]["violations"], nlohmann::json::array());
}

TEST_F(SysConfigLoadTest, StoreKeysComeFromTheStoreLists) {
  struct Case {
    const char* list;  // nullptr: not sent
    const char* primary;
    const char* secondary;
  };
  const Case cases[] = {
      {"pfx,ieCertStore", "pfx", "ieCertStore"},
      {"ieCertStore", "ieCertStore", ""},
      {"PFX", "", ""},
      {"pfx,ieCertStore,pfx", "", ""},
      {"pfx,", "pfx", ""},
      {nullptr, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.list ? c.list : "(absent)");
    std::string lists = c.list ? std::string(R"("cert.expType": ")") + c.list +
                                     R"(", "cert.readOrder": ")" + c.list + R"(", )"
                               : std::string();
    ASSERT_NO_FATAL_FAILURE(start("{" + lists + R"("version": "1.3"})"));
    EXPECT_EQ(config().get("env.write.primaryCertStore"), c.primary);
    EXPECT_EQ(config().get("env.write.secondaryCertStore"), c.secondary);
    EXPECT_EQ(config().get("env.read.primaryCertStore"), c.primary);
    EXPECT_EQ(config().get("env.read.secondaryCertStore"), c.secondary);
    // Reading the lists leaves them in the store, empty when the gateway sent none.
    EXPECT_TRUE(config().entries().contains("cert.expType"));
    EXPECT_TRUE(config().entries().contains("cert.readOrder"));
    stopSim();
  }
}

TEST_F(SysConfigLoadTest, PfxPathTemplates) {
  struct Case {
    const char* folder;
    const char* file;
    std::string expected;
  };
  const Case cases[] = {
      // No userId in the reply: the file name is the bare extension.
      {"#userHome#/certs", "#userId#.pfx", home() + "/certs/.pfx"},
      {"#desktop#/", "#cn#a.pfx", home() + "/Desktop/a.pfx"},
      {"", "x.pfx", "/x.pfx"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    ASSERT_NO_FATAL_FAILURE(start(std::string(R"({"default.pfxFilePath": ")") + c.folder +
                                  R"(", "default.pfxFileName": ")" + c.file + R"("})"));
    EXPECT_EQ(config().userPfxFilePath(), c.expected);
    stopSim();
  }
}

TEST_F(SysConfigLoadTest, DesktopFromTheUnexpandedRegistryValue) {
  platform_.registry.setValue(platform::RegistryRoot::kCurrentUser, kShellFolders, "Desktop",
                              platform::RegistryValue::ExpandString("%USERPROFILE%\\桌面"));
  ASSERT_NO_FATAL_FAILURE(start(R"({"version": "1.3"})"));
  EXPECT_EQ(config().get("env.userDeskTop"), home() + "/桌面");
}

TEST_F(SysConfigLoadTest, DesktopIsTheHomeWithoutARegistryValue) {
  // The first look seeds the value; removing it leaves the key without one.
  platform_.registry.queryValue(platform::RegistryRoot::kCurrentUser, kShellFolders, "Desktop");
  platform_.registry.deleteValue(platform::RegistryRoot::kCurrentUser, kShellFolders, "Desktop");
  ASSERT_NO_FATAL_FAILURE(start(R"({"version": "1.3"})"));
  EXPECT_EQ(config().get("env.userDeskTop"), home());
}

TEST_F(SysConfigLoadTest, GatewayErrorLeavesTheStoreEmptyAndTheNextGetAsksAgain) {
  ASSERT_NO_FATAL_FAILURE(start(R"({"version": "1.3"})", R"({"getSysCfg": {"rtnCode": "1",
                                                                             "times": 1}})"));
  EXPECT_EQ(config().get("version"), "");
  EXPECT_FALSE(config().isLoaded());
  EXPECT_EQ(sysCfgPosts(), 1u);
  EXPECT_EQ(config().get("version"), "1.3");
  EXPECT_EQ(sysCfgPosts(), 2u);
  EXPECT_TRUE(platform_.ui.messageTexts().empty());
}

TEST_F(SysConfigLoadTest, UnreadableReplyLeavesTheStoreEmpty) {
  ASSERT_NO_FATAL_FAILURE(start(R"({"version": "1.3"})", R"({"getSysCfg": {"notXml": true}})"));
  EXPECT_EQ(config().get("version"), "");
  EXPECT_EQ(config().get("version"), "");
  EXPECT_FALSE(config().isLoaded());
  EXPECT_EQ(sysCfgPosts(), 2u);
}

TEST_F(SysConfigLoadTest, ElementWithChildrenIsStoredEmpty) {
  ASSERT_NO_FATAL_FAILURE(
      start(R"({"depCert": {"mode": "1", "targetUrl": "x"}, "version": "1.3", "empty": null})"));
  EXPECT_EQ(config().get("version"), "1.3");
  ASSERT_TRUE(config().entries().contains("depCert"));
  EXPECT_EQ(config().entries().at("depCert"), "");
  EXPECT_EQ(config().entries().at("empty"), "");
  EXPECT_FALSE(config().entries().contains("mode"));
}

}  // namespace
}  // namespace valo::test
