#include "app/gtk/about_dialog.h"

#include "app/gtk/branding.h"
#include "app/gtk/gtk_ptr.h"
#include "app/gtk/window_chrome.h"

namespace valo::gtk {

CAboutDlg::CAboutDlg(GtkWindow* parent) : dialog_(gtk_dialog_new()) {
  GtkWindow* window = GTK_WINDOW(dialog_);
  installTitleBar(window, kAboutCaption, /*closeButton=*/true);
  setProgramIcon(window);
  gtk_window_set_modal(window, TRUE);
  gtk_window_set_resizable(window, FALSE);
  gtk_window_set_skip_taskbar_hint(window, TRUE);
  if (parent != nullptr) {
    gtk_window_set_transient_for(window, parent);
    gtk_window_set_position(window, GTK_WIN_POS_CENTER_ON_PARENT);
  } else {
    gtk_window_set_position(window, GTK_WIN_POS_CENTER);
  }

  GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 16);
  gtk_container_set_border_width(GTK_CONTAINER(row), 12);
  GObjectPtr<GdkPixbuf> icon(programIcon(48));
  if (icon)
    gtk_box_pack_start(GTK_BOX(row), gtk_image_new_from_pixbuf(icon.get()), FALSE, FALSE, 0);
  GtkWidget* lines = gtk_box_new(GTK_ORIENTATION_VERTICAL, 6);
  GtkWidget* name = gtk_label_new(kProgramCaption);
  GtkWidget* copyright = gtk_label_new("Copyright (C) 2024");
  gtk_label_set_xalign(GTK_LABEL(name), 0);
  gtk_label_set_xalign(GTK_LABEL(copyright), 0);
  gtk_box_pack_start(GTK_BOX(lines), name, FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(lines), copyright, FALSE, FALSE, 0);
  gtk_box_pack_start(GTK_BOX(row), lines, TRUE, TRUE, 0);
  gtk_box_pack_start(GTK_BOX(gtk_dialog_get_content_area(GTK_DIALOG(dialog_))), row, TRUE, TRUE, 0);
  gtk_widget_show_all(row);

  gtk_dialog_add_button(GTK_DIALOG(dialog_), kOkLabel, GTK_RESPONSE_OK);
  gtk_dialog_set_default_response(GTK_DIALOG(dialog_), GTK_RESPONSE_OK);
  // About 170 x 62 dialog units.
  gtk_window_set_default_size(window, 255, 101);
}

CAboutDlg::~CAboutDlg() { gtk_widget_destroy(dialog_); }

void CAboutDlg::run() { gtk_dialog_run(GTK_DIALOG(dialog_)); }

}  // namespace valo::gtk
