#ifndef VALO_GATEWAY_SIM_WIRE_FORM_H_
#define VALO_GATEWAY_SIM_WIRE_FORM_H_

#include <string>
#include <string_view>
#include <vector>

namespace valo::sim {

struct FormField {
  std::string key;
  std::string value;  // URL-decoded
};

struct FormParse {
  std::vector<FormField> fields;  // in body order
  std::vector<std::string> violations;
};

// Reads a form body and checks it against the client's wire rules: "key=value" pairs
// joined by single "&", keys unencoded and strictly ascending (byte-wise), values with
// ASCII letters and digits as they are, white space as "+", every other byte as "%XX"
// with upper-case digits (and nothing else percent-encoded).
FormParse parseForm(std::string_view body);

// The header value the client must send, exactly.
inline constexpr char kExpectedContentType[] = "application/x-www-form-urlencoded; charset: UTF-8";

}  // namespace valo::sim

#endif  // VALO_GATEWAY_SIM_WIRE_FORM_H_
