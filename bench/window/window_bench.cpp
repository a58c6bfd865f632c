// Start-up time and memory of the desktop window.
//
// Each run starts a fresh program that builds the window exactly as `valo` does and
// reports when the main page's load event has fired; this program times that from the
// moment it started the process, lets the page settle for a second, and adds up the
// proportional memory (PSS) of the program and every process it started (WebKit's web
// and network processes). Run it on a display (bench/window/run uses Xvfb).
//
//   bench_window [--runs N]
#include <fcntl.h>
#include <gtk/gtk.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <dirent.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/gtk/gtk_ui.h"
#include "app/gtk/main_window.h"
#include "app/gtk/web_host.h"
#include "app/script_bridge.h"
#include "platform/linux/linux_platform.h"
#include "session/context.h"

namespace {

// --- the measured program ---------------------------------------------------------------

int reportFd = -1;

void onLoadChanged(WebKitWebView*, WebKitLoadEvent event, gpointer) {
  if (event != WEBKIT_LOAD_FINISHED || reportFd < 0) return;
  const char line[] = "loaded\n";
  (void)!write(reportFd, line, sizeof line - 1);
  close(reportFd);
  reportFd = -1;
}

int runWindow(int argc, char** argv) {
  gtk_init(&argc, &argv);
  valo::platform::LinuxPlatform platform;
  valo::gtk::WebHost web(false);
  valo::gtk::GtkUi ui(web, platform.clock());
  valo::Context context(platform.services(ui));
  valo::gtk::CVALODlg window(web, ui);
  valo::ScriptBridge bridge(context, [&window] { window.requestClose(); });
  window.setDispatcher([&bridge](std::string_view method, const std::vector<std::string>& args) {
    return bridge.call(method, args);
  });
  ui.setMainWindow(window.window());
  g_signal_connect(window.view(), "load-changed", G_CALLBACK(onLoadChanged), nullptr);
  window.loadPage();
  window.run();
  ui.setMainWindow(nullptr);
  return 0;
}

// --- the measurement --------------------------------------------------------------------

pid_t parentOf(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return 0;
  const size_t close = line.rfind(')');
  if (close == std::string::npos) return 0;
  std::istringstream rest(line.substr(close + 2));
  char state = 0;
  pid_t parent = 0;
  rest >> state >> parent;
  return parent;
}

std::vector<pid_t> processTree(pid_t root) {
  std::vector<pid_t> all;
  DIR* proc = opendir("/proc");
  while (dirent* entry = proc != nullptr ? readdir(proc) : nullptr) {
    char* end = nullptr;
    const long pid = std::strtol(entry->d_name, &end, 10);
    if (end != entry->d_name && *end == '\0') all.push_back(static_cast<pid_t>(pid));
  }
  if (proc != nullptr) closedir(proc);
  std::vector<pid_t> tree = {root};
  for (size_t i = 0; i < tree.size(); ++i) {
    for (pid_t pid : all) {
      if (parentOf(pid) == tree[i]) tree.push_back(pid);
    }
  }
  return tree;
}

long pssKiB(pid_t pid) {
  std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
  std::string key;
  long value = 0;
  while (rollup >> key) {
    if (key == "Pss:") {
      rollup >> value;
      return value;
    }
    rollup.ignore(1 << 20, '\n');
  }
  return 0;
}

std::string commandOf(pid_t pid) {
  std::ifstream comm("/proc/" + std::to_string(pid) + "/comm");
  std::string name;
  std::getline(comm, name);
  return name;
}

struct Run {
  double startMs = 0;
  long pssKiB = 0;
  std::string breakdown;
};

bool measure(const char* self, Run& run) {
  int fds[2];
  if (pipe(fds) != 0) return false;
  const auto started = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    close(fds[0]);
    setpgid(0, 0);
    const std::string fd = std::to_string(fds[1]);
    execl(self, self, "--window", fd.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  if (child < 0) return false;
  pollfd loaded{fds[0], POLLIN, 0};
  char buffer[16];
  const bool ok = poll(&loaded, 1, 20000) > 0 && read(fds[0], buffer, sizeof buffer) > 0;
  run.startMs =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
  close(fds[0]);
  if (ok) {
    usleep(1000 * 1000);  // let the processes settle
    for (pid_t pid : processTree(child)) {
      const long kib = pssKiB(pid);
      run.pssKiB += kib;
      run.breakdown += " " + commandOf(pid) + "=" + std::to_string(kib / 1024) + "M";
    }
  }
  kill(-child, SIGTERM);
  int status = 0;
  waitpid(child, &status, 0);
  kill(-child, SIGKILL);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "--window") == 0) {
    reportFd = std::atoi(argv[2]);
    int gtkArgc = 1;
    return runWindow(gtkArgc, argv);
  }
  int runs = 10;
  if (argc >= 3 && std::strcmp(argv[1], "--runs") == 0) runs = std::max(1, std::atoi(argv[2]));

  std::vector<double> starts;
  std::vector<long> memory;
  for (int i = 0; i < runs; ++i) {
    Run run;
    if (!measure("/proc/self/exe", run)) {
      std::fprintf(stderr, "run %d: the page did not load within 20 s\n", i + 1);
      return 1;
    }
    std::printf("run %2d: start to load event %6.1f ms, PSS %6.1f MiB (%s )\n", i + 1, run.startMs,
                run.pssKiB / 1024.0, run.breakdown.c_str());
    starts.push_back(run.startMs);
    memory.push_back(run.pssKiB);
  }
  std::sort(starts.begin(), starts.end());
  std::sort(memory.begin(), memory.end());
  std::printf("median of %d runs: start to load event %.1f ms (min %.1f, max %.1f), PSS %.1f MiB\n",
              runs, starts[starts.size() / 2], starts.front(), starts.back(),
              memory[memory.size() / 2] / 1024.0);
  return 0;
}
