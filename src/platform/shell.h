#ifndef VALO_PLATFORM_SHELL_H_
#define VALO_PLATFORM_SHELL_H_

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace valo::platform {

// Processes and the desktop shell.
class Shell {
 public:
  virtual ~Shell() = default;

  // Opens a file or URL with the desktop's default handler, without waiting for it.
  virtual bool openWithDesktop(const std::string& pathOrUrl) = 0;
  // Starts a program in a new session, not waited for.
  virtual bool spawnDetached(const std::string& executable,
                             const std::vector<std::string>& arguments) = 0;
  // Opens a file-manager window with the file selected (the folder when selection is
  // not supported). The file need not exist.
  virtual void showInFileManager(const std::string& path) = 0;
  // Runs a program and returns the first line of its standard output, or nullopt when it
  // cannot be started, fails, or runs past the time limit (it is then killed).
  virtual std::optional<std::string> runForFirstLine(const std::string& executable,
                                                     const std::vector<std::string>& arguments,
                                                     std::chrono::milliseconds timeLimit) = 0;
  // The absolute path of the running executable.
  virtual std::string executablePath() = 0;
};

}  // namespace valo::platform

#endif  // VALO_PLATFORM_SHELL_H_
