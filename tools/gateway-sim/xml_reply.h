#ifndef VALO_GATEWAY_SIM_XML_REPLY_H_
#define VALO_GATEWAY_SIM_XML_REPLY_H_

#include <string>
#include <string_view>

#include "sim_state.h"

namespace valo::sim {

std::string xmlEscape(std::string_view text);
// <name>escaped text</name>
std::string xmlElement(std::string_view name, std::string_view text);
// A JSON value as an element: text for strings (numbers and booleans as written),
// child elements for an object, an empty element for null.
std::string jsonToXml(std::string_view name, const Json& value);

// What a handler answers: the common fields and the action's own, already as XML.
struct ActionReply {
  std::string rtnCode = "0";
  std::string rtnMsg;
  std::string fieldsXml;

  void add(std::string_view name, std::string_view text) { fieldsXml += xmlElement(name, text); }
  // The whole document, UTF-8.
  std::string render() const;
};

}  // namespace valo::sim

#endif  // VALO_GATEWAY_SIM_XML_REPLY_H_
