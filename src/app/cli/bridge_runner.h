#ifndef VALO_APP_CLI_BRIDGE_RUNNER_H_
#define VALO_APP_CLI_BRIDGE_RUNNER_H_

#include <functional>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "app/cli/terminal_ui.h"
#include "app/cli/word_splitter.h"
#include "app/script_bridge.h"
#include "session/context.h"

namespace valo::cli {

// Supplies the value of an argument given as a bare "-"; `prompt` says which argument is
// asked for. nullopt when there is nothing left to read.
using ArgumentReader = std::function<std::optional<std::string>(const std::string& prompt)>;

// Runs bridge calls for the terminal, as the page runs them: one ScriptBridge for the
// whole process, so a login holds for the calls after it. Replies go to `out`, one per
// line (methods without a reply print nothing, doLogout its number); usage errors go to
// `err`. Every function returns the exit status.
class BridgeRunner {
 public:
  BridgeRunner(Context& context, TerminalUi& ui, ArgumentReader readArgument, std::ostream& out,
               std::ostream& err);
  BridgeRunner(const BridgeRunner&) = delete;
  BridgeRunner& operator=(const BridgeRunner&) = delete;

  // One call from the command line; every "-" argument is read through the reader.
  int call(const std::string& method, const std::vector<std::string>& arguments);

  // Runs `script` line by line until its end or closeApp; stops at the first line that
  // is not a valid call, naming `scriptName` and the line number.
  int run(std::istream& script, const std::string& scriptName);

 private:
  // Checks the method and its argument count, reads the "-" arguments and runs the call.
  // `where` prefixes error messages ("" or "FILE:LINE: ").
  int runCall(std::string_view method, const std::vector<Word>& arguments,
              const std::string& where);
  int usageError(const std::string& where, const std::string& message);

  TerminalUi& ui_;
  ArgumentReader readArgument_;
  std::ostream& out_;
  std::ostream& err_;
  bool closeRequested_ = false;
  ScriptBridge bridge_;
};

}  // namespace valo::cli

#endif  // VALO_APP_CLI_BRIDGE_RUNNER_H_
