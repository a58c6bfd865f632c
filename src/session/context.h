#ifndef VALO_SESSION_CONTEXT_H_
#define VALO_SESSION_CONTEXT_H_

#include <string>

#include "platform/services.h"
#include "session/sys_config.h"

namespace valo {

// The process-wide state of the client, created once by the front end (and afresh by
// each test) and handed to every operation.
struct Context {
  explicit Context(platform::Services services) : platform(services) {}
  Context(const Context&) = delete;
  Context& operator=(const Context&) = delete;

  platform::Services platform;
  SysConfig config;
  // The `aeskey` of the current login: empty before login and after logout.
  std::string sessionKey;
};

}  // namespace valo

#endif  // VALO_SESSION_CONTEXT_H_
