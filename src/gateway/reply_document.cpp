#include "gateway/reply_document.h"

#include "core/text_util.h"

namespace valo {
namespace {

std::string elementText(const tinyxml2::XMLElement* element) {
  const char* text = element ? element->GetText() : nullptr;
  return text ? std::string(text) : std::string();
}

}  // namespace

ReplyDocument::ReplyDocument(std::string_view text) {
  wellFormed_ = document_.Parse(text.data(), text.size()) == tinyxml2::XML_SUCCESS;
}

const tinyxml2::XMLElement* ReplyDocument::root() const {
  return wellFormed_ ? document_.FirstChildElement() : nullptr;
}

std::string ReplyDocument::field(const char* name) const {
  const tinyxml2::XMLElement* top = root();
  return top ? elementText(top->FirstChildElement(name)) : std::string();
}

ParamMap ReplyDocument::allFields() const {
  ParamMap fields;
  const tinyxml2::XMLElement* top = root();
  if (!top) return fields;
  for (const tinyxml2::XMLElement* child = top->FirstChildElement(); child;
       child = child->NextSiblingElement()) {
    fields[child->Name()] = elementText(child);
  }
  return fields;
}

ParamMap ReplyDocument::allFieldsWithoutCodes() const {
  ParamMap fields = allFields();
  fields.erase("rtnCode");
  fields.erase("rtnMsg");
  return fields;
}

int checkReply(std::string_view reply, std::string& rtnCode, std::string& rtnMsg) {
  rtnCode.clear();
  rtnMsg.clear();
  std::string trimmed = trimWhiteSpace(reply);
  if (trimmed.empty()) return kReplyEmpty;
  ReplyDocument document(trimmed);
  if (!document.wellFormed()) return kReplyNotXml;
  if (!document.hasRoot()) return kReplyNoRoot;
  rtnCode = document.field("rtnCode");
  rtnMsg = document.field("rtnMsg");
  return 0;
}

}  // namespace valo
