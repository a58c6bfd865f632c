#include "platform/linux/linux_environment.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string_view>

namespace valo::platform {
namespace {

std::string variable(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

std::string stripTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// The desktop folder as user-dirs.dirs writes it ("$HOME/Desktop"), or empty.
std::string desktopFromUserDirs(const std::string& file) {
  std::ifstream in(file);
  std::string line;
  std::string found;
  while (std::getline(in, line)) {
    std::string_view text(line);
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    constexpr std::string_view kPrefix = "XDG_DESKTOP_DIR=";
    if (text.substr(0, kPrefix.size()) != kPrefix) continue;
    text.remove_prefix(kPrefix.size());
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
      text.remove_suffix(1);
    }
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
      text = text.substr(1, text.size() - 2);
    }
    found = std::string(text);  // the last assignment wins, as in the shell
  }
  return found;
}

}  // namespace

std::string LinuxEnvironment::home() const {
  std::string value = variable("HOME");
  if (!value.empty()) return value;
  const passwd* entry = ::getpwuid(::getuid());
  return entry != nullptr && entry->pw_dir != nullptr ? std::string(entry->pw_dir) : std::string();
}

std::string LinuxEnvironment::get(const std::string& name) const {
  if (name == "USERPROFILE") {
    std::string value = variable("USERPROFILE");
    return value.empty() ? home() : value;
  }
  if (name == "LOCALAPPDATA") {
    std::string value = variable("LOCALAPPDATA");
    if (value.empty()) value = variable("XDG_DATA_HOME");
    return value.empty() ? home() + "/.local/share" : value;
  }
  return variable(name.c_str());
}

std::string LinuxEnvironment::stateRoot() const {
  std::string value = variable("VALO_HOME");
  if (!value.empty()) return stripTrailingSlashes(value);
  value = variable("XDG_DATA_HOME");
  if (!value.empty()) return stripTrailingSlashes(value) + "/valo";
  return home() + "/.local/share/valo";
}

std::string xdgDesktopFolderName(const LinuxEnvironment& environment) {
  const std::string home = stripTrailingSlashes(environment.home());
  std::string folder = environment.get("XDG_DESKTOP_DIR");
  if (folder.empty()) {
    std::string config = environment.get("XDG_CONFIG_HOME");
    if (config.empty()) config = home + "/.config";
    folder = desktopFromUserDirs(config + "/user-dirs.dirs");
  }
  if (folder.substr(0, 5) == "$HOME") folder = home + folder.substr(5);
  folder = stripTrailingSlashes(folder);
  if (folder.empty() || folder == home || folder == "/") return "Desktop";
  const size_t slash = folder.rfind('/');
  return slash == std::string::npos ? folder : folder.substr(slash + 1);
}

}  // namespace valo::platform
