#ifndef VALO_APP_GTK_AGREEMENT_DIALOG_H_
#define VALO_APP_GTK_AGREEMENT_DIALOG_H_

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include "app/gtk/web_host.h"

namespace valo::gtk {

// The user agreement: a modal window showing the agreement page. The page's own script
// shows "下一步" (ButtonOK) once its check box is checked; pressing it accepts. The close
// button, Escape and a ButtonCancel on the page decline.
class CVALOAgmntDlg {
 public:
  CVALOAgmntDlg(WebHost& web, GtkWindow* parent);
  ~CVALOAgmntDlg();
  CVALOAgmntDlg(const CVALOAgmntDlg&) = delete;
  CVALOAgmntDlg& operator=(const CVALOAgmntDlg&) = delete;

  // Runs the dialog modally; true only when the user pressed "下一步".
  bool run();

 private:
  enum class Result { kOpen, kOk, kCancel };
  void finish(Result result);
  static void onScriptMessage(WebKitUserContentManager* manager, WebKitJavascriptResult* message,
                              gpointer self);
  static gboolean onDelete(GtkWidget* widget, GdkEvent* event, gpointer self);
  static gboolean onKey(GtkWidget* widget, GdkEventKey* event, gpointer self);
  static gboolean onDecidePolicy(WebKitWebView* view, WebKitPolicyDecision* decision,
                                 WebKitPolicyDecisionType type, gpointer self);

  GtkWidget* window_;
  WebKitUserContentManager* contentManager_;
  GMainLoop* loop_ = nullptr;
  Result result_ = Result::kOpen;
};

}  // namespace valo::gtk

#endif  // VALO_APP_GTK_AGREEMENT_DIALOG_H_
