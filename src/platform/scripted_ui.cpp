#include "platform/scripted_ui.h"

namespace valo::platform {

ScriptedUi::ScriptedUi() : messageBoxAnswers_(MessageResult::kCancel), agreementAnswers_(false) {}

MessageResult ScriptedUi::messageBox(const std::string& text, MessageButtons buttons,
                                     const std::string& caption) {
  MessageResult answer = MessageResult::kOk;
  bool scripted = false;
  if (buttons == MessageButtons::kOkCancel) answer = messageBoxAnswers_.next(scripted);
  messageBoxes_.push_back(MessageBoxCall{text, buttons, caption, answer, scripted});
  transcript_.push_back("messageBox: " + text);
  return answer;
}

void ScriptedUi::showProgress(const std::string& title, const std::string& subtitle, int position,
                              int range, const std::string& message) {
  progressCalls_.push_back(ProgressCall{title, subtitle, position, range, message});
  transcript_.push_back("progress: " + title + "|" + subtitle + "|" + std::to_string(position) +
                        "|" + std::to_string(range) + "|" + message);
}

bool ScriptedUi::runAgreement() {
  bool scripted = false;
  const bool accepted = agreementAnswers_.next(scripted);
  agreementCalls_.push_back(AgreementCall{accepted, scripted});
  transcript_.push_back("agreement");
  return accepted;
}

void ScriptedUi::showAbout() {
  ++aboutCount_;
  transcript_.push_back("about");
}

std::vector<std::string> ScriptedUi::messageTexts() const {
  std::vector<std::string> texts;
  for (const MessageBoxCall& call : messageBoxes_) texts.push_back(call.text);
  return texts;
}

size_t ScriptedUi::unusedAnswers() const {
  return messageBoxAnswers_.remaining() + agreementAnswers_.remaining();
}

}  // namespace valo::platform
