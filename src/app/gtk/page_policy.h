#ifndef VALO_APP_GTK_PAGE_POLICY_H_
#define VALO_APP_GTK_PAGE_POLICY_H_

#include <webkit2/webkit2.h>

#include <string>

namespace valo::gtk {

// The views show the program's own pages only. A link to anywhere else opens in the
// user's browser instead of replacing the page; a request for a new window likewise.
// Returns true when the decision was taken (the navigation is ignored).
bool keepToOwnPages(WebKitWebView* view, WebKitPolicyDecision* decision,
                    WebKitPolicyDecisionType type);

// Opens `uri` with the desktop's handler, over the window of `view`.
void openOutside(WebKitWebView* view, const char* uri);

// Leaves only the editing entries (copy, cut, paste, select all, input methods) in a
// page's context menu; true when nothing is left to show.
bool trimContextMenu(WebKitContextMenu* menu);

// The click bindings of a dialog page: a click on the element with id "ButtonOK",
// "ButtonCancel" or "ButtonTest" posts that id to the script message handler
// kClickHandler of `manager`, where the window acts on it.
inline constexpr char kClickHandler[] = "valoClick";
void addClickBindings(WebKitUserContentManager* manager);

// The text of a script message (empty when it is not a string).
std::string scriptMessageText(WebKitJavascriptResult* message);

}  // namespace valo::gtk

#endif  // VALO_APP_GTK_PAGE_POLICY_H_
