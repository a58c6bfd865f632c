#include "platform/temp_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <optional>
#include <string>

#include "support/temp_home.h"

namespace valo::platform {
namespace {

TEST(TempFiles, FolderComesFromTmpdir) {
  test::TempHome home;
  EXPECT_EQ(tempFolder(), home.tmp());
  home.setVariable("TMPDIR", home.tmp() + "//");
  EXPECT_EQ(tempFolder(), home.tmp());
  home.setVariable("TMPDIR", std::string());
  EXPECT_EQ(tempFolder(), "/tmp");
  home.setVariable("TMPDIR", std::nullopt);
  EXPECT_EQ(tempFolder(), "/tmp");
}

TEST(TempFiles, CreatesANewEmptyPrivateFileWithThePrefix) {
  test::TempHome home;
  const std::optional<std::string> first = createTempFile("NOSK");
  const std::optional<std::string> second = createTempFile("NOSK");
  ASSERT_TRUE(first.has_value());
  ASSERT_TRUE(second.has_value());
  EXPECT_NE(*first, *second);
  EXPECT_EQ(first->rfind(home.tmp() + "/NOSK", 0), 0u) << *first;
  struct stat info;
  ASSERT_EQ(::stat(first->c_str(), &info), 0);
  EXPECT_TRUE(S_ISREG(info.st_mode));
  EXPECT_EQ(info.st_size, 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);

  home.setVariable("TMPDIR", home.path("missing"));
  EXPECT_EQ(createTempFile("NOSK"), std::nullopt);
}

}  // namespace
}  // namespace valo::platform
