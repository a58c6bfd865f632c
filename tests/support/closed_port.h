#ifndef VALO_TESTS_SUPPORT_CLOSED_PORT_H_
#define VALO_TESTS_SUPPORT_CLOSED_PORT_H_

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace valo::test {

// A loopback port nothing listens on: one the system just handed out and took back.
inline int closedLoopbackPort() {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  int port = 0;
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
    port = ntohs(address.sin_port);
  }
  close(fd);
  return port;
}

}  // namespace valo::test

#endif  // VALO_TESTS_SUPPORT_CLOSED_PORT_H_
