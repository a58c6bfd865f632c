#ifndef VALO_APP_CLI_COMMAND_LINE_H_
#define VALO_APP_CLI_COMMAND_LINE_H_

#include <string>
#include <vector>

namespace valo::cli {

// Exit statuses of valo-cli.
inline constexpr int kExitRan = 0;
inline constexpr int kExitFailed = 1;  // the input could not be read
inline constexpr int kExitUsage = 2;
inline constexpr int kExitOutdated = 3;  // the gateway no longer accepts this client version

// How questions are answered when nobody is asked.
enum class AutoAnswer { kNone, kYes, kNo };

enum class Command { kCall, kRun, kHelp, kVersion };

struct CommandLine {
  Command command = Command::kHelp;
  AutoAnswer autoAnswer = AutoAnswer::kNone;
  // kCall: the method name as given and its arguments ("-" still unread).
  std::string method;
  std::vector<std::string> arguments;
  // kRun: the script file; empty or "-" for standard input.
  std::string scriptFile;
};

struct ParseResult {
  bool ok = false;
  CommandLine commandLine;
  std::string error;  // when !ok
};

// Parses the arguments after the program name. Options (--yes, --no, --help, --version)
// may come before the command and, for `run`, after it; the words after `call METHOD`
// are the method's arguments, whatever they look like. --help and --version win over
// everything else. The method name and argument count are checked later, against the
// bridge.
ParseResult parseCommandLine(const std::vector<std::string>& args);

// The text of --help.
std::string usageText();

}  // namespace valo::cli

#endif  // VALO_APP_CLI_COMMAND_LINE_H_
