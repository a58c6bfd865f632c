#include "platform/temp_files.h"

#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>

namespace valo::platform {

std::string tempFolder() {
  const char* value = std::getenv("TMPDIR");
  std::string folder = value != nullptr && value[0] != '\0' ? value : "/tmp";
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

std::optional<std::string> createTempFile(const std::string& prefix) {
  std::string path = tempFolder();
  if (path != "/") path.push_back('/');
  path += prefix + "XXXXXX";
  const int fd = ::mkstemp(path.data());
  if (fd < 0) return std::nullopt;
  ::close(fd);
  return path;
}

}  // namespace valo::platform
