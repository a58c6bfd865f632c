#ifndef VALO_PLATFORM_SCRIPTED_UI_H_
#define VALO_PLATFORM_SCRIPTED_UI_H_

#include <deque>
#include <string>
#include <vector>

#include "platform/ui.h"

namespace valo::platform {

// Answers handed out in order; the fallback when none is left.
template <typename Answer>
class AnswerQueue {
 public:
  explicit AnswerQueue(Answer fallback) : fallback_(fallback) {}
  void push(Answer answer) { answers_.push_back(answer); }
  // The next answer, or the fallback; `scripted` tells which.
  Answer next(bool& scripted) {
    scripted = !answers_.empty();
    if (!scripted) return fallback_;
    Answer answer = answers_.front();
    answers_.pop_front();
    return answer;
  }
  size_t remaining() const { return answers_.size(); }

 private:
  std::deque<Answer> answers_;
  Answer fallback_;
};

// A user interface without a user, for tests and scripted runs: it answers from queues
// filled in advance and records everything it was asked.
//
// Unscripted answers are the ones that change nothing: an OK/Cancel message box answers
// Cancel and the agreement is declined. OK-only message boxes answer OK and take nothing
// from the queue. Each record notes whether its answer was scripted, so a test can tell
// a question it did not expect.
class ScriptedUi : public Ui {
 public:
  struct MessageBoxCall {
    std::string text;
    MessageButtons buttons;
    std::string caption;
    MessageResult answer;
    bool scripted;
  };
  struct ProgressCall {
    std::string title;
    std::string subtitle;
    int position;
    int range;
    std::string message;
    bool operator==(const ProgressCall&) const = default;
  };
  struct AgreementCall {
    bool accepted;
    bool scripted;
  };

  ScriptedUi();

  // Answers for the coming OK/Cancel message boxes and agreements, in order.
  void queueMessageBoxAnswer(MessageResult answer) { messageBoxAnswers_.push(answer); }
  void queueAgreementAnswer(bool accept) { agreementAnswers_.push(accept); }

  using Ui::messageBox;
  MessageResult messageBox(const std::string& text, MessageButtons buttons,
                           const std::string& caption) override;
  void showProgress(const std::string& title, const std::string& subtitle, int position, int range,
                    const std::string& message) override;
  bool runAgreement() override;
  void showAbout() override;

  const std::vector<MessageBoxCall>& messageBoxes() const { return messageBoxes_; }
  // The texts of every message box, in order.
  std::vector<std::string> messageTexts() const;
  const std::vector<ProgressCall>& progressCalls() const { return progressCalls_; }
  const std::vector<AgreementCall>& agreementCalls() const { return agreementCalls_; }
  int aboutCount() const { return aboutCount_; }
  // Every call of any kind in order, one line each, e.g. "messageBox: <text>",
  // "progress: <title>|<subtitle>|<position>|<range>|<message>", "agreement", "about".
  const std::vector<std::string>& transcript() const { return transcript_; }
  // Answers queued but not asked for.
  size_t unusedAnswers() const;

 private:
  AnswerQueue<MessageResult> messageBoxAnswers_;
  AnswerQueue<bool> agreementAnswers_;
  std::vector<MessageBoxCall> messageBoxes_;
  std::vector<ProgressCall> progressCalls_;
  std::vector<AgreementCall> agreementCalls_;
  int aboutCount_ = 0;
  std::vector<std::string> transcript_;
};

}  // namespace valo::platform

#endif  // VALO_PLATFORM_SCRIPTED_UI_H_
