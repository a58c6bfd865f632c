#ifndef VALO_PLATFORM_REGISTRY_H_
#define VALO_PLATFORM_REGISTRY_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace valo::platform {

enum class RegistryRoot { kCurrentUser, kLocalMachine };

enum class RegistryValueType { kString, kExpandString, kDword, kBinary };

struct RegistryValue {
  RegistryValueType type = RegistryValueType::kString;
  std::string text;    // kString, kExpandString
  uint32_t dword = 0;  // kDword
  std::string binary;  // kBinary (raw bytes)

  static RegistryValue String(std::string text);
  static RegistryValue ExpandString(std::string text);
  static RegistryValue Dword(uint32_t value);
  static RegistryValue Binary(std::string bytes);
  bool operator==(const RegistryValue&) const = default;
};

// The registry of the current user and of the machine. Key paths use backslashes as on
// Windows ("Software\\NOSK\\VALO"); key and value names compare case-insensitively
// (ASCII), and keep the spelling they were created with. The value name "" is the key's
// default value. Every write is durable when it returns true.
class Registry {
 public:
  virtual ~Registry() = default;

  virtual bool keyExists(RegistryRoot root, const std::string& key) = 0;
  // Creates the key and every missing key above it; true when it exists afterwards.
  virtual bool createKey(RegistryRoot root, const std::string& key) = 0;
  // The value, or nullopt when the key or the value is absent.
  virtual std::optional<RegistryValue> queryValue(RegistryRoot root, const std::string& key,
                                                  const std::string& name) = 0;
  // Sets the value, creating the key path as needed.
  virtual bool setValue(RegistryRoot root, const std::string& key, const std::string& name,
                        const RegistryValue& value) = 0;
  // Names of the direct sub-keys, in a stable order (the order of creation).
  virtual std::vector<std::string> subKeys(RegistryRoot root, const std::string& key) = 0;
  virtual bool deleteValue(RegistryRoot root, const std::string& key, const std::string& name) = 0;
  // Deletes the key with everything below it.
  virtual bool deleteKey(RegistryRoot root, const std::string& key) = 0;
};

}  // namespace valo::platform

#endif  // VALO_PLATFORM_REGISTRY_H_
