#ifndef VALO_GATEWAY_REPLY_DOCUMENT_H_
#define VALO_GATEWAY_REPLY_DOCUMENT_H_

#include <tinyxml2.h>

#include <string>
#include <string_view>

#include "core/param_map.h"

namespace valo {

// A gateway reply parsed as XML. Its root is the first element at the top level (a
// declaration or comments before it are skipped; its name is not checked); every field
// is a child element of the root whose text (its first child node, when that is text) is
// the value.
class ReplyDocument {
 public:
  explicit ReplyDocument(std::string_view text);
  ReplyDocument(const ReplyDocument&) = delete;
  ReplyDocument& operator=(const ReplyDocument&) = delete;

  // The text is well-formed XML.
  bool wellFormed() const { return wellFormed_; }
  // Well-formed and with a root element.
  bool hasRoot() const { return root() != nullptr; }

  // The text of the root's first child element named `name`; empty when there is none or
  // it has no text.
  std::string field(const char* name) const;

  // Every child element of the root in document order, name -> text; with repeated
  // names the last one counts.
  ParamMap allFields() const;
  // allFields() without `rtnCode` and `rtnMsg`.
  ParamMap allFieldsWithoutCodes() const;

 private:
  const tinyxml2::XMLElement* root() const;

  tinyxml2::XMLDocument document_;
  bool wellFormed_ = false;
};

// Statuses of checkReply.
inline constexpr int kReplyEmpty = 100;
inline constexpr int kReplyNotXml = 200;
inline constexpr int kReplyNoRoot = 210;

// The common first look at a reply. Empties both out-parameters, then returns 100 when the
// text is only white space, 200 when it is not well-formed, 210 when it has no root;
// otherwise sets `rtnCode` and `rtnMsg` from the root's first such children and returns
// 0, whatever the value of `rtnCode`.
int checkReply(std::string_view reply, std::string& rtnCode, std::string& rtnMsg);

}  // namespace valo

#endif  // VALO_GATEWAY_REPLY_DOCUMENT_H_
