#include "platform/linux/linux_shell.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <thread>

extern char** environ;

namespace valo::platform {
namespace {

// Output kept from runForFirstLine; the rest is read and dropped so the program never
// blocks on a full pipe.
constexpr size_t kMaxKeptOutput = 64 * 1024;

// argv for a spawn: the executable followed by the arguments, null-terminated.
class ArgumentVector {
 public:
  ArgumentVector(const std::string& executable, const std::vector<std::string>& arguments) {
    storage_.push_back(executable);
    storage_.insert(storage_.end(), arguments.begin(), arguments.end());
    for (std::string& text : storage_) pointers_.push_back(text.data());
    pointers_.push_back(nullptr);
  }
  char* const* get() const { return pointers_.data(); }

 private:
  std::vector<std::string> storage_;
  std::vector<char*> pointers_;
};

class SpawnFileActions {
 public:
  SpawnFileActions() { ::posix_spawn_file_actions_init(&actions_); }
  ~SpawnFileActions() { ::posix_spawn_file_actions_destroy(&actions_); }
  SpawnFileActions(const SpawnFileActions&) = delete;
  SpawnFileActions& operator=(const SpawnFileActions&) = delete;
  posix_spawn_file_actions_t* get() { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_;
};

// Spawn attributes giving the program a clean signal state plus `flags`.
class SpawnAttributes {
 public:
  explicit SpawnAttributes(short flags) {
    ::posix_spawnattr_init(&attributes_);
    sigset_t none;
    sigemptyset(&none);
    sigset_t all;
    sigfillset(&all);
    ::posix_spawnattr_setsigmask(&attributes_, &none);
    ::posix_spawnattr_setsigdefault(&attributes_, &all);
    ::posix_spawnattr_setflags(
        &attributes_, static_cast<short>(flags | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF));
  }
  ~SpawnAttributes() { ::posix_spawnattr_destroy(&attributes_); }
  SpawnAttributes(const SpawnAttributes&) = delete;
  SpawnAttributes& operator=(const SpawnAttributes&) = delete;
  posix_spawnattr_t* get() { return &attributes_; }
  void setProcessGroup(pid_t group) { ::posix_spawnattr_setpgroup(&attributes_, group); }

 private:
  posix_spawnattr_t attributes_;
};

// Owns an open file descriptor.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd = -1) : fd_(fd) {}
  ~FileDescriptor() { reset(); }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  void reset(int fd = -1) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }

 private:
  int fd_;
};

bool waitForChild(pid_t pid, int& status) {
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

// "file://" and the path with every byte but unreserved characters and "/" escaped.
std::string fileUri(const std::string& path) {
  std::string uri = "file://";
  for (unsigned char c : path) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                       c == '-' || c == '.' || c == '_' || c == '~' || c == '/';
    if (plain) {
      uri.push_back(static_cast<char>(c));
    } else {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", c);
      uri += escaped;
    }
  }
  return uri;
}

std::string absolutePath(const std::string& path) {
  if (!path.empty() && path.front() == '/') return path;
  std::string folder(PATH_MAX, '\0');
  if (::getcwd(folder.data(), folder.size()) == nullptr) return path;
  folder.resize(folder.find('\0'));
  return folder + "/" + path;
}

}  // namespace

bool LinuxShell::spawnDetached(const std::string& executable,
                               const std::vector<std::string>& arguments) {
  const ArgumentVector argv(executable, arguments);
  SpawnFileActions actions;
  ::posix_spawn_file_actions_addopen(actions.get(), 0, "/dev/null", O_RDONLY, 0);
  ::posix_spawn_file_actions_addopen(actions.get(), 1, "/dev/null", O_WRONLY, 0);
  ::posix_spawn_file_actions_adddup2(actions.get(), 1, 2);
  SpawnAttributes attributes(POSIX_SPAWN_SETSID);

  // The intermediate process only spawns (no allocation after fork) and exits, telling
  // by its status whether the program started; init adopts the program.
  const pid_t intermediate = ::fork();
  if (intermediate < 0) return false;
  if (intermediate == 0) {
    pid_t program;
    const int rc = ::posix_spawnp(&program, executable.c_str(), actions.get(), attributes.get(),
                                  argv.get(), environ);
    ::_exit(rc == 0 ? 0 : 1);
  }
  int status = 0;
  if (!waitForChild(intermediate, status)) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool LinuxShell::openWithDesktop(const std::string& pathOrUrl) {
  return spawnDetached("xdg-open", {pathOrUrl});
}

void LinuxShell::showInFileManager(const std::string& path) {
  if (path.empty()) return;
  const std::string absolute = absolutePath(path);
  const size_t slash = absolute.rfind('/');
  const std::string folder = slash == 0 ? std::string("/") : absolute.substr(0, slash);
  struct stat info;
  if (::stat(absolute.c_str(), &info) != 0) {
    openWithDesktop(folder);
    return;
  }
  // A detached shell makes the call and falls back, so nothing here waits for either.
  // The URI is percent-encoded, so it holds no quote that could end the literal.
  const std::string script =
      "gdbus call --session --timeout 10 --dest org.freedesktop.FileManager1"
      " --object-path /org/freedesktop/FileManager1"
      " --method org.freedesktop.FileManager1.ShowItems \"$1\" \"''\" || exec xdg-open \"$2\"";
  spawnDetached("/bin/sh", {"-c", script, "sh", "['" + fileUri(absolute) + "']", folder});
}

std::optional<std::string> LinuxShell::runForFirstLine(const std::string& executable,
                                                       const std::vector<std::string>& arguments,
                                                       std::chrono::milliseconds timeLimit) {
  using SteadyClock = std::chrono::steady_clock;
  const SteadyClock::time_point deadline = SteadyClock::now() + timeLimit;

  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) return std::nullopt;
  FileDescriptor readEnd(ends[0]);
  FileDescriptor writeEnd(ends[1]);

  const ArgumentVector argv(executable, arguments);
  SpawnFileActions actions;
  ::posix_spawn_file_actions_addopen(actions.get(), 0, "/dev/null", O_RDONLY, 0);
  ::posix_spawn_file_actions_adddup2(actions.get(), writeEnd.get(), 1);
  ::posix_spawn_file_actions_addopen(actions.get(), 2, "/dev/null", O_WRONLY, 0);
  SpawnAttributes attributes(POSIX_SPAWN_SETPGROUP);
  attributes.setProcessGroup(0);
  pid_t pid;
  if (::posix_spawnp(&pid, executable.c_str(), actions.get(), attributes.get(), argv.get(),
                     environ) != 0) {
    return std::nullopt;
  }
  writeEnd.reset();

  auto remainingMilliseconds = [&]() -> int {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - SteadyClock::now());
    return left.count() <= 0 ? 0 : static_cast<int>(std::min<long long>(left.count(), INT_MAX));
  };

  std::string output;
  bool timedOut = false;
  char buffer[4096];
  while (true) {
    const int wait = remainingMilliseconds();
    if (wait == 0) {
      timedOut = true;
      break;
    }
    pollfd request{readEnd.get(), POLLIN, 0};
    const int ready = ::poll(&request, 1, wait);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) {
      timedOut = ready == 0;
      break;
    }
    const ssize_t count = ::read(readEnd.get(), buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) break;
    const size_t keep = std::min(static_cast<size_t>(count), kMaxKeptOutput - output.size());
    output.append(buffer, keep);
  }
  readEnd.reset();

  // The output has ended; the program must still exit in time.
  int status = 0;
  bool exited = false;
  while (!timedOut) {
    const pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == pid) {
      exited = true;
      break;
    }
    if (done < 0 && errno != EINTR) break;
    if (remainingMilliseconds() == 0) {
      timedOut = true;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (!exited) {
    ::kill(-pid, SIGKILL);
    ::kill(pid, SIGKILL);
    waitForChild(pid, status);
    return std::nullopt;
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;

  std::string line = output.substr(0, output.find('\n'));
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

std::string LinuxShell::executablePath() {
  std::string path(256, '\0');
  while (true) {
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length < 0) return std::string();
    if (static_cast<size_t>(length) < path.size()) {
      path.resize(static_cast<size_t>(length));
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace valo::platform
