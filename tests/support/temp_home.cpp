#include "support/temp_home.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace valo::test {
namespace {

std::optional<std::string> currentValue(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

void applyValue(const std::string& name, const std::optional<std::string>& value) {
  if (value) {
    ::setenv(name.c_str(), value->c_str(), 1);
  } else {
    ::unsetenv(name.c_str());
  }
}

}  // namespace

TempHome::TempHome() {
  const std::optional<std::string> tmp = currentValue("TMPDIR");
  std::string pattern = (tmp && !tmp->empty() ? *tmp : std::string("/tmp")) + "/valo-test-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  root_ = pattern;
  const std::pair<const char*, const char*> folders[] = {{"HOME", "home"},
                                                         {"VALO_HOME", "valo"},
                                                         {"XDG_DATA_HOME", "data"},
                                                         {"XDG_CONFIG_HOME", "config"},
                                                         {"XDG_CACHE_HOME", "cache"},
                                                         {"XDG_STATE_HOME", "state"},
                                                         {"TMPDIR", "tmp"}};
  for (const auto& [name, folder] : folders) {
    const std::string path = root_ + "/" + folder;
    ::mkdir(path.c_str(), 0700);
    setVariable(name, path);
  }
  for (const char* name : {"USERPROFILE", "LOCALAPPDATA", "XDG_DESKTOP_DIR"}) {
    setVariable(name, std::nullopt);
  }
}

TempHome::~TempHome() {
  for (const auto& [name, value] : saved_) applyValue(name, value);
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

void TempHome::setVariable(const std::string& name, const std::optional<std::string>& value) {
  if (saved_.find(name) == saved_.end()) saved_[name] = currentValue(name);
  applyValue(name, value);
}

void TempHome::prependToPath(const std::string& folder) {
  const std::optional<std::string> path = currentValue("PATH");
  setVariable("PATH", folder + ":" + path.value_or("/usr/local/bin:/usr/bin:/bin"));
}

}  // namespace valo::test
