#ifndef VALO_APP_CLI_STARTUP_CHECK_H_
#define VALO_APP_CLI_STARTUP_CHECK_H_

#include <optional>
#include <ostream>

#include "session/context.h"

namespace valo::cli {

// The terminal's start-up check, run once before the first call as the window runs its
// own: asks the gateway whether it still accepts this client version. nullopt lets the
// program go on; otherwise the message has been written to `err` and the value is the
// exit status (kExitOutdated when the version is no longer accepted). A terminal program
// never replaces its own executable.
std::optional<int> checkVersionAtStart(Context& context, std::ostream& err);

}  // namespace valo::cli

#endif  // VALO_APP_CLI_STARTUP_CHECK_H_
