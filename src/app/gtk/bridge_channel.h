#ifndef VALO_APP_GTK_BRIDGE_CHANNEL_H_
#define VALO_APP_GTK_BRIDGE_CHANNEL_H_

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/script_bridge.h"

namespace valo::gtk {

// How window.external reaches the program. Each method of the page makes a synchronous
// XMLHttpRequest: POST <kBridgeUrl><method name>, the body a JSON array of the arguments
// as strings (UTF-8); the response text is the reply. The page is blocked for the whole
// call, exactly as a call into the window's dispatch interface blocks it.
//
// A failed call (no such method, wrong argument count, a broken request) never becomes a
// script error on the page: the method answers the failure reply (text methods), 1
// (doLogout) or undefined.

// Where the page's bridge requests go; same origin as the pages, so the request is allowed.
inline constexpr char kBridgeUrl[] = "res://valo/__bridge/";
inline constexpr char kBridgePathPrefix[] = "/__bridge/";

// The user script that installs a frozen window.external with one method per entry of
// `methods`, each forwarding its arguments over the channel. `failureReply` is what a
// text method answers when the call itself fails.
std::string bridgeUserScript(std::span<const BridgeMethod> methods, std::string_view failureReply);

// The reply text of text methods whose call failed: code 1 with its error text.
std::string bridgeFailureReply();

// The arguments of a request body: a JSON array whose every element is a string.
// nullopt when the body is anything else.
std::optional<std::vector<std::string>> parseBridgeArguments(std::string_view body);

// The response text for a reply: the text itself, the number in decimal, or nothing.
std::string bridgeResponseText(const BridgeReply& reply);

}  // namespace valo::gtk

#endif  // VALO_APP_GTK_BRIDGE_CHANNEL_H_
