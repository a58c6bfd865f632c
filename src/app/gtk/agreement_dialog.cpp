#include "app/gtk/agreement_dialog.h"

#include <gdk/gdkkeysyms.h>

#include "app/gtk/branding.h"
#include "app/gtk/page_policy.h"
#include "app/gtk/window_chrome.h"

namespace valo::gtk {

CVALOAgmntDlg::CVALOAgmntDlg(WebHost& web, GtkWindow* parent)
    : window_(gtk_window_new(GTK_WINDOW_TOPLEVEL)),
      contentManager_(webkit_user_content_manager_new()) {
  GtkWindow* window = GTK_WINDOW(window_);
  installTitleBar(window, kAgreementCaption, /*closeButton=*/true);
  setProgramIcon(window);
  gtk_window_set_modal(window, TRUE);
  gtk_window_set_resizable(window, FALSE);
  gtk_window_set_skip_taskbar_hint(window, TRUE);
  gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_DIALOG);
  gtk_window_set_transient_for(window, parent);
  gtk_window_set_position(window,
                          parent != nullptr ? GTK_WIN_POS_CENTER_ON_PARENT : GTK_WIN_POS_CENTER);
  g_signal_connect(window_, "delete-event", G_CALLBACK(&CVALOAgmntDlg::onDelete), this);
  g_signal_connect(window_, "key-press-event", G_CALLBACK(&CVALOAgmntDlg::onKey), this);

  addClickBindings(contentManager_);
  g_signal_connect(contentManager_, "script-message-received::valoClick",
                   G_CALLBACK(&CVALOAgmntDlg::onScriptMessage), this);
  GtkWidget* view = web.createView(contentManager_);
  g_signal_connect(view, "decide-policy", G_CALLBACK(&CVALOAgmntDlg::onDecidePolicy), this);
  // About 369 x 224 dialog units.
  gtk_widget_set_size_request(view, 554, 364);
  gtk_container_add(GTK_CONTAINER(window_), view);
  gtk_widget_show(view);
  webkit_web_view_load_uri(WEBKIT_WEB_VIEW(view), WebHost::kAgreementPageUrl);
}

CVALOAgmntDlg::~CVALOAgmntDlg() {
  g_signal_handlers_disconnect_by_data(contentManager_, this);
  gtk_widget_destroy(window_);
  g_object_unref(contentManager_);
}

bool CVALOAgmntDlg::run() {
  result_ = Result::kOpen;
  gtk_widget_show(window_);
  gtk_window_present(GTK_WINDOW(window_));
  loop_ = g_main_loop_new(nullptr, FALSE);
  g_main_loop_run(loop_);
  g_main_loop_unref(loop_);
  loop_ = nullptr;
  gtk_widget_hide(window_);
  return result_ == Result::kOk;
}

void CVALOAgmntDlg::finish(Result result) {
  if (result_ != Result::kOpen) return;
  result_ = result;
  if (loop_ != nullptr) g_main_loop_quit(loop_);
}

void CVALOAgmntDlg::onScriptMessage(WebKitUserContentManager*, WebKitJavascriptResult* message,
                                    gpointer self) {
  const std::string id = scriptMessageText(message);
  auto* dialog = static_cast<CVALOAgmntDlg*>(self);
  if (id == "ButtonOK") dialog->finish(Result::kOk);
  if (id == "ButtonCancel") dialog->finish(Result::kCancel);
}

gboolean CVALOAgmntDlg::onDelete(GtkWidget*, GdkEvent*, gpointer self) {
  static_cast<CVALOAgmntDlg*>(self)->finish(Result::kCancel);
  return TRUE;  // the window is destroyed by its owner, not by the close button
}

gboolean CVALOAgmntDlg::onKey(GtkWidget*, GdkEventKey* event, gpointer self) {
  if (event->keyval != GDK_KEY_Escape) return FALSE;
  static_cast<CVALOAgmntDlg*>(self)->finish(Result::kCancel);
  return TRUE;
}

gboolean CVALOAgmntDlg::onDecidePolicy(WebKitWebView* view, WebKitPolicyDecision* decision,
                                       WebKitPolicyDecisionType type, gpointer) {
  return keepToOwnPages(view, decision, type) ? TRUE : FALSE;
}

}  // namespace valo::gtk
