#include "support/test_platform.h"

namespace valo::test {

TestPlatform::TestPlatform() : registry(environment.stateRoot() + "/registry", "Desktop") {}

platform::Services TestPlatform::services() {
  return platform::Services{environment, registry, shell, clock, ui};
}

}  // namespace valo::test
