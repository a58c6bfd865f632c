#ifndef VALO_APP_CLIENT_CORE_H_
#define VALO_APP_CLIENT_CORE_H_

#include <string>

#include "session/context.h"

namespace valo {

// The operations the page can run, one member function each. It holds no data: the
// state the operations share lives in the Context, and each member forwards to the
// subsystem that implements the operation.
class ClientCore {
 public:
  // Opens a file-manager window with the user's PFX file selected: `path`, or the
  // configured PFX path when `path` is empty, trimmed; nothing happens when that is
  // empty. Always 0: the shell's result is not reported.
  int openFileManager(Context& context, const std::string& path);
};

}  // namespace valo

#endif  // VALO_APP_CLIENT_CORE_H_
