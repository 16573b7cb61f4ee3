// Windows across processes: a second process (this test program started again in a role)
// finds the first's window by class and title, walks to its child, sends it WM_COPYDATA and
// a text message and gets the answers, reads and changes its state, and broadcasts a
// registered message that reaches every top-level window of both, each message telling the
// first which process it came from; a process of another user cannot call in.
#include <gtest/gtest.h>
#include <poll.h>
#include <pwd.h>
#include <grp.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <map>
#include <thread>

#include "errhandlingapi.h"
#include "user_testing.h"
#include "zx/machine.h"
#include "zx/input.h"
#include "zx/messagesender.h"
#include "zx/windowpaint.h"

extern char** environ;

namespace zx::test {
namespace {

constexpr const char* kRoleVariable = "ZX_USER_TEST_ROLE";
constexpr const char* kArgumentVariable = "ZX_USER_TEST_ARGUMENT";
constexpr const char16_t* kTitle = u"Zephrin Tunevo";
constexpr const char16_t* kHandoffName = u"QVX_SCHEDULER_MESSAGE_TO_BE_PASSED_TO_RUNNING_INSTANCE";
constexpr const char16_t* kBroadcastName = u"ZX_TEST_BROADCAST";
constexpr char kCopiedBytes[] = "driver\0list";  // 11 bytes with a zero inside

std::uint32_t Value(HWND window) { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window)); }

// Starts this program in a role; answers its pid.
pid_t StartRole(const std::string& role, const std::string& argument) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    if (!entry.starts_with("ZX_MACHINE_ROOT=") && !entry.starts_with("ZX_USER_TEST_")) env.push_back(entry);
  }
  env.push_back(std::string(kRoleVariable) + "=" + role);
  env.push_back(std::string(kArgumentVariable) + "=" + argument);
  env.push_back("ZX_MACHINE_ROOT=" + zx::machine::Root());
  std::error_code ec;
  std::string program = std::filesystem::read_symlink("/proc/self/exe", ec).string();
  std::vector<char*> argv{program.data(), nullptr};
  std::vector<char*> envp;
  for (auto& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  pid_t pid = -1;
  if (::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0) return -1;
  return pid;
}

int WaitFor(pid_t pid) {
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// ---- The second process --------------------------------------------------------------

int PlayPeer(const std::string& firstHandle) {
  const HWND main = FindWindowW(u"#32770", kTitle);
  if (!main) return 10;
  if (std::to_string(Value(main)) != firstHandle) return 11;  // the same handle in both
  COPYDATASTRUCT copy{10, sizeof kCopiedBytes - 1, const_cast<char*>(kCopiedBytes)};
  if (SendMessageW(main, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy)) != 16) return 12;
  const UINT handoff = RegisterWindowMessageW(kHandoffName);
  if (SendMessageW(main, handoff, 0, reinterpret_cast<LPARAM>(u"schedulescan")) != 1) return 13;
  WCHAR text[64];
  if (GetWindowTextW(main, text, 64) != 14 || std::u16string(text) != kTitle) return 14;
  text[0] = 0;
  if (SendMessageW(main, WM_GETTEXT, 6, reinterpret_cast<LPARAM>(text)) != 5 ||
      std::u16string(text) != u"Zephr")
    return 15;
  if (!IsWindow(main) || !IsWindowVisible(main)) return 16;
  // Its one child, walked to as in its own process.
  const HWND child = GetWindow(main, GW_CHILD);
  WCHAR childClass[16] = {};
  if (!child || GetWindow(child, GW_HWNDNEXT) || !GetClassNameW(child, childClass, 16) ||
      std::u16string(childClass) != u"Static")
    return 28;
  if (EnableWindow(main, FALSE) || IsWindowEnabled(main)) return 17;
  if (!EnableWindow(main, TRUE) || !IsWindowEnabled(main)) return 18;
  DWORD process = 0;
  if (!GetWindowThreadProcessId(main, &process) || process != static_cast<DWORD>(::getppid())) return 19;
  if (!SetForegroundWindow(main) || GetForegroundWindow() != main) return 20;
  if (!ShowWindow(main, SW_SHOWNORMAL)) return 21;
  // A popup of this process owned by the first's window opens; a child of it does not.
  const HWND owned = CreateWindowExW(0, u"#32770", u"Owned", WS_POPUP, 0, 0, 10, 10, main, nullptr, nullptr, nullptr);
  if (!owned || !DestroyWindow(owned)) return 26;
  if (CreateWindowExW(0, u"#32770", u"Child", WS_CHILD, 0, 0, 10, 10, main, nullptr, nullptr, nullptr)) return 27;
  if (DestroyWindow(main) || GetLastError() != ERROR_ACCESS_DENIED) return 22;
  // Broadcast: this process's own window gets it as well.
  const UINT broadcast = RegisterWindowMessageW(kBroadcastName);
  const HWND mine = MakeWindow();
  if (!mine || !PostMessageW(HWND_BROADCAST, broadcast, 7, 0)) return 23;
  PumpWaiting();
  bool reached = false;
  for (const Delivered& d : Recorded()) reached |= d.window == mine && d.message == broadcast && d.wParam == 7;
  if (!reached) return 24;
  // The first process learns this window's handle and checks it when this process is gone.
  if (SendMessageW(main, WM_USER + 9, Value(mine), 0) != 1) return 25;
  return 0;
}

// The window the driving process clicks, types into and takes the picture of.
constexpr const char16_t* kDrivenTitle = u"Driven";
constexpr POINT kClickAt{60, 80};

// Drives the first process's window through the channel; answers 40 + the step that failed.
int PlayDriver(const std::string& picturePath) {
  const HWND driven = FindWindowW(u"ZxRecorder", kDrivenTitle);
  if (!driven) return 39;
  const HWND nowhere = reinterpret_cast<HWND>(reinterpret_cast<std::uintptr_t>(driven) + 0x7F0);
  const struct {
    std::function<bool()> step;
  } steps[] = {
      {[&] { return zx::user::InjectMouseTo(driven, kClickAt, WM_LBUTTONDOWN) == driven; }},
      {[&] { return zx::user::InjectMouseTo(driven, kClickAt, WM_LBUTTONUP) == driven; }},
      // Over no window of that process.
      {[&] { return zx::user::InjectMouseTo(driven, POINT{3000, 3000}, WM_MOUSEMOVE) == nullptr; }},
      // The clicked window is in front, so the key reaches it.
      {[&] { return zx::user::InjectKeyTo(driven, 'A', true) == driven; }},
      {[&] { return zx::user::InjectKeyTo(driven, 'A', false) == driven; }},
      // A key code no keyboard has is refused by the owner.
      {[&] { return zx::user::InjectKeyTo(driven, 0x1A0, true) == nullptr && GetLastError() == ERROR_INVALID_PARAMETER; }},
      {[&] { return zx::user::SaveWindowPng(driven, picturePath); }},
      // The click's point in the window's client area, told back to the first process.
      {[&] {
        POINT client = kClickAt;
        return ScreenToClient(driven, &client) &&
               PostMessageW(driven, WM_USER + 10, 0, MAKELPARAM(client.x, client.y));
      }},
      {[&] { return !zx::user::SaveRedrawnWindowPng(nowhere, picturePath + ".none") && !std::filesystem::exists(picturePath + ".none"); }},
  };
  for (std::size_t i = 0; i < std::size(steps); ++i)
    if (!steps[i].step()) return 40 + static_cast<int>(i);
  return 0;
}

// ---- A process of another user -------------------------------------------------------

int PlayStranger(const std::string& argument) {
  const passwd* nobody = ::getpwnam("nobody");
  if (!nobody || ::setgroups(0, nullptr) != 0 || ::setgid(nobody->pw_gid) != 0 ||
      ::setuid(nobody->pw_uid) != 0)
    return 30;
  const bool opened = argument.starts_with("open:");
  const std::string path = argument.substr(argument.find(':') + 1);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return 31;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  const int rc = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  if (!opened) return rc != 0 && errno == EACCES ? 0 : 32;
  if (rc != 0) return 33;
  // A request for the list of windows: empty body, operation 1, request id 1.
  const unsigned char list[16] = {0, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0};
  if (::send(fd, list, sizeof list, MSG_NOSIGNAL) != static_cast<ssize_t>(sizeof list)) return 0;
  pollfd p{fd, POLLIN, 0};
  if (::poll(&p, 1, 5000) != 1) return 34;
  char answer[64];
  const ssize_t n = ::recv(fd, answer, sizeof answer, 0);
  return n == 0 || (n < 0 && errno == ECONNRESET) ? 0 : 35;
}

class RoleEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    const char* role = std::getenv(kRoleVariable);
    if (!role) return;
    const char* argument = std::getenv(kArgumentVariable);
    const std::string value = argument ? argument : "";
    const std::string name = role;
    std::exit(name == "peer"       ? PlayPeer(value)
              : name == "driver"   ? PlayDriver(value)
              : name == "stranger" ? PlayStranger(value)
                                   : 2);
  }
};
[[maybe_unused]] ::testing::Environment* const g_roles =
    ::testing::AddGlobalTestEnvironment(new RoleEnvironment);

// ---- The first process ---------------------------------------------------------------

struct FirstProcess {
  WNDPROC dialogProc = nullptr;
  UINT handoff = 0;
  UINT broadcast = 0;
  std::vector<ULONG_PTR> copyCodes;
  std::string copiedBytes;
  std::u16string handedText;
  std::vector<WPARAM> enables;
  std::vector<WPARAM> broadcasts;
  HWND peerWindow = nullptr;
  std::map<UINT, DWORD> senders;  // the process each message came from
};
FirstProcess g_first;

LRESULT CALLBACK FirstProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  g_first.senders[message] = zx::user::GetMessageSenderProcessId();
  if (message == WM_COPYDATA) {
    const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    g_first.copyCodes.push_back(copy->dwData);
    g_first.copiedBytes.assign(static_cast<const char*>(copy->lpData), copy->cbData);
    return 16;
  }
  if (message == g_first.handoff) {
    g_first.handedText = reinterpret_cast<LPCWSTR>(lParam);
    return g_first.handedText == u"schedulescan" ? 1 : 0;
  }
  if (message == g_first.broadcast) g_first.broadcasts.push_back(wParam);
  if (message == WM_ENABLE) g_first.enables.push_back(wParam);
  if (message == WM_USER + 9) {
    g_first.peerWindow = reinterpret_cast<HWND>(wParam);
    return 1;
  }
  return CallWindowProcW(g_first.dialogProc, window, message, wParam, lParam);
}

using CrossProcess = UserTest;

// Runs this program in a role, serving this thread's windows until it ends (`wake` is posted
// WM_APP then); answers its exit code.
int RunRole(const std::string& role, const std::string& argument, HWND wake, pid_t* started = nullptr) {
  const pid_t pid = StartRole(role, argument);
  if (started) *started = pid;
  if (pid <= 0) return -1;
  int code = -1;
  std::thread waiter([&] {
    code = WaitFor(pid);
    PostMessageW(wake, WM_APP, 0, 0);
  });
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0)) {
    DispatchMessageW(&msg);
    if (msg.message == WM_APP) break;
  }
  waiter.join();
  return code;
}

TEST_F(CrossProcess, ASecondProcessFindsSendsToAndBroadcastsToTheFirst) {
  g_first = FirstProcess{};
  g_first.handoff = RegisterWindowMessageW(kHandoffName);
  g_first.broadcast = RegisterWindowMessageW(kBroadcastName);
  const HWND main = CreateWindowExW(0, u"#32770", kTitle, WS_POPUP | WS_CAPTION | WS_VISIBLE, 100,
                                    100, 400, 300, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(main, nullptr);
  ASSERT_NE(CreateWindowExW(0, u"Static", u"", WS_CHILD, 0, 0, 10, 10, main, nullptr, nullptr, nullptr), nullptr);
  g_first.dialogProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FirstProc)));
  const HWND other = MakeWindow();  // a second top-level window of the first process

  pid_t pid = -1;
  EXPECT_EQ(RunRole("peer", std::to_string(Value(main)), main, &pid), 0) << "the second process's step that failed";
  EXPECT_EQ(g_first.copyCodes, (std::vector<ULONG_PTR>{10}));
  EXPECT_EQ(g_first.copiedBytes, std::string(kCopiedBytes, sizeof kCopiedBytes - 1));
  EXPECT_EQ(g_first.handedText, u"schedulescan");
  EXPECT_EQ(g_first.enables, (std::vector<WPARAM>{FALSE, TRUE}));
  EXPECT_EQ(g_first.broadcasts, (std::vector<WPARAM>{7}));
  bool otherReached = false;
  for (const Delivered& d : Recorded()) otherReached |= d.window == other && d.message == g_first.broadcast;
  EXPECT_TRUE(otherReached);
  ASSERT_NE(g_first.peerWindow, nullptr);
  EXPECT_FALSE(IsWindow(g_first.peerWindow)) << "its process has ended";
  EXPECT_EQ(FindWindowW(u"ZxRecorder", nullptr), other);
  // Sent and posted by the second process, and posted by a thread of this one.
  const auto peer = static_cast<DWORD>(pid);
  EXPECT_EQ(g_first.senders[WM_COPYDATA], peer);
  EXPECT_EQ(g_first.senders[g_first.broadcast], peer);
  EXPECT_EQ(g_first.senders[WM_USER + 9], peer);
  EXPECT_EQ(g_first.senders[WM_APP], static_cast<DWORD>(::getpid()));
}

TEST_F(CrossProcess, ASecondProcessClicksTypesIntoAndPicturesTheFirstsWindow) {
  const HWND driven = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 0, kDrivenTitle);
  ASSERT_NE(driven, nullptr);
  const std::string picture = root() + "/driven.png";
  EXPECT_EQ(RunRole("driver", picture, driven), 0) << "40 + the driving process's step that failed";
  POINT client = kClickAt;
  ScreenToClient(driven, &client);
  const LPARAM at = MAKELPARAM(client.x, client.y);
  std::vector<std::pair<UINT, WPARAM>> input;
  for (const Delivered& d : Recorded()) {
    if (d.window != driven) continue;
    if (d.message == WM_LBUTTONDOWN || d.message == WM_LBUTTONUP) {
      EXPECT_EQ(d.lParam, at);
      input.emplace_back(d.message, 0);
    } else if (d.message == WM_KEYDOWN || d.message == WM_KEYUP) {
      input.emplace_back(d.message, d.wParam);
    } else if (d.message == WM_USER + 10) {
      EXPECT_EQ(d.lParam, at) << "the client point the second process worked out";
    }
  }
  const std::vector<UINT> got = RecordedFor(driven);
  EXPECT_NE(std::find(got.begin(), got.end(), static_cast<UINT>(WM_USER + 10)), got.end());
  EXPECT_EQ(input, (std::vector<std::pair<UINT, WPARAM>>{
                       {WM_LBUTTONDOWN, 0}, {WM_LBUTTONUP, 0}, {WM_KEYDOWN, 'A'}, {WM_KEYUP, 'A'}}));
  EXPECT_EQ(GetForegroundWindow(), driven) << "the click activated it";
  // The picture taken by this process, on the window's thread, as this process takes it.
  const std::string own = root() + "/own.png";
  ASSERT_TRUE(zx::user::SaveWindowPng(driven, own));
  ASSERT_TRUE(std::filesystem::exists(picture));
  EXPECT_EQ(ReadHostFile(picture), ReadHostFile(own));
}

TEST_F(CrossProcess, AProcessOfAnotherUserCannotCallIn) {
  if (::geteuid() != 0) GTEST_SKIP() << "making a process of another user needs root";
  if (!::getpwnam("nobody")) GTEST_SKIP() << "no user 'nobody' on this machine";
  const HWND window = MakeWindow();
  ASSERT_NE(window, nullptr);
  const std::string folder = zx::machine::RuntimeFolder() + "/user";
  const std::string socket = folder + "/slot-" + std::to_string(Value(window) >> 20) + ".sock";
  ASSERT_TRUE(std::filesystem::exists(socket));
  // As the layer keeps it, the folder cannot be entered by another user.
  EXPECT_EQ(WaitFor(StartRole("stranger", "closed:" + socket)), 0);
  // With every folder opened up, the channel itself still refuses the other user's process.
  for (const std::string& path : {root(), zx::machine::RuntimeFolder(), folder})
    ASSERT_EQ(::chmod(path.c_str(), 0755), 0);
  ASSERT_EQ(::chmod(socket.c_str(), 0666), 0);
  EXPECT_EQ(WaitFor(StartRole("stranger", "open:" + socket)), 0);
  ::chmod(socket.c_str(), 0600);
  for (const std::string& path : {zx::machine::RuntimeFolder(), folder}) ::chmod(path.c_str(), 0700);
  EXPECT_TRUE(IsWindow(window));
}

}  // namespace
}  // namespace zx::test
