#include "app/security_component.h"

#include <chrono>
#include <optional>
#include <string>

namespace valo {
namespace {

constexpr std::chrono::milliseconds kVersionTimeLimit(5000);

// The program registered for the class, or the empty text.
std::string registeredServer(platform::Registry& registry, const std::string& classId) {
  const std::string key = "Software\\Classes\\CLSID\\{" + classId + "}\\LocalServer32";
  for (platform::RegistryRoot root :
       {platform::RegistryRoot::kCurrentUser, platform::RegistryRoot::kLocalMachine}) {
    std::optional<platform::RegistryValue> value = registry.queryValue(root, key, "");
    if (!value) continue;
    if (value->type != platform::RegistryValueType::kString &&
        value->type != platform::RegistryValueType::kExpandString) {
      continue;
    }
    if (!value->text.empty()) return value->text;
  }
  return std::string();
}

}  // namespace

bool isSecurityComponentCurrent(Context& context) {
  const std::string server = registeredServer(context.platform.registry,
                                              context.config.get("component.activeX.classId32"));
  if (server.empty()) return false;
  std::optional<std::string> version =
      context.platform.shell.runForFirstLine(server, {"GetVersion"}, kVersionTimeLimit);
  return version && *version == context.config.get("component.activeX.version32");
}

}  // namespace valo
