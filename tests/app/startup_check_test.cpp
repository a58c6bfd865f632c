// The start-up version check and the self-update on real files: a small script stands in
// for the program, the simulator serves its successor, and the successor is really
// started (it leaves a marker).
#include "app/startup_check.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>

#include "platform/linux/linux_shell.h"
#include "session/session_sim_fixture.h"
#include "support/test_util.h"

namespace valo::test {
namespace {

using std::chrono::milliseconds;

constexpr char kOutdated[] = "您目前使用的用戶端軟體版本過舊, 將為您自動進行軟體更新";
constexpr char kSwapping[] = "接下來將為您更新及重新啟動用戶端軟體";
constexpr char kDownloadFailed[] = "檔案下載失敗, 請稍後再重新嘗試檔案更新";
constexpr char kRetireFailed[] = "移除舊檔失敗, 請手動重新下載用戶端軟體";
constexpr char kCheckFailed[] =
    "版本檢核失敗，請檢查您的網路連線狀態\n並在稍後再重新嘗試使用這個軟體";

// The real shell, running as the program at `path`.
class ProgramShell : public platform::LinuxShell {
 public:
  explicit ProgramShell(std::string path) : path_(std::move(path)) {}
  std::string executablePath() override { return path_; }

 private:
  std::string path_;
};

ino_t inodeOf(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

class StartupCheckTest : public SessionSimTest {
 protected:
  StartupCheckTest()
      : program_(platform_.home.path("bin/valo")),
        successor_(platform_.home.path("valo-successor")),
        marker_(platform_.home.path("started.txt")),
        programShell_(program_) {
    std::filesystem::create_directories(platform_.home.path("bin"));
    writeScript(program_, "# the running version\nexit 0");
    writeScript(successor_,
                "# the new version\necho \"started with $# arguments\" > '" + marker_ + "'");
    shell_ = &programShell_;
  }

  // A simulator that accepts this client, or one that wants an update from `download`.
  void startAccepting() { ASSERT_NO_FATAL_FAILURE(start()); }
  void startOutdated(const nlohmann::json& download) {
    ASSERT_NO_FATAL_FAILURE(start(nlohmann::json{
        {"acceptedVersions", nlohmann::json::array()},
        {"downloads",
         {{"app", download}}}}.dump()));
  }
  int runCheck() {
    return runStartupCheck(context(), [this] { ++closeRequests_; });
  }

  const std::string program_;
  const std::string successor_;
  const std::string marker_;
  ProgramShell programShell_;
  int closeRequests_ = 0;
};

TEST_F(StartupCheckTest, OutdatedClientIsSwappedStartedAndItsOldFileRemovedAtNextStart) {
  const std::string oldContent = readTextFile(program_);
  const ino_t oldProgram = inodeOf(program_);
  ASSERT_NO_FATAL_FAILURE(startOutdated({{"file", successor_}}));

  EXPECT_EQ(runCheck(), 53705);
  EXPECT_EQ(platform_.ui.messageTexts(), (std::vector<std::string>{kOutdated, kSwapping}));
  EXPECT_EQ(platform_.clock.sleeps(), std::vector<milliseconds>{milliseconds(1000)});
  EXPECT_EQ(closeRequests_, 1);
  EXPECT_EQ(readTextFile(program_), readTextFile(successor_));
  EXPECT_EQ(std::filesystem::status(program_).permissions() & std::filesystem::perms::all,
            static_cast<std::filesystem::perms>(0755));
  EXPECT_FALSE(fileExists(program_ + ".new"));
  // The old program was never moved away: its file is the retired one.
  EXPECT_EQ(readTextFile(program_ + ".dpc"), oldContent);
  EXPECT_EQ(inodeOf(program_ + ".dpc"), oldProgram);
  ASSERT_TRUE(waitForFile(marker_));
  EXPECT_EQ(readTextFile(marker_), "started with 0 arguments\n");

  // The new instance's own start.
  ASSERT_NO_FATAL_FAILURE(startAccepting());
  EXPECT_EQ(runCheck(), 0);
  EXPECT_FALSE(fileExists(program_ + ".dpc"));
  EXPECT_EQ(platform_.ui.messageTexts().size(), 2u);
  EXPECT_EQ(platform_.clock.sleeps().size(), 1u);
  EXPECT_EQ(closeRequests_, 1);
}

TEST_F(StartupCheckTest, TruncatedDownloadLeavesTheProgramInPlace) {
  const std::string oldContent = readTextFile(program_);
  writeTextFile(program_ + ".new", "left over from an earlier attempt");
  ASSERT_NO_FATAL_FAILURE(startOutdated({{"file", successor_}, {"truncateAt", 10}}));

  EXPECT_EQ(runCheck(), 53705);
  EXPECT_EQ(platform_.ui.messageTexts(), (std::vector<std::string>{kOutdated, kDownloadFailed}));
  EXPECT_EQ(closeRequests_, 2);
  EXPECT_EQ(platform_.clock.sleeps(),
            (std::vector<milliseconds>{milliseconds(1000), milliseconds(2000)}));
  EXPECT_EQ(readTextFile(program_), oldContent);
  EXPECT_FALSE(fileExists(program_ + ".new"));
  EXPECT_FALSE(fileExists(program_ + ".dpc"));
  EXPECT_FALSE(fileExists(marker_));
}

TEST_F(StartupCheckTest, LockedRetiredFileDelaysTheStartAndIsLeft) {
  // A retired "file" that cannot be removed: a folder with something in it.
  std::filesystem::create_directories(program_ + ".dpc");
  writeTextFile(program_ + ".dpc/held", "x");
  ASSERT_NO_FATAL_FAILURE(startAccepting());

  EXPECT_EQ(runCheck(), 0);
  EXPECT_EQ(platform_.clock.sleeps(), std::vector<milliseconds>(19, milliseconds(500)));
  EXPECT_TRUE(fileExists(program_ + ".dpc/held"));
  EXPECT_TRUE(platform_.ui.messageTexts().empty());
  EXPECT_EQ(closeRequests_, 0);

  // An update then cannot keep the old program aside, so it leaves it in place.
  const std::string oldContent = readTextFile(program_);
  ASSERT_NO_FATAL_FAILURE(startOutdated({{"file", successor_}}));
  EXPECT_EQ(runCheck(), 53705);
  EXPECT_EQ(platform_.ui.messageTexts(),
            (std::vector<std::string>{kOutdated, kSwapping, kRetireFailed}));
  EXPECT_EQ(readTextFile(program_), oldContent);
  EXPECT_EQ(closeRequests_, 1);
}

TEST_F(StartupCheckTest, VersionCheckCodes) {
  struct Case {
    const char* fault;
    int code;
  };
  const Case cases[] = {
      {R"({"httpStatus": 500})", 53701},
      {R"({"replyXml": "  "})", 53703},
      {R"({"notXml": true})", 53703},
      {R"({"rtnCode": "00"})", 53705},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault);
    ASSERT_NO_FATAL_FAILURE(start(R"({"faults": {"checkVersion": )" + std::string(c.fault) + "}}"));
    std::string message;
    EXPECT_EQ(checkClientVersion(context(), message), c.code);
    EXPECT_EQ(message.substr(0, 7), "<" + std::to_string(c.code) + ">");
  }

  // Any failure but an outdated client ends the program with the version-check message.
  ASSERT_NO_FATAL_FAILURE(start(R"({"faults": {"checkVersion": {"httpStatus": 500}}})"));
  EXPECT_EQ(runCheck(), 53701);
  EXPECT_EQ(platform_.ui.messageTexts(), std::vector<std::string>{kCheckFailed});
  EXPECT_EQ(closeRequests_, 1);
  EXPECT_TRUE(posts("getSysCfg").empty());
}

}  // namespace
}  // namespace valo::test
