#ifndef VALO_APP_CLIENT_CORE_H_
#define VALO_APP_CLIENT_CORE_H_

#include <string>

#include "session/context.h"
#include "session/function_status.h"

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

  // The login session (session/login_session.h, session/function_status.h).
  int login(Context& context, const std::string& id, const std::string& password,
            std::string& message, std::string& phone, std::string& email);
  int logout(Context& context, std::string& message);
  void keepAlive(Context& context);
  int queryFnStatus(Context& context, const std::string& cn, std::string& message,
                    FunctionStatus& status);

  // The user's CN for an identity number, empty when it cannot be had
  // (session/cert_lookup.h).
  std::string resolveCn(Context& context, const std::string& idno);

  // One-time passwords (session/one_time_password.h).
  int postSendOtp(Context& context, const std::string& otpType, const std::string& opType,
                  std::string& message);
  int postVerifyOtp(Context& context, const std::string& authCode, std::string& message);
};

}  // namespace valo

#endif  // VALO_APP_CLIENT_CORE_H_
