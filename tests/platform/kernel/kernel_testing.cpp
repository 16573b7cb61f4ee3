// Helpers of the kernel tests: the manual-clock fixture, and the child roles this test
// program plays when started by ChildProcess.
#include "kernel_testing.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "windows.h"
#include "zx/machine.h"

extern char** environ;

namespace zx::test {
namespace {

constexpr const char* kRoleVariable = "ZX_KERNEL_TEST_ROLE";
constexpr const char* kArgumentVariable = "ZX_KERNEL_TEST_ROLE_ARGUMENT";

[[noreturn]] void PlayMutex(const std::string& name) {
  const std::u16string wide(name.begin(), name.end());
  HANDLE mutex = CreateMutexW(nullptr, TRUE, wide.c_str());
  const bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
  const bool owns = mutex && WaitForSingleObject(mutex, 0) == WAIT_OBJECT_0;
  const std::string line = std::to_string(existed) + " " + std::to_string(owns) + "\n";
  if (!mutex || ::write(1, line.data(), line.size()) < 0) ::_exit(3);
  char byte;
  while (::read(0, &byte, 1) > 0) {
  }
  ::_exit(0);
}

[[noreturn]] void PlayCommandLine(const std::string& file) {
  std::ofstream out(file, std::ios::binary);
  out << Utf8(GetCommandLineW()) << "\n" << GetCommandLineA();
  out.close();
  ::_exit(out ? 0 : 3);
}

DWORD BlockForever(LPVOID) {
  Sleep(INFINITE);
  return 0;
}

[[noreturn]] void PlayExit(const std::string& code) {
  CreateThread(nullptr, 0, BlockForever, nullptr, 0, nullptr);
  ExitProcess(static_cast<UINT>(std::stoul(code)));
}

// Sleeps the pause and writes how long it took on the layer's clock (ticks, then wall time in
// milliseconds) and on the host's.
[[noreturn]] void PlayPause(const std::string& milliseconds) {
  const auto wall = [] {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return ((static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime) / 10000u;
  };
  const auto hostStart = std::chrono::steady_clock::now();
  const ULONGLONG tickStart = GetTickCount64();
  const std::uint64_t wallStart = wall();
  Sleep(static_cast<DWORD>(std::stoul(milliseconds)));
  const auto host = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - hostStart);
  const std::string line = std::to_string(GetTickCount64() - tickStart) + " " + std::to_string(wall() - wallStart) +
                           " " + std::to_string(host.count()) + "\n";
  ::_exit(::write(1, line.data(), line.size()) < 0 ? 3 : 0);
}

// Runs before the tests when this program was started as a child.
const bool g_playedRole = [] {
  const char* role = std::getenv(kRoleVariable);
  if (!role) return false;
  const char* argument = std::getenv(kArgumentVariable);
  const std::string value = argument ? argument : "";
  const std::string name = role;
  if (name == "mutex") PlayMutex(value);
  if (name == "cmdline") PlayCommandLine(value);
  if (name == "exit") PlayExit(value);
  if (name == "pause") PlayPause(value);
  ::_exit(2);
}();

}  // namespace

void ManualClockTest::SetUp() {
  MachineTest::SetUp();
  SetClock(&clock_);
}

void ManualClockTest::TearDown() { SetClock(nullptr); }

HANDLE StartThread(std::function<DWORD()> body, DWORD creationFlags, DWORD* threadId) {
  auto* heldBody = new std::function<DWORD()>(std::move(body));
  auto run = [](LPVOID parameter) -> DWORD {
    std::unique_ptr<std::function<DWORD()>> owned(static_cast<std::function<DWORD()>*>(parameter));
    return (*owned)();
  };
  HANDLE thread = CreateThread(nullptr, 0, run, heldBody, creationFlags, threadId);
  if (!thread) delete heldBody;
  return thread;
}

DWORD JoinThread(HANDLE thread) {
  DWORD code = 0;
  EXPECT_EQ(WaitForSingleObject(thread, INFINITE), static_cast<DWORD>(WAIT_OBJECT_0));
  EXPECT_TRUE(GetExitCodeThread(thread, &code));
  CloseHandle(thread);
  return code;
}

std::u16string ZPath(const std::string& hostPath) {
  std::u16string name = u"Z:";
  for (char c : hostPath) name += c == '/' ? u'\\' : static_cast<char16_t>(c);
  return name;
}

std::string Utf8(const std::u16string& text) {
  std::string out(text.size() * 3 + 1, '\0');
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(),
                                    static_cast<int>(out.size()), nullptr, nullptr);
  out.resize(n > 0 ? static_cast<std::size_t>(n - 1) : 0);
  return out;
}

std::string TestProgram() {
  std::error_code ec;
  return std::filesystem::read_symlink("/proc/self/exe", ec).string();
}

ChildProcess::ChildProcess(const std::string& program, const std::string& role,
                           const std::string& roleArgument,
                           const std::vector<std::string>& arguments) {
  int toChild[2];
  int fromChild[2];
  if (::pipe2(toChild, O_CLOEXEC) != 0) return;
  if (::pipe2(fromChild, O_CLOEXEC) != 0) {
    ::close(toChild[0]);
    ::close(toChild[1]);
    return;
  }
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    if (!entry.starts_with("ZX_MACHINE_ROOT=") && !entry.starts_with("ZX_KERNEL_TEST_ROLE"))
      env.push_back(entry);
  }
  env.push_back(std::string(kRoleVariable) + "=" + role);
  env.push_back(std::string(kArgumentVariable) + "=" + roleArgument);
  env.push_back("ZX_MACHINE_ROOT=" + zx::machine::Root());
  std::vector<std::string> argv{program};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  auto pointers = [](std::vector<std::string>& strings) {
    std::vector<char*> out;
    for (auto& s : strings) out.push_back(s.data());
    out.push_back(nullptr);
    return out;
  };
  std::vector<char*> argvPointers = pointers(argv);
  std::vector<char*> envPointers = pointers(env);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, toChild[0], 0);
  posix_spawn_file_actions_adddup2(&actions, fromChild[1], 1);
  pid_t pid = -1;
  if (::posix_spawn(&pid, program.c_str(), &actions, nullptr, argvPointers.data(),
                    envPointers.data()) == 0)
    pid_ = pid;
  posix_spawn_file_actions_destroy(&actions);
  ::close(toChild[0]);
  ::close(fromChild[1]);
  input_ = toChild[1];
  output_ = fromChild[0];
}

ChildProcess::~ChildProcess() {
  CloseInput();
  if (output_ >= 0) ::close(output_);
  Wait();
}

std::string ChildProcess::ReadLine() {
  std::string line;
  char c;
  while (output_ >= 0 && ::read(output_, &c, 1) == 1 && c != '\n') line += c;
  return line;
}

void ChildProcess::CloseInput() {
  if (input_ >= 0) ::close(input_);
  input_ = -1;
}

int ChildProcess::Wait() {
  if (pid_ <= 0) return status_;
  int status = 0;
  while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
  pid_ = -1;
  status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return status_;
}

}  // namespace zx::test
