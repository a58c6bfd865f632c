#ifndef VALO_GATEWAY_SIM_JOURNAL_H_
#define VALO_GATEWAY_SIM_JOURNAL_H_

#include <cstdio>
#include <memory>
#include <mutex>
#include <string>

#include "sim_state.h"

namespace valo::sim {

// One JSON object per line and per request, flushed at once so a test can read the
// journal while the simulator runs. Without a file nothing is written.
class Journal {
 public:
  bool open(const std::string& path);
  void write(const Json& entry);

 private:
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  std::mutex mutex_;
  std::unique_ptr<std::FILE, Closer> file_;
};

}  // namespace valo::sim

#endif  // VALO_GATEWAY_SIM_JOURNAL_H_
