#ifndef VALO_APP_POST_LOGIN_CHECKS_H_
#define VALO_APP_POST_LOGIN_CHECKS_H_

#include <string>

#include "session/context.h"

namespace valo {

// Run after every successful login, before the login reply goes back to the page.
// When the security component is missing or not current, asks (OK/Cancel, caption
// "安控元件安裝提示") whether to install it; on OK downloads `noskCpnt.dlUrl` into the
// installer file, reports the outcome and opens the installer through the desktop
// without waiting. Then, whatever happened, applies the gateway's registry settings.
// Nothing here blocks the login: failures are only reported.
void runPostLoginChecks(Context& context);

// The installer's path: the temporary folder (or, when that is not a usable folder,
// `env.userHome` + "/NOSK", created as needed) and the local time of `context`'s clock as
// "%Y%m%d%H%M%S", with ".msi".
std::string securityComponentInstallerPath(Context& context);

}  // namespace valo

#endif  // VALO_APP_POST_LOGIN_CHECKS_H_
