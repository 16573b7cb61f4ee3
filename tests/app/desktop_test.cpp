// The main program zephrinkx on a real X display (a private Xvfb): its window is shown at its
// size, clicks sent to the display (xdotool) on the header tabs change the page, and a tab
// shows the very same picture each time it is chosen (screenshots of the window with xwd).
// On the laptop machine against the web service's stand-in, a click on Scan now leads to the
// results page with a row for each update found, whose check boxes follow clicks. A display
// that goes away ends the program at once, writing nothing. Skipped when Xvfb, xdotool or xwd
// is missing.
#include <filesystem>
#include <string>

#include "desktop_testing.h"

namespace zx::test {
namespace {

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

class OnTheDesktop : public DesktopTest {
 protected:
  static bool ShowsResults(const Picture& p) {
    return p.At(kPanelX, kPanelResultsY) != p.At(kPanelX, kPanelHomeY) &&
           p.At(kPanelX, kPanelResultsY) != p.At(kPanelX, kPanelScanningY);
  }
  static int RowText(const Picture& p, int row) {
    const int top = kRowTop + row * kRowHeight;
    return p.DarkPixels(kTextLeft, top + 4, kTextRight, top + kRowHeight - 8);
  }
  static std::uint32_t CheckBox(const Picture& p, int row) { return p.At(kCheckX, kRowTop + row * kRowHeight + kCheckDown); }

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
  EXPECT_NE(service_->NextLineStarting("POST GetUpdateInfo", 2000), "");
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
