// doLogin, doLogout, iAmAlive, getFnStatus: the login session.
#include <algorithm>

#include "actions.h"
#include "sim_crypto.h"

namespace valo::sim {
namespace {

std::string textOf(const Json& user, const char* field) {
  auto it = user.find(field);
  if (it == user.end() || it->is_null()) return std::string();
  return it->is_string() ? it->get<std::string>() : it->dump();
}

}  // namespace

ActionReply handleDoLogin(SimState& state, const ActionRequest& request) {
  ActionReply reply;
  const Json* user = state.user(request.param("id"));
  if (!user || textOf(*user, "password") != request.param("pwd")) {
    reply.rtnCode = "1";
    reply.rtnMsg = "身分證字號或密碼錯誤";
    return reply;
  }
  std::string key = textOf(*user, "aeskey");
  if (key.empty()) key = randomAlphanumeric(16);
  state.sessions.push_back({key, textOf(*user, "id")});
  reply.rtnMsg = "登入成功";
  reply.add("aeskey", key);
  reply.add("phone", textOf(*user, "phone"));
  reply.add("email", textOf(*user, "email"));
  return reply;
}

ActionReply handleDoLogout(SimState& state, const ActionRequest& request) {
  ActionReply reply;
  reply.rtnMsg = "登出成功";
  if (request.session) {
    std::string key = request.session->aeskey;
    std::erase_if(state.sessions, [&key](const Session& s) { return s.aeskey == key; });
  }
  return reply;
}

ActionReply handleIAmAlive(SimState& /*state*/, const ActionRequest& /*request*/) {
  ActionReply reply;
  reply.rtnMsg = "連線中";
  return reply;
}

ActionReply handleGetFnStatus(SimState& state, const ActionRequest& request) {
  ActionReply reply;
  const Json* user = state.userByCn(request.param("cn"));
  if (!user) {
    reply.rtnCode = "1";
    reply.rtnMsg = "查無此憑證使用者";
    return reply;
  }
  reply.rtnMsg = "查詢成功";
  reply.add("fnStatus", textOf(*user, "fnStatus"));
  reply.add("certCount", textOf(*user, "certCount"));
  reply.add("effectCertCount", textOf(*user, "effectCertCount"));
  return reply;
}

}  // namespace valo::sim
