#ifndef VALO_SESSION_LOGIN_SESSION_H_
#define VALO_SESSION_LOGIN_SESSION_H_

#include <string>

#include "session/context.h"

namespace valo {

// The user's session with the gateway. A failure never leaves a half-set session: the
// session key and the configuration entries change only on success.

// Logs the user in (`doLogin`, RSA envelope, parameters `id`, `pwd`, `ip`). The public
// address is looked up first, even for an empty `id`; the progress window "登入" shows the
// steps, with two waits of 500 ms once a reply has come. On success (`rtnCode` exactly
// "0") the session key becomes the reply's `aeskey` (empty when it has none), the
// configuration is loaded if it was not yet, and `userIdno`, `userIPAddress`, `userPhone`
// and `userEmail` are set; `phone` and `email` receive the reply's texts.
//
// Returns 0; 53901 for an empty `id`; the post's own code (1, 59999) when it fails; 53905
// for a reply that is not XML or has no element; 53907 for any other `rtnCode`. `message`
// is always the error text of the code followed by "(", the reply's `rtnMsg` and ")"
// ("()" when there was no reply). `phone` and `email` are emptied first.
int login(Context& context, const std::string& id, const std::string& password,
          std::string& message, std::string& phone, std::string& email);

// Logs out (`doLogout`, session envelope, `version` = "1.3") and empties the session key
// on success. Returns 0; the post's own code when it fails; 54001 for a reply that is
// not XML; 54003 for a reply without a root or with `rtnCode` other than "0". A failed
// logout keeps the key. `message` is the error text of the code.
int logout(Context& context, std::string& message);

// Tells the gateway the user is still active (`iAmAlive`, session envelope, `version` =
// "1.3" and an empty `trash`). The result and the reply are not looked at.
void keepAlive(Context& context);

}  // namespace valo

#endif  // VALO_SESSION_LOGIN_SESSION_H_
