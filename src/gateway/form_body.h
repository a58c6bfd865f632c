#ifndef VALO_GATEWAY_FORM_BODY_H_
#define VALO_GATEWAY_FORM_BODY_H_

#include <string>
#include <string_view>

#include "core/param_map.h"

namespace valo {

// URL encoding of a form value, byte by byte: ASCII letters and digits are copied, each
// white-space byte (space, \t, \n, \v, \f, \r) becomes "+", every other byte "%XX" with
// upper-case hexadecimal digits.
std::string urlEncodeFormValue(std::string_view value);

// The form body: "key=encoded-value" pairs in ascending key order joined by "&". Keys
// are written as they are. An empty map gives the empty text.
std::string buildFormBody(const ParamMap& params);

}  // namespace valo

#endif  // VALO_GATEWAY_FORM_BODY_H_
