#ifndef VALO_TESTS_SUPPORT_TEMP_HOME_H_
#define VALO_TESTS_SUPPORT_TEMP_HOME_H_

#include <map>
#include <optional>
#include <string>

namespace valo::test {

// A temporary folder that stands in for the user's home while it lives. It sets HOME,
// VALO_HOME, XDG_DATA_HOME, XDG_CONFIG_HOME, XDG_CACHE_HOME, XDG_STATE_HOME and TMPDIR to
// folders inside it (created), unsets USERPROFILE, LOCALAPPDATA and XDG_DESKTOP_DIR, and on
// destruction restores every variable it touched and removes the folder.
//
//   root/home  root/valo  root/data  root/config  root/cache  root/state  root/tmp
class TempHome {
 public:
  TempHome();
  ~TempHome();
  TempHome(const TempHome&) = delete;
  TempHome& operator=(const TempHome&) = delete;

  const std::string& root() const { return root_; }
  std::string home() const { return root_ + "/home"; }
  std::string valoHome() const { return root_ + "/valo"; }
  std::string tmp() const { return root_ + "/tmp"; }
  // root() + "/" + relative.
  std::string path(const std::string& relative) const { return root_ + "/" + relative; }

  // Changes a variable until destruction (nullopt unsets it).
  void setVariable(const std::string& name, const std::optional<std::string>& value);
  // Puts `folder` first in PATH until destruction.
  void prependToPath(const std::string& folder);

 private:
  std::string root_;
  std::map<std::string, std::optional<std::string>> saved_;  // the values before us
};

}  // namespace valo::test

#endif  // VALO_TESTS_SUPPORT_TEMP_HOME_H_
