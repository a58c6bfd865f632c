#include "desktop/watchdog.h"

#include <cstdio>
#include <cstdlib>

namespace valo::desktoptest {

Watchdog::Watchdog(std::chrono::seconds limit)
    : thread_([this, limit] {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!done_.wait_for(lock, limit, [this] { return finished_; })) {
          std::fprintf(stderr, "test ran past its %lld s limit; stopping\n",
                       static_cast<long long>(limit.count()));
          std::fflush(stderr);
          std::_Exit(124);
        }
      }) {}

Watchdog::~Watchdog() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    finished_ = true;
  }
  done_.notify_all();
  thread_.join();
}

}  // namespace valo::desktoptest
