#include "platform/linux/file_registry.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/linux/linux_environment.h"
#include "support/temp_home.h"
#include "support/test_util.h"

namespace valo::platform {
namespace {

constexpr RegistryRoot kUser = RegistryRoot::kCurrentUser;
constexpr RegistryRoot kMachine = RegistryRoot::kLocalMachine;
constexpr const char* kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

struct Entry {
  RegistryRoot root;
  std::string key;
  std::string name;
  RegistryValue value;
};

std::vector<Entry> sampleEntries() {
  return {
      {kUser, "Software\\NOSK\\VALO", "", RegistryValue::String("default value")},
      {kUser, "Software\\NOSK\\VALO", "Path", RegistryValue::String("C:\\a \"quoted\" 憑證")},
      {kUser, "Software\\NOSK\\VALO", "Expand", RegistryValue::ExpandString("%TEMP%\\x")},
      {kUser, "Software\\NOSK\\VALO", "Count", RegistryValue::Dword(0xdeadbeef)},
      {kUser, "Software\\NOSK\\VALO", "Blob", RegistryValue::Binary(std::string("\0\1\2\xff", 4))},
      {kUser, "Software\\NOSK\\VALO", "Lines", RegistryValue::String("one\ntwo")},
      {kUser,
       "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\ZoneMap\\"
       "Ranges\\Range1",
       ":Range", RegistryValue::String("10.0.0.1")},
      {kMachine, "SOFTWARE\\Clients\\StartMenuInternet\\Firefox", "n=\"1\"",
       RegistryValue::Dword(2)},
  };
}

class FileRegistryTest : public ::testing::Test {
 protected:
  std::string hiveText(RegistryRoot root) { return test::readTextFile(registry.hivePath(root)); }
  std::vector<std::string> folderEntries() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  test::TempHome home;
  std::string folder = home.valoHome() + "/registry";
  FileRegistry registry{folder, "Desktop"};
};

TEST_F(FileRegistryTest, ValuesOfEveryTypeSurviveIntoAnotherProcess) {
  for (const Entry& e : sampleEntries()) {
    ASSERT_TRUE(registry.setValue(e.root, e.key, e.name, e.value)) << e.name;
  }
  const std::string folderPath = folder;
  const int mismatch = test::runInChildProcess([&] {
    FileRegistry other(folderPath, "Desktop");
    int index = 1;
    for (const Entry& e : sampleEntries()) {
      if (other.queryValue(e.root, e.key, e.name) != e.value) return index;
      ++index;
    }
    return other.setValue(kMachine, "Software\\FromChild", "Done", RegistryValue::Dword(1)) ? 0
                                                                                            : 99;
  });
  EXPECT_EQ(mismatch, 0);
  // This object has no cache: it sees the other process's write.
  EXPECT_EQ(registry.queryValue(kMachine, "software\\fromchild", "DONE"), RegistryValue::Dword(1));

  struct stat info;
  ASSERT_EQ(::stat(registry.hivePath(kUser).c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  const std::string text = hiveText(kUser);
  EXPECT_EQ(text.rfind("Windows Registry Editor Version 5.00\n\n", 0), 0u);
  EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\NOSK\\VALO]\n"
                      "@=\"default value\"\n"
                      "\"Path\"=\"C:\\\\a \\\"quoted\\\" 憑證\"\n"),
            std::string::npos)
      << text;
  EXPECT_NE(hiveText(kMachine).find("\"n=\\\"1\\\"\"=dword:00000002\n"), std::string::npos);
}

TEST_F(FileRegistryTest, KeysValuesAndDeletion) {
  EXPECT_FALSE(registry.keyExists(kUser, "Software\\NOSK"));
  EXPECT_TRUE(registry.createKey(kUser, "Software\\NOSK\\VALO\\Keys"));
  EXPECT_TRUE(registry.createKey(kUser, "software\\nosk\\valo\\keys"));  // already there
  EXPECT_TRUE(registry.keyExists(kUser, "SOFTWARE\\nosk"));
  EXPECT_FALSE(registry.keyExists(kMachine, "Software\\NOSK"));
  EXPECT_EQ(registry.subKeys(kUser, "software\\NOSK"), std::vector<std::string>{"VALO"});

  EXPECT_TRUE(registry.setValue(kUser, "Software\\NOSK\\VALO", "Name", RegistryValue::Dword(1)));
  EXPECT_TRUE(
      registry.setValue(kUser, "Software\\NOSK\\VALO", "NAME", RegistryValue::String("text")));
  EXPECT_EQ(registry.queryValue(kUser, "Software\\NOSK\\VALO", "name"),
            RegistryValue::String("text"));
  EXPECT_EQ(registry.queryValue(kUser, "Software\\NOSK\\VALO", ""), std::nullopt);
  EXPECT_NE(hiveText(kUser).find("\"Name\"=\"text\""), std::string::npos);

  EXPECT_FALSE(registry.deleteValue(kUser, "Software\\NOSK\\VALO", "missing"));
  EXPECT_FALSE(registry.deleteValue(kUser, "Software\\Missing", "Name"));
  EXPECT_TRUE(registry.deleteValue(kUser, "Software\\NOSK\\VALO", "nAmE"));
  EXPECT_EQ(registry.queryValue(kUser, "Software\\NOSK\\VALO", "Name"), std::nullopt);

  EXPECT_FALSE(registry.deleteKey(kUser, ""));
  EXPECT_FALSE(registry.deleteKey(kUser, "Software\\NOSK\\Missing"));
  EXPECT_TRUE(registry.deleteKey(kUser, "Software\\NOSK"));
  EXPECT_FALSE(registry.keyExists(kUser, "Software\\NOSK\\VALO\\Keys"));
  EXPECT_TRUE(registry.keyExists(kUser, "Software"));

  // Names the file cannot hold are refused, not mangled.
  EXPECT_FALSE(registry.setValue(kUser, "Software\\A", "two\nlines", RegistryValue::Dword(1)));
  EXPECT_FALSE(registry.createKey(kUser, "Software\\two\nlines"));
  EXPECT_FALSE(registry.keyExists(kUser, "Software\\A"));
}

TEST_F(FileRegistryTest, SubKeysKeepTheirOrderOfCreation) {
  const std::string ranges = "Software\\Ranges";
  for (const char* name : {"Range2", "range10", "Range1", "Zeta", "alpha"}) {
    ASSERT_TRUE(registry.createKey(kUser, ranges + "\\" + name));
  }
  const std::vector<std::string> expected = {"Range2", "range10", "Range1", "Zeta", "alpha"};
  EXPECT_EQ(registry.subKeys(kUser, ranges), expected);
  EXPECT_EQ(FileRegistry(folder, "").subKeys(kUser, "software\\ranges"), expected);

  // Writing a value into an existing key does not move it; a key made again goes last.
  ASSERT_TRUE(registry.setValue(kUser, ranges + "\\Range2", ":Range", RegistryValue::String("x")));
  ASSERT_TRUE(registry.deleteKey(kUser, ranges + "\\RANGE1"));
  ASSERT_TRUE(registry.createKey(kUser, ranges + "\\Range1"));
  EXPECT_EQ(registry.subKeys(kUser, ranges),
            (std::vector<std::string>{"Range2", "range10", "Zeta", "alpha", "Range1"}));
  EXPECT_TRUE(registry.subKeys(kUser, "Software\\Missing").empty());
}

TEST_F(FileRegistryTest, AWriteThatFailsMidwayLeavesTheHiveAsItWas) {
  ASSERT_TRUE(registry.setValue(kUser, "Software\\NOSK", "Kept", RegistryValue::String("old")));
  const std::string before = hiveText(kUser);
  const std::vector<std::string> entriesBefore = folderEntries();

  // The file size limit makes the temporary file's write fail part of the way through;
  // it binds root too, and only this child process.
  const int result = test::runInChildProcess([&] {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{before.size() + 64, before.size() + 64};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return 2;
    FileRegistry child(folder, "Desktop");
    const bool stored = child.setValue(kUser, "Software\\NOSK", "Big",
                                       RegistryValue::Binary(std::string(100000, 'x')));
    return stored ? 1 : 0;
  });
  EXPECT_EQ(result, 0);
  EXPECT_EQ(hiveText(kUser), before);
  EXPECT_EQ(folderEntries(), entriesBefore);  // no temporary file left behind
  EXPECT_EQ(registry.queryValue(kUser, "Software\\NOSK", "Kept"), RegistryValue::String("old"));
  EXPECT_EQ(registry.queryValue(kUser, "Software\\NOSK", "Big"), std::nullopt);
}

TEST_F(FileRegistryTest, AnUnusableFolderOrHiveFailsEveryWrite) {
  // The folder's place is taken by a file.
  test::writeTextFile(folder, "not a folder");
  FileRegistry blocked(folder, "Desktop");
  EXPECT_FALSE(blocked.createKey(kUser, "Software\\NOSK"));
  EXPECT_FALSE(blocked.setValue(kUser, "Software\\NOSK", "v", RegistryValue::Dword(1)));
  EXPECT_FALSE(blocked.keyExists(kUser, "Software"));
  EXPECT_EQ(blocked.queryValue(kUser, kShellFolders, "Desktop"), std::nullopt);
  EXPECT_TRUE(blocked.subKeys(kUser, "").empty());
  EXPECT_FALSE(blocked.deleteKey(kUser, "Software"));
  EXPECT_EQ(test::readTextFile(folder), "not a folder");

  // A hive that cannot be read is never overwritten unseen.
  ASSERT_EQ(::unlink(folder.c_str()), 0);
  std::filesystem::create_directories(registry.hivePath(kMachine) + "/inside");
  EXPECT_FALSE(registry.setValue(kMachine, "Software", "v", RegistryValue::Dword(1)));
  EXPECT_FALSE(registry.keyExists(kMachine, "Software"));
  EXPECT_TRUE(std::filesystem::is_directory(registry.hivePath(kMachine) + "/inside"));
  // The other root is unaffected.
  EXPECT_TRUE(registry.setValue(kUser, "Software", "v", RegistryValue::Dword(1)));
}

TEST_F(FileRegistryTest, ConcurrentWritersInTwoProcessesLoseNothing) {
  constexpr int kWrites = 50;
  ASSERT_TRUE(registry.createKey(kUser, "Software\\Shared"));
  std::vector<pid_t> children;
  for (int child = 0; child < 2; ++child) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      FileRegistry own(folder, "Desktop");
      int failures = 0;
      for (int i = 0; i < kWrites; ++i) {
        const std::string tag = std::to_string(child) + "-" + std::to_string(i);
        if (!own.setValue(kUser, "Software\\Shared", "v" + tag, RegistryValue::Dword(i))) {
          ++failures;
        }
        if (!own.createKey(kUser,
                           "Software\\Child" + std::to_string(child) + "\\K" + std::to_string(i))) {
          ++failures;
        }
      }
      ::_exit(failures == 0 ? 0 : 1);
    }
    children.push_back(pid);
  }
  for (pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  for (int child = 0; child < 2; ++child) {
    std::vector<std::string> expected;
    for (int i = 0; i < kWrites; ++i) {
      const std::string tag = std::to_string(child) + "-" + std::to_string(i);
      EXPECT_EQ(registry.queryValue(kUser, "Software\\Shared", "v" + tag),
                RegistryValue::Dword(static_cast<uint32_t>(i)))
          << tag;
      expected.push_back("K" + std::to_string(i));
    }
    EXPECT_EQ(registry.subKeys(kUser, "Software\\Child" + std::to_string(child)), expected);
  }
}

TEST_F(FileRegistryTest, ADamagedHiveIsReadAroundAndRepairedByTheNextWrite) {
  std::filesystem::create_directories(folder);
  test::writeTextFile(registry.hivePath(kMachine),
                      "Windows Registry Editor Version 5.00\n\n"
                      "[HKEY_LOCAL_MACHINE\\Software\\Good]\n"
                      "\"a\"=\"1\"\n"
                      "\"b\"=dword:nothex\n"
                      "\x01\x02\xff garbage\n"
                      "\"c\"=hex:0\n"
                      "[HKEY_LOCAL_MACHINE\\Software\\Cut");
  EXPECT_EQ(registry.queryValue(kMachine, "Software\\Good", "a"), RegistryValue::String("1"));
  EXPECT_EQ(registry.queryValue(kMachine, "Software\\Good", "b"), std::nullopt);
  EXPECT_EQ(registry.queryValue(kMachine, "Software\\Good", "c"),
            RegistryValue::Binary(std::string(1, '\0')));
  EXPECT_FALSE(registry.keyExists(kMachine, "Software\\Cut"));

  ASSERT_TRUE(registry.setValue(kMachine, "Software\\Good", "d", RegistryValue::Dword(4)));
  EXPECT_EQ(hiveText(kMachine),
            "Windows Registry Editor Version 5.00\n\n"
            "[HKEY_LOCAL_MACHINE\\Software]\n\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Good]\n"
            "\"a\"=\"1\"\n"
            "\"c\"=hex:00\n"
            "\"d\"=dword:00000004\n\n");

  // Pure noise is an empty hive, not a crash.
  std::string noise;
  for (int i = 0; i < 5000; ++i) noise.push_back(static_cast<char>((i * 7919) % 256));
  test::writeTextFile(registry.hivePath(kMachine), noise);
  EXPECT_TRUE(registry.subKeys(kMachine, "").empty());
  EXPECT_TRUE(registry.setValue(kMachine, "Software", "v", RegistryValue::Dword(1)));
}

TEST_F(FileRegistryTest, FirstUseSeedsTheDesktopFolderUnlessPresent) {
  EXPECT_EQ(registry.queryValue(kUser, kShellFolders, "Desktop"),
            RegistryValue::ExpandString("%USERPROFILE%\\Desktop"));
  EXPECT_FALSE(registry.keyExists(kMachine, kShellFolders));

  ASSERT_TRUE(registry.setValue(kUser, kShellFolders, "Desktop",
                                RegistryValue::ExpandString("%USERPROFILE%\\Mine")));
  FileRegistry again(folder, "Other");
  EXPECT_EQ(again.queryValue(kUser, kShellFolders, "desktop"),
            RegistryValue::ExpandString("%USERPROFILE%\\Mine"));

  // A registry that was never written to is seeded by any first use, a read included.
  const std::string otherFolder = home.path("other-registry");
  FileRegistry fresh(otherFolder, "桌面");
  EXPECT_TRUE(fresh.keyExists(kUser, "Software"));
  EXPECT_EQ(FileRegistry(otherFolder, "").queryValue(kUser, kShellFolders, "Desktop"),
            RegistryValue::ExpandString("%USERPROFILE%\\桌面"));
}

TEST(XdgDesktopFolderName, FollowsTheXdgSettings) {
  struct Case {
    const char* variable;  // XDG_DESKTOP_DIR, or null
    const char* userDirs;  // content of user-dirs.dirs, or null
    const char* expected;
  };
  const Case cases[] = {
      {nullptr, nullptr, "Desktop"},
      {"/somewhere/Schreibtisch/", nullptr, "Schreibtisch"},
      {nullptr, "# comment\nXDG_DOWNLOAD_DIR=\"$HOME/dl\"\nXDG_DESKTOP_DIR=\"$HOME/桌面\"\n",
       "桌面"},
      {nullptr, "XDG_DESKTOP_DIR=\"$HOME/a\"\nXDG_DESKTOP_DIR=\"/abs/b\"\n", "b"},
      {nullptr, "XDG_DESKTOP_DIR=\"$HOME/\"\n", "Desktop"},
      {"$HOME/Bureau", "XDG_DESKTOP_DIR=\"$HOME/ignored\"\n", "Bureau"},
  };
  for (const Case& c : cases) {
    test::TempHome home;
    if (c.variable != nullptr) home.setVariable("XDG_DESKTOP_DIR", std::string(c.variable));
    if (c.userDirs != nullptr) test::writeTextFile(home.path("config/user-dirs.dirs"), c.userDirs);
    EXPECT_EQ(xdgDesktopFolderName(LinuxEnvironment()), c.expected)
        << (c.variable ? c.variable : "") << " " << (c.userDirs ? c.userDirs : "");
  }
}

}  // namespace
}  // namespace valo::platform
