#ifndef VALO_APP_SCRIPT_BRIDGE_H_
#define VALO_APP_SCRIPT_BRIDGE_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "session/context.h"

namespace valo {

class ClientCore;

enum class BridgeReturn { kNothing, kText, kShort };

struct BridgeMethod {
  const char* name;
  int parameterCount;
  BridgeReturn returns;
};

// The 24 methods the page may call, in dispatch order (dispatch id = position + 1).
std::span<const BridgeMethod> bridgeMethods();

// The method of that name, matched without regard to ASCII case as the page's host
// matches names; nullptr when there is none.
const BridgeMethod* findBridgeMethod(std::string_view name);

struct BridgeReply {
  BridgeReturn kind = BridgeReturn::kNothing;
  std::string text;    // kText: the reply text the page evaluates
  int16_t number = 0;  // kShort: the result code's low 16 bits
};

// The page's only way into the program. Each call converts nothing (arguments and
// replies are UTF-8), runs one operation of the core and formats its reply. Every value
// placed in a reply is escaped as JavaScript single-quoted string content, so the page's
// eval('(' + reply + ')') yields exactly the value. No failure leaves a call as an
// exception.
class ScriptBridge {
 public:
  // `closeWindow` asks the host to close the main window (it must not block).
  ScriptBridge(Context& context, std::function<void()> closeWindow);
  ~ScriptBridge();
  ScriptBridge(const ScriptBridge&) = delete;
  ScriptBridge& operator=(const ScriptBridge&) = delete;

  // Runs the method `name` with `arguments`. nullopt when there is no such method or the
  // argument count differs from the method's parameter count.
  std::optional<BridgeReply> call(std::string_view name, const std::vector<std::string>& arguments);

 private:
  ClientCore& core();

  Context& context_;
  std::function<void()> closeWindow_;
  std::unique_ptr<ClientCore> core_;
};

}  // namespace valo

#endif  // VALO_APP_SCRIPT_BRIDGE_H_
