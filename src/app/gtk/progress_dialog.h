#ifndef VALO_APP_GTK_PROGRESS_DIALOG_H_
#define VALO_APP_GTK_PROGRESS_DIALOG_H_

#include <gtk/gtk.h>

#include <string>

#include "platform/clock.h"

namespace valo::gtk {

// The progress window long operations update step by step: caption "處理進度" until a
// title is given, a progress bar and one centred text line, no close button. Its window is
// created on first use and afterwards only shown and hidden, so caption, range and
// position carry over from one operation to the next. While shown it is modal: the
// operation keeps the page blocked, and clicks must not queue up on it.
class CVALOPrcsDlg {
 public:
  explicit CVALOPrcsDlg(platform::Clock& clock);
  ~CVALOPrcsDlg();
  CVALOPrcsDlg(const CVALOPrcsDlg&) = delete;
  CVALOPrcsDlg& operator=(const CVALOPrcsDlg&) = delete;

  // One step. `position` 0 or above: the title (when not empty) becomes the caption, the
  // subtitle (when not empty) and then `message` the text line, the bar shows `position`
  // of 0..`range`; the window is shown over `parent` (may be null) and stays 100 ms.
  // Negative `position`: `message` is shown for one second, then the window is hidden.
  void update(GtkWindow* parent, const std::string& title, const std::string& subtitle,
              int position, int range, const std::string& message);

  // What the window shows (for the tests that look at it); null before first use.
  GtkWindow* window() const { return window_ != nullptr ? GTK_WINDOW(window_) : nullptr; }
  std::string caption() const;
  std::string text() const;
  double fraction() const;
  bool shown() const;

 private:
  void create(GtkWindow* parent);
  void setRange(int range);
  void setPosition(int position);
  void setText(const std::string& text);
  void showOver(GtkWindow* parent);

  platform::Clock& clock_;
  GtkWidget* window_ = nullptr;
  GtkWidget* bar_ = nullptr;
  GtkWidget* label_ = nullptr;
  int range_ = 100;
  int position_ = 0;
};

}  // namespace valo::gtk

#endif  // VALO_APP_GTK_PROGRESS_DIALOG_H_
