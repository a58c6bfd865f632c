#include "app/cli/startup_check.h"

namespace valo::cli {

std::optional<int> checkVersionAtStart(Context& /*context*/, std::ostream& /*err*/) {
  // HOOK(version check): the gateway's version check (`checkClientVersion`) is not part of
  // this build yet, so the terminal starts without it. Once it exists, call it here:
  //   0      -> return std::nullopt;
  //   53705  -> write the outdated-client message to `err`, return kExitOutdated;
  //   other  -> write the version-check failure message to `err`, return kExitFailed.
  return std::nullopt;
}

}  // namespace valo::cli
