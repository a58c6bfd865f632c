#ifndef VALO_PLATFORM_CLOCK_H_
#define VALO_PLATFORM_CLOCK_H_

#include <chrono>

namespace valo::platform {

// Every wait the program makes goes through the clock, so tests can run them without
// real time passing.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual void sleepFor(std::chrono::milliseconds duration) = 0;
  virtual std::chrono::system_clock::time_point now() = 0;
};

}  // namespace valo::platform

#endif  // VALO_PLATFORM_CLOCK_H_
