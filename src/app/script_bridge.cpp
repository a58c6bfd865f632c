#include "app/script_bridge.h"

#include <openssl/rand.h>
#include <sys/stat.h>

#include <array>
#include <cstdio>

#include "app/bridge_reply.h"
#include "app/client_core.h"
#include "app/post_login_checks.h"
#include "core/result_codes.h"

namespace valo {
namespace {

using enum BridgeReturn;

constexpr std::array<BridgeMethod, 24> kMethods = {{
    {"doTest", 1, kNothing},
    {"iAmAlive", 0, kNothing},
    {"getClientPfxFilePath", 0, kText},
    {"getClientVersion", 0, kText},
    {"doLogin", 2, kText},
    {"doLogout", 1, kShort},
    {"getFnStatus", 1, kText},
    {"crtNewCert", 1, kText},
    {"replaceCert", 1, kText},
    {"dlCert", 1, kText},
    {"qrySvrCertInfo", 1, kText},
    {"qryClntCertInfo", 1, kText},
    {"qryIECertInfo", 1, kText},
    {"impUserCert", 1, kText},
    {"bakUserCert", 1, kText},
    {"changePfxPwd", 1, kText},
    {"deployCert", 1, kText},
    {"openFileManager", 1, kNothing},
    {"closeApp", 0, kNothing},
    {"getRandom", 0, kText},
    {"isDepCertAuto", 0, kText},
    {"isClientDepCertAble", 0, kText},
    {"sendOtp", 2, kText},
    {"validateOtp", 1, kText},
}};

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

BridgeReply textReply(std::string text) { return {kText, std::move(text), 0}; }

// The reply of an operation this build does not provide yet: code 1, "不明的錯誤".
BridgeReply unavailableReply(std::string_view method) {
  const int code = code::kUnknownError;
  if (method == "doLogout") return {kShort, {}, static_cast<int16_t>(code)};
  for (const BridgeMethod& m : kMethods) {
    if (m.name == method && m.returns == kNothing) return {};
  }
  return textReply(codeReply(code, formatErrorMessage(code)));
}

// A number drawn from the system's cryptographic source, in 0 to 1 inclusive; 0 when the
// source fails.
double drawRandomFraction() {
  uint32_t value = 0;
  if (RAND_bytes(reinterpret_cast<unsigned char*>(&value), sizeof value) != 1) value = 0;
  return value / 4294967295.0;
}

bool pathExists(const std::string& path) {
  struct stat info;
  return !path.empty() && ::stat(path.c_str(), &info) == 0;
}

}  // namespace

std::span<const BridgeMethod> bridgeMethods() { return kMethods; }

const BridgeMethod* findBridgeMethod(std::string_view name) {
  for (const BridgeMethod& m : kMethods) {
    if (equalsIgnoringAsciiCase(m.name, name)) return &m;
  }
  return nullptr;
}

ScriptBridge::ScriptBridge(Context& context, std::function<void()> closeWindow)
    : context_(context), closeWindow_(std::move(closeWindow)) {}

ScriptBridge::~ScriptBridge() = default;

ClientCore& ScriptBridge::core() {
  if (!core_) core_ = std::make_unique<ClientCore>();
  return *core_;
}

std::optional<BridgeReply> ScriptBridge::call(std::string_view name,
                                              const std::vector<std::string>& arguments) {
  const BridgeMethod* method = findBridgeMethod(name);
  if (method == nullptr || static_cast<int>(arguments.size()) != method->parameterCount) {
    return std::nullopt;
  }
  const std::string_view canonical = method->name;
  try {
    if (canonical == "doTest") return BridgeReply{};
    if (canonical == "getClientVersion") {
      return textReply(ReplyBuilder(0, "").add("clientVersion", kClientVersion).str());
    }
    if (canonical == "getClientPfxFilePath") {
      const std::string path = context_.config.userPfxFilePath();
      return textReply(ReplyBuilder(0, "")
                           .add("pfxFilePath", path)
                           .add("pfxFileExist", pathExists(path) ? "Y" : "N")
                           .str());
    }
    if (canonical == "openFileManager") {
      core().openFileManager(context_, arguments[0]);
      return BridgeReply{};
    }
    if (canonical == "closeApp") {
      if (closeWindow_) closeWindow_();
      return BridgeReply{};
    }
    if (canonical == "doLogin") {
      std::string message;
      std::string phone;
      std::string email;
      const int result = core().login(context_, arguments[0], arguments[1], message, phone, email);
      if (result != code::kSuccess) return textReply(codeReply(result, message));
      // Whatever the checks do, the reply that follows is the success reply.
      runPostLoginChecks(context_);
      return textReply(ReplyBuilder(result, message).add("phone", phone).add("email", email).str());
    }
    if (canonical == "doLogout") {
      std::string message;
      const int result = core().logout(context_, message);
      // The page only tells zero from non-zero; the low 16 bits are what it receives.
      return BridgeReply{kShort, {}, static_cast<int16_t>(result)};
    }
    if (canonical == "iAmAlive") {
      core().keepAlive(context_);
      return BridgeReply{};
    }
    if (canonical == "getFnStatus") {
      const std::string cn = core().resolveCn(context_, arguments[0]);
      std::string message;
      FunctionStatus status;
      const int result = core().queryFnStatus(context_, cn, message, status);
      return textReply(ReplyBuilder(result, message)
                           .add("fnStatus", status.fnStatus)
                           .add("certCount", status.certCount)
                           .add("effectCertCount", status.effectCertCount)
                           .str());
    }
    if (canonical == "sendOtp") {
      std::string message;
      const int result = core().postSendOtp(context_, arguments[0], arguments[1], message);
      return textReply(codeReply(result, message));
    }
    if (canonical == "validateOtp") {
      std::string message;
      const int result = core().postVerifyOtp(context_, arguments[0], message);
      return textReply(codeReply(result, message));
    }
    if (canonical == "getRandom") {
      char number[64];
      std::snprintf(number, sizeof number, "%f", drawRandomFraction());
      return textReply(ReplyBuilder(0, "").add("rnd", number).str());
    }
    return unavailableReply(canonical);
  } catch (...) {
    // Nothing may leave a bridge call as an exception: the page gets the generic failure.
    return unavailableReply(canonical);
  }
}

}  // namespace valo
