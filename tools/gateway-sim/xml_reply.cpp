#include "xml_reply.h"

namespace valo::sim {

std::string xmlEscape(std::string_view text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out.push_back(c);
    }
  }
  return out;
}

std::string xmlElement(std::string_view name, std::string_view text) {
  return "<" + std::string(name) + ">" + xmlEscape(text) + "</" + std::string(name) + ">";
}

std::string jsonToXml(std::string_view name, const Json& value) {
  if (value.is_null()) return "<" + std::string(name) + "/>";
  if (value.is_string()) return xmlElement(name, value.get<std::string>());
  if (value.is_object()) {
    std::string inner;
    for (auto it = value.begin(); it != value.end(); ++it) inner += jsonToXml(it.key(), it.value());
    return "<" + std::string(name) + ">" + inner + "</" + std::string(name) + ">";
  }
  return xmlElement(name, value.dump());
}

std::string ActionReply::render() const {
  return "<?xml version=\"1.0\" encoding=\"Big5\"?>\n<result>" + xmlElement("rtnCode", rtnCode) +
         xmlElement("rtnMsg", rtnMsg) + fieldsXml + "</result>\n";
}

}  // namespace valo::sim
