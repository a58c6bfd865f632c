#include "session/one_time_password.h"

#include "core/param_map.h"
#include "core/result_codes.h"
#include "gateway/reply_document.h"

namespace valo {
namespace {

constexpr int kRefused = 999;
constexpr int kReplyNotXml = 53905;

// Posts the action and reads the verdict; `fallback` is the failure text for a refusal
// without `rtnMsg`.
int postOtpAction(Context& context, const char* action, const ParamMap& params,
                  const char* fallback, std::string& message) {
  message.clear();
  std::string reply;
  const int posted =
      context.gateway.postRsaEnvelope(context.gateway.actionUrl(action), params, reply);
  if (posted != code::kSuccess) return posted;
  ReplyDocument document(reply);
  if (!document.wellFormed()) return kReplyNotXml;
  if (!document.hasRoot()) return code::kUnknownError;
  if (document.field("rtnCode") == "0") return code::kSuccess;

  const std::string rtnMsg = document.field("rtnMsg");
  const std::string cusMsg = document.field("cusMsg");
  if (rtnMsg.empty()) {
    message = fallback;
  } else {
    message = rtnMsg;
    if (!cusMsg.empty()) message += "(" + cusMsg + ")";
  }
  return kRefused;
}

}  // namespace

int postSendOtp(Context& context, const std::string& otpType, const std::string& opType,
                std::string& message) {
  const ParamMap params = {{"otpType", otpType},
                           {"id", context.config.get("userIdno")},
                           {"opType", opType},
                           {"ip", context.config.get("userIPAddress")}};
  const int result = postOtpAction(context, "doSendOTP", params, "OTP發送失敗", message);
  if (result == code::kSuccess) context.config.set("otpType", otpType);
  return result;
}

int postVerifyOtp(Context& context, const std::string& authCode, std::string& message) {
  const ParamMap params = {{"otpType", context.config.get("otpType")},
                           {"id", context.config.get("userIdno")},
                           {"authCode", authCode},
                           {"ip", context.config.get("userIPAddress")}};
  return postOtpAction(context, "doVerifyOTP", params, "OTP驗證失敗", message);
}

}  // namespace valo
