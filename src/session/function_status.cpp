#include "session/function_status.h"

#include "core/result_codes.h"
#include "core/text_util.h"
#include "gateway/reply_document.h"

namespace valo {
namespace {

constexpr int kEmptyCn = 54101;
constexpr int kQueryFailed = 54103;
constexpr int kReplyUnreadable = 54105;

int query(Context& context, const std::string& cn, FunctionStatus& status) {
  if (cn.empty()) return kEmptyCn;
  std::string reply;
  if (context.gateway.postSessionEnvelope(context.sessionKey,
                                          context.gateway.actionUrl("getFnStatus"), {{"cn", cn}},
                                          reply) != code::kSuccess) {
    return kQueryFailed;
  }
  ReplyDocument document(reply);
  if (!document.hasRoot()) return kReplyUnreadable;
  if (document.field("rtnCode") != "0") return kQueryFailed;
  // An absent element reads as the empty text, which leaves the initial values.
  status.fnStatus = document.field("fnStatus");
  status.certCount = leadingDigitsToInt(document.field("certCount"));
  status.effectCertCount = leadingDigitsToInt(document.field("effectCertCount"));
  return code::kSuccess;
}

}  // namespace

int queryFnStatus(Context& context, const std::string& cn, std::string& message,
                  FunctionStatus& status) {
  status = FunctionStatus();
  const int result = query(context, cn, status);
  message = formatErrorMessage(result);
  return result;
}

}  // namespace valo
