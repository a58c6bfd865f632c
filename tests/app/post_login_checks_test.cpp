// The security-component check after login: a registered component script answers
// "GetVersion" for real; the installer comes from the simulator; opening it is recorded.
#include "app/post_login_checks.h"

#include <gtest/gtest.h>

#include "app/security_component.h"
#include "platform/linux/linux_shell.h"
#include "session/session_sim_fixture.h"
#include "support/test_util.h"

namespace valo::test {
namespace {

using platform::MessageButtons;
using platform::MessageResult;
using platform::RegistryRoot;
using platform::RegistryValue;

constexpr char kClassId[] = "6E1E5D12-0C3B-4B8E-9C39-7D2B5F0A9E01";
constexpr char kServerKey[] =
    "Software\\Classes\\CLSID\\{6E1E5D12-0C3B-4B8E-9C39-7D2B5F0A9E01}\\LocalServer32";
constexpr char kCaption[] = "安控元件安裝提示";
constexpr char kQuestion[] =
    "您尚未安裝安控元件或目前使用的版本需要更新。\n\n開始下載安控元件安裝檔並進行安控元件安裝??";
constexpr char kDownloaded[] = "安控元件安裝檔下載完成，現在將開始為您啟動安控元件安裝程序";
constexpr char kDownloadFailed[] = "安控元件安裝檔下載失敗，請稍後再重新嘗試下載及安裝";

// Runs programs for real; records what it is asked to open instead of opening it.
class ComponentShell : public FakeShell {
 public:
  std::optional<std::string> runForFirstLine(const std::string& executable,
                                             const std::vector<std::string>& arguments,
                                             std::chrono::milliseconds timeLimit) override {
    FakeShell::runForFirstLine(executable, arguments, timeLimit);
    return real_.runForFirstLine(executable, arguments, timeLimit);
  }

 private:
  platform::LinuxShell real_;
};

class PostLoginChecksTest : public SessionSimTest {
 protected:
  PostLoginChecksTest() {
    shell_ = &componentShell_;
    platform_.home.setVariable("TZ", "UTC");
  }

  // Logged in to a simulator that requires `version32` and pushes one registry setting.
  void startRequiring(const std::string& version32, int installerStatus = 200) {
    const nlohmann::json scenario = {
        {"sysConfig",
         {{"component.activeX.classId32", kClassId},
          {"component.activeX.version32", version32},
          {"noskCpnt.dlUrl", "${httpBase}/download/noskCpnt"}}},
        {"downloads", {{"noskCpnt", {{"size", 3000}, {"status", installerStatus}}}}},
        {"registrySettings",
         {{{"regPath", "Software\\NOSK\\VALO"},
           {"regName", "Pushed"},
           {"regValue", "1"},
           {"regValueType", "DW"}}}}};
    ASSERT_NO_FATAL_FAILURE(startLoggedIn(scenario.dump()));
  }
  // Registers the component as a script that prints `version` for "GetVersion".
  void registerComponent(const std::string& version, RegistryRoot root) {
    const std::string script = platform_.home.path("component");
    writeScript(script, "[ \"$1\" = GetVersion ] || exit 2\necho '" + version + "'");
    ASSERT_TRUE(platform_.registry.setValue(root, kServerKey, "", RegistryValue::String(script)));
  }
  bool settingsApplied() {
    return platform_.registry.queryValue(RegistryRoot::kCurrentUser, "Software\\NOSK\\VALO",
                                         "Pushed") == RegistryValue::Dword(1);
  }
  std::vector<nlohmann::json> installerDownloads() const {
    std::vector<nlohmann::json> found;
    for (const auto& line : sim_->journal()) {
      if (line.value("service", "") == "download") found.push_back(line);
    }
    return found;
  }

  ComponentShell componentShell_;
};

TEST_F(PostLoginChecksTest, ExactVersionAsksNothing) {
  ASSERT_NO_FATAL_FAILURE(startRequiring("1.2"));
  registerComponent("1.2", RegistryRoot::kCurrentUser);
  runPostLoginChecks(context());
  EXPECT_TRUE(platform_.ui.messageBoxes().empty());
  ASSERT_EQ(componentShell_.runs().size(), 1u);
  EXPECT_EQ(componentShell_.runs()[0].arguments, std::vector<std::string>{"GetVersion"});
  EXPECT_EQ(componentShell_.runs()[0].timeLimit, std::chrono::milliseconds(5000));
  EXPECT_TRUE(settingsApplied());
}

TEST_F(PostLoginChecksTest, VersionComparisonIsTextual) {
  ASSERT_NO_FATAL_FAILURE(startRequiring("1.2"));
  // Registered for the whole machine only, with a leading zero in one number.
  registerComponent("1.02", RegistryRoot::kLocalMachine);
  EXPECT_FALSE(isSecurityComponentCurrent(context()));
  registerComponent("1.2", RegistryRoot::kLocalMachine);
  EXPECT_TRUE(isSecurityComponentCurrent(context()));
}

TEST_F(PostLoginChecksTest, CancelInstallsNothingButStillAppliesTheSettings) {
  ASSERT_NO_FATAL_FAILURE(startRequiring("1.2"));
  registerComponent("1.02", RegistryRoot::kCurrentUser);
  platform_.ui.queueMessageBoxAnswer(MessageResult::kCancel);
  runPostLoginChecks(context());

  ASSERT_EQ(platform_.ui.messageBoxes().size(), 1u);
  const auto& question = platform_.ui.messageBoxes()[0];
  EXPECT_EQ(question.text, kQuestion);
  EXPECT_EQ(question.caption, kCaption);
  EXPECT_EQ(question.buttons, MessageButtons::kOkCancel);
  EXPECT_TRUE(installerDownloads().empty());
  EXPECT_TRUE(componentShell_.opened().empty());
  EXPECT_TRUE(settingsApplied());
}

TEST_F(PostLoginChecksTest, AcceptedInstallerIsDownloadedByTimeAndOpened) {
  ASSERT_NO_FATAL_FAILURE(startRequiring("1.2"));
  platform_.ui.queueMessageBoxAnswer(MessageResult::kOk);
  runPostLoginChecks(context());

  const std::string installer = platform_.home.tmp() + "/20240102030405.msi";
  EXPECT_EQ(platform_.ui.messageTexts(), (std::vector<std::string>{kQuestion, kDownloaded}));
  EXPECT_EQ(readTextFile(installer).size(), 3000u);
  EXPECT_EQ(componentShell_.opened(), std::vector<std::string>{installer});
  EXPECT_TRUE(settingsApplied());
}

TEST_F(PostLoginChecksTest, FailedInstallerDownloadIsOnlyReported) {
  ASSERT_NO_FATAL_FAILURE(startRequiring("1.2", 404));
  platform_.ui.queueMessageBoxAnswer(MessageResult::kOk);
  runPostLoginChecks(context());

  EXPECT_EQ(platform_.ui.messageTexts(), (std::vector<std::string>{kQuestion, kDownloadFailed}));
  EXPECT_TRUE(componentShell_.opened().empty());
  EXPECT_TRUE(settingsApplied());
}

TEST_F(PostLoginChecksTest, InstallerFallsBackToTheHomeFolderWithoutATemporaryFolder) {
  ASSERT_NO_FATAL_FAILURE(startRequiring("1.2"));
  platform_.home.setVariable("TMPDIR", platform_.home.path("no-such-folder"));
  EXPECT_EQ(securityComponentInstallerPath(context()),
            platform_.home.home() + "/NOSK/20240102030405.msi");
  EXPECT_TRUE(fileExists(platform_.home.home() + "/NOSK"));
}

}  // namespace
}  // namespace valo::test
