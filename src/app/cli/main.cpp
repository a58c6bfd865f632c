// valo-cli: the operations of the certificate client from a terminal or a script.

#include <unistd.h>

#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "app/cli/argument_input.h"
#include "app/cli/bridge_runner.h"
#include "app/cli/command_line.h"
#include "app/cli/startup_check.h"
#include "app/cli/terminal_ui.h"
#include "platform/linux/linux_platform.h"
#include "session/context.h"
#include "session/sys_config.h"

namespace valo::cli {
namespace {

int runCommand(const CommandLine& commandLine) {
  std::ifstream scriptFile;
  const bool scriptFromStdin = commandLine.command == Command::kRun &&
                               (commandLine.scriptFile.empty() || commandLine.scriptFile == "-");
  if (commandLine.command == Command::kRun && !scriptFromStdin) {
    scriptFile.open(commandLine.scriptFile, std::ios::binary);
    if (!scriptFile) {
      std::cerr << "valo-cli: cannot open " << commandLine.scriptFile << '\n';
      return kExitFailed;
    }
  }

  platform::LinuxPlatform platform;
  TerminalUiOptions options;
  options.interactive = isatty(STDIN_FILENO) != 0;
  options.progressOnTerminal = isatty(STDERR_FILENO) != 0;
  options.autoAnswer = commandLine.autoAnswer;
  TerminalUi ui(std::cin, std::cerr, platform.clock(), options);
  Context context(platform.services(ui));

  if (std::optional<int> status = checkVersionAtStart(context, std::cerr)) return *status;

  BridgeRunner runner(
      context, ui,
      [](const std::string& prompt) {
        return readArgumentLine(std::cin, STDIN_FILENO, std::cerr, prompt);
      },
      std::cout, std::cerr);
  if (commandLine.command == Command::kCall) {
    return runner.call(commandLine.method, commandLine.arguments);
  }
  if (scriptFromStdin) return runner.run(std::cin, "<stdin>");
  return runner.run(scriptFile, commandLine.scriptFile);
}

}  // namespace

int runMain(const std::vector<std::string>& args) {
  const ParseResult parsed = parseCommandLine(args);
  if (!parsed.ok) {
    std::cerr << "valo-cli: " << parsed.error << "\nTry 'valo-cli --help'.\n";
    return kExitUsage;
  }
  switch (parsed.commandLine.command) {
    case Command::kHelp:
      std::cout << usageText();
      return kExitRan;
    case Command::kVersion:
      std::cout << kClientVersion << '\n';
      return kExitRan;
    case Command::kCall:
    case Command::kRun:
      break;
  }
  try {
    return runCommand(parsed.commandLine);
  } catch (const std::exception& error) {
    // Nothing below is meant to throw; if it does, fail plainly rather than abort.
    std::cerr << "valo-cli: " << error.what() << '\n';
    return kExitFailed;
  }
}

}  // namespace valo::cli

int main(int argc, char** argv) {
  return valo::cli::runMain(std::vector<std::string>(argv + 1, argv + argc));
}
