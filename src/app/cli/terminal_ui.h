#ifndef VALO_APP_CLI_TERMINAL_UI_H_
#define VALO_APP_CLI_TERMINAL_UI_H_

#include <istream>
#include <ostream>
#include <string>

#include "app/cli/command_line.h"
#include "app/cli/progress_line.h"
#include "platform/clock.h"
#include "platform/ui.h"

namespace valo::cli {

struct TerminalUiOptions {
  // Questions may be put to the user on the input stream (it is a terminal).
  bool interactive = false;
  // The output stream is a terminal: progress is one line redrawn in place.
  bool progressOnTerminal = false;
  // An answer given on the command line; it is used without asking, terminal or not.
  AutoAnswer autoAnswer = AutoAnswer::kNone;
  // Shown before the agreement question when not empty.
  std::string agreementText;
};

// The user interface of the terminal. Everything it shows goes to `out` (standard error,
// so that standard output carries only replies); answers are read from `in`. Message
// boxes are their text; an OK/Cancel question is a y/n prompt whose default is Cancel,
// answered by --yes/--no when given and Cancel when nobody can be asked; the progress
// window is a bar redrawn on one terminal line, or one plain line per update elsewhere.
class TerminalUi : public platform::Ui {
 public:
  TerminalUi(std::istream& in, std::ostream& out, platform::Clock& clock,
             TerminalUiOptions options);
  // Ends a progress line left open.
  ~TerminalUi() override;
  TerminalUi(const TerminalUi&) = delete;
  TerminalUi& operator=(const TerminalUi&) = delete;

  platform::MessageResult messageBox(const std::string& text, platform::MessageButtons buttons,
                                     const std::string& caption) override;
  using platform::Ui::messageBox;
  void showProgress(const std::string& title, const std::string& subtitle, int position, int range,
                    const std::string& message) override;
  bool runAgreement() override;
  void showAbout() override;

  // Ends the progress line being redrawn, so that whatever comes next on the terminal
  // starts on a line of its own.
  void endProgressLine();

 private:
  // Puts `question` with a [y/N] prompt; true for yes.
  bool ask(const std::string& question);

  std::istream& in_;
  std::ostream& out_;
  platform::Clock& clock_;
  TerminalUiOptions options_;
  ProgressLine progress_;
  bool progressLineOpen_ = false;
};

}  // namespace valo::cli

#endif  // VALO_APP_CLI_TERMINAL_UI_H_
