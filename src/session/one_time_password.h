#ifndef VALO_SESSION_ONE_TIME_PASSWORD_H_
#define VALO_SESSION_ONE_TIME_PASSWORD_H_

#include <string>

#include "session/context.h"

namespace valo {

// One-time passwords before an application or a renewal. Both actions go through the RSA
// envelope, which leaves out every parameter whose value is empty.

// Has the gateway send a code (`doSendOTP`: `otpType`, `id` = `userIdno`, `opType`, `ip` =
// `userIPAddress`). On success the configuration remembers `otpType` for the
// verification; a failure leaves it as it was.
//
// Returns 0; 999 when `rtnCode` is not exactly "0", with `message` the reply's `rtnMsg`
// followed by "(" `cusMsg` ")" when `cusMsg` is not empty, or "OTP發送失敗" when `rtnMsg` is
// empty; 53905 for a reply that is not XML; 1 for one without an element; the post's own
// code when it fails. Every result but 999 leaves `message` empty.
int postSendOtp(Context& context, const std::string& otpType, const std::string& opType,
                std::string& message);

// Has the gateway check the code the user typed (`doVerifyOTP`: `otpType` as remembered,
// `id`, `authCode` unchanged, `ip`). Results as postSendOtp, with "OTP驗證失敗" as the fixed
// failure text; nothing is remembered.
int postVerifyOtp(Context& context, const std::string& authCode, std::string& message);

}  // namespace valo

#endif  // VALO_SESSION_ONE_TIME_PASSWORD_H_
