#ifndef VALO_SESSION_SYS_CONFIG_LOADER_H_
#define VALO_SESSION_SYS_CONFIG_LOADER_H_

#include <string>

#include "gateway/gateway_client.h"
#include "platform/environment.h"
#include "platform/registry.h"
#include "session/sys_config.h"

namespace valo {

// Fills the store from the gateway's `getSysCfg` reply (sent through the RSA envelope with
// `version` = "1.3") and adds the values derived from the environment: user home,
// application-data folder, desktop, PFX path, private-key folder, client version and the
// four certificate-store keys. A failed post, an unreadable reply or an `rtnCode` other
// than "0" leaves the store as it was (empty), silently.
void loadSysConfigFromGateway(SysConfig& config, GatewayClient& gateway,
                              platform::Environment& environment, platform::Registry& registry);

// The raw (unexpanded) text of the current user's "Desktop" shell folder setting, or the
// empty text when it cannot be read.
std::string desktopFolderSetting(platform::Registry& registry);

}  // namespace valo

#endif  // VALO_SESSION_SYS_CONFIG_LOADER_H_
