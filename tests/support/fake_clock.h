#ifndef VALO_TESTS_SUPPORT_FAKE_CLOCK_H_
#define VALO_TESTS_SUPPORT_FAKE_CLOCK_H_

#include <chrono>
#include <vector>

#include "platform/clock.h"

namespace valo::test {

// Virtual time: a sleep returns at once, is recorded, and moves the clock forward.
class FakeClock : public platform::Clock {
 public:
  // Starts at 2024-01-02 03:04:05 UTC unless set otherwise.
  FakeClock();

  void sleepFor(std::chrono::milliseconds duration) override;
  std::chrono::system_clock::time_point now() override { return now_; }

  void setNow(std::chrono::system_clock::time_point now) { now_ = now; }
  void advance(std::chrono::milliseconds duration) { now_ += duration; }
  // Every sleep in order.
  const std::vector<std::chrono::milliseconds>& sleeps() const { return sleeps_; }
  std::chrono::milliseconds totalSlept() const;

 private:
  std::chrono::system_clock::time_point now_;
  std::vector<std::chrono::milliseconds> sleeps_;
};

}  // namespace valo::test

#endif  // VALO_TESTS_SUPPORT_FAKE_CLOCK_H_
