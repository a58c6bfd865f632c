#ifndef VALO_PLATFORM_LINUX_LINUX_SHELL_H_
#define VALO_PLATFORM_LINUX_LINUX_SHELL_H_

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "platform/shell.h"

namespace valo::platform {

// Processes and the desktop through the usual freedesktop tools. Programs named without a
// slash are looked up in $PATH.
//
// Detached programs start in a new session with standard input and output on /dev/null,
// through an intermediate process that exits at once, so the program is adopted by init
// and never lingers as a zombie of ours.
class LinuxShell : public Shell {
 public:
  // xdg-open.
  bool openWithDesktop(const std::string& pathOrUrl) override;
  // True when the program was started (its executable found and executed).
  bool spawnDetached(const std::string& executable,
                     const std::vector<std::string>& arguments) override;
  // Asks the file manager over D-Bus (org.freedesktop.FileManager1.ShowItems, through
  // gdbus) and falls back to xdg-open of the folder when that call fails or gdbus is
  // missing; for a file that does not exist, opens the folder directly. Never waits.
  void showInFileManager(const std::string& path) override;
  // Standard input and error go to /dev/null. The program runs in its own process group,
  // and the whole group is killed when the time limit (real time) passes. A program that
  // exits with a status other than 0 or dies of a signal gives nullopt. The first line
  // loses a trailing carriage return; output without a line break is the line.
  std::optional<std::string> runForFirstLine(const std::string& executable,
                                             const std::vector<std::string>& arguments,
                                             std::chrono::milliseconds timeLimit) override;
  // /proc/self/exe.
  std::string executablePath() override;
};

}  // namespace valo::platform

#endif  // VALO_PLATFORM_LINUX_LINUX_SHELL_H_
