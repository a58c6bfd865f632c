#ifndef VALO_SESSION_CERT_LOOKUP_H_
#define VALO_SESSION_CERT_LOOKUP_H_

#include <string>

#include "session/context.h"

namespace valo {

// The user's certificate common name for an identity number. A non-empty `cn` in the
// configuration is returned without asking the gateway (whatever `idno` is); otherwise
// `getCn` (session envelope, `userId` = `idno`) is asked and the reply's `cn` taken,
// whatever `rtnCode` says, and remembered in the configuration when not empty. Empty on
// any failure; nothing is reported.
std::string resolveCn(Context& context, const std::string& idno);

}  // namespace valo

#endif  // VALO_SESSION_CERT_LOOKUP_H_
