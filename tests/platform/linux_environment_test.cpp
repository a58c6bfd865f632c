#include "platform/linux/linux_environment.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/temp_home.h"

namespace valo::platform {
namespace {

TEST(LinuxEnvironment, MapsTheWindowsNamesAndTheStateRoot) {
  using Settings = std::vector<std::pair<std::string, std::optional<std::string>>>;
  struct Case {
    Settings settings;
    std::string userProfile;
    std::string localAppData;
    std::string stateRoot;
  };
  const Case cases[] = {
      {{{"HOME", "/h"}, {"XDG_DATA_HOME", std::nullopt}, {"VALO_HOME", std::nullopt}},
       "/h",
       "/h/.local/share",
       "/h/.local/share/valo"},
      {{{"HOME", "/h"}, {"XDG_DATA_HOME", "/data"}, {"VALO_HOME", std::nullopt}},
       "/h",
       "/data",
       "/data/valo"},
      {{{"HOME", "/h"},
        {"USERPROFILE", "/profile"},
        {"LOCALAPPDATA", "/local"},
        {"XDG_DATA_HOME", "/data"},
        {"VALO_HOME", "/state/"}},
       "/profile",
       "/local",
       "/state"},
      // Set but empty counts as not set.
      {{{"HOME", "/h"},
        {"USERPROFILE", ""},
        {"LOCALAPPDATA", ""},
        {"XDG_DATA_HOME", ""},
        {"VALO_HOME", ""}},
       "/h",
       "/h/.local/share",
       "/h/.local/share/valo"},
  };
  for (const Case& c : cases) {
    test::TempHome home;
    for (const auto& [name, value] : c.settings) home.setVariable(name, value);
    LinuxEnvironment environment;
    EXPECT_EQ(environment.get("USERPROFILE"), c.userProfile);
    EXPECT_EQ(environment.get("LOCALAPPDATA"), c.localAppData);
    EXPECT_EQ(environment.stateRoot(), c.stateRoot);
  }
}

TEST(LinuxEnvironment, OtherNamesAreReadAsTheyAre) {
  test::TempHome home;
  home.setVariable("WINDIR", std::nullopt);
  home.setVariable("ProgramFiles", std::string("/opt"));
  LinuxEnvironment environment;
  EXPECT_EQ(environment.get("WINDIR"), "");
  EXPECT_EQ(environment.get("ProgramFiles"), "/opt");
  EXPECT_EQ(environment.get("PROGRAMFILES"), "");
  EXPECT_EQ(environment.get("TMPDIR"), home.tmp());
  EXPECT_EQ(environment.stateRoot(), home.valoHome());
}

TEST(LinuxEnvironment, WithoutHomeTheUserDatabaseAnswers) {
  test::TempHome home;
  home.setVariable("HOME", std::nullopt);
  home.setVariable("XDG_DATA_HOME", std::nullopt);
  home.setVariable("VALO_HOME", std::nullopt);
  LinuxEnvironment environment;
  const std::string userHome = environment.home();
  ASSERT_FALSE(userHome.empty());
  EXPECT_EQ(environment.get("USERPROFILE"), userHome);
  EXPECT_EQ(environment.stateRoot(), userHome + "/.local/share/valo");
}

}  // namespace
}  // namespace valo::platform
