#include "gateway_service.h"

#include <chrono>
#include <optional>
#include <thread>

#include "actions.h"
#include "wire_form.h"

namespace valo::sim {
namespace {

constexpr size_t kRsaBlock = 256;
constexpr size_t kRsaValueLength = 344;

// The fault that applies to this call of the action, or null.
Json activeFault(const Json& scenario, const std::string& action, int call) {
  auto faults = scenario.find("faults");
  if (faults == scenario.end() || !faults->is_object()) return nullptr;
  auto fault = faults->find(action);
  if (fault == faults->end() || !fault->is_object()) return nullptr;
  if (fault->contains("times") && call > fault->value("times", 0)) return nullptr;
  return *fault;
}

struct OpenedValue {
  Json record;
  std::optional<std::string> plain;  // UTF-8
};

// Opens one value with `open` (nullopt when it does not open) and records it.
template <typename Open>
OpenedValue openValue(const FormField& field, Open open, std::vector<std::string>& violations) {
  OpenedValue opened;
  opened.record = {{"name", field.key}, {"sent", field.value}};
  if (field.value.empty()) {
    opened.record["plain"] = nullptr;
    opened.plain = std::string();
    return opened;
  }
  std::optional<std::string> cipher = base64DecodeStrict(field.value);
  if (!cipher) {
    violations.push_back(field.key + ": value is not Base64");
    return opened;
  }
  opened.record["cipherBytes"] = cipher->size();
  std::optional<std::string> bytes = open(*cipher);
  if (!bytes) {
    violations.push_back(field.key + ": value does not open with the action's envelope");
    return opened;
  }
  opened.record["plainHex"] = toHex(*bytes);
  opened.plain = cp950ToUtf8(*bytes);
  if (!opened.plain) {
    violations.push_back(field.key + ": plaintext is not CP950 text");
    return opened;
  }
  opened.record["plain"] = *opened.plain;
  return opened;
}

bool opensWith(const std::vector<FormField>& fields, const std::string& key) {
  for (const FormField& field : fields) {
    if (field.value.empty()) continue;
    std::optional<std::string> cipher = base64DecodeStrict(field.value);
    if (!cipher || !aesDecrypt(key, *cipher)) return false;
  }
  return true;
}

bool hasValue(const std::vector<FormField>& fields) {
  for (const FormField& field : fields) {
    if (!field.value.empty()) return true;
  }
  return false;
}

void checkParameterNames(const ActionDefinition& definition, const std::vector<FormField>& fields,
                         std::vector<std::string>& violations) {
  for (const FormField& field : fields) {
    bool known = false;
    for (const auto& name : definition.required) known = known || name == field.key;
    for (const auto& name : definition.optional) known = known || name == field.key;
    if (!known) violations.push_back(field.key + ": not a parameter of " + definition.name);
  }
  for (const auto& name : definition.required) {
    bool present = false;
    for (const FormField& field : fields) present = present || field.key == name;
    if (!present) violations.push_back(name + ": missing");
  }
}

std::string withLineBreaks(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); i += 64) out += text.substr(i, 64) + "\r\n";
  return out;
}

}  // namespace

EVP_PKEY* GatewayService::wrongRsaKey() {
  if (!wrongKey_) wrongKey_ = generateRsaKey();
  return wrongKey_.get();
}

void GatewayService::handle(const httplib::Request& request, httplib::Response& response) {
  const std::string action = request.matches[1];
  Json entry = {{"listener", "https"},
                {"method", request.method},
                {"path", request.path},
                {"action", action}};
  std::vector<std::string> violations;

  std::string contentType = request.get_header_value("Content-Type");
  entry["contentType"] = contentType;
  if (request.get_header_value_count("Content-Type") != 1 || contentType != kExpectedContentType) {
    violations.push_back("Content-Type is \"" + contentType + "\"");
  }
  if (request.method != "POST") violations.push_back("method is " + request.method);
  entry["body"] = request.body;
  FormParse form = parseForm(request.body);
  violations.insert(violations.end(), form.violations.begin(), form.violations.end());

  const ActionDefinition* definition = findAction(action);
  Json fault;
  {
    std::lock_guard<std::mutex> lock(state_.mutex);
    entry["seq"] = state_.nextSeq++;
    if (definition) {
      int call = ++state_.callCounts[action];
      entry["call"] = call;
      fault = activeFault(state_.scenario, action, call);
    }
  }
  entry["fault"] = fault;
  if (!definition) {
    violations.push_back("unknown action " + action);
    entry["violations"] = violations;
    entry["status"] = 404;
    journal_.write(entry);
    response.status = 404;
    return;
  }
  if (fault.is_object() && fault.value("delayMs", 0) > 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(fault.value("delayMs", 0)));
  }

  std::lock_guard<std::mutex> lock(state_.mutex);
  entry["envelope"] = definition->envelope == Envelope::kRsa ? "rsa" : "session";
  checkParameterNames(*definition, form.fields, violations);

  ActionRequest actionRequest;
  actionRequest.remoteAddress = request.remote_addr;
  std::optional<Session> session;
  Json params = Json::array();
  if (definition->envelope == Envelope::kRsa) {
    Json notes = Json::array();
    for (const FormField& field : form.fields) {
      if (field.value.empty()) {
        // What a client sends for a value too long for one block: allowed, but noted.
        notes.push_back(field.key + ": empty value");
      } else if (field.value.size() != kRsaValueLength) {
        violations.push_back(field.key + ": RSA value of " + std::to_string(field.value.size()) +
                             " characters");
      }
      OpenedValue opened = openValue(
          field,
          [this](const std::string& cipher) -> std::optional<std::string> {
            if (cipher.size() != kRsaBlock) return std::nullopt;
            return rsaPrivateDecrypt(key_, cipher);
          },
          violations);
      params.push_back(opened.record);
      if (opened.plain) actionRequest.params[field.key] = *opened.plain;
    }
    if (!notes.empty()) entry["notes"] = notes;
  } else {
    for (auto it = state_.sessions.rbegin(); it != state_.sessions.rend() && !session; ++it) {
      if (!hasValue(form.fields) || opensWith(form.fields, it->aeskey)) session = *it;
    }
    if (session) {
      for (const FormField& field : form.fields) {
        OpenedValue opened = openValue(
            field,
            [&session](const std::string& cipher) -> std::optional<std::string> {
              if (cipher.empty() || cipher.size() % 16 != 0) return std::nullopt;
              return aesDecrypt(session->aeskey, cipher);
            },
            violations);
        params.push_back(opened.record);
        if (opened.plain) actionRequest.params[field.key] = *opened.plain;
      }
      entry["session"] = session->userId;
      actionRequest.session = &*session;
    } else {
      for (const FormField& field : form.fields) {
        params.push_back({{"name", field.key}, {"sent", field.value}});
      }
      violations.push_back("no open session's key opens the values");
    }
  }
  entry["params"] = params;

  auto finish = [&](int status, const std::string& body) {
    entry["status"] = status;
    entry["violations"] = violations;
    journal_.write(entry);
    response.status = status;
    response.set_content(body, "text/plain");
  };

  if (definition->envelope == Envelope::kSession && !session) return finish(401, "");
  if (fault.is_object() && fault.contains("httpStatus")) {
    return finish(fault.value("httpStatus", 500), "simulated failure");
  }

  ActionReply reply = definition->handler(state_, actionRequest);
  if (fault.is_object()) {
    if (fault.contains("rtnCode")) reply.rtnCode = fault.value("rtnCode", "");
    if (fault.contains("rtnMsg")) reply.rtnMsg = fault.value("rtnMsg", "");
  }
  std::string text = reply.render();
  if (fault.is_object() && fault.contains("replyXml")) text = fault.value("replyXml", "");
  if (fault.is_object() && fault.value("notXml", false)) text = "this reply is not XML <<<";
  entry["reply"] = text;

  std::optional<std::string> wire = utf8ToCp950(text);
  if (!wire) {
    entry["simError"] = "reply not representable in CP950; sent as UTF-8";
    wire = text;
  }
  entry["replyHex"] = toHex(*wire);

  bool wrongKey = fault.is_object() && fault.value("wrongKey", false);
  std::optional<std::string> sealed;
  if (definition->envelope == Envelope::kRsa) {
    sealed = rsaPrivateEncryptBlocks(wrongKey ? wrongRsaKey() : key_, *wire);
    if (sealed && fault.is_object() && fault.contains("damageBlock")) {
      size_t at = static_cast<size_t>(fault.value("damageBlock", 0)) * kRsaBlock + 100;
      if (at < sealed->size()) (*sealed)[at] = static_cast<char>((*sealed)[at] ^ 0x5A);
    }
  } else {
    std::string key = session->aeskey.substr(0, 16);
    if (wrongKey) key = key == "0000000000000000" ? "1111111111111111" : "0000000000000000";
    sealed = aesEncrypt(key, *wire);
  }
  if (!sealed) {
    entry["simError"] = "reply could not be sealed";
    return finish(500, "");
  }
  std::string body = base64Encode(*sealed);
  if (fault.is_object() && fault.value("bodyLineBreaks", false)) body = withLineBreaks(body);
  if (fault.is_object() && fault.value("emptyBody", false)) body.clear();
  finish(200, body);
}

}  // namespace valo::sim
