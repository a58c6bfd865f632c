#include "support/fake_shell.h"

namespace valo::test {

bool FakeShell::openWithDesktop(const std::string& pathOrUrl) {
  opened_.push_back(pathOrUrl);
  return !startFails_;
}

bool FakeShell::spawnDetached(const std::string& executable,
                              const std::vector<std::string>& arguments) {
  spawned_.push_back(Spawn{executable, arguments});
  return !startFails_;
}

void FakeShell::showInFileManager(const std::string& path) { shown_.push_back(path); }

std::optional<std::string> FakeShell::runForFirstLine(const std::string& executable,
                                                      const std::vector<std::string>& arguments,
                                                      std::chrono::milliseconds timeLimit) {
  runs_.push_back(Run{executable, arguments, timeLimit});
  auto it = firstLines_.find(executable);
  return it == firstLines_.end() ? std::nullopt : it->second;
}

}  // namespace valo::test
