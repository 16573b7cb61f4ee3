// The main program zephrinkx on a real X display (a private Xvfb): its window is shown at its
// size, clicks sent to the display (xdotool) on the header tabs change the page, and a tab
// shows the very same picture each time it is chosen (screenshots of the window with xwd).
// Skipped when Xvfb, xdotool or xwd is missing.
#include <gtest/gtest.h>
#include <winuser.h>

#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "machine_fixture.h"
#include "xvfb_testing.h"

namespace zx::test {
namespace {

constexpr LPCWSTR kTitle = u"Zephrin Tunevo";
constexpr WPARAM kCloseRequest = 1182;
// Header tabs 1 and 5 (settings), in window coordinates: 101 x 22 pixels, 100 apart from x 165.
constexpr int kTabOneX = 215, kTabFiveX = 615, kTabY = 46;

// What a host command prints, without the last line end.
std::string Output(const std::string& command) {
  std::string text;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe)) text += buffer;
    ::pclose(pipe);
  }
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class OnTheDesktop : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    xdotool_ = Found("xdotool");
    xwd_ = Found("xwd");
    if (Found("Xvfb").empty() || xdotool_.empty() || xwd_.empty())
      GTEST_SKIP() << "Xvfb, xdotool or xwd is not installed";
    ::setenv("ZX_MACHINE_ROOT", root().c_str(), 1);
  }
  void TearDown() override {
    if (program_.pid > 0) {
      // Closed the way the user closes it; ended only when it does not go.
      if (const HWND window = FindWindowW(u"#32770", kTitle))
        PostMessageW(window, WM_COMMAND, kCloseRequest, 0);
      if (!EndsWithin(program_.pid, 10000)) {
        ::kill(program_.pid, SIGKILL);
        Wait(program_.pid);
      }
      ::close(program_.out);
    }
    ::unsetenv("ZX_MACHINE_ROOT");
  }
  static bool EndsWithin(pid_t pid, int ms) {
    for (int waited = 0; waited < ms; waited += 20) {
      int status = 0;
      if (::waitpid(pid, &status, WNOHANG) == pid) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
  }
  std::string Tool(const std::string& arguments) const {
    return Output("DISPLAY=" + display_ + " " + xdotool_ + " " + arguments + " 2>/dev/null");
  }
  // The window's picture once it has stopped changing (empty when it never settles).
  std::string SettledPicture() const {
    const std::string file = root() + "/window.xwd";
    const std::string command =
        xwd_ + " -silent -display " + display_ + " -id " + window_ + " -out " + file + " 2>/dev/null";
    // Settled: the same picture on four reads in a row, over half a second (a slow build
    // draws a page in steps that can lie further apart than one read).
    std::string last;
    int same = 0;
    for (int tries = 0; tries < 100; ++tries) {
      if (std::system(command.c_str()) != 0) return {};
      std::string now = ReadAll(file);
      same = !now.empty() && now == last ? same + 1 : 0;
      if (same == 3) return now;
      last = std::move(now);
      std::this_thread::sleep_for(std::chrono::milliseconds(150));
    }
    return {};
  }
  // A click at a place of the window, the pointer then moved off the window.
  void ClickAt(int x, int y) const {
    Tool("mousemove --window " + window_ + " " + std::to_string(x) + " " + std::to_string(y) + " click 1");
    Tool("mousemove 1010 760");
  }

  std::string xdotool_, xwd_, display_, window_;
  Child program_;
};

TEST_F(OnTheDesktop, ClicksOnTheHeaderTabsChangeThePage) {
  Xvfb server("1024x768x24");
  display_ = server.Display();
  ASSERT_FALSE(display_.empty());
  program_ = Start({ZX_MAINPROGRAM},
                   Environment({"DISPLAY=" + display_, "ZX_PRESENTER=x11", "ZX_MACHINE_ROOT=" + root()}), 1, false);
  ASSERT_GT(program_.pid, 0);
  window_ = Output("DISPLAY=" + display_ + " timeout 20 " + xdotool_ +
                      " search --sync --onlyvisible --name '^Zephrin Tunevo$' 2>/dev/null | head -n 1");
  ASSERT_FALSE(window_.empty()) << "the main window was never shown on the display";
  // The window paints its own frame: it is shown at its full size, 772 x 583.
  const std::string geometry = Tool("getwindowgeometry --shell " + window_);
  EXPECT_NE(geometry.find("WIDTH=772"), std::string::npos) << geometry;
  Tool("mousemove 1010 760");

  const std::string first = SettledPicture();
  ASSERT_FALSE(first.empty());
  ClickAt(kTabFiveX, kTabY);
  const std::string settings = SettledPicture();
  ASSERT_FALSE(settings.empty());
  EXPECT_TRUE(settings != first) << "the settings tab did not change the page";
  ClickAt(kTabOneX, kTabY);
  const std::string scan = SettledPicture();
  EXPECT_TRUE(scan != settings) << "the first tab did not change the page";
  ClickAt(kTabFiveX, kTabY);
  EXPECT_TRUE(SettledPicture() == settings) << "the settings tab did not show its page as before";
}

}  // namespace
}  // namespace zx::test
