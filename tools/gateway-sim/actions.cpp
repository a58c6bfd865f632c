#include "actions.h"

namespace valo::sim {

const ActionDefinition* findAction(std::string_view name) {
  static const std::vector<ActionDefinition> kActions = {
      {"checkVersion", Envelope::kRsa, {"version"}, {}, handleCheckVersion},
      {"getSysCfg", Envelope::kRsa, {"version"}, {}, handleGetSysCfg},
      {"doLogin", Envelope::kRsa, {"id"}, {"pwd", "ip"}, handleDoLogin},
      {"doLogout", Envelope::kSession, {"version"}, {}, handleDoLogout},
      {"iAmAlive", Envelope::kSession, {"version"}, {"trash"}, handleIAmAlive},
      {"getFnStatus", Envelope::kSession, {"cn"}, {}, handleGetFnStatus},
      {"getCn", Envelope::kSession, {"userId"}, {}, handleGetCn},
      {"doSendOTP", Envelope::kRsa, {"otpType", "id"}, {"opType", "ip"}, handleDoSendOtp},
      // otpType is empty (so absent) when no code was sent in this run.
      {"doVerifyOTP", Envelope::kRsa, {"id", "authCode"}, {"otpType", "ip"}, handleDoVerifyOtp},
      {"getRegSet", Envelope::kSession, {"version"}, {}, handleGetRegSet},
  };
  for (const ActionDefinition& definition : kActions) {
    if (name == definition.name) return &definition;
  }
  return nullptr;
}

}  // namespace valo::sim
