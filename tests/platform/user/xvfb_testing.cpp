// Running children with pipes and a private Xvfb for the presenter tests.
#include "xvfb_testing.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "windraw.h"
#include "winuser.h"

extern char** environ;

namespace zx::test {

std::string Found(const char* name) {
  for (const char* folder : {"/usr/bin/", "/usr/local/bin/", "/bin/"}) {
    const std::string path = std::string(folder) + name;
    if (::access(path.c_str(), X_OK) == 0) return path;
  }
  return "";
}

Child Start(const std::vector<std::string>& args, const std::vector<std::string>& env, int outFd,
            bool withInput) {
  Child child;
  int out[2], in[2] = {-1, -1};
  // Close-on-exec, so that no child holds another's pipe ends (dup2 clears it on the copy).
  if (::pipe2(out, O_CLOEXEC) != 0) return child;
  if (withInput && ::pipe2(in, O_CLOEXEC) != 0) {
    ::close(out[0]);
    ::close(out[1]);
    return child;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], outFd);
  if (withInput) posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  std::vector<char*> argv, envp;
  std::vector<std::string> a = args, e = env;
  for (auto& s : a) argv.push_back(s.data());
  argv.push_back(nullptr);
  for (auto& s : e) envp.push_back(s.data());
  envp.push_back(nullptr);
  if (::posix_spawn(&child.pid, a[0].c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) child.pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  child.out = out[0];
  if (withInput) {
    ::close(in[0]);
    child.in = in[1];
  }
  return child;
}

std::string ReadLine(int fd, int ms) {
  std::string line;
  for (;;) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, ms) != 1) return line;
    char c;
    if (::read(fd, &c, 1) != 1 || c == '\n') return line;
    line += c;
  }
}

bool AwaitLine(int fd, const std::string& wanted, int ms) {
  for (int lines = 0; lines < 100; ++lines) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, ms) != 1) return false;
    if (ReadLine(fd, ms) == wanted) return true;
  }
  return false;
}

int Wait(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<std::string> Environment(const std::vector<std::string>& extra) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    if (!entry.starts_with("DISPLAY=") && !entry.starts_with("ZX_")) env.push_back(entry);
  }
  env.insert(env.end(), extra.begin(), extra.end());
  return env;
}

int RunToEnd(const std::vector<std::string>& args, const std::vector<std::string>& env, int outFd) {
  Child child = Start(args, env, outFd, false);
  if (child.pid <= 0) return -1;
  char buffer[256];
  while (::read(child.out, buffer, sizeof buffer) > 0) {
  }
  ::close(child.out);
  return Wait(child.pid);
}

Xvfb::Xvfb(const char* screen, bool windowManager) {
  const std::string xvfb = Found("Xvfb");
  if (xvfb.empty()) return;
  // Xvfb picks a free display and writes its number to descriptor 3.
  server_ = Start({xvfb, "-displayfd", "3", "-screen", "0", screen, "-nolisten", "tcp"}, Environment({}), 3,
                  false);
  if (server_.pid <= 0) return;
  const std::string number = ReadLine(server_.out, 15000);
  if (!number.empty()) display_ = ":" + number;
  if (windowManager && !display_.empty() && !StartWindowManager()) display_.clear();
}

// openbox with its own settings off (no session, no user files), ready once `wmctrl -m` finds
// it named on the screen. On a busy machine openbox can find the new display not yet taking
// clients and end at once ("Failed to open the display"); it is then started again.
bool Xvfb::StartWindowManager() {
  const std::string openbox = Found("openbox"), wmctrl = Found("wmctrl");
  if (openbox.empty() || wmctrl.empty()) return false;
  const std::vector<std::string> env = Environment({"DISPLAY=" + display_, "XDG_CONFIG_HOME=/nonexistent"});
  for (int tries = 0; tries < 100; ++tries) {
    if (manager_.pid > 0 && ::waitpid(manager_.pid, nullptr, WNOHANG) == manager_.pid) {
      if (manager_.out >= 0) ::close(manager_.out);
      manager_ = Child{};
    }
    if (manager_.pid <= 0) manager_ = Start({openbox, "--sm-disable"}, env, 2, false);
    if (manager_.pid <= 0) return false;
    if (RunToEnd({wmctrl, "-m"}, env, 1) == 0) return true;
    ::usleep(100 * 1000);
  }
  return false;
}

Xvfb::~Xvfb() {
  if (manager_.pid > 0) {
    ::kill(manager_.pid, SIGTERM);
    Wait(manager_.pid);
  }
  if (manager_.out >= 0) ::close(manager_.out);
  if (server_.pid > 0) {
    ::kill(server_.pid, SIGTERM);
    Wait(server_.pid);
  }
  if (server_.out >= 0) ::close(server_.out);
}

namespace {

class DemoRole : public ::testing::Environment {
 public:
  DemoRole(const char* role, int (*play)()) : role_(role), play_(play) {}
  void SetUp() override {
    if (std::getenv(role_)) std::exit(play_());
  }

 private:
  const char* role_;
  int (*play_)();
};

}  // namespace

bool AddDemoRole(const char* role, int (*play)()) {
  ::testing::AddGlobalTestEnvironment(new DemoRole(role, play));
  return true;
}

bool RegisterDemoClass(LPCWSTR name, WNDPROC proc) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = proc;
  wc.lpszClassName = name;
  return RegisterClassExW(&wc) != 0;
}

void FillColour(HDC dc, const RECT& rect, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

void PaintFlat(HWND window, COLORREF colour, const RECT& mark, COLORREF markColour) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  RECT client;
  GetClientRect(window, &client);
  FillColour(dc, client, colour);
  if (!IsRectEmpty(&mark)) FillColour(dc, mark, markColour);
  EndPaint(window, &ps);
}

void Say(const char* line) {
  std::printf("%s\n", line);
  std::fflush(stdout);
}

Child StartDemo(const char* role, const std::string& display, const std::string& machineRoot) {
  std::error_code ec;
  const std::string self = std::filesystem::read_symlink("/proc/self/exe", ec).string();
  return Start({self}, Environment({std::string(role) + "=1", "ZX_PRESENTER=x11", "DISPLAY=" + display,
                                    "ZX_MACHINE_ROOT=" + machineRoot}),
               1, true);
}

int ServeUntilInputEnds(const std::function<void(char)>& onInput) {
  MSG msg;
  for (;;) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    pollfd input{0, POLLIN, 0};
    if (::poll(&input, 1, 50) > 0) {
      char c;
      if (::read(0, &c, 1) <= 0) return 0;
      if (onInput) onInput(c);
    }
  }
}

int EndDemo(Child& demo) {
  ::close(demo.in);
  const int exit = Wait(demo.pid);
  ::close(demo.out);
  return exit;
}

}  // namespace zx::test
