#include "cli/cli_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace valo::test {
namespace {

std::string cliPath() {
  const char* binaryDir = std::getenv("VALO_TEST_BINARY_DIR");
  if (binaryDir == nullptr) throw std::runtime_error("VALO_TEST_BINARY_DIR is not set");
  return std::string(binaryDir) + "/src/app/cli/valo-cli";
}

std::string slurp(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream content;
  content << file.rdbuf();
  return content.str();
}

// posix_spawn file actions, released on every path.
class FileActions {
 public:
  FileActions() { posix_spawn_file_actions_init(&actions_); }
  ~FileActions() { posix_spawn_file_actions_destroy(&actions_); }
  FileActions(const FileActions&) = delete;
  FileActions& operator=(const FileActions&) = delete;
  posix_spawn_file_actions_t* get() { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_;
};

}  // namespace

CliRun runCli(const std::string& folder, const std::vector<std::string>& args,
              const std::string& input) {
  const std::string inPath = folder + "/cli.stdin";
  const std::string outPath = folder + "/cli.stdout";
  const std::string errPath = folder + "/cli.stderr";
  std::ofstream(inPath, std::ios::binary | std::ios::trunc) << input;

  FileActions actions;
  posix_spawn_file_actions_addopen(actions.get(), 0, inPath.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(actions.get(), 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  posix_spawn_file_actions_addopen(actions.get(), 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  posix_spawn_file_actions_addchdir_np(actions.get(), folder.c_str());

  const std::string program = cliPath();
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);

  CliRun run;
  pid_t pid = 0;
  if (posix_spawn(&pid, program.c_str(), actions.get(), nullptr, argv.data(), environ) != 0) {
    throw std::runtime_error("cannot start " + program);
  }
  int waitStatus = 0;
  pid_t waited = 0;
  do {
    waited = waitpid(pid, &waitStatus, 0);
  } while (waited < 0 && errno == EINTR);
  if (waited == pid && WIFEXITED(waitStatus)) run.status = WEXITSTATUS(waitStatus);
  run.out = slurp(outPath);
  run.err = slurp(errPath);
  return run;
}

}  // namespace valo::test
