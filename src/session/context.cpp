#include "session/context.h"

#include "session/sys_config_loader.h"

namespace valo {

Context::Context(platform::Services services, GatewayEndpoint endpoint)
    : platform(services), gateway(std::move(endpoint), platform.ui) {
  config.setLoader([this](SysConfig& store) {
    loadSysConfigFromGateway(store, gateway, platform.environment, platform.registry);
  });
}

}  // namespace valo
