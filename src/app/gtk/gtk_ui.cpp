#include "app/gtk/gtk_ui.h"

#include "app/gtk/about_dialog.h"
#include "app/gtk/agreement_dialog.h"
#include "app/gtk/branding.h"
#include "app/gtk/message_box.h"

namespace valo::gtk {

GtkUi::GtkUi(WebHost& web, platform::Clock& clock) : web_(web), progress_(clock) {}

GtkUi::~GtkUi() = default;

GtkWindow* GtkUi::parent() const {
  if (mainWindow_ == nullptr || !gtk_widget_get_visible(GTK_WIDGET(mainWindow_))) return nullptr;
  return mainWindow_;
}

platform::MessageResult GtkUi::messageBox(const std::string& text, platform::MessageButtons buttons,
                                          const std::string& caption) {
  return runMessageBox(parent(), caption.empty() ? kProgramCaption : caption, text, buttons);
}

void GtkUi::showProgress(const std::string& title, const std::string& subtitle, int position,
                         int range, const std::string& message) {
  progress_.update(parent(), title, subtitle, position, range, message);
}

bool GtkUi::runAgreement() {
  CVALOAgmntDlg dialog(web_, parent());
  return dialog.run();
}

void GtkUi::showAbout() {
  CAboutDlg dialog(parent());
  dialog.run();
}

}  // namespace valo::gtk
