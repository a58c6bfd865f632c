#ifndef VALO_TESTS_SUPPORT_FAKE_SHELL_H_
#define VALO_TESTS_SUPPORT_FAKE_SHELL_H_

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/shell.h"

namespace valo::test {

// A shell that starts nothing: it records what it was asked to open, start and show,
// and answers runForFirstLine from a table. Tests that need real programs use
// platform::LinuxShell with small scripts instead.
class FakeShell : public platform::Shell {
 public:
  struct Spawn {
    std::string executable;
    std::vector<std::string> arguments;
    bool operator==(const Spawn&) const = default;
  };
  struct Run {
    std::string executable;
    std::vector<std::string> arguments;
    std::chrono::milliseconds timeLimit;
  };

  bool openWithDesktop(const std::string& pathOrUrl) override;
  bool spawnDetached(const std::string& executable,
                     const std::vector<std::string>& arguments) override;
  void showInFileManager(const std::string& path) override;
  std::optional<std::string> runForFirstLine(const std::string& executable,
                                             const std::vector<std::string>& arguments,
                                             std::chrono::milliseconds timeLimit) override;
  std::string executablePath() override { return executablePath_; }

  // The first line `executable` prints (any arguments); unknown programs give nullopt.
  void setFirstLine(const std::string& executable, std::optional<std::string> line) {
    firstLines_[executable] = std::move(line);
  }
  void setExecutablePath(std::string path) { executablePath_ = std::move(path); }
  // Makes openWithDesktop and spawnDetached report failure (they still record).
  void setStartFails(bool fails) { startFails_ = fails; }

  const std::vector<std::string>& opened() const { return opened_; }
  const std::vector<Spawn>& spawned() const { return spawned_; }
  const std::vector<std::string>& shownInFileManager() const { return shown_; }
  const std::vector<Run>& runs() const { return runs_; }

 private:
  std::map<std::string, std::optional<std::string>> firstLines_;
  std::string executablePath_ = "/opt/valo/bin/valo";
  bool startFails_ = false;
  std::vector<std::string> opened_;
  std::vector<Spawn> spawned_;
  std::vector<std::string> shown_;
  std::vector<Run> runs_;
};

}  // namespace valo::test

#endif  // VALO_TESTS_SUPPORT_FAKE_SHELL_H_
