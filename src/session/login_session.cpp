#include "session/login_session.h"

#include <chrono>

#include "core/result_codes.h"
#include "gateway/client_address.h"
#include "gateway/reply_document.h"

namespace valo {
namespace {

constexpr int kEmptyUserId = 53901;
constexpr int kLoginReplyUnreadable = 53905;
constexpr int kLoginRefused = 53907;
constexpr int kLogoutReplyNotXml = 54001;
constexpr int kLogoutRefused = 54003;

constexpr char kLoginTitle[] = "登入";
constexpr std::chrono::milliseconds kStepPause(500);

}  // namespace

int login(Context& context, const std::string& id, const std::string& password,
          std::string& message, std::string& phone, std::string& email) {
  phone.clear();
  email.clear();
  platform::Ui& ui = context.platform.ui;
  const std::string url = context.gateway.actionUrl("doLogin");
  const std::string address = discoverClientAddress(context.gateway.endpoint());
  ui.showProgress(kLoginTitle, "", 0, 100, "登入作業進行中, 請稍候 ...");

  int result = code::kSuccess;
  std::string rtnMsg;
  if (id.empty()) {
    result = kEmptyUserId;
  } else {
    std::string reply;
    const int posted = context.gateway.postRsaEnvelope(
        url, {{"id", id}, {"pwd", password}, {"ip", address}}, reply);
    ui.showProgress(kLoginTitle, "", 50, 100, "正在接收伺服器端回應 ...");
    context.platform.clock.sleepFor(kStepPause);
    if (posted != code::kSuccess) {
      result = posted;
    } else {
      ReplyDocument document(reply);
      if (!document.wellFormed()) {
        result = kLoginReplyUnreadable;
      } else {
        ui.showProgress(kLoginTitle, "", 90, 100, "正在解析登入結果資訊 ...");
        context.platform.clock.sleepFor(kStepPause);
        if (!document.hasRoot()) {
          result = kLoginReplyUnreadable;
        } else {
          rtnMsg = document.field("rtnMsg");
          if (document.field("rtnCode") != "0") {
            result = kLoginRefused;
          } else {
            phone = document.field("phone");
            email = document.field("email");
            context.sessionKey = document.field("aeskey");
            // The first get loads the configuration, so the entries below land in a
            // loaded store rather than suppressing its load.
            context.config.get("version");
            context.config.set("userIdno", id);
            context.config.set("userIPAddress", address);
            context.config.set("userPhone", phone);
            context.config.set("userEmail", email);
          }
        }
      }
    }
  }

  ui.showProgress(kLoginTitle, "", -1, 100,
                  result == code::kSuccess ? "登入作業已完成" : "登入失敗");
  message = formatErrorMessage(result) + "(" + rtnMsg + ")";
  return result;
}

int logout(Context& context, std::string& message) {
  std::string reply;
  int result =
      context.gateway.postSessionEnvelope(context.sessionKey, context.gateway.actionUrl("doLogout"),
                                          {{"version", kClientVersion}}, reply);
  if (result == code::kSuccess) {
    ReplyDocument document(reply);
    if (!document.wellFormed()) {
      result = kLogoutReplyNotXml;
    } else if (!document.hasRoot() || document.field("rtnCode") != "0") {
      result = kLogoutRefused;
    } else {
      context.sessionKey.clear();
    }
  }
  message = formatErrorMessage(result);
  return result;
}

void keepAlive(Context& context) {
  std::string reply;
  context.gateway.postSessionEnvelope(context.sessionKey, context.gateway.actionUrl("iAmAlive"),
                                      {{"version", kClientVersion}, {"trash", ""}}, reply);
}

}  // namespace valo
