#ifndef VALO_TESTS_SUPPORT_TEST_PLATFORM_H_
#define VALO_TESTS_SUPPORT_TEST_PLATFORM_H_

#include "platform/linux/file_registry.h"
#include "platform/linux/linux_environment.h"
#include "platform/scripted_ui.h"
#include "platform/services.h"
#include "support/fake_clock.h"
#include "support/fake_shell.h"
#include "support/temp_home.h"

namespace valo::test {

// Everything an operation needs, for a test: a temporary home, the real environment and
// registry inside it (desktop folder "Desktop"), a shell that starts nothing, virtual time
// and a scripted UI. Make one per test; it restores the environment when it goes.
struct TestPlatform {
  TestPlatform();

  platform::Services services();

  TempHome home;
  platform::LinuxEnvironment environment;
  platform::FileRegistry registry;
  FakeShell shell;
  FakeClock clock;
  platform::ScriptedUi ui;
};

}  // namespace valo::test

#endif  // VALO_TESTS_SUPPORT_TEST_PLATFORM_H_
