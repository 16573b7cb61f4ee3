// The main program zephrinkx on a real X display (a private Xvfb): its window is shown at its
// size, clicks sent to the display (xdotool) on the header tabs change the page, and a tab
// shows the very same picture each time it is chosen (screenshots of the window with xwd).
// On the laptop machine against the web service's stand-in, a click on Scan now leads to the
// results page with a row for each update found, whose check boxes follow clicks. A display
// that goes away ends the program at once, writing nothing. Skipped when Xvfb, xdotool or xwd
// is missing.
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

#include "machine_fixture.h"
#include "road_machine.h"
#include "xvfb_testing.h"

namespace zx::test {
namespace {

constexpr LPCWSTR kTitle = u"Zephrin Tunevo";
constexpr WPARAM kCloseRequest = 1182;
// Header tabs 1 and 5 (settings), in window coordinates: 101 x 22 pixels, 100 apart from x 165.
constexpr int kTabOneX = 215, kTabFiveX = 615, kTabY = 46;
// The scan home page's Scan now button, and the scan group's left-panel buttons (31 pixels
// apart from y 106): the chosen one is drawn in a colour of its own.
constexpr int kScanNowX = 470, kScanNowY = 318;
constexpr int kPanelX = 160, kPanelHomeY = 106, kPanelScanningY = 137, kPanelResultsY = 168;
// The results list's rows: 74 pixels high from y 237, the check box at x 218 a row's first
// line, the driver's name and class in the description column.
constexpr int kRowTop = 237, kRowHeight = 74, kCheckX = 218, kCheckDown = 14;
constexpr int kTextLeft = 280, kTextRight = 430;
// The results page's "Update selected drivers" button lies where the scanning page had its Stop
// button (whose picture ended at x 703): the new button's picture covers its whole place, from
// x 557 to 743 and from y 516, so no part of the old one shows (the picture's colour a few rows
// under its top, at kUpdatePictureX, is one the button's text never takes). Right of the "View
// summary" label the scanning page had text where the results page has none.
constexpr int kUpdatePictureX = 600, kOldPictureRight = 703, kUpdatePictureRight = 740;
constexpr int kButtonTop = 512, kButtonBottom = 546;
constexpr int kBesideSummaryLeft = 520, kBesideSummaryRight = 556;

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
    // The display goes only after the program: a program that loses its display is ended by it.
    server_.reset();
    service_.reset();
    ::unsetenv("ZX_MACHINE_ROOT");
  }
  // A private display with the main program's window shown on it; what the program writes to
  // the descriptor is read through program_.out.
  void ShowTheProgram(int outFd = 1) {
    server_ = std::make_unique<Xvfb>("1024x768x24");
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

  // The first settled picture that the condition accepts (invalid when none comes within 30 s
  // of host time): a page drawn in steps may hold still between them.
  Picture AwaitPicture(const std::function<bool(const Picture&)>& accepted) const {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < end) {
      Picture picture(SettledPicture());
      if (picture.Valid() && accepted(picture)) return picture;
    }
    return Picture("");
  }
  static bool ShowsResults(const Picture& p) {
    return p.At(kPanelX, kPanelResultsY) != p.At(kPanelX, kPanelHomeY) &&
           p.At(kPanelX, kPanelResultsY) != p.At(kPanelX, kPanelScanningY);
  }
  static int RowText(const Picture& p, int row) {
    const int top = kRowTop + row * kRowHeight;
    return p.DarkPixels(kTextLeft, top + 4, kTextRight, top + kRowHeight - 8);
  }
  static std::uint32_t CheckBox(const Picture& p, int row) { return p.At(kCheckX, kRowTop + row * kRowHeight + kCheckDown); }

  std::string xdotool_, xwd_, display_, window_;
  std::unique_ptr<Xvfb> server_;
  Child program_;
  TempFolder catalogue_, uploads_;
  std::unique_ptr<StandIn> service_;
};

TEST_F(OnTheDesktop, ClicksOnTheHeaderTabsChangeThePage) {
  ASSERT_NO_FATAL_FAILURE(ShowTheProgram());
  // The window paints its own frame: it is shown at its full size, 772 x 583.
  const std::string geometry = Tool("getwindowgeometry --shell " + window_);
  EXPECT_NE(geometry.find("WIDTH=772"), std::string::npos) << geometry;

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

TEST_F(OnTheDesktop, ScanNowLeadsToTheResultsWhoseCheckBoxesFollowClicks) {
  road::SeedLaptop(root());
  road::WriteCatalogue(catalogue_.path());
  service_ = road::StartService(root(), catalogue_.path(), uploads_.path());
  ASSERT_NE(service_, nullptr);
  ASSERT_NO_FATAL_FAILURE(ShowTheProgram());
  ASSERT_TRUE(Picture(SettledPicture()).Valid());

  ClickAt(kScanNowX, kScanNowY);
  const Picture results = AwaitPicture(ShowsResults);
  ASSERT_TRUE(results.Valid()) << "the results page was never shown";
  EXPECT_EQ(service_->NextLine(2000).rfind("POST GetUpdateInfo", 0), 0u);
  // Nothing of the scanning page is left behind the results page's buttons: the new button's
  // picture runs on over the old one's place to its own right end, and no text stands beside
  // the "View summary" label.
  const int pictureRow = kButtonTop + 8;
  const std::uint32_t picture = results.At(kUpdatePictureX, pictureRow);
  EXPECT_EQ(results.PixelsOf(picture, kOldPictureRight - 20, pictureRow, kUpdatePictureRight, pictureRow + 1),
            kUpdatePictureRight - kOldPictureRight + 20);
  EXPECT_EQ(results.DarkPixels(kBesideSummaryLeft, kButtonTop + 8, kBesideSummaryRight, kButtonBottom - 6), 0);
  // The two display drivers of the catalogue have a row each, checked; no third row.
  for (int row = 0; row < 2; ++row) {
    EXPECT_GT(RowText(results, row), 100) << "row " << row;
    EXPECT_NE(CheckBox(results, row), 0xFFFFFFu) << "row " << row;
  }
  EXPECT_EQ(RowText(results, 2), 0);
  EXPECT_EQ(CheckBox(results, 2), 0xFFFFFFu);

  // A click on each check box clears it; a second click on the first checks it again.
  ClickAt(kCheckX, kRowTop + kCheckDown);
  ClickAt(kCheckX, kRowTop + kRowHeight + kCheckDown);
  const Picture cleared = AwaitPicture([&](const Picture& p) { return CheckBox(p, 1) != CheckBox(results, 1); });
  ASSERT_TRUE(cleared.Valid()) << "the check boxes did not follow the clicks";
  EXPECT_NE(CheckBox(cleared, 0), CheckBox(results, 0));
  EXPECT_EQ(CheckBox(cleared, 0), CheckBox(cleared, 1));
  ClickAt(kCheckX, kRowTop + kCheckDown);
  const Picture again = AwaitPicture([&](const Picture& p) { return CheckBox(p, 0) != CheckBox(cleared, 0); });
  ASSERT_TRUE(again.Valid());
  EXPECT_EQ(CheckBox(again, 0), CheckBox(results, 0));
  EXPECT_EQ(CheckBox(again, 1), CheckBox(cleared, 1));
}

TEST_F(OnTheDesktop, ADisplayThatGoesAwayEndsTheProgramWritingNothing) {
  // The program works in a folder of its own, which stays empty.
  TempFolder work;
  const std::string here = std::filesystem::current_path().string();
  ASSERT_EQ(::chdir(work.path().c_str()), 0);
  ShowTheProgram(2);
  ASSERT_EQ(::chdir(here.c_str()), 0);
  ASSERT_FALSE(window_.empty());
  ASSERT_TRUE(Picture(SettledPicture()).Valid());

  // It ends through its own handler of the lost display, not through the end of the process
  // that runs the exit handlers on the presenter's thread while the window thread goes on.
  server_.reset();
  EXPECT_TRUE(AwaitLine(program_.out, "zx: the X display is gone; the program ends", 10000));
  const bool ended = EndsWithin(program_.pid, 10000);
  EXPECT_TRUE(ended) << "the program did not end with its display";
  if (ended) {
    program_.pid = -1;
    ::close(program_.out);
  }
  EXPECT_TRUE(std::filesystem::is_empty(work.path()));
}

}  // namespace
}  // namespace zx::test
