// The main program zephrinkx on a private X display (Xvfb, with or without a window manager),
// seen and driven as a person would: its windows' pictures read with xwd, clicks and keys sent
// to the display with xdotool, its standard error kept. Skipped when Xvfb, xdotool or xwd is
// missing.
#pragma once
#include <gtest/gtest.h>
#include <winuser.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "machine_fixture.h"
#include "road_machine.h"
#include "xvfb_testing.h"
#include "zx/gdi.h"

namespace zx::test {

constexpr LPCWSTR kTitle = u"Zephrin Tunevo";
constexpr WPARAM kCloseRequest = 1182;

// What a host command prints, without the last line end.
inline std::string Output(const std::string& command) {
  std::string text;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe)) text += buffer;
    ::pclose(pipe);
  }
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

inline std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A window picture written by xwd: its header (big-endian words), the colour map and the pixels,
// 32 bits each in the picture's byte order.
class Picture {
 public:
  explicit Picture(const std::string& xwd) : bytes_(xwd) {
    if (bytes_.size() < 100) return;
    const std::uint32_t header = Word(0), colours = Word(19 * 4);
    width_ = static_cast<int>(Word(4 * 4));
    height_ = static_cast<int>(Word(5 * 4));
    lsbFirst_ = Word(7 * 4) == 0;
    bitsPerPixel_ = Word(11 * 4);
    stride_ = Word(12 * 4);
    pixels_ = header + colours * 12;
    if (bitsPerPixel_ != 32 || pixels_ + std::uint64_t(stride_) * height_ > bytes_.size()) width_ = height_ = 0;
  }
  bool Valid() const { return width_ > 0 && height_ > 0; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Written as a PNG file (false when it is not valid or cannot be written).
  bool SavePng(const std::string& path) const {
    if (!Valid()) return false;
    std::vector<DWORD> pixels(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) pixels[static_cast<std::size_t>(y) * width_ + x] = 0xFF000000u | At(x, y);
    HBITMAP bitmap = zx::gdi::CreateSurfaceBitmap(width_, height_);
    if (!bitmap) return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC dc = CreateCompatibleDC(nullptr);
    const bool set = SetDIBits(dc, bitmap, 0, static_cast<UINT>(height_), pixels.data(), &info, DIB_RGB_COLORS) == height_;
    DeleteDC(dc);
    const bool saved = set && zx::gdi::SaveBitmapPng(bitmap, path);
    DeleteObject(bitmap);
    return saved;
  }
  // The colour at a place as 0xRRGGBB (0 outside the picture).
  std::uint32_t At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    const std::size_t at = pixels_ + std::size_t(stride_) * y + std::size_t(x) * 4;
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
      const std::uint32_t byte = static_cast<unsigned char>(bytes_[at + (lsbFirst_ ? 3 - i : i)]);
      value = value << 8 | byte;
    }
    return value & 0xFFFFFF;
  }
  // The dark (text) pixels of a rectangle.
  // The pixels of a rectangle that have the colour.
  int PixelsOf(std::uint32_t colour, int left, int top, int right, int bottom) const {
    int count = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) count += At(x, y) == colour ? 1 : 0;
    return count;
  }
  int DarkPixels(int left, int top, int right, int bottom) const {
    int dark = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) {
        const std::uint32_t c = At(x, y);
        dark += ((c >> 16) & 0xFF) < 0x80 && ((c >> 8) & 0xFF) < 0x80 && (c & 0xFF) < 0x80 ? 1 : 0;
      }
    return dark;
  }

 private:
  std::uint32_t Word(std::size_t at) const {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<unsigned char>(bytes_[at + i]);
    return value;
  }
  std::string bytes_;
  int width_ = 0, height_ = 0;
  bool lsbFirst_ = true;
  std::uint32_t bitsPerPixel_ = 0, stride_ = 0;
  std::size_t pixels_ = 0;
};

class DesktopTest : public MachineTest {
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
    // The display goes only after the program: a program that loses its display is ended by it.
    server_.reset();
    service_.reset();
    ::unsetenv("ZX_MACHINE_ROOT");
  }
  // A private display with the main program's window shown on it; what the program writes to
  // the descriptor is read through program_.out.
  void ShowTheProgram(int outFd = 1, bool windowManager = false) {
    server_ = std::make_unique<Xvfb>("1024x768x24", windowManager);
    display_ = server_->Display();
    ASSERT_FALSE(display_.empty());
    program_ = Start({ZX_MAINPROGRAM},
                     Environment({"DISPLAY=" + display_, "ZX_PRESENTER=x11", "ZX_MACHINE_ROOT=" + root()}), outFd,
                     false);
    ASSERT_GT(program_.pid, 0);
    window_ = Output("DISPLAY=" + display_ + " timeout 20 " + xdotool_ +
                     " search --sync --onlyvisible --name '^Zephrin Tunevo$' 2>/dev/null | head -n 1");
    ASSERT_FALSE(window_.empty()) << "the main window was never shown on the display";
    Tool("mousemove 1010 760");
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
  // The window's picture (or the whole screen's) once it has stopped changing (empty when it
  // never settles).
  std::string SettledPicture(bool wholeScreen = false) const {
    return SettledPictureOf(wholeScreen ? std::string() : window_);
  }
  // The same of an X window (empty: the whole screen).
  std::string SettledPictureOf(const std::string& window) const {
    const std::string file = root() + "/window.xwd";
    const std::string command = xwd_ + " -silent -display " + display_ + (window.empty() ? " -root" : " -id " + window) +
                                " -out " + file + " 2>/dev/null";
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

  // The first settled picture that the condition accepts (invalid when none comes within 30 s
  // of host time): a page drawn in steps may hold still between them.
  Picture AwaitPicture(const std::function<bool(const Picture&)>& accepted, bool wholeScreen = false) const {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < end) {
      Picture picture(SettledPicture(wholeScreen));
      if (picture.Valid() && accepted(picture)) return picture;
    }
    return Picture("");
  }
  std::string xdotool_, xwd_, display_, window_;
  std::unique_ptr<Xvfb> server_;
  Child program_;
  TempFolder catalogue_, uploads_;
  std::unique_ptr<StandIn> service_;
};


}  // namespace zx::test
