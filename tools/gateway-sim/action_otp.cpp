// doSendOTP, doVerifyOTP: one-time passwords. The code "sent by text message" is written
// to the outbox file (and the simulator's output), where tests and the demo read it.
#include <openssl/rand.h>

#include <cstdio>
#include <fstream>
#include <iostream>

#include "actions.h"

namespace valo::sim {
namespace {

std::string freshSixDigitCode() {
  uint32_t value = 0;
  while (RAND_bytes(reinterpret_cast<unsigned char*>(&value), sizeof value) != 1) {
  }
  char text[8];
  std::snprintf(text, sizeof text, "%06u", value % 1000000u);
  return text;
}

void deliver(const SimState& state, const Json& message) {
  std::cout << "valo-gateway-sim: OTP " << message.dump() << std::endl;
  const std::string outbox = state.scenario.value("otpOutbox", "");
  if (outbox.empty()) return;
  std::ofstream out(outbox, std::ios::app);
  out << message.dump() << "\n";
}

}  // namespace

ActionReply handleDoSendOtp(SimState& state, const ActionRequest& request) {
  ActionReply reply;
  const std::string id = request.param("id");
  const Json* user = state.user(id);
  if (!user) {
    reply.rtnCode = "1";
    reply.rtnMsg = "查無此使用者";
    return reply;
  }
  OtpCode sent{freshSixDigitCode(), request.param("otpType")};
  deliver(state, {{"id", id},
                  {"phone", user->value("phone", "")},
                  {"otpType", sent.otpType},
                  {"opType", request.param("opType")},
                  {"code", sent.code}});
  state.otpCodes[id] = sent;
  reply.rtnMsg = "OTP 已發送";
  return reply;
}

ActionReply handleDoVerifyOtp(SimState& state, const ActionRequest& request) {
  ActionReply reply;
  auto sent = state.otpCodes.find(request.param("id"));
  if (sent == state.otpCodes.end() || sent->second.code != request.param("authCode") ||
      sent->second.otpType != request.param("otpType")) {
    reply.rtnCode = "1";
    reply.rtnMsg = "OTP 驗證碼錯誤";
    return reply;
  }
  // One time: a verified code is spent.
  state.otpCodes.erase(sent);
  reply.rtnMsg = "OTP 驗證成功";
  return reply;
}

}  // namespace valo::sim
