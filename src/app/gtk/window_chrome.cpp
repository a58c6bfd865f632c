#include "app/gtk/window_chrome.h"

#include <chrono>

#include "app/gtk/gtk_ptr.h"
#include "app/gtk/web_host.h"

namespace valo::gtk {

GtkWidget* installTitleBar(GtkWindow* window, const char* title, bool closeButton) {
  GtkWidget* bar = gtk_header_bar_new();
  gtk_header_bar_set_title(GTK_HEADER_BAR(bar), title);
  gtk_header_bar_set_show_close_button(GTK_HEADER_BAR(bar), closeButton ? TRUE : FALSE);
  // Only the close button: these windows are never minimised or maximised.
  gtk_header_bar_set_decoration_layout(GTK_HEADER_BAR(bar), ":close");
  gtk_widget_show(bar);
  gtk_window_set_titlebar(window, bar);
  gtk_window_set_title(window, title);
  return bar;
}

void setTitle(GtkWindow* window, const char* title) {
  gtk_window_set_title(window, title);
  GtkWidget* bar = gtk_window_get_titlebar(window);
  if (bar != nullptr && GTK_IS_HEADER_BAR(bar)) {
    gtk_header_bar_set_title(GTK_HEADER_BAR(bar), title);
  }
}

GdkPixbuf* programIcon(int size) {
  GdkPixbuf* icon =
      gdk_pixbuf_new_from_resource_at_scale(WebHost::kIconResource, size, size, TRUE, nullptr);
  return icon;
}

void setProgramIcon(GtkWindow* window) {
  GObjectPtr<GdkPixbuf> icon(programIcon(128));
  if (icon) gtk_window_set_icon(window, icon.get());
}

namespace {

gboolean markDrawn(GtkWidget*, cairo_t*, gpointer drawn) {
  *static_cast<bool*>(drawn) = true;
  return FALSE;
}

}  // namespace

void repaintNow(GtkWidget* window) {
  if (!gtk_widget_get_visible(window)) return;
  bool drawn = false;
  const gulong handler = g_signal_connect_after(window, "draw", G_CALLBACK(markDrawn), &drawn);
  gtk_widget_queue_draw(window);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(500);
  while (!drawn && std::chrono::steady_clock::now() < deadline) {
    if (!g_main_context_iteration(nullptr, FALSE)) g_usleep(1000);
  }
  g_signal_handler_disconnect(window, handler);
  gdk_display_flush(gtk_widget_get_display(window));
}

}  // namespace valo::gtk
