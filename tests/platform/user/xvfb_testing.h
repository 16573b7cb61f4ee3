// Helpers of the presenter tests: host programs found and run with pipes, their output read
// line by line, a private Xvfb on a free display, and this test program started again in a
// demo role (an environment variable names the role) on that display.
#pragma once
#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

#include "wingdi.h"
#include "winuser.h"

namespace zx::test {

// The host program's path, or empty when it is not installed.
std::string Found(const char* name);

struct Child {
  pid_t pid = -1;
  int in = -1;   // its standard input (we write)
  int out = -1;  // what it writes to the descriptor we read
};

// Starts a program; `outFd` is the child's descriptor whose writes we read.
Child Start(const std::vector<std::string>& args, const std::vector<std::string>& env, int outFd,
            bool withInput);
// Reads one line (at most `ms` of host time for each character).
std::string ReadLine(int fd, int ms);
// Reads lines until one is `wanted` (true) or the output ends or stalls.
bool AwaitLine(int fd, const std::string& wanted, int ms);
int Wait(pid_t pid);
// This process's environment without DISPLAY and ZX_ variables, plus `extra`.
std::vector<std::string> Environment(const std::vector<std::string>& extra);
// Runs a program to its end (its standard error read and dropped); answers its exit code.
int RunToEnd(const std::vector<std::string>& args, const std::vector<std::string>& env = Environment({}));

// A private X server (24-bit, 640 x 480 unless another size is asked for) on a display it
// picked, ended with the object; with `windowManager`, openbox runs on it as on a desktop (the
// display stays empty when openbox is missing or never took the screen).
class Xvfb {
 public:
  explicit Xvfb(const char* screen = "640x480x24", bool windowManager = false);
  ~Xvfb();
  Xvfb(const Xvfb&) = delete;
  Xvfb& operator=(const Xvfb&) = delete;
  // ":n", or empty when Xvfb is missing or did not start.
  const std::string& Display() const { return display_; }

 private:
  bool StartWindowManager();

  Child server_;
  Child manager_;
  std::string display_;
};

// When the environment names `role`, the test program plays `play` instead of running its
// tests and exits with its answer (checked when the tests are set up). Answers true.
bool AddDemoRole(const char* role, int (*play)());
// In the demo: registers a window class of `name` with `proc` (false when it can't).
bool RegisterDemoClass(LPCWSTR name, WNDPROC proc);
// In the demo: fills a rectangle of a DC with a colour.
void FillColour(HDC dc, const RECT& rect, COLORREF colour);
// In the demo: answers WM_PAINT by filling the client area with `colour` and then `mark`
// (client coordinates; empty: none) with `markColour`.
void PaintFlat(HWND window, COLORREF colour, const RECT& mark = RECT{}, COLORREF markColour = 0);
// In the demo: a line on the standard output, flushed.
void Say(const char* line);

// This test program started again with `role`=1, ZX_PRESENTER=x11, the display and a machine
// root; its standard input and output are piped.
Child StartDemo(const char* role, const std::string& display, const std::string& machineRoot);
// In the demo: dispatches this thread's messages until the standard input ends, handing each
// byte read to `onInput` (when given); answers 0.
int ServeUntilInputEnds(const std::function<void(char)>& onInput = nullptr);
// Closes the demo's input (it ends) and answers its exit code.
int EndDemo(Child& demo);

}  // namespace zx::test
