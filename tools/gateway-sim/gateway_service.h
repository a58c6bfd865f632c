#ifndef VALO_GATEWAY_SIM_GATEWAY_SERVICE_H_
#define VALO_GATEWAY_SIM_GATEWAY_SERVICE_H_

#include <httplib.h>

#include <string>

#include "journal.h"
#include "sim_crypto.h"
#include "sim_state.h"

namespace valo::sim {

// The gateway actions on the HTTPS listener (POST /VEZIR/api/<action>). Each request is
// checked against the client's wire rules, its values opened with the action's envelope,
// answered by the action's handler and sealed the same way; one journal line records the
// request, the opened values, the reply and every violation of the wire rules.
//
// Fault injection, scenario "faults": {"<action>": {...}}, for the first `times` calls of
// the action (every call when `times` is absent):
//   httpStatus N      that status with a short plain body, nothing enveloped
//   emptyBody true    status 200 and an empty body
//   wrongKey true     the reply sealed under another key (RSA: another private key;
//                     session: another AES key)
//   notXml true       the sealed reply text is not XML
//   delayMs N         wait N ms before answering
//   rtnCode, rtnMsg   forced values of the common fields
//   replyXml "..."    this reply document instead of the handler's (UTF-8)
//   damageBlock N     RSA: block N (0-based) of the sealed reply is damaged
//   bodyLineBreaks    the Base64 body carries "\r\n" after every 64 characters
class GatewayService {
 public:
  GatewayService(SimState& state, Journal& journal, EVP_PKEY* key)
      : state_(state), journal_(journal), key_(key) {}

  void handle(const httplib::Request& request, httplib::Response& response);

 private:
  EVP_PKEY* wrongRsaKey();

  SimState& state_;
  Journal& journal_;
  EVP_PKEY* key_;
  PrivateKey wrongKey_;
};

}  // namespace valo::sim

#endif  // VALO_GATEWAY_SIM_GATEWAY_SERVICE_H_
