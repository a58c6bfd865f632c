#include "journal.h"

namespace valo::sim {

bool Journal::open(const std::string& path) {
  file_.reset(std::fopen(path.c_str(), "ab"));
  return file_ != nullptr;
}

void Journal::write(const Json& entry) {
  // Invalid UTF-8 (a value the client sent in the wrong code page) is replaced so the
  // line stays valid JSON.
  std::string line = entry.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
  std::lock_guard<std::mutex> lock(mutex_);
  if (!file_) return;
  std::fprintf(file_.get(), "%s\n", line.c_str());
  std::fflush(file_.get());
}

}  // namespace valo::sim
