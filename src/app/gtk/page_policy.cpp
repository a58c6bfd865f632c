#include "app/gtk/page_policy.h"

#include <gtk/gtk.h>

#include "app/gtk/web_host.h"

namespace valo::gtk {

void openOutside(WebKitWebView* view, const char* uri) {
  GtkWidget* toplevel = gtk_widget_get_toplevel(GTK_WIDGET(view));
  GtkWindow* window = GTK_IS_WINDOW(toplevel) ? GTK_WINDOW(toplevel) : nullptr;
  gtk_show_uri_on_window(window, uri, GDK_CURRENT_TIME, nullptr);
}

bool keepToOwnPages(WebKitWebView* view, WebKitPolicyDecision* decision,
                    WebKitPolicyDecisionType type) {
  if (type != WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION &&
      type != WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION) {
    return false;
  }
  WebKitNavigationAction* action = webkit_navigation_policy_decision_get_navigation_action(
      WEBKIT_NAVIGATION_POLICY_DECISION(decision));
  const char* uri = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
  if (uri == nullptr) {
    webkit_policy_decision_ignore(decision);
    return true;
  }
  if (type == WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION && WebHost::isOwnUri(uri)) {
    return false;
  }
  if (webkit_navigation_action_is_user_gesture(action) &&
      (g_str_has_prefix(uri, "https://") || g_str_has_prefix(uri, "http://") ||
       g_str_has_prefix(uri, "mailto:"))) {
    openOutside(view, uri);
  }
  webkit_policy_decision_ignore(decision);
  return true;
}

bool trimContextMenu(WebKitContextMenu* menu) {
  GList* items = g_list_copy(webkit_context_menu_get_items(menu));
  for (GList* node = items; node != nullptr; node = node->next) {
    auto* item = static_cast<WebKitContextMenuItem*>(node->data);
    switch (webkit_context_menu_item_get_stock_action(item)) {
      case WEBKIT_CONTEXT_MENU_ACTION_COPY:
      case WEBKIT_CONTEXT_MENU_ACTION_CUT:
      case WEBKIT_CONTEXT_MENU_ACTION_PASTE:
      case WEBKIT_CONTEXT_MENU_ACTION_DELETE:
      case WEBKIT_CONTEXT_MENU_ACTION_SELECT_ALL:
      case WEBKIT_CONTEXT_MENU_ACTION_INPUT_METHODS:
      case WEBKIT_CONTEXT_MENU_ACTION_UNICODE:
      case WEBKIT_CONTEXT_MENU_ACTION_PASTE_AS_PLAIN_TEXT:
        break;
      default:
        webkit_context_menu_remove(menu, item);
    }
  }
  g_list_free(items);
  return webkit_context_menu_get_n_items(menu) == 0;
}

void addClickBindings(WebKitUserContentManager* manager) {
  static constexpr char kScript[] = R"JS((() => {
  const handler = window.webkit.messageHandlers.valoClick;
  for (const id of ['ButtonOK', 'ButtonCancel', 'ButtonTest']) {
    const element = document.getElementById(id);
    if (element) element.addEventListener('click', () => handler.postMessage(id));
  }
})();
)JS";
  webkit_user_content_manager_register_script_message_handler(manager, kClickHandler);
  WebKitUserScript* script =
      webkit_user_script_new(kScript, WEBKIT_USER_CONTENT_INJECT_TOP_FRAME,
                             WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_END, nullptr, nullptr);
  webkit_user_content_manager_add_script(manager, script);
  webkit_user_script_unref(script);
}

std::string scriptMessageText(WebKitJavascriptResult* message) {
  JSCValue* value = webkit_javascript_result_get_js_value(message);
  if (!jsc_value_is_string(value)) return std::string();
  char* text = jsc_value_to_string(value);
  std::string result = text != nullptr ? text : "";
  g_free(text);
  return result;
}

}  // namespace valo::gtk
