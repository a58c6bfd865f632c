// valo-gateway-sim: the project's registration-authority gateway for tests and the demo.
// HTTPS on loopback for the gateway actions, plain HTTP for the echo services, the
// deployment template and downloads. Test keys only; never linked into the client.
#include <httplib.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>

#include "gateway_service.h"
#include "journal.h"
#include "plain_service.h"
#include "sim_crypto.h"
#include "sim_state.h"

namespace {

using valo::sim::Json;

constexpr char kUsage[] =
    "usage: valo-gateway-sim [options]\n"
    "  --host ADDRESS       listening address (default 127.0.0.1)\n"
    "  --port N             HTTPS port of the gateway actions (default 8443; 0 = any free)\n"
    "  --http-port N        plain-HTTP port of echo, template, downloads (default 8080; 0 = any)\n"
    "  --port-file FILE     write {\"https\":N,\"http\":N} here once both listen\n"
    "  --scenario FILE      scenario (JSON); keys it names replace the demo defaults\n"
    "  --journal FILE       append one JSON line per request\n"
    "  --state-dir DIR      folder for the simulator's files (journal.jsonl, ports.json\n"
    "                       unless given otherwise)\n"
    "  --demo-dir DIR       folder of the demo keys (default: the source tree's)\n"
    "  --private-key FILE   envelope private key (default DEMO/gateway-private.pem)\n"
    "  --server-cert FILE   HTTPS certificate (default DEMO/server.pem)\n"
    "  --server-key FILE    its key (default DEMO/server-key.pem)\n"
    "  --stop-on-stdin-eof 1  stop when standard input ends (the parent that started us\n"
    "                       has gone), so a crashed test leaves no simulator behind\n";

struct Options {
  std::string host = "127.0.0.1";
  int port = 8443;
  int httpPort = 8080;
  std::string portFile;
  std::string scenario;
  std::string journal;
  std::string stateDir;
  std::string demoDir = VALO_SIM_DEMO_DIR;
  std::string privateKey;
  std::string serverCert;
  std::string serverKey;
  bool stopOnStdinEof = false;
};

bool parseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    std::string name = argv[i];
    if (name == "--help" || name == "-h") return false;
    if (i + 1 >= argc) {
      std::cerr << "valo-gateway-sim: " << name << " needs a value\n";
      return false;
    }
    std::string value = argv[++i];
    const std::pair<const char*, std::string*> texts[] = {{"--host", &options.host},
                                                          {"--port-file", &options.portFile},
                                                          {"--scenario", &options.scenario},
                                                          {"--journal", &options.journal},
                                                          {"--state-dir", &options.stateDir},
                                                          {"--demo-dir", &options.demoDir},
                                                          {"--private-key", &options.privateKey},
                                                          {"--server-cert", &options.serverCert},
                                                          {"--server-key", &options.serverKey}};
    bool known = false;
    for (const auto& [option, target] : texts) {
      if (name == option) {
        *target = value;
        known = true;
      }
    }
    if (name == "--port") {
      options.port = std::atoi(value.c_str());
    } else if (name == "--http-port") {
      options.httpPort = std::atoi(value.c_str());
    } else if (name == "--stop-on-stdin-eof") {
      options.stopOnStdinEof = value == "1";
    } else if (!known) {
      std::cerr << "valo-gateway-sim: unknown option " << name << "\n";
      return false;
    }
  }
  auto orDefault = [](std::string& value, const std::string& fallback) {
    if (value.empty()) value = fallback;
  };
  orDefault(options.privateKey, options.demoDir + "/gateway-private.pem");
  orDefault(options.serverCert, options.demoDir + "/server.pem");
  orDefault(options.serverKey, options.demoDir + "/server-key.pem");
  if (!options.stateDir.empty()) {
    orDefault(options.journal, options.stateDir + "/journal.jsonl");
    orDefault(options.portFile, options.stateDir + "/ports.json");
  }
  return true;
}

bool loadScenario(const std::string& path, Json& scenario) {
  scenario = valo::sim::defaultScenario();
  if (path.empty()) return true;
  std::ifstream in(path);
  if (!in) {
    std::cerr << "valo-gateway-sim: cannot read scenario " << path << "\n";
    return false;
  }
  try {
    scenario = valo::sim::mergeScenario(scenario, Json::parse(in));
  } catch (const std::exception& error) {
    std::cerr << "valo-gateway-sim: scenario " << path << ": " << error.what() << "\n";
    return false;
  }
  return scenario.is_object();
}

// Written whole under a temporary name and renamed, so a reader never sees half of it.
bool writePortFile(const std::string& path, int httpsPort, int httpPort) {
  std::string temporary = path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::trunc);
    out << Json{{"https", httpsPort}, {"http", httpPort}}.dump() << "\n";
    if (!out) return false;
  }
  return std::rename(temporary.c_str(), path.c_str()) == 0;
}

int bindServer(httplib::Server& server, const std::string& host, int port) {
  if (port == 0) return server.bind_to_any_port(host);
  return server.bind_to_port(host, port) ? port : -1;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!parseOptions(argc, argv, options)) {
    std::cerr << kUsage;
    return 2;
  }

  valo::sim::SimState state;
  if (!loadScenario(options.scenario, state.scenario)) return 2;
  valo::sim::PrivateKey key = valo::sim::loadPrivateKey(options.privateKey);
  if (!key) {
    std::cerr << "valo-gateway-sim: cannot read private key " << options.privateKey << "\n";
    return 2;
  }
  valo::sim::Journal journal;
  if (!options.journal.empty() && !journal.open(options.journal)) {
    std::cerr << "valo-gateway-sim: cannot open journal " << options.journal << "\n";
    return 2;
  }

  // The listener threads inherit this mask; only the main thread takes the signals.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGTERM);
  sigaddset(&stopSignals, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  httplib::SSLServer gateway(options.serverCert.c_str(), options.serverKey.c_str());
  if (!gateway.is_valid()) {
    std::cerr << "valo-gateway-sim: cannot use certificate " << options.serverCert << "\n";
    return 2;
  }
  httplib::Server plain;
  // Replies go out in more than one write; without this every request waits for a
  // delayed acknowledgement.
  gateway.set_tcp_nodelay(true);
  plain.set_tcp_nodelay(true);
  int httpsPort = bindServer(gateway, options.host, options.port);
  int httpPort = bindServer(plain, options.host, options.httpPort);
  if (httpsPort <= 0 || httpPort <= 0) {
    std::cerr << "valo-gateway-sim: cannot listen on " << options.host << "\n";
    return 2;
  }

  const std::string httpsBase = "https://" + options.host + ":" + std::to_string(httpsPort);
  const std::string httpBase = "http://" + options.host + ":" + std::to_string(httpPort);
  valo::sim::expandPlaceholders(state.scenario, {{"httpsBase", httpsBase}, {"httpBase", httpBase}});
  if (!options.stateDir.empty() && !state.scenario.contains("otpOutbox")) {
    state.scenario["otpOutbox"] = options.stateDir + "/otp-outbox.jsonl";
  }
  auto sessions = state.scenario.find("sessions");
  if (sessions != state.scenario.end() && sessions->is_array()) {
    for (const Json& s : *sessions) {
      state.sessions.push_back({s.value("aeskey", ""), s.value("user", "")});
    }
  }

  valo::sim::GatewayService service(state, journal, key.get());
  gateway.Post(R"(/VEZIR/api/([^/]+))",
               [&service](const httplib::Request& request, httplib::Response& response) {
                 service.handle(request, response);
               });
  valo::sim::installPlainRoutes(plain, state, journal);

  std::thread gatewayThread([&gateway] { gateway.listen_after_bind(); });
  std::thread plainThread([&plain] { plain.listen_after_bind(); });
  if (!options.portFile.empty() && !writePortFile(options.portFile, httpsPort, httpPort)) {
    std::cerr << "valo-gateway-sim: cannot write " << options.portFile << "\n";
  }
  std::cout << "valo-gateway-sim: gateway " << httpsBase << "/VEZIR/api/, files " << httpBase << "/"
            << std::endl;

  if (options.stopOnStdinEof) {
    std::thread([] {
      char buffer[256];
      while (read(STDIN_FILENO, buffer, sizeof buffer) > 0) {
      }
      kill(getpid(), SIGTERM);
    }).detach();
  }

  int signal = 0;
  sigwait(&stopSignals, &signal);
  gateway.stop();
  plain.stop();
  gatewayThread.join();
  plainThread.join();
  return 0;
}
