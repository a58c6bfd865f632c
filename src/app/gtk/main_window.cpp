#include "app/gtk/main_window.h"

#include <gdk/gdkkeysyms.h>

#include <cstdio>

#include "app/gtk/branding.h"
#include "app/gtk/bridge_channel.h"
#include "app/gtk/gtk_ptr.h"
#include "app/gtk/page_policy.h"
#include "app/gtk/window_chrome.h"

namespace valo::gtk {
namespace {

// How long a close waits for the page's current script to end.
constexpr guint kPageIdleWaitMs = 2000;

// No page argument list comes near this; a larger body is refused unread.
constexpr gsize kMaxBodySize = 16 * 1024 * 1024;

std::optional<std::string> readBody(WebKitURISchemeRequest* request) {
  GObjectPtr<GInputStream> stream(webkit_uri_scheme_request_get_http_body(request));
  if (!stream) return std::nullopt;
  std::string body;
  char chunk[16384];
  for (;;) {
    gsize read = 0;
    if (!g_input_stream_read_all(stream.get(), chunk, sizeof chunk, &read, nullptr, nullptr)) {
      return std::nullopt;
    }
    body.append(chunk, read);
    if (body.size() > kMaxBodySize) return std::nullopt;
    if (read < sizeof chunk) return body;
  }
}

void addUserScripts(WebKitUserContentManager* manager) {
  static const std::string source = bridgeUserScript(bridgeMethods(), bridgeFailureReply());
  // Only the program's own pages get window.external.
  static const char* const allowList[] = {"res://valo/*", nullptr};
  WebKitUserScript* script =
      webkit_user_script_new(source.c_str(), WEBKIT_USER_CONTENT_INJECT_TOP_FRAME,
                             WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, allowList, nullptr);
  webkit_user_content_manager_add_script(manager, script);
  webkit_user_script_unref(script);
  addClickBindings(manager);
}

}  // namespace

CVALODlg::CVALODlg(WebHost& web, platform::Ui& ui)
    : web_(web),
      ui_(ui),
      window_(gtk_window_new(GTK_WINDOW_TOPLEVEL)),
      contentManager_(webkit_user_content_manager_new()),
      closeWait_(g_cancellable_new()) {
  GtkWindow* window = GTK_WINDOW(window_);
  gtk_window_set_titlebar(window, buildTitleBar());
  gtk_window_set_title(window, kProgramCaption);
  setProgramIcon(window);
  gtk_window_set_resizable(window, FALSE);
  gtk_window_set_position(window, GTK_WIN_POS_CENTER);
  g_signal_connect(window_, "delete-event", G_CALLBACK(&CVALODlg::onDelete), this);
  g_signal_connect(window_, "destroy", G_CALLBACK(&CVALODlg::onDestroy), this);
  g_signal_connect(window_, "key-press-event", G_CALLBACK(&CVALODlg::onWindowKey), this);
  g_signal_connect(window_, "key-release-event", G_CALLBACK(&CVALODlg::onPageInput), this);

  addUserScripts(contentManager_);
  g_signal_connect(contentManager_, "script-message-received::valoClick",
                   G_CALLBACK(&CVALODlg::onScriptMessage), this);

  GtkWidget* view = web_.createView(contentManager_);
  view_ = WEBKIT_WEB_VIEW(view);
  // 427 x 329 dialog units.
  gtk_widget_set_size_request(view, 640, 535);
  for (const char* signal : {"button-press-event", "button-release-event", "scroll-event",
                             "touch-event", "key-press-event", "key-release-event"}) {
    g_signal_connect(view, signal, G_CALLBACK(&CVALODlg::onPageInput), this);
  }
  g_signal_connect(view, "decide-policy", G_CALLBACK(&CVALODlg::onDecidePolicy), this);
  g_signal_connect(view, "script-dialog", G_CALLBACK(&CVALODlg::onScriptDialog), this);
  g_signal_connect(view, "web-process-terminated", G_CALLBACK(&CVALODlg::onWebProcessTerminated),
                   this);
  gtk_container_add(GTK_CONTAINER(window_), view);
  gtk_widget_show(view);

  web_.setBridge(view_, [this](WebKitURISchemeRequest* request, std::string_view name) {
    handleBridgeRequest(request, name);
  });
  if (web_.automation()) web_.setAutomationView(view_);
}

CVALODlg::~CVALODlg() {
  for (guint source : {closeSource_, drainSource_, aboutSource_}) {
    if (source != 0) g_source_remove(source);
  }
  g_cancellable_cancel(closeWait_);  // a pending wait must not call back into a dead window
  g_object_unref(closeWait_);
  web_.clearBridge();
  web_.setAutomationView(nullptr);
  g_signal_handlers_disconnect_by_data(contentManager_, this);
  if (window_ != nullptr) {
    g_signal_handlers_disconnect_by_data(window_, this);
    g_signal_handlers_disconnect_by_data(view_, this);
    gtk_widget_destroy(window_);
  }
  g_object_unref(contentManager_);
}

GtkWidget* CVALODlg::buildTitleBar() {
  GtkWidget* bar = gtk_header_bar_new();
  gtk_header_bar_set_title(GTK_HEADER_BAR(bar), kProgramCaption);
  gtk_header_bar_set_show_close_button(GTK_HEADER_BAR(bar), TRUE);
  gtk_header_bar_set_decoration_layout(GTK_HEADER_BAR(bar), ":close");

  // The window menu, where the about item lives; it opens from the icon or with Alt+Space.
  GtkWidget* menu = gtk_menu_new();
  GtkWidget* about = gtk_menu_item_new_with_mnemonic(kAboutMenuItem);
  g_signal_connect(about, "activate", G_CALLBACK(&CVALODlg::onAboutItem), this);
  gtk_menu_shell_append(GTK_MENU_SHELL(menu), about);
  gtk_widget_show_all(menu);
  menuButton_ = gtk_menu_button_new();
  gtk_menu_button_set_popup(GTK_MENU_BUTTON(menuButton_), menu);
  gtk_button_set_relief(GTK_BUTTON(menuButton_), GTK_RELIEF_NONE);
  gtk_widget_set_focus_on_click(menuButton_, FALSE);
  GObjectPtr<GdkPixbuf> icon(programIcon(16));
  if (icon) gtk_button_set_image(GTK_BUTTON(menuButton_), gtk_image_new_from_pixbuf(icon.get()));
  gtk_widget_set_tooltip_text(menuButton_, kDisplayName);
  gtk_header_bar_pack_start(GTK_HEADER_BAR(bar), menuButton_);
  gtk_widget_show_all(bar);
  return bar;
}

void CVALODlg::loadPage() { webkit_web_view_load_uri(view_, WebHost::kMainPageUrl); }

void CVALODlg::run() {
  if (window_ == nullptr) return;
  running_ = true;
  if (closeRequested_) {
    // Closed during start-up: the page is never shown.
    gtk_widget_destroy(window_);
    return;
  }
  gtk_widget_show(window_);
  gtk_window_present(GTK_WINDOW(window_));
  loop_ = g_main_loop_new(nullptr, FALSE);
  if (window_ != nullptr) g_main_loop_run(loop_);
  g_main_loop_unref(loop_);
  loop_ = nullptr;
}

void CVALODlg::requestClose() {
  closeRequested_ = true;
  if (running_ && !callOpen_) scheduleClose();
}

void CVALODlg::scheduleClose() {
  if (closeScheduled_ || window_ == nullptr) return;
  closeScheduled_ = true;
  // A script evaluated now runs once the page's current script has ended; the window
  // closes then. A page that does not answer is not waited for long.
  webkit_web_view_evaluate_javascript(view_, "0", -1, nullptr, nullptr, closeWait_,
                                      &CVALODlg::onPageIdle, this);
  closeSource_ = g_timeout_add(kPageIdleWaitMs, &CVALODlg::onCloseTimeout, this);
}

void CVALODlg::onPageIdle(GObject* view, GAsyncResult* result, gpointer self) {
  GError* error = nullptr;
  JSCValue* value =
      webkit_web_view_evaluate_javascript_finish(WEBKIT_WEB_VIEW(view), result, &error);
  if (value != nullptr) g_object_unref(value);
  const bool cancelled = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
  if (error != nullptr) g_error_free(error);
  if (cancelled) return;  // the window is gone already
  static_cast<CVALODlg*>(self)->closeNow();
}

gboolean CVALODlg::onCloseTimeout(gpointer self) {
  auto* dialog = static_cast<CVALODlg*>(self);
  dialog->closeSource_ = 0;
  dialog->closeNow();
  return G_SOURCE_REMOVE;
}

void CVALODlg::closeNow() {
  closeScheduled_ = false;
  if (closeSource_ != 0) g_source_remove(closeSource_);
  closeSource_ = 0;
  // A call that began before the page's script ended closes the window when it returns.
  if (callOpen_) return;
  if (window_ != nullptr) gtk_widget_destroy(window_);
}

void CVALODlg::handleBridgeRequest(WebKitURISchemeRequest* request, std::string_view name) {
  if (callOpen_ || !dispatcher_) {
    WebHost::respondWithError(request, "a call is already open");
    return;
  }
  const std::optional<std::string> body = readBody(request);
  const auto arguments = body ? parseBridgeArguments(*body) : std::nullopt;
  if (!arguments) {
    WebHost::respondWithError(request, "malformed call");
    return;
  }
  // The call may run dialogs with loops of their own; the request must stay alive.
  GObjectPtr<WebKitURISchemeRequest> held = retain(request);
  std::optional<BridgeReply> reply;
  callOpen_ = true;
  try {
    reply = dispatcher_(name, *arguments);
  } catch (...) {
    reply.reset();  // reported to the page as a failed call, like any other failure
  }
  callOpen_ = false;
  if (reply) {
    WebHost::respond(request, bridgeResponseText(*reply), "text/plain; charset=utf-8");
  } else {
    WebHost::respondWithError(request, "the call failed");
  }
  afterCall();
}

void CVALODlg::afterCall() {
  if (window_ == nullptr) return;
  // Input that arrived while the call blocked the loop is still queued. Fetch all of it
  // now, and drop it until the loop is idle again: a click made while the page was
  // frozen must not take effect afterwards.
  gdk_display_sync(gtk_widget_get_display(window_));
  draining_ = true;
  if (drainSource_ == 0) {
    drainSource_ = g_idle_add_full(G_PRIORITY_DEFAULT_IDLE, &CVALODlg::endDraining, this, nullptr);
  }
  if (closeRequested_ && running_) scheduleClose();
}

gboolean CVALODlg::endDraining(gpointer self) {
  auto* dialog = static_cast<CVALODlg*>(self);
  dialog->drainSource_ = 0;
  dialog->draining_ = false;
  return G_SOURCE_REMOVE;
}

gboolean CVALODlg::onDelete(GtkWidget*, GdkEvent*, gpointer self) {
  auto* dialog = static_cast<CVALODlg*>(self);
  if (!dialog->callOpen_) return FALSE;  // closes at once, without logging out
  dialog->closeRequested_ = true;        // after the call returns
  return TRUE;
}

void CVALODlg::onDestroy(GtkWidget*, gpointer self) {
  auto* dialog = static_cast<CVALODlg*>(self);
  dialog->window_ = nullptr;
  if (dialog->closeSource_ != 0) g_source_remove(dialog->closeSource_);
  dialog->closeSource_ = 0;
  dialog->web_.clearBridge();
  dialog->web_.setAutomationView(nullptr);
  if (dialog->loop_ != nullptr) g_main_loop_quit(dialog->loop_);
}

gboolean CVALODlg::onWindowKey(GtkWidget*, GdkEventKey* event, gpointer self) {
  auto* dialog = static_cast<CVALODlg*>(self);
  if (dialog->inputBlocked()) return TRUE;
  // Escape never closes the window, and the page does not see it either.
  if (event->keyval == GDK_KEY_Escape) return TRUE;
  const guint modifiers = event->state & gtk_accelerator_get_default_mod_mask();
  if (event->keyval == GDK_KEY_space && modifiers == GDK_MOD1_MASK) {
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(dialog->menuButton_), TRUE);
    return TRUE;
  }
  return FALSE;
}

gboolean CVALODlg::onPageInput(GtkWidget*, GdkEvent*, gpointer self) {
  return static_cast<CVALODlg*>(self)->inputBlocked() ? TRUE : FALSE;
}

gboolean CVALODlg::onDecidePolicy(WebKitWebView* view, WebKitPolicyDecision* decision,
                                  WebKitPolicyDecisionType type, gpointer self) {
  auto* dialog = static_cast<CVALODlg*>(self);
  if (dialog->callOpen_ && type != WEBKIT_POLICY_DECISION_TYPE_RESPONSE) {
    // The page is inside a call; whatever wants to replace it now must not.
    webkit_policy_decision_ignore(decision);
    return TRUE;
  }
  return keepToOwnPages(view, decision, type) ? TRUE : FALSE;
}

gboolean CVALODlg::onScriptDialog(WebKitWebView*, WebKitScriptDialog* scriptDialog, gpointer self) {
  auto* dialog = static_cast<CVALODlg*>(self);
  const std::string text = webkit_script_dialog_get_message(scriptDialog);
  switch (webkit_script_dialog_get_dialog_type(scriptDialog)) {
    case WEBKIT_SCRIPT_DIALOG_ALERT:
      dialog->ui_.messageBox(text, platform::MessageButtons::kOk, std::string());
      return TRUE;
    case WEBKIT_SCRIPT_DIALOG_CONFIRM: {
      const platform::MessageResult answer =
          dialog->ui_.messageBox(text, platform::MessageButtons::kOkCancel, std::string());
      webkit_script_dialog_confirm_set_confirmed(scriptDialog,
                                                 answer == platform::MessageResult::kOk);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

void CVALODlg::onScriptMessage(WebKitUserContentManager*, WebKitJavascriptResult* message,
                               gpointer self) {
  // The page's ButtonCancel closes the window; ButtonOK and ButtonTest do nothing.
  if (scriptMessageText(message) == "ButtonCancel") static_cast<CVALODlg*>(self)->requestClose();
}

void CVALODlg::onWebProcessTerminated(WebKitWebView* view, WebKitWebProcessTerminationReason reason,
                                      gpointer) {
  if (reason == WEBKIT_WEB_PROCESS_TERMINATED_BY_API) return;
  // The page's process died under it; a fresh page is better than a blank window.
  std::fprintf(stderr, "valo: the page's process ended unexpectedly; reloading the page\n");
  webkit_web_view_load_uri(view, WebHost::kMainPageUrl);
}

void CVALODlg::onAboutItem(GtkMenuItem*, gpointer self) {
  auto* dialog = static_cast<CVALODlg*>(self);
  // Run the box once the menu has closed, not from inside its handler.
  if (dialog->aboutSource_ == 0) dialog->aboutSource_ = g_idle_add(&CVALODlg::showAboutLater, self);
}

gboolean CVALODlg::showAboutLater(gpointer self) {
  auto* dialog = static_cast<CVALODlg*>(self);
  dialog->aboutSource_ = 0;
  dialog->ui_.showAbout();
  return G_SOURCE_REMOVE;
}

}  // namespace valo::gtk
