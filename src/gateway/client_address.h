#ifndef VALO_GATEWAY_CLIENT_ADDRESS_H_
#define VALO_GATEWAY_CLIENT_ADDRESS_H_

#include <string>

#include "gateway/gateway_endpoint.h"

namespace valo {

// The client's public IPv4 address for the login: the first echo service's answer
// reduced to its digits and dots, else the second's, else localIpv4Address(). Never
// fails; at worst the empty text. Nothing is shown to the user.
std::string discoverClientAddress(const GatewayEndpoint& endpoint);

// The dotted-decimal text of the last IPv4 address the resolver lists for this machine's
// host name; empty when the name cannot be read or resolved.
std::string localIpv4Address();

}  // namespace valo

#endif  // VALO_GATEWAY_CLIENT_ADDRESS_H_
