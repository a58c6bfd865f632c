#include "platform/linux/linux_platform.h"

namespace valo::platform {

LinuxPlatform::LinuxPlatform()
    : registry_(environment_.stateRoot() + "/registry", xdgDesktopFolderName(environment_)) {}

Services LinuxPlatform::services(Ui& ui) {
  return Services{environment_, registry_, shell_, clock_, ui};
}

}  // namespace valo::platform
