#ifndef VALO_GATEWAY_SIM_SIM_STATE_H_
#define VALO_GATEWAY_SIM_SIM_STATE_H_

#include <map>
#include <mutex>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace valo::sim {

using Json = nlohmann::ordered_json;

// The scenario with the built-in demo defaults filled in: every top-level key the
// scenario file names replaces the default of that key.
//
//   acceptedVersions  ["1.3"]                client versions checkVersion accepts
//   users             [{id, password, phone, email, cn, fnStatus, certCount,
//                       effectCertCount, aeskey?}]
//   sessions          [{aeskey, user}]        sessions open from the start
//   sysConfig         {name: value}           getSysCfg fields in order; an object value
//                                             becomes child elements, null an empty one
//   faults            {action: fault}         see gateway_service.h
//   echo              {"1"|"2": {status, body}}  the address echo services
//   downloads         {name: {size | text | file, status, truncateAt, noContentLength}}
//   template          text of the deployment page template
//   registrySettings  [{regPath, regName, regValue, regValueType}]  getRegSet settings,
//                                             each a <regSet> element; absent fields are
//                                             left out, null gives an empty element
//   otpOutbox         file to which doSendOTP appends one JSON line per code sent
//                     ({id, phone, otpType, opType, code}); default STATE/otp-outbox.jsonl
//
// "${httpBase}" and "${httpsBase}" in any text become the listeners' base URLs.
Json defaultScenario();
Json mergeScenario(Json defaults, const Json& scenario);
void expandPlaceholders(Json& value, const std::map<std::string, std::string>& values);

// The one-time password last sent to a user, until it is verified.
struct OtpCode {
  std::string code;
  std::string otpType;
};

struct Session {
  std::string aeskey;
  std::string userId;
};

// Everything the handlers share; guarded by `mutex`.
struct SimState {
  std::mutex mutex;
  Json scenario;
  std::vector<Session> sessions;  // oldest first
  std::map<std::string, int> callCounts;
  std::map<std::string, OtpCode> otpCodes;  // by user id
  long nextSeq = 1;

  // The user with this id (or, for byCn, this cn); nullptr when there is none.
  const Json* user(const std::string& id) const;
  const Json* userByCn(const std::string& cn) const;
};

}  // namespace valo::sim

#endif  // VALO_GATEWAY_SIM_SIM_STATE_H_
