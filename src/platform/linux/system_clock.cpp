#include "platform/linux/system_clock.h"

#include <thread>

namespace valo::platform {

void SystemClock::sleepFor(std::chrono::milliseconds duration) {
  std::this_thread::sleep_for(duration);
}

std::chrono::system_clock::time_point SystemClock::now() {
  return std::chrono::system_clock::now();
}

}  // namespace valo::platform
