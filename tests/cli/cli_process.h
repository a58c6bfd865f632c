#ifndef VALO_TESTS_CLI_CLI_PROCESS_H_
#define VALO_TESTS_CLI_CLI_PROCESS_H_

#include <string>
#include <vector>

namespace valo::test {

struct CliRun {
  int status = -1;  // exit status, -1 when the program did not exit normally
  std::string out;
  std::string err;
};

// Runs the built valo-cli with `args`, `input` as its standard input, and standard output
// and error captured (none of them a terminal), in `folder`, which also holds the files
// of the exchange. The environment is the test's own.
CliRun runCli(const std::string& folder, const std::vector<std::string>& args,
              const std::string& input = "");

}  // namespace valo::test

#endif  // VALO_TESTS_CLI_CLI_PROCESS_H_
