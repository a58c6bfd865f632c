#ifndef VALO_SESSION_REGISTRY_SETTINGS_H_
#define VALO_SESSION_REGISTRY_SETTINGS_H_

#include "session/context.h"

namespace valo {

// Writes the registry settings the gateway pushes after a login (`getRegSet`, session
// envelope, `version` sent empty). Every child of the reply's root other than `rtnCode`
// and `rtnMsg` is one setting with `regPath` (a key under HKEY_CURRENT_USER, created with
// its missing parents), `regName`, `regValue` and `regValueType`: "DW" (exactly) writes
// a REG_DWORD read from `regValue` as atoi reads it, anything else a REG_SZ. A setting
// with any of the four empty, or whose key cannot be created, is skipped and the next
// one still written; write failures are ignored. Nothing is shown to the user.
//
// Returns 0; 59903 when `rtnCode` is not exactly "0" (nothing is written); the post's own
// code when it fails, 1 for a reply without a root.
int applyRegistrySettings(Context& context);

}  // namespace valo

#endif  // VALO_SESSION_REGISTRY_SETTINGS_H_
