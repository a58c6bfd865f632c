#ifndef VALO_APP_BRIDGE_REPLY_H_
#define VALO_APP_BRIDGE_REPLY_H_

#include <string>
#include <string_view>

#include "core/param_map.h"

namespace valo {

// `value` as the content of a JavaScript single-quoted string literal: backslash, quotes,
// control characters, the two Unicode line separators and "</" are escaped, so that
// evaluating '...' yields exactly `value` and no gateway text can end the literal or the
// page's script element.
std::string escapeScriptString(std::string_view value);

// Builds a reply text "{'key':'value',...}": every value inside single quotes, the
// numbers included, because the page compares fields as strings.
class ReplyBuilder {
 public:
  ReplyBuilder(int code, std::string_view message);

  ReplyBuilder& add(std::string_view key, std::string_view value);
  ReplyBuilder& add(std::string_view key, int value);
  // Every entry of `fields` in ascending key order.
  ReplyBuilder& addAll(const ParamMap& fields);

  std::string str() const { return text_ + "}"; }

 private:
  std::string text_;
};

// "{'errCode':'%d','errMsg':'%s'}".
std::string codeReply(int code, std::string_view message);

// The reply of a certificate-information query: the code and message, then, only when the
// code is 0, every field in ascending key order.
std::string certInfoReply(int code, std::string_view message, const ParamMap& fields);

}  // namespace valo

#endif  // VALO_APP_BRIDGE_REPLY_H_
