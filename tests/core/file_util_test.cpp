#include "core/file_util.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

namespace valo {
namespace {

namespace fs = std::filesystem;

class FileUtilTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "valo-core-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    previousMask_ = ::umask(022);
  }
  void TearDown() override {
    ::umask(previousMask_);
    std::error_code ignored;
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(dir_, ignored);
  }

  std::string path(const std::string& name) const { return (dir_ / name).string(); }

  static void writePlain(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
  }

  // Names in a folder, to see that no temporary file was left behind.
  static std::set<std::string> listing(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
      names.insert(entry.path().filename().string());
    }
    return names;
  }

  static unsigned modeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0);
    return st.st_mode & 07777;
  }

  fs::path dir_;
  mode_t previousMask_ = 022;
};

TEST_F(FileUtilTest, ReadFileBytesReadsBinaryContent) {
  const std::string content("a\0b\xff\r\n", 6);
  writePlain(path("f.bin"), content);
  EXPECT_EQ(readFileBytes(path("f.bin")), content);

  writePlain(path("empty"), "");
  EXPECT_EQ(readFileBytes(path("empty")), "");

  EXPECT_EQ(readFileBytes(path("missing")), std::nullopt);
  EXPECT_EQ(readFileBytes(dir_.string()), std::nullopt);  // a folder is not a file
}

TEST_F(FileUtilTest, CreateParentFoldersMakesEveryPrefixButTheLast) {
  createParentFolders(path("a/b//c/file.pfx"));
  EXPECT_TRUE(fs::is_directory(path("a/b/c")));
  EXPECT_FALSE(fs::exists(path("a/b/c/file.pfx")));

  // Existing folders and a prefix that is a file are passed over silently.
  writePlain(path("plain"), "x");
  createParentFolders(path("a/b/c/d/e"));
  createParentFolders(path("plain/sub/file"));
  EXPECT_TRUE(fs::is_directory(path("a/b/c/d")));
  EXPECT_TRUE(fs::is_regular_file(path("plain")));
}

TEST_F(FileUtilTest, WritesNewFileWithMode) {
  EXPECT_EQ(writeFileAtomically(path("key.p8"), "secret", 0600), AtomicWriteResult::kOk);
  EXPECT_EQ(readFileBytes(path("key.p8")), "secret");
  EXPECT_EQ(modeOf(path("key.p8")), 0600u);

  // The umask still narrows the requested mode.
  ::umask(027);
  EXPECT_EQ(writeFileAtomically(path("page.html"), "<html>", 0666), AtomicWriteResult::kOk);
  EXPECT_EQ(modeOf(path("page.html")), 0640u);

  EXPECT_EQ(writeFileAtomically(path("empty"), "", 0644), AtomicWriteResult::kOk);
  EXPECT_EQ(readFileBytes(path("empty")), "");

  const std::string longName(255, 'n');  // the longest name a folder entry may have
  EXPECT_EQ(writeFileAtomically(path(longName), "long"), AtomicWriteResult::kOk);
  EXPECT_EQ(readFileBytes(path(longName)), "long");

  EXPECT_EQ(listing(dir_), (std::set<std::string>{"key.p8", "page.html", "empty", longName}));
}

TEST_F(FileUtilTest, ReplacesExistingFileWhole) {
  writePlain(path("user.pfx"), std::string(10000, 'o'));
  ::chmod(path("user.pfx").c_str(), 0644);
  EXPECT_EQ(writeFileAtomically(path("user.pfx"), "new", 0600), AtomicWriteResult::kOk);
  EXPECT_EQ(readFileBytes(path("user.pfx")), "new");
  EXPECT_EQ(modeOf(path("user.pfx")), 0600u);
  EXPECT_EQ(listing(dir_), std::set<std::string>{"user.pfx"});
}

TEST_F(FileUtilTest, RelativePathWritesIntoCurrentFolder) {
  const fs::path previous = fs::current_path();
  fs::current_path(dir_);
  const auto result = writeFileAtomically("relative.txt", "r");
  fs::current_path(previous);
  EXPECT_EQ(result, AtomicWriteResult::kOk);
  EXPECT_EQ(readFileBytes(path("relative.txt")), "r");
}

TEST_F(FileUtilTest, UncreatableTempFileLeavesTargetIntact) {
  if (::geteuid() != 0) {
    // A folder the user may not write to; root would ignore the mode.
    fs::create_directory(path("locked"));
    writePlain(path("locked/user.pfx"), "old");
    ::chmod(path("locked").c_str(), 0500);
    EXPECT_EQ(writeFileAtomically(path("locked/user.pfx"), "new"), AtomicWriteResult::kOpenFailed);
    ::chmod(path("locked").c_str(), 0700);
    EXPECT_EQ(readFileBytes(path("locked/user.pfx")), "old");
    EXPECT_EQ(listing(path("locked")), std::set<std::string>{"user.pfx"});
  }
  // A parent that is a regular file stops everyone, root included.
  writePlain(path("plain"), "old");
  EXPECT_EQ(writeFileAtomically(path("plain/user.pfx"), "new"), AtomicWriteResult::kOpenFailed);
  EXPECT_EQ(readFileBytes(path("plain")), "old");

  EXPECT_EQ(writeFileAtomically(path("missing/user.pfx"), "new"), AtomicWriteResult::kOpenFailed);
  EXPECT_EQ(writeFileAtomically(path("folder/"), "new"), AtomicWriteResult::kOpenFailed);
}

TEST_F(FileUtilTest, FailedWriteLeavesTargetIntactAndNoTempFile) {
  writePlain(path("user.pfx"), "old content");

  // A file-size limit makes the write itself fail part way.
  struct rlimit previousLimit {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previousLimit), 0);
  struct sigaction ignore {
  }, previousAction{};
  ignore.sa_handler = SIG_IGN;
  ASSERT_EQ(::sigaction(SIGXFSZ, &ignore, &previousAction), 0);
  struct rlimit small = previousLimit;
  small.rlim_cur = 4096;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const auto result = writeFileAtomically(path("user.pfx"), std::string(100000, 'n'));
  ::setrlimit(RLIMIT_FSIZE, &previousLimit);
  ::sigaction(SIGXFSZ, &previousAction, nullptr);

  EXPECT_EQ(result, AtomicWriteResult::kWriteFailed);
  EXPECT_EQ(readFileBytes(path("user.pfx")), "old content");
  EXPECT_EQ(listing(dir_), std::set<std::string>{"user.pfx"});
}

TEST_F(FileUtilTest, FailedRenameLeavesTargetIntactAndNoTempFile) {
  // A folder in the target's place cannot be replaced by a file.
  fs::create_directories(path("user.pfx/inside"));
  EXPECT_EQ(writeFileAtomically(path("user.pfx"), "new"), AtomicWriteResult::kWriteFailed);
  EXPECT_TRUE(fs::is_directory(path("user.pfx/inside")));
  EXPECT_EQ(listing(dir_), std::set<std::string>{"user.pfx"});
}

}  // namespace
}  // namespace valo
