#include "platform/linux/linux_platform.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/scripted_ui.h"
#include "support/test_platform.h"
#include "support/test_util.h"

namespace valo::platform {
namespace {

TEST(LinuxPlatform, KeepsItsStateUnderTheStateRootAndSeedsTheXdgDesktop) {
  test::TempHome home;
  home.setVariable("XDG_DESKTOP_DIR", home.home() + "/桌面");
  LinuxPlatform platform;
  ScriptedUi ui;
  Services services = platform.services(ui);
  EXPECT_EQ(&services.registry, &platform.registry());
  EXPECT_EQ(&services.ui, &ui);
  EXPECT_EQ(services.environment.get("USERPROFILE"), home.home());

  EXPECT_EQ(platform.registry().hivePath(RegistryRoot::kCurrentUser),
            home.valoHome() + "/registry/HKEY_CURRENT_USER.reg");
  EXPECT_EQ(
      services.registry.queryValue(
          RegistryRoot::kCurrentUser,
          "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders", "Desktop"),
      RegistryValue::ExpandString("%USERPROFILE%\\桌面"));
  EXPECT_TRUE(test::fileExists(home.valoHome() + "/registry/HKEY_CURRENT_USER.reg"));
}

TEST(TestSupport, TempHomeRestoresTheEnvironment) {
  const char* before = std::getenv("HOME");
  const std::optional<std::string> home =
      before ? std::optional<std::string>(before) : std::nullopt;
  ::setenv("XDG_DESKTOP_DIR", "/kept", 1);
  std::string root;
  {
    test::TempHome temp;
    root = temp.root();
    EXPECT_EQ(std::getenv("HOME"), temp.home());
    EXPECT_EQ(std::getenv("XDG_DESKTOP_DIR"), nullptr);
    temp.setVariable("VALO_TEST_ONLY", std::string("x"));
    test::writeTextFile(temp.path("home/file"), "x");
  }
  EXPECT_EQ(std::getenv("HOME") ? std::optional<std::string>(std::getenv("HOME")) : std::nullopt,
            home);
  EXPECT_STREQ(std::getenv("XDG_DESKTOP_DIR"), "/kept");
  EXPECT_EQ(std::getenv("VALO_TEST_ONLY"), nullptr);
  EXPECT_FALSE(test::fileExists(root));
  ::unsetenv("XDG_DESKTOP_DIR");
}

TEST(TestSupport, TestPlatformRunsWithoutRealTimeOrPrograms) {
  test::TestPlatform platform;
  Services services = platform.services();
  services.clock.sleepFor(std::chrono::milliseconds(500));
  services.clock.sleepFor(std::chrono::milliseconds(1000));
  EXPECT_EQ(platform.clock.totalSlept(), std::chrono::milliseconds(1500));
  EXPECT_EQ(platform.clock.sleeps().size(), 2u);

  platform.shell.setFirstLine("/usr/bin/firefox", "Mozilla Firefox 115.0");
  EXPECT_EQ(
      services.shell.runForFirstLine("/usr/bin/firefox", {"--version"}, std::chrono::seconds(5)),
      "Mozilla Firefox 115.0");
  EXPECT_EQ(services.shell.runForFirstLine("/usr/bin/other", {}, std::chrono::seconds(5)),
            std::nullopt);
  EXPECT_TRUE(services.shell.spawnDetached("/usr/bin/firefox", {"file:///page.html"}));
  EXPECT_EQ(platform.shell.spawned().at(0).arguments.at(0), "file:///page.html");

  EXPECT_TRUE(services.registry.setValue(RegistryRoot::kCurrentUser, "Software\\NOSK", "v",
                                         RegistryValue::Dword(1)));
  EXPECT_TRUE(test::fileExists(platform.home.valoHome() + "/registry/HKEY_CURRENT_USER.reg"));
  services.ui.messageBox("hello");
  EXPECT_EQ(platform.ui.messageTexts().at(0), "hello");
}

}  // namespace
}  // namespace valo::platform
