#ifndef VALO_PLATFORM_LINUX_REGISTRY_HIVE_H_
#define VALO_PLATFORM_LINUX_REGISTRY_HIVE_H_

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/registry.h"

namespace valo::platform {

// The key path "Software\\NOSK\\VALO" as its names; empty components (doubled or trailing
// backslashes) are dropped, so "" names the root. nullopt when a name cannot be stored
// (it holds a line break or a zero byte).
std::optional<std::vector<std::string>> splitKeyPath(std::string_view path);

// ASCII case-insensitive equality, the rule for key and value names.
bool namesEqual(std::string_view a, std::string_view b);

// One root of the registry in memory and its text form:
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\Software]
//
//   [HKEY_CURRENT_USER\Software\NOSK]
//   "Name"="text"
//
// Every key has its own section, written depth first with sub-keys in the order they were
// created, so the order of sections is the order of enumeration. Value lines are those of
// reg_file_syntax.h. The root's own section appears only when the root holds values.
class RegistryHive {
 public:
  struct Key {
    std::string name;
    std::vector<std::pair<std::string, RegistryValue>> values;  // in order of creation
    std::vector<Key> subKeys;                                   // in order of creation
  };

  // `rootName` is the section prefix, e.g. "HKEY_CURRENT_USER".
  explicit RegistryHive(std::string rootName);

  // Reads a hive file. Never fails: lines it cannot understand (damaged lines, sections of
  // another root, value types it does not keep) are skipped, and a value that appears
  // twice keeps the later data.
  static RegistryHive parse(std::string rootName, std::string_view text);
  std::string serialize() const;

  // The key at `path` (components from splitKeyPath), or null when absent.
  const Key* find(const std::vector<std::string>& path) const;
  Key* find(const std::vector<std::string>& path);
  // The key at `path`, created with every missing key above it. `created` tells whether
  // anything was added.
  Key& create(const std::vector<std::string>& path, bool& created);
  // Removes the key and everything below it; false when absent or `path` is the root.
  bool remove(const std::vector<std::string>& path);

  static const RegistryValue* findValue(const Key& key, std::string_view name);
  // True when the key changed (the value was new or different).
  static bool setValue(Key& key, const std::string& name, const RegistryValue& value);
  static bool eraseValue(Key& key, std::string_view name);

 private:
  std::string rootName_;
  Key root_;
};

}  // namespace valo::platform

#endif  // VALO_PLATFORM_LINUX_REGISTRY_HIVE_H_
