#ifndef VALO_PLATFORM_LINUX_REG_FILE_SYNTAX_H_
#define VALO_PLATFORM_LINUX_REG_FILE_SYNTAX_H_

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/registry.h"

namespace valo::platform {

// One value line of a registry export file, the form a person knows from `.reg` files:
//
//   "Name"="text"                REG_SZ; `\` and `"` are escaped with a backslash
//   @="text"                     the key's default value (name "")
//   "Name"=dword:0000002a        REG_DWORD, eight hex digits
//   "Name"=hex:01,ff,...         REG_BINARY, long lists wrapped with ",\" and an indent
//   "Name"=hex(2):25,00,...      REG_EXPAND_SZ as UTF-16LE bytes with a terminating zero
//   "Name"=hex(1):0a,00,...      REG_SZ holding a control character (line break, tab, zero),
//                                which the quoted form cannot carry on one line
//
// The file itself is UTF-8 (Windows writes UTF-16). Bytes of a text that are not valid
// UTF-8 survive the UTF-16 forms as the code units U+DC80..U+DCFF, so every stored text
// reads back byte for byte.

// The line for one value (possibly several physical lines joined by ",\" wraps), without
// the final line break.
std::string formatValueLine(const std::string& name, const RegistryValue& value);

// The value a line describes, or nullopt when the line is damaged or holds a type this
// registry does not keep. Continuation lines must already be joined (see
// isContinuedValueLine).
std::optional<std::pair<std::string, RegistryValue>> parseValueLine(std::string_view line);

// True when a hex value line goes on in the next physical line (it ends with "\").
bool isContinuedValueLine(std::string_view line);

// A key or value name the file can hold: no line break and no zero byte.
bool isStorableName(std::string_view name);

}  // namespace valo::platform

#endif  // VALO_PLATFORM_LINUX_REG_FILE_SYNTAX_H_
