#ifndef VALO_PLATFORM_SERVICES_H_
#define VALO_PLATFORM_SERVICES_H_

#include "platform/clock.h"
#include "platform/environment.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/ui.h"

namespace valo::platform {

// The platform facilities an operation may use. The front end (or a test) owns the
// objects and hands this bundle down; nothing below reaches the platform another way.
struct Services {
  Environment& environment;
  Registry& registry;
  Shell& shell;
  Clock& clock;
  Ui& ui;
};

}  // namespace valo::platform

#endif  // VALO_PLATFORM_SERVICES_H_
