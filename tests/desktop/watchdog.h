#ifndef VALO_TESTS_DESKTOP_WATCHDOG_H_
#define VALO_TESTS_DESKTOP_WATCHDOG_H_

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace valo::desktoptest {

// Ends the test process when a test runs past its limit: a window test that waits on a
// dialog nobody answers must fail, not hang. The programs the test started die with it.
class Watchdog {
 public:
  explicit Watchdog(std::chrono::seconds limit);
  ~Watchdog();
  Watchdog(const Watchdog&) = delete;
  Watchdog& operator=(const Watchdog&) = delete;

 private:
  std::mutex mutex_;
  std::condition_variable done_;
  bool finished_ = false;
  std::thread thread_;
};

}  // namespace valo::desktoptest

#endif  // VALO_TESTS_DESKTOP_WATCHDOG_H_
