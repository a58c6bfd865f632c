#ifndef VALO_SESSION_CONTEXT_H_
#define VALO_SESSION_CONTEXT_H_

#include <string>

#include "gateway/gateway_client.h"
#include "gateway/gateway_endpoint.h"
#include "platform/services.h"
#include "session/sys_config.h"

namespace valo {

// The process-wide state of the client, created once by the front end (and afresh by
// each test) and handed to every operation. The configuration store loads itself from
// the gateway the first time a value is asked for.
struct Context {
  // `endpoint` is the build's own gateway unless a test names another.
  explicit Context(platform::Services services,
                   GatewayEndpoint endpoint = builtInGatewayEndpoint());
  Context(const Context&) = delete;
  Context& operator=(const Context&) = delete;

  platform::Services platform;
  GatewayClient gateway;
  SysConfig config;
  // The `aeskey` of the current login: empty before login and after logout.
  std::string sessionKey;
};

}  // namespace valo

#endif  // VALO_SESSION_CONTEXT_H_
