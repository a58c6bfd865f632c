#include "session/sys_config.h"

namespace valo {

std::string SysConfig::get(const std::string& key) {
  if (entries_.empty() && loader_) loader_(*this);
  auto it = entries_.find(key);
  return it == entries_.end() ? std::string() : it->second;
}

void SysConfig::set(const std::string& key, const std::string& value) { entries_[key] = value; }

}  // namespace valo
