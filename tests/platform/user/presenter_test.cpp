// The X11 presenter under Xvfb: a small program (this test program started again in the
// demo role, with ZX_PRESENTER=x11 and DISPLAY set) shows a painted window; a screenshot of
// the display (xwd) must show the window's pixels at the window's place, and a click and a
// key sent to the display (xdotool, when installed) reach the window as WM_LBUTTONDOWN and
// WM_KEYDOWN, and the pointer leaving it as WM_MOUSELEAVE. Skipped when Xvfb or xwd is missing.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "user_testing.h"
#include "xvfb_testing.h"
#include "windraw.h"
#include "wingdi.h"
#include "wininput.h"
#include "zx/machine.h"
#include "zx/windowpaint.h"

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
  PaintFlat(window, kDemoColour, RECT{10, 10, 30, 30}, kDemoMark);
  return 0;
}

// Shows the window, says "shown" once the presenter has put it on the display, and runs
// until its input closes.
int PlayDemo() {
  if (!RegisterDemoClass(u"ZxPresenterDemo", DemoProc)) return 2;
  const HWND window = CreateWindowExW(0, u"ZxPresenterDemo", u"Presenter demo", WS_POPUP | WS_VISIBLE,
                                      kDemoRect.left, kDemoRect.top, kDemoRect.right - kDemoRect.left,
                                      kDemoRect.bottom - kDemoRect.top, nullptr, nullptr, nullptr, nullptr);
  if (!window) return 3;
  UpdateWindow(window);
  if (!user::PresenterRunning()) return 4;
  if (!user::PresenterFlush(10000)) return 5;
  Say("shown");
  return ServeUntilInputEnds();
}

[[maybe_unused]] const bool g_demo = AddDemoRole(kDemoVariable, PlayDemo);

// ---- The test -----------------------------------------------------------------------------

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
  const std::string xwd = Found("xwd");
  if (Found("Xvfb").empty() || xwd.empty()) GTEST_SKIP() << "Xvfb or xwd is not installed";
  TempFolder folder;
  const Xvfb server;
  ASSERT_FALSE(server.Display().empty()) << "Xvfb gave no display number";
  const std::string& display = server.Display();
  Child demo = StartDemo(kDemoVariable, display, folder.path());
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
  const int demoExit = EndDemo(demo);

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
