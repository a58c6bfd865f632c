#include "actions.h"

namespace valo::sim {

const ActionSpec* findAction(std::string_view name) {
  static const std::vector<ActionSpec> kActions = {
      {"checkVersion", Envelope::kRsa, {"version"}, {}, handleCheckVersion},
      {"getSysCfg", Envelope::kRsa, {"version"}, {}, handleGetSysCfg},
      {"doLogin", Envelope::kRsa, {"id"}, {"pwd", "ip"}, handleDoLogin},
      {"doLogout", Envelope::kSession, {"version"}, {}, handleDoLogout},
      {"iAmAlive", Envelope::kSession, {"version"}, {"trash"}, handleIAmAlive},
      {"getFnStatus", Envelope::kSession, {"cn"}, {}, handleGetFnStatus},
      {"getCn", Envelope::kSession, {"userId"}, {}, handleGetCn},
  };
  for (const ActionSpec& spec : kActions) {
    if (name == spec.name) return &spec;
  }
  return nullptr;
}

}  // namespace valo::sim
