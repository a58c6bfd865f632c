#include "desktop/process.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace valo::desktoptest {
namespace {

std::vector<char*> argvOf(const std::vector<std::string>& argv) {
  std::vector<char*> pointers;
  for (const std::string& arg : argv) pointers.push_back(const_cast<char*>(arg.c_str()));
  pointers.push_back(nullptr);
  return pointers;
}

// The state letter of /proc/<pid>/stat, or 0 when there is no such process.
char processState(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return 0;
  const size_t close = line.rfind(')');
  if (close == std::string::npos || close + 2 >= line.size()) return 0;
  return line[close + 2];
}

pid_t parentOf(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return 0;
  const size_t close = line.rfind(')');
  if (close == std::string::npos) return 0;
  std::istringstream rest(line.substr(close + 2));
  char state = 0;
  pid_t parent = 0;
  rest >> state >> parent;
  return parent;
}

}  // namespace

std::unique_ptr<ChildProcess> ChildProcess::start(const std::vector<std::string>& argv,
                                                  const std::string& stderrPath) {
  const std::string program =
      argv[0].find('/') != std::string::npos ? argv[0] : findProgram(argv[0]);
  if (program.empty()) return nullptr;
  std::vector<char*> args = argvOf(argv);
  const int errorFd = open(stderrPath.empty() ? "/dev/null" : stderrPath.c_str(),
                           O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid == 0) {
    // Only async-signal-safe calls from here to exec.
    setpgid(0, 0);
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(127);
    if (errorFd >= 0) dup2(errorFd, STDERR_FILENO);
    execv(program.c_str(), args.data());
    _exit(127);
  }
  if (errorFd >= 0) close(errorFd);
  if (pid < 0) return nullptr;
  setpgid(pid, pid);  // also from here, so the group exists before anyone signals it
  return std::unique_ptr<ChildProcess>(new ChildProcess(pid));
}

ChildProcess::~ChildProcess() { stop(); }

bool ChildProcess::waitForExit(std::chrono::milliseconds timeout) {
  if (reaped_) return true;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    int status = 0;
    const pid_t done = waitpid(pid_, &status, WNOHANG);
    if (done == pid_ || done < 0) {
      reaped_ = true;
      return true;
    }
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

void ChildProcess::stop() {
  if (reaped_) {
    kill(-pid_, SIGKILL);  // whatever the group left behind
    return;
  }
  kill(-pid_, SIGTERM);
  if (!waitForExit(std::chrono::seconds(3))) {
    kill(-pid_, SIGKILL);
    waitForExit(std::chrono::seconds(3));
  }
  kill(-pid_, SIGKILL);
}

CommandResult runCommand(const std::vector<std::string>& argv, std::chrono::milliseconds timeout) {
  CommandResult result;
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC) != 0) return result;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
  std::vector<char*> args = argvOf(argv);
  pid_t pid = 0;
  const int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeFds[1]);
  if (rc != 0) {
    close(pipeFds[0]);
    return result;
  }
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  bool open = true;
  while (open) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd fd{pipeFds[0], POLLIN, 0};
    if (poll(&fd, 1, static_cast<int>(left.count())) <= 0) continue;
    char buffer[4096];
    const ssize_t n = read(pipeFds[0], buffer, sizeof buffer);
    if (n > 0) {
      result.output.append(buffer, static_cast<size_t>(n));
    } else {
      open = false;
    }
  }
  close(pipeFds[0]);
  int status = 0;
  for (;;) {
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) {
      result.finished = true;
      result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      return result;
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return result;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

std::string findProgram(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::istringstream folders(path != nullptr ? path : "/usr/bin:/bin");
  std::string folder;
  while (std::getline(folders, folder, ':')) {
    const std::string candidate = folder + "/" + name;
    if (!folder.empty() && access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return std::string();
}

bool processAlive(pid_t pid) {
  const char state = processState(pid);
  return state != 0 && state != 'Z' && state != 'X';
}

std::vector<pid_t> childrenOf(pid_t parent) {
  std::vector<pid_t> children;
  DIR* proc = opendir("/proc");
  if (proc == nullptr) return children;
  while (dirent* entry = readdir(proc)) {
    char* end = nullptr;
    const long pid = std::strtol(entry->d_name, &end, 10);
    if (end == entry->d_name || *end != '\0') continue;
    if (parentOf(static_cast<pid_t>(pid)) == parent) children.push_back(static_cast<pid_t>(pid));
  }
  closedir(proc);
  return children;
}

}  // namespace valo::desktoptest
