// checkVersion and getSysCfg: what a client learns before login.
#include "actions.h"

namespace valo::sim {

ActionReply handleCheckVersion(SimState& state, const ActionRequest& request) {
  ActionReply reply;
  std::string version = request.param("version");
  bool accepted = false;
  auto versions = state.scenario.find("acceptedVersions");
  if (versions != state.scenario.end() && versions->is_array()) {
    for (const Json& v : *versions) accepted = accepted || (v.is_string() && v == version);
  }
  reply.rtnCode = accepted ? "0" : "1";
  reply.rtnMsg = accepted ? "版本檢核成功" : "用戶端版本過舊, 請更新";
  return reply;
}

ActionReply handleGetSysCfg(SimState& state, const ActionRequest& /*request*/) {
  ActionReply reply;
  reply.rtnMsg = "查詢成功";
  auto config = state.scenario.find("sysConfig");
  if (config != state.scenario.end() && config->is_object()) {
    for (auto it = config->begin(); it != config->end(); ++it) {
      reply.fieldsXml += jsonToXml(it.key(), it.value());
    }
  }
  return reply;
}

}  // namespace valo::sim
