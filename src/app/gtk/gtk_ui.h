#ifndef VALO_APP_GTK_GTK_UI_H_
#define VALO_APP_GTK_GTK_UI_H_

#include <gtk/gtk.h>

#include <string>

#include "app/gtk/progress_dialog.h"
#include "app/gtk/web_host.h"
#include "platform/clock.h"
#include "platform/ui.h"

namespace valo::gtk {

// The desktop's user interface: GTK message boxes with the program's caption, the shared
// progress window, the agreement dialog and the about box. Every dialog is modal over the
// main window once the main window is on screen; before that (the start-up check runs
// while it is still hidden) the dialogs stand alone in the middle of the screen.
class GtkUi : public platform::Ui {
 public:
  // `clock` times the progress window's pauses.
  GtkUi(WebHost& web, platform::Clock& clock);
  ~GtkUi() override;

  // The main window, the parent of every dialog; null when there is none.
  void setMainWindow(GtkWindow* window) { mainWindow_ = window; }

  platform::MessageResult messageBox(const std::string& text, platform::MessageButtons buttons,
                                     const std::string& caption) override;
  using platform::Ui::messageBox;
  void showProgress(const std::string& title, const std::string& subtitle, int position, int range,
                    const std::string& message) override;
  bool runAgreement() override;
  void showAbout() override;

  const CVALOPrcsDlg& progressDialog() const { return progress_; }

 private:
  // The main window when it is shown, else null.
  GtkWindow* parent() const;

  WebHost& web_;
  GtkWindow* mainWindow_ = nullptr;
  CVALOPrcsDlg progress_;
};

}  // namespace valo::gtk

#endif  // VALO_APP_GTK_GTK_UI_H_
