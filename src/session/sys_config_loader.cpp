#include "session/sys_config_loader.h"

#include <regex>
#include <utility>

#include "core/file_util.h"
#include "core/result_codes.h"
#include "core/text_util.h"
#include "gateway/reply_document.h"

namespace valo {
namespace {

constexpr char kShellFoldersKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

// The text after the last separator, or the whole text when there is none (or when
// nothing follows it). The registry keeps the setting in the Windows form
// ("%USERPROFILE%\Desktop"), so a backslash separates as well as the platform's "/".
std::string lastPathComponent(const std::string& path) {
  static const std::regex kLastComponent(R"(^.*[\\/]([^\\/]+)$)");
  return std::regex_replace(path, kLastComponent, "$1");
}

// Splits "first,second" into its two items; a text of another shape is used whole for
// both.
std::pair<std::string, std::string> splitStoreList(const std::string& list) {
  static const std::regex kStoreList("^([^,]+),?([^,]+)?$");
  std::smatch match;
  if (!std::regex_match(list, match, kStoreList)) return {list, list};
  return {match[1].str(), match[2].matched ? match[2].str() : std::string()};
}

std::string knownStoreOrEmpty(const std::string& item) {
  return item == "pfx" || item == "ieCertStore" ? item : std::string();
}

void deriveStoreKeys(SysConfig& config, const char* listKey, const char* primaryKey,
                     const char* secondaryKey) {
  std::string list = config.get(listKey);
  // Reading the list creates it, empty, when the gateway did not send it.
  config.set(listKey, list);
  auto [first, second] = splitStoreList(list);
  config.set(primaryKey, knownStoreOrEmpty(first));
  config.set(secondaryKey, knownStoreOrEmpty(second));
}

}  // namespace

std::string desktopFolderSetting(platform::Registry& registry) {
  std::optional<platform::RegistryValue> value =
      registry.queryValue(platform::RegistryRoot::kCurrentUser, kShellFoldersKey, "Desktop");
  if (!value) return std::string();
  if (value->type != platform::RegistryValueType::kString &&
      value->type != platform::RegistryValueType::kExpandString) {
    return std::string();
  }
  return value->text;
}

void loadSysConfigFromGateway(SysConfig& config, GatewayClient& gateway,
                              platform::Environment& environment, platform::Registry& registry) {
  std::string reply;
  if (gateway.postRsaEnvelope(gateway.actionUrl("getSysCfg"), {{"version", kClientVersion}},
                              reply) != code::kSuccess) {
    return;
  }
  ReplyDocument document(reply);
  if (!document.hasRoot() || document.field("rtnCode") != "0") return;

  for (const auto& [key, value] : document.allFieldsWithoutCodes()) config.set(key, value);
  config.set("userIdno", "");
  config.set("userAccount", "");
  config.set("cn", "");

  const std::string userHome = environment.get("USERPROFILE");
  config.set("env.userHome", userHome);
  std::string localAppData = environment.get("LOCALAPPDATA");
  if (localAppData.empty()) {
    localAppData =
        userHome + kPathSeparator + "Local Settings" + kPathSeparator + "Application Data";
  }
  config.set("env.localAppDataPath", localAppData);

  std::string desktop = desktopFolderSetting(registry);
  config.set("env.userDeskTop",
             desktop.empty() ? userHome : userHome + kPathSeparator + lastPathComponent(desktop));

  std::string pfxPath = config.get("default.pfxFilePath");
  if (pfxPath.empty() || pfxPath.back() != kPathSeparator) pfxPath.push_back(kPathSeparator);
  pfxPath += config.get("default.pfxFileName");
  pfxPath = replaceAll(pfxPath, "#userHome#", config.get("env.userHome"));
  pfxPath = replaceAll(pfxPath, "#desktop#", config.get("env.userDeskTop"));
  pfxPath = replaceAll(pfxPath, "#userId#", config.get("userId"));
  pfxPath = replaceAll(pfxPath, "#cn#", config.get("cn"));
  config.set("env.userPfxFilePath", pfxPath);

  config.set("env.userPfxFilePwd", "");
  config.set("env.userPrivateKeyFolder", userHome + kPathSeparator + "NOSK");
  config.set("env.clientVersion", kClientVersion);

  deriveStoreKeys(config, "cert.expType", "env.write.primaryCertStore",
                  "env.write.secondaryCertStore");
  deriveStoreKeys(config, "cert.readOrder", "env.read.primaryCertStore",
                  "env.read.secondaryCertStore");
}

}  // namespace valo
