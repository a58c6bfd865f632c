#ifndef VALO_TESTS_SUPPORT_GATEWAY_SIM_PROCESS_H_
#define VALO_TESTS_SUPPORT_GATEWAY_SIM_PROCESS_H_

#include <sys/types.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "gateway/gateway_endpoint.h"

namespace valo::test {

// One valo-gateway-sim process for one test: started on free loopback ports with the
// test's scenario, in a private state folder, stopped (and the folder removed) by the
// destructor. Several run side by side without clashing.
//
// The binary and the demo keys are the build tree's (compiled in as VALO_GATEWAY_SIM_BINARY
// and VALO_GATEWAY_SIM_DEMO_DIR).
class GatewaySimProcess {
 public:
  struct Options {
    // Scenario JSON; the top-level keys it names replace the simulator's demo defaults.
    std::string scenario = "{}";
    // HTTPS certificate and key; empty for the demo certificate under the demo CA.
    std::string serverCert;
    std::string serverKey;
  };

  explicit GatewaySimProcess(const std::string& scenario = "{}");
  explicit GatewaySimProcess(Options options);
  ~GatewaySimProcess();
  GatewaySimProcess(const GatewaySimProcess&) = delete;
  GatewaySimProcess& operator=(const GatewaySimProcess&) = delete;

  // True once the simulator listens; otherwise error() says why.
  bool ready() const { return httpsPort_ > 0; }
  const std::string& error() const { return error_; }

  int httpsPort() const { return httpsPort_; }
  int httpPort() const { return httpPort_; }
  // "https://127.0.0.1:<port>/VEZIR/api/"
  std::string baseUrl() const;
  // "http://127.0.0.1:<port>"
  std::string httpBase() const;

  // An endpoint for this simulator: its base URL, the demo public key, the demo CA
  // pinned, its two echo services, code page CP950.
  GatewayEndpoint endpoint() const;

  // Every journal line written so far, in order.
  std::vector<nlohmann::json> journal() const;
  // The journal lines of one gateway action.
  std::vector<nlohmann::json> journalOf(const std::string& action) const;

  // Stops the simulator and returns its exit status (0 after a clean stop, -1 when it
  // died of a signal or was not running). The simulator's output is in its log.
  int stop();
  std::string log() const;

  static std::string binaryPath();
  static std::string demoFile(const std::string& name);

 private:
  void start(const Options& options);

  std::string stateDir_;
  pid_t pid_ = -1;
  int stdinPipe_ = -1;
  int httpsPort_ = 0;
  int httpPort_ = 0;
  std::string error_;
};

}  // namespace valo::test

#endif  // VALO_TESTS_SUPPORT_GATEWAY_SIM_PROCESS_H_
