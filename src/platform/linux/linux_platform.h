#ifndef VALO_PLATFORM_LINUX_LINUX_PLATFORM_H_
#define VALO_PLATFORM_LINUX_LINUX_PLATFORM_H_

#include "platform/linux/file_registry.h"
#include "platform/linux/linux_environment.h"
#include "platform/linux/linux_shell.h"
#include "platform/linux/system_clock.h"
#include "platform/services.h"
#include "platform/ui.h"

namespace valo::platform {

// The platform of a running program: the process environment, the registry under its
// state root (fixed when this object is made), the desktop shell and real time. The
// front end makes one and hands its services down.
class LinuxPlatform {
 public:
  LinuxPlatform();
  LinuxPlatform(const LinuxPlatform&) = delete;
  LinuxPlatform& operator=(const LinuxPlatform&) = delete;

  LinuxEnvironment& environment() { return environment_; }
  FileRegistry& registry() { return registry_; }
  LinuxShell& shell() { return shell_; }
  SystemClock& clock() { return clock_; }

  // The bundle for operations, with the front end's user interface.
  Services services(Ui& ui);

 private:
  LinuxEnvironment environment_;
  FileRegistry registry_;
  LinuxShell shell_;
  SystemClock clock_;
};

}  // namespace valo::platform

#endif  // VALO_PLATFORM_LINUX_LINUX_PLATFORM_H_
