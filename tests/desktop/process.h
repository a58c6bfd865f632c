#ifndef VALO_TESTS_DESKTOP_PROCESS_H_
#define VALO_TESTS_DESKTOP_PROCESS_H_

#include <sys/types.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace valo::desktoptest {

// A program a test started, in a process group of its own so that everything it starts
// in turn ends with it. It is also killed when the test process dies, so a test that is
// stopped from outside leaves nothing running. Start it from the main thread (the
// program dies with the thread that started it).
class ChildProcess {
 public:
  // Null when the program cannot be started. `stderrPath`, when given, receives its
  // error output (else it goes nowhere).
  static std::unique_ptr<ChildProcess> start(const std::vector<std::string>& argv,
                                             const std::string& stderrPath = std::string());
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  pid_t pid() const { return pid_; }
  // True when the program ended within `timeout`.
  bool waitForExit(std::chrono::milliseconds timeout);
  // Ends the group: SIGTERM, then SIGKILL after a grace period.
  void stop();

 private:
  explicit ChildProcess(pid_t pid) : pid_(pid) {}
  pid_t pid_;
  bool reaped_ = false;
};

struct CommandResult {
  bool finished = false;  // false when it ran past its time limit (it was killed)
  int exitCode = -1;
  std::string output;  // standard output
};

// Runs a command to its end, or kills it after `timeout`.
CommandResult runCommand(const std::vector<std::string>& argv,
                         std::chrono::milliseconds timeout = std::chrono::seconds(10));

// The path of the executable `name` on PATH, empty when there is none.
std::string findProgram(const std::string& name);
inline bool haveProgram(const std::string& name) { return !findProgram(name).empty(); }

// Whether a process (not a zombie) with this id exists.
bool processAlive(pid_t pid);

// The ids of the direct children of `parent`.
std::vector<pid_t> childrenOf(pid_t parent);

}  // namespace valo::desktoptest

#endif  // VALO_TESTS_DESKTOP_PROCESS_H_
