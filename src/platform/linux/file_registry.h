#ifndef VALO_PLATFORM_LINUX_FILE_REGISTRY_H_
#define VALO_PLATFORM_LINUX_FILE_REGISTRY_H_

#include <optional>
#include <string>
#include <vector>

#include "platform/linux/registry_hive.h"
#include "platform/registry.h"

namespace valo::platform {

// The registry kept as one text file per root in `folder` (normally
// <state root>/registry): HKEY_CURRENT_USER.reg and HKEY_LOCAL_MACHINE.reg, in the syntax
// described in registry_hive.h and reg_file_syntax.h.
//
// Several processes may use the same folder at once. Every operation reads the file
// afresh, so each sees the others' writes. A write takes an advisory lock (flock on
// "<hive>.lock" beside the hive), reads the file again, applies the change and replaces
// the file through a temporary file in the same folder that is synced and renamed into
// place; the folder is synced too before the write reports success. A write that fails
// at any step reports false and leaves the earlier file as it was. A hive file that
// exists but cannot be read makes reads answer "absent" and writes fail, so it is never
// overwritten unseen.
//
// Desktop folder: on first use this object gives HKEY_CURRENT_USER the value "Desktop"
// (REG_EXPAND_SZ) under "Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell
// Folders" when it is absent, as Windows always has it. Its text is "%USERPROFILE%\"
// followed by the last component of the XDG desktop folder (e.g. "%USERPROFILE%\Desktop"),
// the Windows form, so that readers which take the text after the last backslash find the
// folder's name.
class FileRegistry : public Registry {
 public:
  // `desktopFolderName` is the last component of the user's desktop folder (see
  // xdgDesktopFolderName); empty means no seeding.
  FileRegistry(std::string folder, std::string desktopFolderName);

  bool keyExists(RegistryRoot root, const std::string& key) override;
  bool createKey(RegistryRoot root, const std::string& key) override;
  std::optional<RegistryValue> queryValue(RegistryRoot root, const std::string& key,
                                          const std::string& name) override;
  bool setValue(RegistryRoot root, const std::string& key, const std::string& name,
                const RegistryValue& value) override;
  std::vector<std::string> subKeys(RegistryRoot root, const std::string& key) override;
  bool deleteValue(RegistryRoot root, const std::string& key, const std::string& name) override;
  bool deleteKey(RegistryRoot root, const std::string& key) override;

  // The file that holds `root`.
  std::string hivePath(RegistryRoot root) const;

 private:
  enum class Change { kNone, kChanged, kFailed };

  // The hive as stored now: empty when the file does not exist, nullopt when it exists
  // but cannot be read.
  std::optional<RegistryHive> load(RegistryRoot root);
  // Applies `change` to the stored hive under the lock and stores the result.
  template <typename ChangeFunction>
  bool update(RegistryRoot root, ChangeFunction change);
  bool store(RegistryRoot root, const RegistryHive& hive);
  void seedOnFirstUse(RegistryRoot root);

  std::string folder_;
  std::string desktopFolderName_;
  bool seedAttempted_ = false;
};

}  // namespace valo::platform

#endif  // VALO_PLATFORM_LINUX_FILE_REGISTRY_H_
