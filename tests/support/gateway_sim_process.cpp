#include "support/gateway_sim_process.h"

#include "support/test_util.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace valo::test {
namespace {

std::string envOr(const char* name, const std::string& fallback) {
  const char* value = std::getenv(name);
  return value && *value ? value : fallback;
}

std::string makeStateDir() {
  std::string pattern = envOr("TMPDIR", "/tmp") + "/valo-gateway-sim-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  return mkdtemp(buffer.data()) ? std::string(buffer.data()) : std::string();
}

bool writeScenario(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  return static_cast<bool>(out);
}

}  // namespace

std::string GatewaySimProcess::binaryPath() { return VALO_GATEWAY_SIM_BINARY; }

std::string GatewaySimProcess::demoFile(const std::string& name) {
  return std::string(VALO_GATEWAY_SIM_DEMO_DIR) + "/" + name;
}

GatewaySimProcess::GatewaySimProcess(const std::string& scenario)
    : GatewaySimProcess(Options{scenario, "", ""}) {}

GatewaySimProcess::GatewaySimProcess(Options options) { start(options); }

GatewaySimProcess::~GatewaySimProcess() {
  stop();
  if (stdinPipe_ >= 0) close(stdinPipe_);
  if (!stateDir_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(stateDir_, ignored);
  }
}

void GatewaySimProcess::start(const Options& options) {
  stateDir_ = makeStateDir();
  if (stateDir_.empty()) {
    error_ = "cannot create a state folder";
    return;
  }
  const std::string scenarioPath = stateDir_ + "/scenario.json";
  if (!writeScenario(scenarioPath, options.scenario)) {
    error_ = "cannot write the scenario";
    return;
  }
  std::vector<std::string> args = {binaryPath(), "--port",      "0",          "--http-port",
                                   "0",          "--state-dir", stateDir_,    "--scenario",
                                   scenarioPath, "--demo-dir",  demoFile(""), "--stop-on-stdin-eof",
                                   "1"};
  if (!options.serverCert.empty()) {
    args.insert(args.end(),
                {"--server-cert", options.serverCert, "--server-key", options.serverKey});
  }
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);

  // The simulator's standard input is a pipe only we write to: when this process ends,
  // even by a crash, the pipe closes and the simulator stops.
  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
    error_ = "cannot make a pipe";
    return;
  }
  stdinPipe_ = pipeEnds[1];
  const std::string logPath = stateDir_ + "/sim.log";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[0], STDIN_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, logPath.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
  int spawned = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[0]);
  if (spawned != 0) {
    pid_ = -1;
    error_ = "cannot start " + binaryPath();
    return;
  }

  // Readiness: the simulator writes its port file (atomically) once both listeners are
  // bound; connections made from then on are queued until it accepts them.
  const std::string portFile = stateDir_ + "/ports.json";
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (std::chrono::steady_clock::now() < deadline) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      error_ = "the simulator exited: " + log();
      return;
    }
    std::string ports = readTextFile(portFile);
    if (!ports.empty()) {
      nlohmann::json parsed = nlohmann::json::parse(ports, nullptr, false);
      if (parsed.is_object()) {
        httpsPort_ = parsed.value("https", 0);
        httpPort_ = parsed.value("http", 0);
        return;
      }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  error_ = "the simulator did not start in time: " + log();
}

int GatewaySimProcess::stop() {
  if (pid_ <= 0) return -1;
  kill(pid_, SIGTERM);
  int status = 0;
  pid_t waited = waitpid(pid_, &status, 0);
  pid_ = -1;
  httpsPort_ = httpPort_ = 0;
  if (waited <= 0 || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

std::string GatewaySimProcess::log() const { return readTextFile(stateDir_ + "/sim.log"); }

std::string GatewaySimProcess::baseUrl() const {
  return "https://127.0.0.1:" + std::to_string(httpsPort_) + "/VEZIR/api/";
}

std::string GatewaySimProcess::httpBase() const {
  return "http://127.0.0.1:" + std::to_string(httpPort_);
}

GatewayEndpoint GatewaySimProcess::endpoint() const {
  GatewayEndpoint endpoint;
  endpoint.baseUrl = baseUrl();
  endpoint.publicKeyPem = readTextFile(demoFile("gateway-public.pem"));
  endpoint.pinnedCaPem = readTextFile(demoFile("ca.pem"));
  endpoint.echoUrl1 = httpBase() + "/echo/1";
  endpoint.echoUrl2 = httpBase() + "/echo/2";
  endpoint.wireCodePage = "CP950";
  return endpoint;
}

std::vector<nlohmann::json> GatewaySimProcess::journal() const {
  std::vector<nlohmann::json> lines;
  std::istringstream in(readTextFile(stateDir_ + "/journal.jsonl"));
  for (std::string line; std::getline(in, line);) {
    if (!line.empty()) lines.push_back(nlohmann::json::parse(line, nullptr, false));
  }
  return lines;
}

std::vector<nlohmann::json> GatewaySimProcess::journalOf(const std::string& action) const {
  std::vector<nlohmann::json> lines;
  for (nlohmann::json& line : journal()) {
    if (line.value("action", "") == action) lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace valo::test
