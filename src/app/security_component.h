#ifndef VALO_APP_SECURITY_COMPONENT_H_
#define VALO_APP_SECURITY_COMPONENT_H_

#include "session/context.h"

namespace valo {

// Whether the security component is installed in the version the gateway requires.
// The component is registered as "Software\Classes\CLSID\{<component.activeX.classId32>}"
// under HKEY_CURRENT_USER or, failing that, HKEY_LOCAL_MACHINE, whose "LocalServer32"
// sub-key's default value names its program. The program is run with the single
// argument "GetVersion" (5 s at most) and the first line it prints is its version. True
// exactly when that line equals `component.activeX.version32` (whole text, case
// included); false when the component is not registered, cannot be run or fails.
bool isSecurityComponentCurrent(Context& context);

}  // namespace valo

#endif  // VALO_APP_SECURITY_COMPONENT_H_
