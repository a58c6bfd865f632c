// Certificate queries: getCn.
#include "actions.h"

namespace valo::sim {

ActionReply handleGetCn(SimState& state, const ActionRequest& request) {
  ActionReply reply;
  const Json* user = state.user(request.param("userId"));
  if (!user || !user->contains("cn")) {
    reply.rtnCode = "1";
    reply.rtnMsg = "查無此使用者";
    return reply;
  }
  reply.rtnMsg = "查詢成功";
  reply.add("cn", user->value("cn", ""));
  return reply;
}

}  // namespace valo::sim
