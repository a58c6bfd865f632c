#include "session/registry_settings.h"

#include <tinyxml2.h>

#include <cstdint>
#include <string>

#include "core/result_codes.h"
#include "core/text_util.h"

namespace valo {
namespace {

std::string childText(const tinyxml2::XMLElement& parent, const char* name) {
  const tinyxml2::XMLElement* child = parent.FirstChildElement(name);
  const char* text = child ? child->GetText() : nullptr;
  return text ? std::string(text) : std::string();
}

void applySetting(platform::Registry& registry, const tinyxml2::XMLElement& setting) {
  const std::string path = childText(setting, "regPath");
  const std::string name = childText(setting, "regName");
  const std::string value = childText(setting, "regValue");
  const std::string type = childText(setting, "regValueType");
  if (path.empty() || name.empty() || value.empty() || type.empty()) return;
  constexpr auto kRoot = platform::RegistryRoot::kCurrentUser;
  if (!registry.createKey(kRoot, path)) return;
  // A negative number is stored as its 32-bit two's complement, as a DWORD write of an
  // int does.
  const platform::RegistryValue data =
      type == "DW"
          ? platform::RegistryValue::Dword(static_cast<uint32_t>(leadingDigitsToInt(value)))
          : platform::RegistryValue::String(value);
  registry.setValue(kRoot, path, name, data);
}

}  // namespace

int applyRegistrySettings(Context& context) {
  std::string reply;
  const int posted = context.gateway.postSessionEnvelope(
      context.sessionKey, context.gateway.actionUrl("getRegSet"), {{"version", ""}}, reply);
  if (posted != code::kSuccess) return posted;

  tinyxml2::XMLDocument document;
  if (document.Parse(reply.data(), reply.size()) != tinyxml2::XML_SUCCESS) {
    return code::kUnknownError;
  }
  const tinyxml2::XMLElement* root = document.FirstChildElement();
  if (root == nullptr) return code::kUnknownError;
  if (childText(*root, "rtnCode") != "0") return code::kRegistrySettingsFailed;

  for (const tinyxml2::XMLElement* setting = root->FirstChildElement(); setting;
       setting = setting->NextSiblingElement()) {
    const std::string name = setting->Name() ? setting->Name() : "";
    if (name.empty() || name == "rtnCode" || name == "rtnMsg") continue;
    applySetting(context.platform.registry, *setting);
  }
  return code::kSuccess;
}

}  // namespace valo
