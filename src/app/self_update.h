#ifndef VALO_APP_SELF_UPDATE_H_
#define VALO_APP_SELF_UPDATE_H_

#include <string>

#include "platform/clock.h"

namespace valo {

// The files of a self-update, beside the running executable.
struct UpdateFiles {
  std::string executable;  // the running program
  std::string update;      // executable + ".new": the downloaded successor
  std::string retired;     // executable + ".dpc": the replaced program, removed at next start

  static UpdateFiles forExecutable(const std::string& executable);
};

// Removes the retired file left by an earlier update. When it exists but cannot be
// removed (the earlier instance may still be ending), tries again every 500 ms through
// `clock`, 20 attempts in all, then gives up and leaves it. True when it is gone.
bool removeRetiredFile(const std::string& retired, platform::Clock& clock);

enum class SwapResult {
  kSwapped,
  // The running program could not be kept as the retired file; nothing was changed.
  kRetireFailed,
  // The update could not be put in place; the running program is still there unchanged.
  kReplaceFailed,
};

// Puts the downloaded update in place of the executable so that a program is at the
// executable's path at every moment: the update is made executable (0755), the running
// program is kept as the retired file (a hard link, or a copy where links are not
// possible), and the update is then renamed over the executable in one atomic step.
// A retired file that is still there (one that could not be removed) is never replaced.
SwapResult swapInUpdate(const UpdateFiles& files);

}  // namespace valo

#endif  // VALO_APP_SELF_UPDATE_H_
