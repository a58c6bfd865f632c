#include "app/gtk/bridge_channel.h"

#include <nlohmann/json.hpp>

#include "app/bridge_reply.h"
#include "core/result_codes.h"

namespace valo::gtk {
namespace {

const char* returnKind(BridgeReturn kind) {
  switch (kind) {
    case BridgeReturn::kText:
      return "text";
    case BridgeReturn::kShort:
      return "short";
    case BridgeReturn::kNothing:
      break;
  }
  return "nothing";
}

// The page may replace XMLHttpRequest, JSON or String after the script ran; the bridge
// keeps the originals it found at document start.
constexpr char kScriptHead[] = R"JS((() => {
  'use strict';
  const XHR = window.XMLHttpRequest;
  const proto = XHR.prototype;
  const open = proto.open, send = proto.send;
  const statusOf = Object.getOwnPropertyDescriptor(proto, 'status').get;
  const textOf = Object.getOwnPropertyDescriptor(proto, 'responseText').get;
  const stringify = JSON.stringify, toText = String, toNumber = Number, apply = Reflect.apply;
  const wellFormed = String.prototype.toWellFormed;
  const asText = (value) => {
    const text = value === undefined || value === null ? '' : toText(value);
    return wellFormed ? apply(wellFormed, text, []) : text;
  };
  const call = (name, returns, args) => {
    let text = null;
    try {
      const list = [];
      for (let i = 0; i < args.length; ++i) list.push(asText(args[i]));
      const request = new XHR();
      apply(open, request, ['POST', BRIDGE_URL + name, false]);
      apply(send, request, [stringify(list)]);
      if (apply(statusOf, request, []) === 200) text = apply(textOf, request, []);
    } catch (e) {
      text = null;
    }
    if (returns === 'text') return text === null ? FAILURE_REPLY : text;
    if (returns === 'short') return text === null ? 1 : toNumber(text);
    return undefined;
  };
  const external = {};
  const define = (name, returns) => {
    external[name] = function() { return call(name, returns, arguments); };
  };
)JS";

constexpr char kScriptTail[] = R"JS(  Object.freeze(external);
  Object.defineProperty(window, 'external',
                        {value: external, writable: false, enumerable: true, configurable: false});
})();
)JS";

std::string jsonString(std::string_view text) {
  return nlohmann::json(std::string(text))
      .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace

std::string bridgeUserScript(std::span<const BridgeMethod> methods, std::string_view failureReply) {
  std::string script = kScriptHead;
  script.replace(script.find("BRIDGE_URL"), 10, jsonString(kBridgeUrl));
  script.replace(script.find("FAILURE_REPLY"), 13, jsonString(failureReply));
  for (const BridgeMethod& method : methods) {
    script += "  define(" + jsonString(method.name) + ", '" + returnKind(method.returns) + "');\n";
  }
  script += kScriptTail;
  return script;
}

std::string bridgeFailureReply() {
  return codeReply(code::kUnknownError, formatErrorMessage(code::kUnknownError));
}

std::optional<std::vector<std::string>> parseBridgeArguments(std::string_view body) {
  nlohmann::json parsed = nlohmann::json::parse(body, nullptr, /*allow_exceptions=*/false);
  if (!parsed.is_array()) return std::nullopt;
  std::vector<std::string> arguments;
  arguments.reserve(parsed.size());
  for (const nlohmann::json& element : parsed) {
    if (!element.is_string()) return std::nullopt;
    arguments.push_back(element.get<std::string>());
  }
  return arguments;
}

std::string bridgeResponseText(const BridgeReply& reply) {
  switch (reply.kind) {
    case BridgeReturn::kText:
      return reply.text;
    case BridgeReturn::kShort:
      return std::to_string(reply.number);
    case BridgeReturn::kNothing:
      break;
  }
  return std::string();
}

}  // namespace valo::gtk
