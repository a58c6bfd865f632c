#include "app/gtk/message_box.h"

#include "app/gtk/branding.h"
#include "app/gtk/window_chrome.h"

namespace valo::gtk {

platform::MessageResult runMessageBox(GtkWindow* parent, const std::string& caption,
                                      const std::string& text, platform::MessageButtons buttons) {
  GtkWidget* dialog = gtk_message_dialog_new(parent, GTK_DIALOG_MODAL, GTK_MESSAGE_OTHER,
                                             GTK_BUTTONS_NONE, "%s", text.c_str());
  installTitleBar(GTK_WINDOW(dialog), caption.c_str(), /*closeButton=*/true);
  setProgramIcon(GTK_WINDOW(dialog));
  gtk_window_set_position(GTK_WINDOW(dialog),
                          parent != nullptr ? GTK_WIN_POS_CENTER_ON_PARENT : GTK_WIN_POS_CENTER);
  gtk_dialog_add_button(GTK_DIALOG(dialog), kOkLabel, GTK_RESPONSE_OK);
  if (buttons == platform::MessageButtons::kOkCancel) {
    gtk_dialog_add_button(GTK_DIALOG(dialog), kCancelLabel, GTK_RESPONSE_CANCEL);
  }
  gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
  const gint response = gtk_dialog_run(GTK_DIALOG(dialog));
  gtk_widget_destroy(dialog);
  if (buttons == platform::MessageButtons::kOk || response == GTK_RESPONSE_OK) {
    return platform::MessageResult::kOk;
  }
  return platform::MessageResult::kCancel;
}

}  // namespace valo::gtk
