#include "sim_state.h"

namespace valo::sim {

Json defaultScenario() {
  return Json::parse(R"json({
  "acceptedVersions": ["1.3"],
  "users": [
    {"id": "A123456789", "password": "demo1234", "phone": "0912345678",
     "email": "demo@example.com", "cn": "A123456789-00-00", "fnStatus": "30001",
     "certCount": 0, "effectCertCount": 0}
  ],
  "sessions": [],
  "sysConfig": {
    "app.dlUrl": "${httpBase}/download/app",
    "noskCpnt.dlUrl": "${httpBase}/download/noskCpnt",
    "component.activeX.classId32": "6E1E5D12-0C3B-4B8E-9C39-7D2B5F0A9E01",
    "component.activeX.version32": "1.0.0.1",
    "default.pfxFilePath": "#userHome#/NOSK",
    "default.pfxFileName": "#cn#.pfx",
    "pfx.pwd.prompt": "密碼長度須為 8 至 16 個字元, 並包含英文字母及數字",
    "pfx.pwd.minLen": "8",
    "pfx.pwd.maxLen": "16",
    "pfx.pwd.digit": "1",
    "pfx.pwd.UCAlph": "0",
    "pfx.pwd.LCAlph": "1",
    "pfx.pwd.punctuation": "0",
    "cert.expType": "pfx,ieCertStore",
    "cert.readOrder": "pfx,ieCertStore",
    "depCert.autoDeploy": "N",
    "depCert.mode": "1",
    "depCert.targetUrl": "${httpBase}/trade/",
    "depCert.templateUrl": "${httpBase}/template",
    "depCert.selectedBrowser": "",
    "version": "1.3"
  },
  "faults": {},
  "echo": {},
  "downloads": {
    "app": {"size": 4096},
    "noskCpnt": {"size": 4096}
  },
  "template": "<html><body>VALO deployment template</body></html>",
  "registrySettings": [
    {"regPath": "Software\\NOSK\\VALO\\Options", "regName": "KeepAliveMinutes",
     "regValue": "5", "regValueType": "DW"}
  ]
})json");
}

Json mergeScenario(Json defaults, const Json& scenario) {
  for (auto it = scenario.begin(); it != scenario.end(); ++it) defaults[it.key()] = it.value();
  return defaults;
}

void expandPlaceholders(Json& value, const std::map<std::string, std::string>& values) {
  if (value.is_string()) {
    std::string text = value.get<std::string>();
    for (const auto& [name, replacement] : values) {
      std::string token = "${" + name + "}";
      for (size_t at = text.find(token); at != std::string::npos;
           at = text.find(token, at + replacement.size())) {
        text.replace(at, token.size(), replacement);
      }
    }
    value = text;
  } else if (value.is_structured()) {
    for (auto& child : value) expandPlaceholders(child, values);
  }
}

namespace {

const Json* findUser(const Json& scenario, const char* field, const std::string& wanted) {
  auto users = scenario.find("users");
  if (users == scenario.end() || !users->is_array()) return nullptr;
  for (const Json& u : *users) {
    if (u.is_object() && u.value(field, "") == wanted) return &u;
  }
  return nullptr;
}

}  // namespace

const Json* SimState::user(const std::string& id) const { return findUser(scenario, "id", id); }

const Json* SimState::userByCn(const std::string& cn) const { return findUser(scenario, "cn", cn); }

}  // namespace valo::sim
