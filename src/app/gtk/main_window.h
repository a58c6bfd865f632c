#ifndef VALO_APP_GTK_MAIN_WINDOW_H_
#define VALO_APP_GTK_MAIN_WINDOW_H_

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/gtk/web_host.h"
#include "app/script_bridge.h"
#include "platform/ui.h"

namespace valo::gtk {

// The main window: the program's caption, about 640 x 535 pixels, not resizable, a close
// button and the window menu with the about item; the whole client area is the main
// page, whose window.external reaches the program through the bridge channel.
//
// While a bridge call is open the page is blocked, and the window keeps it that way
// safely: a close (close button, closeApp, the page's ButtonCancel) waits until the call
// has returned, navigation is refused, and clicks and keys aimed at the page are dropped
// rather than delivered after the call. Escape and Enter do nothing by themselves.
class CVALODlg {
 public:
  using Dispatcher = std::function<std::optional<BridgeReply>(
      std::string_view method, const std::vector<std::string>& arguments)>;

  // `ui` shows the page's alert and confirm boxes and the about box.
  CVALODlg(WebHost& web, platform::Ui& ui);
  ~CVALODlg();
  CVALODlg(const CVALODlg&) = delete;
  CVALODlg& operator=(const CVALODlg&) = delete;

  // Where the page's calls go.
  void setDispatcher(Dispatcher dispatcher) { dispatcher_ = std::move(dispatcher); }

  // Starts loading the main page; the window stays hidden until run.
  void loadPage();

  // Shows the window and returns when it has closed. When a close was asked for before,
  // the window closes without being shown.
  void run();

  // Asks the window to close (closeApp, the start-up check, the page's ButtonCancel).
  // Never blocks: the window closes once the open bridge call, if any, has returned and
  // the page's script has run to its end (so a script may go on after closeApp), or as
  // soon as run starts.
  void requestClose();
  bool closeRequested() const { return closeRequested_; }

  // Null once the window has closed.
  GtkWindow* window() const { return window_ != nullptr ? GTK_WINDOW(window_) : nullptr; }
  WebKitWebView* view() const { return view_; }

 private:
  GtkWidget* buildTitleBar();
  void handleBridgeRequest(WebKitURISchemeRequest* request, std::string_view name);
  void afterCall();
  void scheduleClose();
  void closeNow();
  bool inputBlocked() const { return callOpen_ || draining_; }

  static gboolean onDelete(GtkWidget* widget, GdkEvent* event, gpointer self);
  static void onDestroy(GtkWidget* widget, gpointer self);
  static gboolean onWindowKey(GtkWidget* widget, GdkEventKey* event, gpointer self);
  static gboolean onPageInput(GtkWidget* widget, GdkEvent* event, gpointer self);
  static gboolean onDecidePolicy(WebKitWebView* view, WebKitPolicyDecision* decision,
                                 WebKitPolicyDecisionType type, gpointer self);
  static gboolean onScriptDialog(WebKitWebView* view, WebKitScriptDialog* dialog, gpointer self);
  static void onScriptMessage(WebKitUserContentManager* manager, WebKitJavascriptResult* message,
                              gpointer self);
  static void onWebProcessTerminated(WebKitWebView* view, WebKitWebProcessTerminationReason reason,
                                     gpointer self);
  static void onAboutItem(GtkMenuItem* item, gpointer self);
  static gboolean showAboutLater(gpointer self);
  static void onPageIdle(GObject* view, GAsyncResult* result, gpointer self);
  static gboolean onCloseTimeout(gpointer self);
  static gboolean endDraining(gpointer self);

  WebHost& web_;
  platform::Ui& ui_;
  Dispatcher dispatcher_;
  GtkWidget* window_;
  GtkWidget* menuButton_ = nullptr;
  WebKitUserContentManager* contentManager_;
  WebKitWebView* view_ = nullptr;
  GMainLoop* loop_ = nullptr;

  bool running_ = false;
  bool callOpen_ = false;
  bool draining_ = false;
  bool closeRequested_ = false;
  GCancellable* closeWait_;
  bool closeScheduled_ = false;
  guint closeSource_ = 0;
  guint drainSource_ = 0;
  guint aboutSource_ = 0;
};

}  // namespace valo::gtk

#endif  // VALO_APP_GTK_MAIN_WINDOW_H_
