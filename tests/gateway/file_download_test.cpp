#include "gateway/file_download.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "gateway/sim_fixture.h"

namespace valo::test {
namespace {

std::string pattern(size_t size) {
  std::string content(size, '\0');
  for (size_t i = 0; i < size; ++i) content[i] = static_cast<char>('a' + i % 26);
  return content;
}

class FileDownloadTest : public SimTest {
 protected:
  void SetUp() override {
    startSim(R"({"downloads": {
        "app": {"size": 2048},
        "cut": {"size": 2048, "truncateAt": 1024},
        "gone": {"status": 404},
        "unsized": {"size": 3000, "noContentLength": true},
        "empty": {"text": ""}}})");
    target_ =
        std::filesystem::temp_directory_path() /
        ("valo-download-" + std::to_string(getpid()) + "-" + std::to_string(sim_->httpPort()));
  }
  void TearDown() override {
    std::filesystem::remove(target_);
    SimTest::TearDown();
  }

  int download(const std::string& name) {
    return downloadFile(ui_, "", sim_->httpBase() + "/download/" + name, target_.string());
  }

  std::filesystem::path target_;
};

using Progress = platform::ScriptedUi::ProgressCall;

TEST_F(FileDownloadTest, TwoKilobytesShowTheProgressSequence) {
  ASSERT_EQ(download("app"), 0);
  EXPECT_EQ(readTextFile(target_.string()), pattern(2048));
  const std::vector<Progress> expected = {
      {"檔案下載", "", 0, 100, "開始下載檔案 ..."},
      {"檔案下載", "", 50, 100, "檔案下載中, 已下載 1 KB  ..."},
      {"檔案下載", "", 100, 100, "檔案下載中, 已下載 2 KB  ..."},
      {"檔案下載", "", 100, 100, "檔案下載中, 已下載 2 KB  ..."},
      {"檔案下載", "", -1, 100, "檔案下載完成 ..."},
  };
  EXPECT_EQ(ui_.progressCalls(), expected);
}

TEST_F(FileDownloadTest, TruncatedBodyFailsAndLeavesNoFile) {
  EXPECT_EQ(download("cut"), 59901);
  EXPECT_FALSE(std::filesystem::exists(target_));
  ASSERT_FALSE(ui_.progressCalls().empty());
  EXPECT_EQ(ui_.progressCalls().back().position, -1);
  EXPECT_NE(ui_.progressCalls().back().message, "檔案下載完成 ...");
}

TEST_F(FileDownloadTest, ErrorStatusFailsBeforeTheFileIsCreated) {
  EXPECT_EQ(download("gone"), 59901);
  EXPECT_EQ(download("no-such-download"), 59901);
  EXPECT_FALSE(std::filesystem::exists(target_));
  EXPECT_TRUE(ui_.progressCalls().empty());
}

TEST_F(FileDownloadTest, BodyWithoutLengthShowsKilobytesOnly) {
  ASSERT_EQ(download("unsized"), 0);
  EXPECT_EQ(readTextFile(target_.string()), pattern(3000));
  const std::vector<Progress> expected = {
      {"檔案下載", "", 0, 100, "開始下載檔案 ..."},
      {"檔案下載", "", 100, 100, "檔案下載中, 已下載 2 KB  ..."},
      {"檔案下載", "", -1, 100, "檔案下載完成 ..."},
  };
  EXPECT_EQ(ui_.progressCalls(), expected);
}

TEST_F(FileDownloadTest, EmptyBodyGivesAnEmptyFile) {
  ASSERT_EQ(download("empty"), 0);
  EXPECT_TRUE(std::filesystem::exists(target_));
  EXPECT_EQ(std::filesystem::file_size(target_), 0u);
}

TEST_F(FileDownloadTest, EmptyOrUnreachableUrlFails) {
  EXPECT_EQ(downloadFile(ui_, "", "", target_.string()), 1);
  EXPECT_EQ(downloadFile(ui_, "", "http://127.0.0.1:1/x", target_.string()), 59901);
  EXPECT_FALSE(std::filesystem::exists(target_));
  EXPECT_TRUE(ui_.messageTexts().empty());
}

}  // namespace
}  // namespace valo::test
