#ifndef VALO_SESSION_FUNCTION_STATUS_H_
#define VALO_SESSION_FUNCTION_STATUS_H_

#include <string>

#include "session/context.h"

namespace valo {

// Which certificate functions the user may use now, and the user's certificate counts.
// `fnStatus` holds one digit per function: position 1 new application, 2 renewal,
// 5 download ("0" not allowed; a status shorter than five means download is not allowed).
struct FunctionStatus {
  std::string fnStatus;
  int certCount = 0;
  int effectCertCount = 0;
};

// Asks the gateway (`getFnStatus`, session envelope, parameter `cn`). The counts are read
// as the C library's atoi reads them ("12abc" gives 12, "x1" gives 0); a missing element
// keeps its initial value (empty status, count 0).
//
// Returns 0; 54101 for an empty `cn` (nothing is sent); 54103 when the post fails,
// whatever its own code, or `rtnCode` is not exactly "0"; 54105 for a reply that is not
// XML or has no element. `status` is reset first and filled only on success; `message` is
// the error text of the code.
int queryFnStatus(Context& context, const std::string& cn, std::string& message,
                  FunctionStatus& status);

}  // namespace valo

#endif  // VALO_SESSION_FUNCTION_STATUS_H_
