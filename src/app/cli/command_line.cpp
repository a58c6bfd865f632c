#include "app/cli/command_line.h"

namespace valo::cli {
namespace {

ParseResult failure(std::string error) {
  ParseResult result;
  result.error = std::move(error);
  return result;
}

}  // namespace

ParseResult parseCommandLine(const std::vector<std::string>& args) {
  CommandLine line;
  bool yes = false;
  bool no = false;
  bool help = false;
  bool version = false;
  bool haveCommand = false;
  bool haveMethod = false;
  bool haveScriptFile = false;
  std::string error;

  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    // After `call METHOD` every word is an argument; a method name never starts with a dash.
    if (haveCommand && line.command == Command::kCall && (haveMethod || arg[0] != '-')) {
      if (!haveMethod) {
        line.method = arg;
        haveMethod = true;
      } else {
        line.arguments.push_back(arg);
      }
      continue;
    }
    if (arg == "--yes") {
      yes = true;
    } else if (arg == "--no") {
      no = true;
    } else if (arg == "--help" || arg == "-h") {
      help = true;
    } else if (arg == "--version") {
      version = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      if (error.empty()) error = "unknown option " + arg;
    } else if (!haveCommand) {
      if (arg == "call") {
        line.command = Command::kCall;
      } else if (arg == "run") {
        line.command = Command::kRun;
      } else if (error.empty()) {
        error = "unknown command " + arg;
      }
      haveCommand = error.empty();
    } else if (!haveScriptFile) {
      line.scriptFile = arg;
      haveScriptFile = true;
    } else if (error.empty()) {
      error = "run takes at most one file";
    }
  }

  ParseResult result;
  if (help || version) {
    line.command = help ? Command::kHelp : Command::kVersion;
    result.ok = true;
    result.commandLine = std::move(line);
    return result;
  }
  if (!error.empty()) return failure(error);
  if (yes && no) return failure("--yes and --no exclude each other");
  if (!haveCommand) return failure("no command given");
  if (line.command == Command::kCall && !haveMethod) {
    return failure("call needs a method name");
  }
  line.autoAnswer = yes ? AutoAnswer::kYes : no ? AutoAnswer::kNo : AutoAnswer::kNone;
  result.ok = true;
  result.commandLine = std::move(line);
  return result;
}

std::string usageText() {
  return R"(Usage: valo-cli [OPTIONS] call METHOD [ARG...]
       valo-cli [OPTIONS] run [FILE]

Runs the operations of the certificate client from a terminal or a script.

  call METHOD [ARG...]  Runs one bridge method with exactly its number of arguments
                        and prints its reply on standard output.
  run [FILE]            Runs one call per line of FILE (standard input when FILE is
                        missing or -) in one process, so a login holds for the later
                        lines, and prints each reply on its own line. A line holds the
                        method name and its arguments as shell words: 'single quotes',
                        "double quotes" (\" \\ \$ \` escaped) and \ before a character.
                        Blank lines and lines starting with # are skipped. Stops at the
                        end of the input or after closeApp.

An argument given as a bare - is read from the next line of standard input instead, without
echo on a terminal: use it for passwords, which would otherwise be visible in the process
list. When a run script itself comes from standard input, that is the line after the call.
In a run script, write '-' for a literal dash.

Methods without a reply print nothing; doLogout prints its result code.

Options:
  --yes        Answer every question with OK and accept the agreement without asking.
  --no         Answer every question with Cancel and decline the agreement.
               Without either, questions are asked on the terminal; when standard input
               is not a terminal they are answered Cancel.
  --help       Show this text.
  --version    Show the client version.

Exit status: 0 the calls ran (whatever their errCode), 1 the input could not be read,
2 usage error, 3 the gateway no longer accepts this client version.
)";
}

}  // namespace valo::cli
