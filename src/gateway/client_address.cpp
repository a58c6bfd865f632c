#include "gateway/client_address.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>

#include "core/result_codes.h"
#include "gateway/http_transport.h"

namespace valo {
namespace {

// Keeps only ASCII digits and dots (the answer filter "[^0-9\.]" removes everything
// else).
std::string digitsAndDots(const std::string& answer) {
  std::string kept;
  for (char c : answer) {
    if ((c >= '0' && c <= '9') || c == '.') kept.push_back(c);
  }
  return kept;
}

std::string askEchoService(const GatewayEndpoint& endpoint, const std::string& url) {
  std::string body;
  if (url.empty() || httpGetBytes(endpoint.pinnedCaPem, url, body) != code::kSuccess) {
    return std::string();
  }
  return digitsAndDots(body);
}

}  // namespace

std::string discoverClientAddress(const GatewayEndpoint& endpoint) {
  std::string address = askEchoService(endpoint, endpoint.echoUrl1);
  if (address.empty()) address = askEchoService(endpoint, endpoint.echoUrl2);
  if (address.empty()) address = localIpv4Address();
  return address;
}

std::string localIpv4Address() {
  char hostName[1024] = {};
  if (gethostname(hostName, sizeof hostName - 1) != 0) return std::string();

  addrinfo hints{};
  hints.ai_flags = AI_PASSIVE;
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_DGRAM;
  addrinfo* raw = nullptr;
  if (getaddrinfo(hostName, nullptr, &hints, &raw) != 0) return std::string();
  std::unique_ptr<addrinfo, decltype(&freeaddrinfo)> list(raw, freeaddrinfo);

  std::string result;
  for (const addrinfo* entry = list.get(); entry; entry = entry->ai_next) {
    if (entry->ai_family != AF_INET || !entry->ai_addr) continue;
    char text[INET_ADDRSTRLEN] = {};
    const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ai_addr);
    if (inet_ntop(AF_INET, &address->sin_addr, text, sizeof text)) result = text;
  }
  return result;
}

}  // namespace valo
