#include "gateway/gateway_endpoint.h"

#include "gateway/built_in_endpoint.h"

namespace valo {

GatewayEndpoint builtInGatewayEndpoint() {
  GatewayEndpoint endpoint;
  endpoint.baseUrl = built_in::kBaseUrl;
  endpoint.publicKeyPem = built_in::kPublicKeyPem;
  endpoint.pinnedCaPem = built_in::kPinnedCaPem;
  endpoint.echoUrl1 = built_in::kEchoUrl1;
  endpoint.echoUrl2 = built_in::kEchoUrl2;
  endpoint.wireCodePage = built_in::kWireCodePage;
  return endpoint;
}

}  // namespace valo
