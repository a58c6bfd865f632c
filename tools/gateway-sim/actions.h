#ifndef VALO_GATEWAY_SIM_ACTIONS_H_
#define VALO_GATEWAY_SIM_ACTIONS_H_

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "sim_state.h"
#include "xml_reply.h"

namespace valo::sim {

enum class Envelope { kRsa, kSession };

struct ActionRequest {
  // The opened parameter values (UTF-8), by name.
  std::map<std::string, std::string> params;
  std::string remoteAddress;
  // The session whose key opened a session-enveloped request; nullptr otherwise.
  const Session* session = nullptr;

  std::string param(const std::string& name) const {
    auto it = params.find(name);
    return it == params.end() ? std::string() : it->second;
  }
};

// Called with the state's mutex held.
using ActionHandler = ActionReply (*)(SimState& state, const ActionRequest& request);

// One gateway action: its envelope, the parameters it must and may carry, its handler.
// A new action is one more row in the table (actions.cpp) and one handler.
struct ActionDefinition {
  const char* name;
  Envelope envelope;
  std::vector<std::string> required;
  std::vector<std::string> optional;
  ActionHandler handler;
};

const ActionDefinition* findAction(std::string_view name);

// Handlers, grouped by concern (action_*.cpp).
ActionReply handleCheckVersion(SimState& state, const ActionRequest& request);
ActionReply handleGetSysCfg(SimState& state, const ActionRequest& request);
ActionReply handleDoLogin(SimState& state, const ActionRequest& request);
ActionReply handleDoLogout(SimState& state, const ActionRequest& request);
ActionReply handleIAmAlive(SimState& state, const ActionRequest& request);
ActionReply handleGetFnStatus(SimState& state, const ActionRequest& request);
ActionReply handleGetCn(SimState& state, const ActionRequest& request);
ActionReply handleDoSendOtp(SimState& state, const ActionRequest& request);
ActionReply handleDoVerifyOtp(SimState& state, const ActionRequest& request);
ActionReply handleGetRegSet(SimState& state, const ActionRequest& request);

}  // namespace valo::sim

#endif  // VALO_GATEWAY_SIM_ACTIONS_H_
