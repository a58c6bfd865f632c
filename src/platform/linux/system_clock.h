#ifndef VALO_PLATFORM_LINUX_SYSTEM_CLOCK_H_
#define VALO_PLATFORM_LINUX_SYSTEM_CLOCK_H_

#include "platform/clock.h"

namespace valo::platform {

// Real time: sleeps block the calling thread.
class SystemClock : public Clock {
 public:
  void sleepFor(std::chrono::milliseconds duration) override;
  std::chrono::system_clock::time_point now() override;
};

}  // namespace valo::platform

#endif  // VALO_PLATFORM_LINUX_SYSTEM_CLOCK_H_
