#include "platform/file_helpers.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/scripted_ui.h"
#include "support/temp_home.h"
#include "support/test_util.h"

namespace valo::platform {
namespace {

constexpr const char* kOpenFailed = "開啟資料夾失敗, 請重新指定檔案儲存資料夾";
constexpr const char* kWriteFailed = "存檔失敗, 請重新指定檔案儲存位置";

class FileHelpersTest : public ::testing::Test {
 protected:
  test::TempHome home;
  ScriptedUi ui;
};

TEST_F(FileHelpersTest, WriteCreatesMissingFoldersAndReplacesTheWholeFile) {
  const std::string path = home.path("a/b/c/cert.pfx");
  const std::string bytes("\x30\x82\x00\x01 binary", 10);
  EXPECT_EQ(writeFileWithFolders(ui, path, bytes), 0);
  EXPECT_EQ(test::readTextFile(path), bytes);

  EXPECT_EQ(writeFileWithFolders(ui, path, "short", 0600), 0);
  EXPECT_EQ(test::readTextFile(path), "short");
  struct stat info;
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  EXPECT_TRUE(ui.messageBoxes().empty());
  // Nothing but the file is left in its folder.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home.path("a/b/c")),
                          std::filesystem::directory_iterator()),
            1);
}

TEST_F(FileHelpersTest, FailuresShowTheirMessageAndKeepTheEarlierFile) {
  test::writeTextFile(home.path("blocker"), "a file where a folder should be");
  const std::string existing = home.path("existing.pfx");
  test::writeTextFile(existing, "earlier content");
  std::filesystem::create_directories(home.path("folder.pfx"));

  struct Case {
    std::string path;
    std::string bytes;
    int code;
    const char* message;
  };
  const Case cases[] = {
      {home.path("blocker/sub/cert.pfx"), "data", 53301, kOpenFailed},
      {home.path("folder.pfx"), "data", 53301, kOpenFailed},
      {existing, "", 53303, kWriteFailed},
      {home.path("new/empty.pfx"), "", 53303, kWriteFailed},
      {home.path("blocker/empty.pfx"), "", 53301, kOpenFailed},
  };
  for (const Case& c : cases) {
    ScriptedUi caseUi;
    EXPECT_EQ(writeFileWithFolders(caseUi, c.path, c.bytes), c.code) << c.path;
    ASSERT_EQ(caseUi.messageBoxes().size(), 1u) << c.path;
    EXPECT_EQ(caseUi.messageBoxes()[0].text, c.message);
    EXPECT_EQ(caseUi.messageBoxes()[0].buttons, MessageButtons::kOk);
  }
  EXPECT_EQ(test::readTextFile(existing), "earlier content");
  EXPECT_EQ(test::readTextFile(home.path("blocker")), "a file where a folder should be");
  EXPECT_TRUE(std::filesystem::is_directory(home.path("folder.pfx")));
  EXPECT_FALSE(test::fileExists(home.path("new/empty.pfx")));
}

TEST_F(FileHelpersTest, AWriteCutShortKeepsTheEarlierFile) {
  const std::string path = home.path("keys/user.p8");
  ASSERT_EQ(writeFileWithFolders(ui, path, "earlier key"), 0);
  const int result = test::runInChildProcess([&] {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4096, 4096};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 200;
    ScriptedUi childUi;
    const int code = writeFileWithFolders(childUi, path, std::string(100000, 'k'));
    if (childUi.messageTexts() != std::vector<std::string>{kWriteFailed}) return 201;
    return code == 53303 ? 0 : 202;
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(test::readTextFile(path), "earlier key");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home.path("keys")),
                          std::filesystem::directory_iterator()),
            1);
}

TEST_F(FileHelpersTest, ReadWholeFile) {
  const std::string bytes("with\0zero\xff", 10);
  test::writeTextFile(home.path("in.pfx"), bytes);
  std::string content = "stale";
  EXPECT_TRUE(readWholeFile(ui, home.path("in.pfx"), content));
  EXPECT_EQ(content, bytes);
  EXPECT_TRUE(ui.messageBoxes().empty());

  for (const std::string& path : {home.path("missing.pfx"), home.root()}) {
    ScriptedUi caseUi;
    content = "stale";
    EXPECT_FALSE(readWholeFile(caseUi, path, content));
    EXPECT_EQ(content, "");
    ASSERT_EQ(caseUi.messageBoxes().size(), 1u);
    EXPECT_EQ(caseUi.messageBoxes()[0].text, "檔案讀取失敗, 無法讀取檔案");
    EXPECT_EQ(caseUi.messageBoxes()[0].buttons, MessageButtons::kOk);
    EXPECT_EQ(caseUi.messageBoxes()[0].caption, "");
  }
}

}  // namespace
}  // namespace valo::platform
