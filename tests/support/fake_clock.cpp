#include "support/fake_clock.h"

namespace valo::test {

FakeClock::FakeClock()
    : now_(std::chrono::sys_days{std::chrono::year{2024} / 1 / 2} + std::chrono::hours{3} +
           std::chrono::minutes{4} + std::chrono::seconds{5}) {}

void FakeClock::sleepFor(std::chrono::milliseconds duration) {
  sleeps_.push_back(duration);
  now_ += duration;
}

std::chrono::milliseconds FakeClock::totalSlept() const {
  std::chrono::milliseconds total{0};
  for (std::chrono::milliseconds sleep : sleeps_) total += sleep;
  return total;
}

}  // namespace valo::test
