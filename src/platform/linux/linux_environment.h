#ifndef VALO_PLATFORM_LINUX_LINUX_ENVIRONMENT_H_
#define VALO_PLATFORM_LINUX_LINUX_ENVIRONMENT_H_

#include <string>

#include "platform/environment.h"

namespace valo::platform {

// The process environment, read at each call. A variable set to the empty text counts as
// not set for the fallbacks of USERPROFILE, LOCALAPPDATA and the state root. HOME, when
// not set, is the home folder of the user database.
class LinuxEnvironment : public Environment {
 public:
  std::string get(const std::string& name) const override;
  std::string stateRoot() const override;

  // $HOME, else the user's home folder from the user database.
  std::string home() const;
};

// The last component of the user's desktop folder: from $XDG_DESKTOP_DIR, else from
// XDG_DESKTOP_DIR in $XDG_CONFIG_HOME/user-dirs.dirs (default ~/.config), else "Desktop".
// A desktop that is the home folder itself also gives "Desktop".
std::string xdgDesktopFolderName(const LinuxEnvironment& environment);

}  // namespace valo::platform

#endif  // VALO_PLATFORM_LINUX_LINUX_ENVIRONMENT_H_
