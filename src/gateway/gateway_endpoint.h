#ifndef VALO_GATEWAY_GATEWAY_ENDPOINT_H_
#define VALO_GATEWAY_GATEWAY_ENDPOINT_H_

#include <string>

namespace valo {

// Everything that names the registration-authority gateway. The program has one built
// in (chosen when it is built); tests make their own. Nothing at run time can redirect
// the gateway.
struct GatewayEndpoint {
  // Base URL of the actions, ending in "/VEZIR/api/"; an action's URL is this text with
  // the action name appended.
  std::string baseUrl;
  // The gateway's RSA-2048 public key (PEM SubjectPublicKeyInfo) that seals request
  // values and opens replies.
  std::string publicKeyPem;
  // PEM certificates trusted for TLS in addition to the system trust store (the gateway
  // operator's CA); empty for the system store alone.
  std::string pinnedCaPem;
  // The two public-address echo services, tried in this order.
  std::string echoUrl1;
  std::string echoUrl2;
  // The gateway's code page (iconv name) of request plaintext and reply text.
  std::string wireCodePage = "CP950";
};

// The endpoint compiled into this build.
GatewayEndpoint builtInGatewayEndpoint();

}  // namespace valo

#endif  // VALO_GATEWAY_GATEWAY_ENDPOINT_H_
