#ifndef VALO_PLATFORM_UI_H_
#define VALO_PLATFORM_UI_H_

#include <string>

namespace valo::platform {

enum class MessageButtons { kOk, kOkCancel };
enum class MessageResult { kOk, kCancel };

// What the program asks of its user interface. The desktop window, the terminal and the
// scripted test UI each implement it. Every call is modal: it returns when the user has
// answered.
class Ui {
 public:
  virtual ~Ui() = default;

  // A message box; `caption` empty means the program's own caption.
  virtual MessageResult messageBox(const std::string& text, MessageButtons buttons,
                                   const std::string& caption) = 0;
  MessageResult messageBox(const std::string& text) {
    return messageBox(text, MessageButtons::kOk, std::string());
  }

  // The shared progress window: a position of 0 or above shows or updates it (title and
  // subtitle only when not empty), a negative position shows `message` as the final step
  // and hides the window.
  virtual void showProgress(const std::string& title, const std::string& subtitle, int position,
                            int range, const std::string& message) = 0;

  // The user agreement; true only when the user accepted it.
  virtual bool runAgreement() = 0;

  // The about box.
  virtual void showAbout() = 0;
};

}  // namespace valo::platform

#endif  // VALO_PLATFORM_UI_H_
