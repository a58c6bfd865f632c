#include "app/cli/startup_check.h"

#include "app/cli/command_line.h"
#include "app/startup_check.h"

namespace valo::cli {

std::optional<int> checkVersionAtStart(Context& context, std::ostream& err) {
  std::string message;
  const int code = checkClientVersion(context, message);
  if (code == 0) return std::nullopt;
  if (code == kClientVersionOutdated) {
    // The window would replace its own executable here; a terminal program leaves that to
    // whoever installed it.
    err << message << "\nThis client version is no longer accepted by the gateway; "
        << "install the current valo-cli.\n";
    return kExitOutdated;
  }
  err << kVersionCheckFailedText << '\n' << message << '\n';
  return kExitFailed;
}

}  // namespace valo::cli
