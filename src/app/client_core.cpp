#include "app/client_core.h"

#include "core/text_util.h"
#include "session/cert_lookup.h"
#include "session/login_session.h"
#include "session/one_time_password.h"

namespace valo {

int ClientCore::openFileManager(Context& context, const std::string& path) {
  std::string target = path.empty() ? context.config.userPfxFilePath() : path;
  target = trimWhiteSpace(target);
  if (!target.empty()) context.platform.shell.showInFileManager(target);
  return 0;
}

int ClientCore::login(Context& context, const std::string& id, const std::string& password,
                      std::string& message, std::string& phone, std::string& email) {
  return valo::login(context, id, password, message, phone, email);
}

int ClientCore::logout(Context& context, std::string& message) {
  return valo::logout(context, message);
}

void ClientCore::keepAlive(Context& context) { valo::keepAlive(context); }

int ClientCore::queryFnStatus(Context& context, const std::string& cn, std::string& message,
                              FunctionStatus& status) {
  return valo::queryFnStatus(context, cn, message, status);
}

std::string ClientCore::resolveCn(Context& context, const std::string& idno) {
  return valo::resolveCn(context, idno);
}

int ClientCore::postSendOtp(Context& context, const std::string& otpType, const std::string& opType,
                            std::string& message) {
  return valo::postSendOtp(context, otpType, opType, message);
}

int ClientCore::postVerifyOtp(Context& context, const std::string& authCode, std::string& message) {
  return valo::postVerifyOtp(context, authCode, message);
}

}  // namespace valo
