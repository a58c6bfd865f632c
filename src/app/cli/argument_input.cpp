#include "app/cli/argument_input.h"

#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <array>

namespace valo::cli {
namespace {

// What the signal handler needs to give the terminal its echo back. Only one read runs
// at a time (the program has one thread).
volatile sig_atomic_t gEchoFd = -1;
termios gSavedTerminal;

constexpr std::array<int, 4> kRestoringSignals = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

extern "C" void restoreEchoAndReraise(int signalNumber) {
  if (gEchoFd >= 0) tcsetattr(gEchoFd, TCSANOW, &gSavedTerminal);
  signal(signalNumber, SIG_DFL);
  raise(signalNumber);
}

// Turns the terminal's echo off for its lifetime; does nothing when `fd` is not a
// terminal.
class EchoOff {
 public:
  explicit EchoOff(int fd) {
    if (tcgetattr(fd, &gSavedTerminal) != 0) return;
    gEchoFd = fd;
    struct sigaction action = {};
    action.sa_handler = restoreEchoAndReraise;
    sigemptyset(&action.sa_mask);
    for (size_t i = 0; i < kRestoringSignals.size(); ++i) {
      sigaction(kRestoringSignals[i], &action, &previous_[i]);
    }
    termios quiet = gSavedTerminal;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHOE | ECHOK | ECHONL);
    tcsetattr(fd, TCSAFLUSH, &quiet);
  }
  ~EchoOff() {
    if (gEchoFd < 0) return;
    tcsetattr(gEchoFd, TCSANOW, &gSavedTerminal);
    for (size_t i = 0; i < kRestoringSignals.size(); ++i) {
      sigaction(kRestoringSignals[i], &previous_[i], nullptr);
    }
    gEchoFd = -1;
  }
  EchoOff(const EchoOff&) = delete;
  EchoOff& operator=(const EchoOff&) = delete;

 private:
  std::array<struct sigaction, kRestoringSignals.size()> previous_{};
};

}  // namespace

std::optional<std::string> readArgumentLine(std::istream& in, int fd, std::ostream& out,
                                            const std::string& prompt) {
  std::string line;
  bool read = false;
  if (isatty(fd)) {
    out << prompt << std::flush;
    {
      EchoOff echoOff(fd);
      read = static_cast<bool>(std::getline(in, line));
    }
    // The Enter key was not echoed either.
    out << '\n' << std::flush;
  } else {
    read = static_cast<bool>(std::getline(in, line));
  }
  if (!read) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

}  // namespace valo::cli
