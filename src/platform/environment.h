#ifndef VALO_PLATFORM_ENVIRONMENT_H_
#define VALO_PLATFORM_ENVIRONMENT_H_

#include <string>

namespace valo::platform {

// Environment variables under the names the Windows program used.
// USERPROFILE: $USERPROFILE if set, else $HOME. LOCALAPPDATA: $LOCALAPPDATA if set,
// else $XDG_DATA_HOME, else $HOME/.local/share. Any other name is read as it is.
class Environment {
 public:
  virtual ~Environment() = default;

  // The value, or the empty text when the variable is not set.
  virtual std::string get(const std::string& name) const = 0;

  // Root folder of the program's own state (registry hives, certificate stores, key
  // containers): $VALO_HOME if set, else $XDG_DATA_HOME/valo, else ~/.local/share/valo.
  virtual std::string stateRoot() const = 0;
};

}  // namespace valo::platform

#endif  // VALO_PLATFORM_ENVIRONMENT_H_
