#include "platform/registry.h"

#include <utility>

namespace valo::platform {

RegistryValue RegistryValue::String(std::string text) {
  RegistryValue value;
  value.type = RegistryValueType::kString;
  value.text = std::move(text);
  return value;
}

RegistryValue RegistryValue::ExpandString(std::string text) {
  RegistryValue value;
  value.type = RegistryValueType::kExpandString;
  value.text = std::move(text);
  return value;
}

RegistryValue RegistryValue::Dword(uint32_t dword) {
  RegistryValue value;
  value.type = RegistryValueType::kDword;
  value.dword = dword;
  return value;
}

RegistryValue RegistryValue::Binary(std::string bytes) {
  RegistryValue value;
  value.type = RegistryValueType::kBinary;
  value.binary = std::move(bytes);
  return value;
}

}  // namespace valo::platform
