#include "session/cert_lookup.h"

#include "core/result_codes.h"
#include "gateway/reply_document.h"

namespace valo {

std::string resolveCn(Context& context, const std::string& idno) {
  std::string cn = context.config.get("cn");
  if (!cn.empty()) return cn;
  std::string reply;
  if (context.gateway.postSessionEnvelope(context.sessionKey, context.gateway.actionUrl("getCn"),
                                          {{"userId", idno}}, reply) != code::kSuccess) {
    return std::string();
  }
  cn = ReplyDocument(reply).field("cn");
  if (!cn.empty()) context.config.set("cn", cn);
  return cn;
}

}  // namespace valo
