#include "app/cli/terminal_ui.h"

#include <chrono>

#include "core/text_util.h"
#include "session/sys_config.h"

namespace valo::cli {
namespace {

// Erases from the cursor to the end of the line, so a shorter redraw leaves no remnant.
constexpr char kEraseToEndOfLine[] = "\x1b[K";

std::string lowerAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + ('a' - 'A'));
  }
  return text;
}

}  // namespace

TerminalUi::TerminalUi(std::istream& in, std::ostream& out, platform::Clock& clock,
                       TerminalUiOptions options)
    : in_(in), out_(out), clock_(clock), options_(std::move(options)) {}

TerminalUi::~TerminalUi() { endProgressLine(); }

void TerminalUi::endProgressLine() {
  if (!progressLineOpen_) return;
  out_ << '\n' << std::flush;
  progressLineOpen_ = false;
}

platform::MessageResult TerminalUi::messageBox(const std::string& text,
                                               platform::MessageButtons buttons,
                                               const std::string& caption) {
  endProgressLine();
  if (buttons == platform::MessageButtons::kOk) {
    out_ << text << '\n' << std::flush;
    return platform::MessageResult::kOk;
  }
  if (!caption.empty()) out_ << caption << '\n';
  return ask(text) ? platform::MessageResult::kOk : platform::MessageResult::kCancel;
}

void TerminalUi::showProgress(const std::string& title, const std::string& /*subtitle*/,
                              int position, int range, const std::string& message) {
  if (position >= 0) {
    progress_.update(title, position, range, message);
    if (options_.progressOnTerminal) {
      out_ << '\r' << progress_.barLine() << kEraseToEndOfLine << std::flush;
      progressLineOpen_ = true;
    } else {
      out_ << progress_.plainLine() << '\n' << std::flush;
    }
    return;
  }
  progress_.finish(message);
  if (options_.progressOnTerminal) {
    out_ << '\r' << progress_.finalLine() << kEraseToEndOfLine << '\n' << std::flush;
    progressLineOpen_ = false;
  } else {
    out_ << progress_.finalLine() << '\n' << std::flush;
  }
  // The window leaves its last step up for a second before it hides.
  clock_.sleepFor(std::chrono::milliseconds(1000));
}

bool TerminalUi::runAgreement() {
  endProgressLine();
  if (!options_.agreementText.empty()) out_ << options_.agreementText << '\n';
  return ask("我同意以上用戶約定條款");
}

void TerminalUi::showAbout() {
  endProgressLine();
  out_ << "關於 VALO\n"
       << "VALO V " << kClientVersion << '\n'
       << std::flush;
}

bool TerminalUi::ask(const std::string& question) {
  out_ << question << " [y/N] ";
  switch (options_.autoAnswer) {
    case AutoAnswer::kYes:
      out_ << "y\n" << std::flush;
      return true;
    case AutoAnswer::kNo:
      out_ << "n\n" << std::flush;
      return false;
    case AutoAnswer::kNone:
      break;
  }
  if (!options_.interactive) {
    // Nobody can answer: take the default, and say so in the output.
    out_ << "n\n" << std::flush;
    return false;
  }
  out_ << std::flush;
  std::string answer;
  while (std::getline(in_, answer)) {
    answer = lowerAscii(trimWhiteSpace(answer));
    if (answer == "y" || answer == "yes") return true;
    if (answer.empty() || answer == "n" || answer == "no") return false;
    out_ << "[y/N] " << std::flush;
  }
  out_ << '\n' << std::flush;
  return false;
}

}  // namespace valo::cli
