#ifndef VALO_APP_GTK_ABOUT_DIALOG_H_
#define VALO_APP_GTK_ABOUT_DIALOG_H_

#include <gtk/gtk.h>

namespace valo::gtk {

// The about box "關於 VALO": the program's icon, name and version, and an OK button.
class CAboutDlg {
 public:
  explicit CAboutDlg(GtkWindow* parent);
  ~CAboutDlg();
  CAboutDlg(const CAboutDlg&) = delete;
  CAboutDlg& operator=(const CAboutDlg&) = delete;

  // Shows the box modally until the user closes it.
  void run();

 private:
  GtkWidget* dialog_;
};

}  // namespace valo::gtk

#endif  // VALO_APP_GTK_ABOUT_DIALOG_H_
