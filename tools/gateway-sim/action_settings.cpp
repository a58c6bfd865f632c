// getRegSet: the registry settings pushed after login.
#include "actions.h"

namespace valo::sim {

ActionReply handleGetRegSet(SimState& state, const ActionRequest& /*request*/) {
  ActionReply reply;
  reply.rtnMsg = "查詢成功";
  auto settings = state.scenario.find("registrySettings");
  if (settings != state.scenario.end() && settings->is_array()) {
    for (const Json& setting : *settings) reply.fieldsXml += jsonToXml("regSet", setting);
  }
  return reply;
}

}  // namespace valo::sim
