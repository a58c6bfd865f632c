#include "core/file_util.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <utility>
#include <vector>

namespace valo {
namespace {

// Room for "." and ".XXXXXX" within the usual 255-byte limit of a file name.
constexpr size_t kMaxTempNameStem = 200;

// Owns a file descriptor and closes it on every path.
class UniqueFd {
 public:
  explicit UniqueFd(int fd) : fd_(fd) {}
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd() { reset(); }

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closes now and reports whether the close succeeded (a delayed write error shows here).
  bool reset() {
    if (fd_ < 0) return true;
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0;
  }

 private:
  int fd_;
};

// Removes the temporary file unless it has been renamed into place.
class TempFileGuard {
 public:
  explicit TempFileGuard(std::string path) : path_(std::move(path)) {}
  TempFileGuard(const TempFileGuard&) = delete;
  TempFileGuard& operator=(const TempFileGuard&) = delete;
  ~TempFileGuard() {
    if (!released_) ::unlink(path_.c_str());
  }
  void release() { released_ = true; }

 private:
  std::string path_;
  bool released_ = false;
};

int openForReading(const std::string& path) {
  int fd;
  do {
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

// The process umask, read without changing it (the kernel reports it since Linux 4.7).
mode_t currentUmask() {
  std::FILE* status = std::fopen("/proc/self/status", "re");
  if (status != nullptr) {
    char line[256];
    unsigned value = 0;
    bool found = false;
    while (!found && std::fgets(line, sizeof line, status) != nullptr) {
      found = std::sscanf(line, "Umask: %o", &value) == 1;
    }
    std::fclose(status);
    if (found) return static_cast<mode_t>(value);
  }
  // Older kernels: read it by setting it; the program does this on one thread only.
  const mode_t mask = ::umask(022);
  ::umask(mask);
  return mask;
}

void syncFolder(const std::string& folder) {
  UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  // The file is already in place; a folder that cannot be synced only weakens durability.
  if (fd.valid()) ::fsync(fd.get());
}

}  // namespace

std::optional<std::string> readFileBytes(const std::string& path) {
  UniqueFd fd(openForReading(path));
  if (!fd.valid()) return std::nullopt;
  std::string content;
  std::vector<char> chunk(64 * 1024);
  for (;;) {
    const ssize_t got = ::read(fd.get(), chunk.data(), chunk.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;  // a folder, or a read error
    }
    if (got == 0) break;
    content.append(chunk.data(), static_cast<size_t>(got));
  }
  return content;
}

void createParentFolders(const std::string& path) {
  // Start at 1 so an absolute path does not try to create the root.
  for (size_t pos = path.find(kPathSeparator, 1); pos != std::string::npos;
       pos = path.find(kPathSeparator, pos + 1)) {
    ::mkdir(path.substr(0, pos).c_str(), 0777);
  }
}

AtomicWriteResult writeFileAtomically(const std::string& path, std::string_view bytes,
                                      unsigned mode) {
  const size_t slash = path.rfind(kPathSeparator);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.empty()) return AtomicWriteResult::kOpenFailed;  // names a folder, not a file
  const std::string folder = slash == std::string::npos ? std::string(".")
                             : slash == 0               ? std::string(1, kPathSeparator)
                                                        : path.substr(0, slash);

  // A hidden name beside the target, so the rename stays within one file system; the
  // target's name is shortened so the temporary name stays within the name length limit.
  std::string tempPath = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) +
                         "." + name.substr(0, kMaxTempNameStem) + ".XXXXXX";
  UniqueFd fd(::mkostemp(tempPath.data(), O_CLOEXEC));
  if (!fd.valid()) return AtomicWriteResult::kOpenFailed;
  TempFileGuard guard(tempPath);

  const mode_t wanted = static_cast<mode_t>(mode) & 07777 & ~currentUmask();
  if (!writeAll(fd.get(), bytes) || ::fchmod(fd.get(), wanted) != 0 || ::fsync(fd.get()) != 0 ||
      !fd.reset()) {
    return AtomicWriteResult::kWriteFailed;
  }
  if (::rename(tempPath.c_str(), path.c_str()) != 0) return AtomicWriteResult::kWriteFailed;
  guard.release();
  syncFolder(folder);
  return AtomicWriteResult::kOk;
}

}  // namespace valo
