// Helpers of the kernel tests: a fixture on a manual clock, and child processes that run this
// same test program in a helper role (named mutexes across processes, GetCommandLine,
// ExitProcess).
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "machine_fixture.h"
#include "wintypes.h"
#include "zx/clock.h"

namespace zx::test {

// A fresh machine root and a manual clock, put back to the host clock afterwards.
class ManualClockTest : public MachineTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  ManualClock clock_;
};

// Runs body on a thread made by CreateThread; its result is the thread's exit code.
HANDLE StartThread(std::function<DWORD()> body, DWORD creationFlags = 0, DWORD* threadId = nullptr);
// Waits for a thread without limit, closes its handle and answers its exit code.
DWORD JoinThread(HANDLE thread);

// Roles a child can play (selected by the environment, acted out before the tests start):
//   "mutex <name>":  CreateMutexW(nullptr, TRUE, name), then prints "<existed> <owns>\n"
//                    (1 when GetLastError() was ERROR_ALREADY_EXISTS; 1 when the child owns
//                    the mutex) and holds it until its input closes.
//   "cmdline <file>": writes GetCommandLineW (as UTF-8), "\n", then GetCommandLineA to file.
//   "exit <code>":    starts a thread that blocks, then calls ExitProcess(code).
class ChildProcess {
 public:
  // program: the file to run (this test program, or a link to it); arguments follow argv[0].
  ChildProcess(const std::string& program, const std::string& role, const std::string& roleArgument,
               const std::vector<std::string>& arguments = {});
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return pid_ > 0; }
  // One line of the child's output, without the newline ("" at its end).
  std::string ReadLine();
  void CloseInput();
  // The child's exit code (waits for it once), -1 when it died of a signal.
  int Wait();

 private:
  int pid_ = -1;
  int input_ = -1;
  int output_ = -1;
  int status_ = -1;
};

// The running test program's host path.
std::string TestProgram();
// "Z:" + a host path with backslashes: how the layer names a host file outside drive C.
std::u16string ZPath(const std::string& hostPath);
std::string Utf8(const std::u16string& text);

}  // namespace zx::test
