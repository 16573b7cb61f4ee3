// The X11 presenter under Xvfb: a small program (this test program started again in the
// demo role, with ZX_PRESENTER=x11 and DISPLAY set) shows a painted window; a screenshot of
// the display (xwd) must show the window's pixels at the window's place, and a click and a
// key sent to the display (xdotool, when installed) reach the window as WM_LBUTTONDOWN and
// WM_KEYDOWN, and the pointer leaving it as WM_MOUSELEAVE. Skipped when Xvfb or xwd is missing.
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "user_testing.h"
#include "windraw.h"
#include "wingdi.h"
#include "wininput.h"
#include "zx/machine.h"
#include "zx/windowpaint.h"

extern char** environ;

namespace zx::test {
namespace {

constexpr const char* kDemoVariable = "ZX_PRESENTER_DEMO";
constexpr RECT kDemoRect{60, 40, 260, 160};
constexpr COLORREF kDemoColour = RGB(40, 120, 200);
constexpr COLORREF kDemoMark = RGB(220, 30, 30);

// ---- The demo program -----------------------------------------------------------------

// Input the window gets is told on the standard output.
LRESULT CALLBACK DemoProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MOUSEMOVE) {
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
    TrackMouseEvent(&track);
    return 0;
  }
  if (message == WM_LBUTTONDOWN || message == WM_KEYDOWN || message == WM_MOUSELEAVE) {
    if (message == WM_LBUTTONDOWN)
      std::printf("click %d %d\n", static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam)));
    else if (message == WM_KEYDOWN)
      std::printf("key %d\n", static_cast<int>(wParam));
    else
      std::printf("left\n");
    std::fflush(stdout);
    return 0;
  }
  if (message != WM_PAINT) return DefWindowProcW(window, message, wParam, lParam);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  RECT client;
  GetClientRect(window, &client);
  HBRUSH fill = CreateSolidBrush(kDemoColour);
  FillRect(dc, &client, fill);
  DeleteObject(fill);
  HBRUSH mark = CreateSolidBrush(kDemoMark);
  const RECT corner{10, 10, 30, 30};
  FillRect(dc, &corner, mark);
  DeleteObject(mark);
  EndPaint(window, &ps);
  return 0;
}

// Shows the window, says "shown" once the presenter has put it on the display, and runs
// until its input closes.
int PlayDemo() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DemoProc;
  wc.lpszClassName = u"ZxPresenterDemo";
  if (!RegisterClassExW(&wc)) return 2;
  const HWND window = CreateWindowExW(0, u"ZxPresenterDemo", u"Presenter demo", WS_POPUP | WS_VISIBLE,
                                      kDemoRect.left, kDemoRect.top, kDemoRect.right - kDemoRect.left,
                                      kDemoRect.bottom - kDemoRect.top, nullptr, nullptr, nullptr, nullptr);
  if (!window) return 3;
  UpdateWindow(window);
  if (!user::PresenterRunning()) return 4;
  if (!user::PresenterFlush(10000)) return 5;
  std::printf("shown\n");
  std::fflush(stdout);
  MSG msg;
  for (;;) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    pollfd input{0, POLLIN, 0};
    if (::poll(&input, 1, 50) > 0) {
      char c;
      if (::read(0, &c, 1) <= 0) return 0;
    }
  }
}

class DemoEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (std::getenv(kDemoVariable)) std::exit(PlayDemo());
  }
};
[[maybe_unused]] ::testing::Environment* const g_demo =
    ::testing::AddGlobalTestEnvironment(new DemoEnvironment);

// ---- The test -----------------------------------------------------------------------------

std::string Found(const char* name) {
  for (const char* folder : {"/usr/bin/", "/usr/local/bin/", "/bin/"}) {
    const std::string path = std::string(folder) + name;
    if (::access(path.c_str(), X_OK) == 0) return path;
  }
  return "";
}

struct Child {
  pid_t pid = -1;
  int in = -1;   // its standard input (we write)
  int out = -1;  // what it writes to the descriptor we read
};

// Starts a program; `outFd` is the child's descriptor whose writes we read.
Child Start(const std::vector<std::string>& args, const std::vector<std::string>& env, int outFd,
            bool withInput) {
  Child child;
  int out[2], in[2] = {-1, -1};
  // Close-on-exec, so that no child holds another's pipe ends (dup2 clears it on the copy).
  if (::pipe2(out, O_CLOEXEC) != 0) return child;
  if (withInput && ::pipe2(in, O_CLOEXEC) != 0) return child;
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

// Reads one line (at most `ms` of host time for each character).
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

// Reads lines until one is `wanted` (true) or the output ends or stalls.
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

std::vector<std::string> Environment(const std::vector<std::string>& extra);

// Runs a program to its end (its standard error read and dropped); answers its exit code.
int RunToEnd(const std::vector<std::string>& args, const std::vector<std::string>& env = Environment({})) {
  Child child = Start(args, env, 2, false);
  if (child.pid <= 0) return -1;
  char buffer[256];
  while (::read(child.out, buffer, sizeof buffer) > 0) {
  }
  ::close(child.out);
  return Wait(child.pid);
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

// An XWD screenshot's pixels as 0xRRGGBB.
struct Screenshot {
  int width = 0;
  int height = 0;
  std::vector<DWORD> pixels;
};

DWORD Big32(const std::string& b, std::size_t at) {
  return (static_cast<DWORD>(static_cast<BYTE>(b[at])) << 24) | (static_cast<DWORD>(static_cast<BYTE>(b[at + 1])) << 16) |
         (static_cast<DWORD>(static_cast<BYTE>(b[at + 2])) << 8) | static_cast<BYTE>(b[at + 3]);
}

DWORD Channel(DWORD pixel, DWORD mask) {
  if (!mask) return 0;
  int shift = 0;
  while (!((mask >> shift) & 1)) ++shift;
  return ((pixel & mask) >> shift) & 0xFF;
}

bool ReadXwd(const std::string& path, Screenshot& shot) {
  std::ifstream file(path, std::ios::binary);
  const std::string b((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (b.size() < 100) return false;
  const auto field = [&](int i) { return Big32(b, static_cast<std::size_t>(i) * 4); };
  const DWORD headerSize = field(0), width = field(4), height = field(5), byteOrder = field(7);
  const DWORD bitsPerPixel = field(11), bytesPerLine = field(12);
  const DWORD red = field(14), green = field(15), blue = field(16), colours = field(19);
  if (bitsPerPixel != 32 || width == 0 || height == 0 || width > 10000 || height > 10000) return false;
  const std::size_t start = headerSize + static_cast<std::size_t>(colours) * 12;
  if (b.size() < start + static_cast<std::size_t>(bytesPerLine) * height) return false;
  shot.width = static_cast<int>(width);
  shot.height = static_cast<int>(height);
  for (DWORD y = 0; y < height; ++y)
    for (DWORD x = 0; x < width; ++x) {
      const std::size_t at = start + static_cast<std::size_t>(y) * bytesPerLine + x * 4;
      DWORD p = 0;
      for (int i = 0; i < 4; ++i) {
        const DWORD byte = static_cast<BYTE>(b[at + static_cast<std::size_t>(i)]);
        p |= byteOrder == 0 ? byte << (8 * i) : byte << (8 * (3 - i));
      }
      shot.pixels.push_back((Channel(p, red) << 16) | (Channel(p, green) << 8) | Channel(p, blue));
    }
  return true;
}

DWORD Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

TEST(Presenter, AProgramUnderXvfbShowsItsWindowOnTheDisplay) {
  const std::string xvfb = Found("Xvfb");
  const std::string xwd = Found("xwd");
  if (xvfb.empty() || xwd.empty()) GTEST_SKIP() << "Xvfb or xwd is not installed";
  TempFolder folder;
  // Xvfb picks a free display and writes its number to descriptor 3.
  Child server = Start({xvfb, "-displayfd", "3", "-screen", "0", "640x480x24", "-nolisten", "tcp"},
                       Environment({}), 3, false);
  ASSERT_GT(server.pid, 0);
  const std::string number = ReadLine(server.out, 15000);
  ASSERT_FALSE(number.empty()) << "Xvfb gave no display number";
  const std::string display = ":" + number;

  std::error_code ec;
  const std::string self = std::filesystem::read_symlink("/proc/self/exe", ec).string();
  Child demo = Start({self}, Environment({std::string(kDemoVariable) + "=1", "ZX_PRESENTER=x11", "DISPLAY=" + display,
                                          "ZX_MACHINE_ROOT=" + folder.path()}),
                     1, true);
  ASSERT_GT(demo.pid, 0);
  const bool shown = AwaitLine(demo.out, "shown", 15000);
  const std::string shot = folder.path() + "/screen.xwd";
  int xwdExit = -1;
  bool clicked = false, typed = false, left = false;
  const std::string xdotool = Found("xdotool");
  if (shown) {
    xwdExit = RunToEnd({xwd, "-root", "-silent", "-display", display, "-out", shot});
    if (!xdotool.empty()) {
      const std::vector<std::string> env = Environment({"DISPLAY=" + display});
      RunToEnd({xdotool, "mousemove", std::to_string(kDemoRect.left + 100), std::to_string(kDemoRect.top + 60), "click", "1"}, env);
      clicked = AwaitLine(demo.out, "click 100 60", 10000);
      RunToEnd({xdotool, "key", "a"}, env);
      typed = AwaitLine(demo.out, "key 65", 10000);
      RunToEnd({xdotool, "mousemove", "600", "400"}, env);
      left = AwaitLine(demo.out, "left", 10000);
    }
  }
  ::close(demo.in);
  const int demoExit = Wait(demo.pid);
  ::close(demo.out);
  ::kill(server.pid, SIGTERM);
  Wait(server.pid);
  ::close(server.out);

  ASSERT_TRUE(shown) << "the demo program ended with " << demoExit;
  EXPECT_EQ(demoExit, 0);
  ASSERT_EQ(xwdExit, 0);
  if (xdotool.empty()) {
    std::printf("xdotool is not installed: the input half is not checked\n");
  } else {
    EXPECT_TRUE(clicked) << "the click did not reach the window";
    EXPECT_TRUE(typed) << "the key did not reach the window";
    EXPECT_TRUE(left) << "leaving the window was not told";
  }
  Screenshot screen;
  ASSERT_TRUE(ReadXwd(shot, screen));
  ASSERT_EQ(screen.width, 640);
  const auto at = [&](LONG x, LONG y) { return screen.pixels[static_cast<std::size_t>(y) * 640 + static_cast<std::size_t>(x)]; };
  EXPECT_EQ(at(kDemoRect.left + 100, kDemoRect.top + 60), Rgb(kDemoColour));
  EXPECT_EQ(at(kDemoRect.left + 20, kDemoRect.top + 20), Rgb(kDemoMark));
  EXPECT_EQ(at(kDemoRect.right - 1, kDemoRect.bottom - 1), Rgb(kDemoColour));
  EXPECT_NE(at(kDemoRect.left - 2, kDemoRect.top + 60), Rgb(kDemoColour));  // outside: the root
  EXPECT_NE(at(kDemoRect.right + 2, kDemoRect.top + 60), Rgb(kDemoColour));
}

}  // namespace
}  // namespace zx::test
