// The main program under a real window manager (openbox on a private Xvfb), driven only through
// X events as a person drives it: every popup and message box of the road from Scan now to the
// summary opens over the main window and closes again, the program's own minimise button
// iconifies the window and the manager's restore brings it back as it was, and typed
// punctuation and dead keys reach the feedback form's fields, whose document reaches the
// service; the driver-age dialog closes by each of its links and leaves the main window; About,
// and the scheduler open and close by clicks; the Updates button opens the update checker,
// whose check without an answer ends on its failure page, and Cancel closes it. The
// program is still running at the end and says nothing of X errors. Skipped
// when Xvfb, openbox, wmctrl, xprop, setxkbmap, xdotool or xwd is missing.
#include <poll.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <sstream>

#include "ExchangeEncoding.h"
#include "desktop_testing.h"
#include "snapshot_compare.h"

namespace zx::test {
namespace {

// Places on the screen (the main window stands at its top left corner, 772 x 583).
constexpr int kResultsTabX = 315, kTabY = 46;
constexpr int kMinimiseX = 709, kMinimiseY = 14;
constexpr int kScanNowX = 470, kScanNowY = 318;
// The results page's buttons, and its left panel (31 pixels a step from y 106; the chosen step
// in a colour of its own).
constexpr int kReportX = 236, kSummaryX = 433, kUpdateX = 640, kButtonsY = 531;
constexpr int kCheckX = 218, kFirstCheckY = 251;
constexpr int kPanelX = 160, kPanelHomeY = 106, kPanelResultsY = 168, kPanelSummaryY = 230;
// A message box over the main window: its buttons, and its question's "No".
constexpr int kBoxOkX = 488, kBoxNoX = 404, kBoxButtonY = 354;
// A place of the download popup that its question does not cover, and the question's area.
constexpr int kPopupOnlyX = 620, kPopupOnlyY = 440;
constexpr RECT kQuestionArea{196, 182, 576, 400};
// The download-and-install popup's question: "Install".
constexpr int kInstallX = 521, kInstallY = 378;
// The restart prompt's "Restart now".
constexpr int kRestartX = 534, kRestartY = 413;
// The results header's information sign, and the driver-age dialog's two links.
constexpr int kAgeSignX = 505, kAgeSignY = 219, kAgeOkX = 113, kAgeCloseX = 171, kAgeLinksY = 487;
// The main window's logo, its system menu's About item and the About box's OK; the Settings
// tab and its Schedule step.
constexpr int kLogoX = 15, kLogoY = 9, kAboutItemX = 100, kAboutItemY = 22, kAboutOkX = 635, kAboutOkY = 449;
// The About box lies at (71, 88) over the main window; its frame's close button at its top right.
constexpr int kAboutCloseX = 71 + 630 - 28, kAboutCloseY = 88 + 11;
constexpr int kSettingsTabX = 615, kScheduleX = 80, kScheduleY = 168;
// The main window's Updates button; the update checker's Cancel, and the OK of its box.
constexpr int kUpdatesX = 59, kUpdatesY = 522;
constexpr int kCheckerCancelX = 507, kCheckerCancelY = 368, kCheckerBoxOkX = 382, kCheckerBoxOkY = 262;
// The scheduler's "Every day", Apply, and its close button.
constexpr int kEveryDayX = 224, kEveryDayY = 289, kApplyX = 664, kApplyY = 533, kSchedulerCloseX = 745;
constexpr int kCloseY = 13;
// The feedback form: its e-mail field, the problem list's button and its entry "The update
// worked", the description, Submit.
constexpr int kMailX = 427, kMailY = 245, kProblemX = 552, kProblemY = 278, kWorkedY = 367;
constexpr int kDescriptionX = 385, kDescriptionY = 370, kSubmitX = 587, kSubmitY = 473;

class UnderAWindowManager : public DesktopTest {
 protected:
  void SetUp() override {
    DesktopTest::SetUp();
    if (IsSkipped()) return;
    wmctrl_ = Found("wmctrl");
    if (Found("openbox").empty() || wmctrl_.empty() || Found("xprop").empty() || Found("setxkbmap").empty())
      GTEST_SKIP() << "openbox, wmctrl, xprop or setxkbmap is not installed";
    road::SeedLaptop(root());
    road::WriteCatalogue(catalogue_.path());
    service_ = road::StartService(root(), catalogue_.path(), uploads_.path());
    ASSERT_NE(service_, nullptr);
    ASSERT_NO_FATAL_FAILURE(ShowTheProgram(2, true));
    reader_ = std::thread([this] { KeepErrors(); });
  }
  void TearDown() override {
    if (HasFailure() && !display_.empty()) {
      // What the screen showed, for the failure's report.
      const std::string picture = ::testing::TempDir() + "/desktop-failure.xwd";
      Output(xwd_ + " -silent -display " + display_ + " -root -out " + picture);
      std::printf("the screen at the failure: %s\n", picture.c_str());
    }
    if (program_.pid > 0) {
      int status = 0;
      EXPECT_NE(::waitpid(program_.pid, &status, WNOHANG), program_.pid) << "the program ended by itself";
    }
    DesktopTest::TearDown();  // ends the program, closes its error pipe
    stop_ = true;
    if (reader_.joinable()) reader_.join();
    std::lock_guard<std::mutex> guard(lock_);
    for (const char* sign : {"X error", "X Error", "BadMatch", "BadWindow", "zx: "})
      EXPECT_EQ(errors_.find(sign), std::string::npos) << errors_;
  }

  // What the program writes to its standard error (its children too, while they keep it).
  void KeepErrors() {
    const int fd = program_.out;
    while (!stop_) {
      pollfd wait{fd, POLLIN, 0};
      if (::poll(&wait, 1, 100) <= 0) continue;
      char buffer[512];
      const ssize_t got = ::read(fd, buffer, sizeof buffer);
      if (got <= 0) return;
      std::lock_guard<std::mutex> guard(lock_);
      errors_.append(buffer, static_cast<std::size_t>(got));
    }
  }

  // How long ago the update checker the program starts hidden at its start was started, from
  // the start time of the program's child process.
  long StartupCheckAgeMs() const {
    for (int waited = 0; waited < 10000; waited += 50) {
      for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream comm(entry.path() / "comm");
        std::string name;
        if (!std::getline(comm, name) || name.rfind("ZEPHRINKXCheck", 0) != 0) continue;
        std::ifstream statFile(entry.path() / "stat");
        std::string stat((std::istreambuf_iterator<char>(statFile)), std::istreambuf_iterator<char>());
        std::istringstream fields(stat.substr(stat.rfind(')') + 2));
        std::string field, parent;
        for (int i = 3; i <= 22 && fields >> field; ++i)
          if (i == 4) parent = field;
        if (parent != std::to_string(program_.pid)) continue;
        double uptime = 0;
        std::ifstream("/proc/uptime") >> uptime;
        return static_cast<long>(uptime * 1000 - std::stod(field) * 1000 / static_cast<double>(::sysconf(_SC_CLK_TCK)));
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return 10000;  // started and ended before the test looked, more than 10 s ago
  }

  // The windows the manager manages: the main window and the popups open over it.
  int TopLevels() const {
    const std::string list = Output("DISPLAY=" + display_ + " " + wmctrl_ + " -l 2>/dev/null");
    if (list.empty()) return 0;
    return static_cast<int>(std::count(list.begin(), list.end(), '\n')) + 1;
  }
  // The X window of the popup opened last.
  std::string Newest() const {
    const std::string list = Output("DISPLAY=" + display_ + " " + wmctrl_ + " -l 2>/dev/null");
    const std::size_t line = list.rfind('\n');
    const std::string last = line == std::string::npos ? list : list.substr(line + 1);
    return last.substr(0, last.find(' '));
  }
  // A popup opened after the window (X windows are numbered in the order they are made).
  bool AwaitNewer(const std::string& window) const {
    for (int waited = 0; waited < 30000; waited += 50) {
      const std::string newest = Newest();
      if (!newest.empty() && std::stoul(newest, nullptr, 16) > std::stoul(window, nullptr, 16)) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }
  bool AwaitGone(const std::string& window) const {
    for (int waited = 0; waited < 30000; waited += 50) {
      const std::string list = Output("DISPLAY=" + display_ + " " + wmctrl_ + " -l 2>/dev/null");
      if (list.find(window + " ") == std::string::npos) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }
  bool AwaitNamed(const std::string& name) const {
    for (int waited = 0; waited < 30000; waited += 50) {
      if (Output("DISPLAY=" + display_ + " " + wmctrl_ + " -l 2>/dev/null").find(" " + name) != std::string::npos) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }
  bool AwaitTopLevels(int count) const {
    for (int waited = 0; waited < 30000; waited += 50) {
      if (TopLevels() == count) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
  }
  // A click at a place of the screen, as a person clicks: the pointer comes to the place and
  // rests there a moment; with `moveOff`, it then leaves for a place off the windows (not
  // while typing: a pointer moved on at once can be there before the manager, which holds the
  // pointer's events while it takes a click for itself, lets the release through).
  void ClickScreen(int x, int y, bool moveOff = true) const {
    Tool("mousemove " + std::to_string(x) + " " + std::to_string(y) + " sleep 0.1 click 1");
    if (moveOff) Tool("sleep 0.2 mousemove 1010 760");
  }
  std::string State() const {
    return Output("DISPLAY=" + display_ + " xprop -id " + window_ + " WM_STATE 2>/dev/null | grep 'window state'");
  }
  // Whether the X window has the keyboard focus.
  bool Focused(const std::string& window) const {
    const std::string focus = Tool("getwindowfocus");
    return !focus.empty() && std::stoul(focus) == std::stoul(window, nullptr, 16);
  }
  static bool SameArea(const Picture& a, const Picture& b, const RECT& area) {
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x)
        if (a.At(x, y) != b.At(x, y)) return false;
    return true;
  }
  static bool Chosen(const Picture& p, int y) {
    return p.At(kPanelX, y) != p.At(kPanelX, kPanelHomeY) || y == kPanelHomeY;
  }

  std::string wmctrl_;
  std::thread reader_;
  std::atomic<bool> stop_{false};
  std::mutex lock_;
  std::string errors_;
};

TEST_F(UnderAWindowManager, AQuestionBoxAndAMinimiseAndRestoreLeaveTheWindowAsItWas) {
  const Picture before(SettledPicture());
  ASSERT_TRUE(before.Valid());
  EXPECT_EQ(TopLevels(), 1);

  // The results tab before a scan asks whether to scan; "No" closes the box and nothing else.
  ClickScreen(kResultsTabX, kTabY);
  ASSERT_TRUE(AwaitTopLevels(2)) << "no question over the main window";
  // Its own picture (inside the manager's frame) is as drawn before.
  const std::string drawn = root() + "/question.png";
  ASSERT_TRUE(Picture(SettledPictureOf(Newest())).SavePng(drawn));
  ExpectSameAsReference(drawn, std::string(ZX_DESKTOP_SNAPSHOTS) + "/scan_question.png", "scan_question");
  ClickScreen(kBoxNoX, kBoxButtonY);
  ASSERT_TRUE(AwaitTopLevels(1)) << "the question did not close";

  // The program's own minimise button iconifies the window, which stays managed (the taskbar
  // lists it); the manager's restore shows it again, the same picture as before.
  ClickScreen(kMinimiseX, kMinimiseY);
  for (int waited = 0; waited < 10000 && State().find("Iconic") == std::string::npos; waited += 50)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_NE(State().find("Iconic"), std::string::npos) << State();
  EXPECT_EQ(TopLevels(), 1);
  Output("DISPLAY=" + display_ + " " + wmctrl_ + " -i -a " + window_);
  for (int waited = 0; waited < 10000 && State().find("Normal") == std::string::npos; waited += 50)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_NE(State().find("Normal"), std::string::npos) << State();
  const Picture restored = AwaitPicture([&](const Picture& p) { return p.At(kPanelX, kPanelHomeY) == before.At(kPanelX, kPanelHomeY); });
  ASSERT_TRUE(restored.Valid());
  EXPECT_EQ(restored.PixelsOf(0, 0, 60, 772, 583), before.PixelsOf(0, 0, 60, 772, 583));
  EXPECT_EQ(restored.DarkPixels(0, 60, 772, 583), before.DarkPixels(0, 60, 772, 583));
}

TEST_F(UnderAWindowManager, TheRoadFromScanNowToTheSummaryOpensAndClosesEachPopup) {
  ClickScreen(kScanNowX, kScanNowY);
  const Picture results = AwaitPicture([](const Picture& p) { return Chosen(p, kPanelResultsY); });
  ASSERT_TRUE(results.Valid()) << "the results page was never shown";

  // Update the NVIDIA display's driver alone (its row's check box left checked, the Intel
  // display's cleared): the download popup over its backdrop asks to install, the restore
  // point's wait dialog comes and goes, the install ends in its box and the restart prompt,
  // and each closes by a click.
  ClickScreen(kCheckX, kFirstCheckY);
  ClickScreen(kUpdateX, kButtonsY);
  ASSERT_TRUE(AwaitTopLevels(4)) << "the download popup did not ask to install";
  const std::string question = Newest();
  // A click on the download popup, which its question disables, leaves the question over it
  // and gives it the focus again.
  const Picture asked(SettledPicture(true));
  ClickScreen(kPopupOnlyX, kPopupOnlyY);
  EXPECT_TRUE(AwaitPicture([&](const Picture& p) { return SameArea(p, asked, kQuestionArea); }, true).Valid())
      << "the question went behind the popup";
  for (int waited = 0; waited < 5000 && !Focused(question); waited += 50)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_TRUE(Focused(question));
  ClickScreen(kInstallX, kInstallY);
  ASSERT_TRUE(AwaitGone(question));
  // The restore point is made behind its wait dialog, which closes by itself.
  ASSERT_TRUE(AwaitNewer(question)) << "no wait dialog for the restore point";
  const std::string wait = Newest();
  ASSERT_TRUE(AwaitGone(wait)) << "the restore point's wait dialog stayed";
  ASSERT_TRUE(AwaitNewer(wait)) << "the install never said it ended";
  ClickScreen(kBoxOkX, kBoxButtonY);
  ASSERT_TRUE(AwaitNamed("Restart required")) << "no restart prompt";
  ClickScreen(kRestartX, kRestartY);
  // The download popup closes itself after the restart prompt.
  ASSERT_TRUE(AwaitTopLevels(1)) << "the popups did not all close";

  ClickScreen(kSummaryX, kButtonsY);
  EXPECT_TRUE(AwaitPicture([](const Picture& p) { return Chosen(p, kPanelSummaryY); }).Valid())
      << "the summary page was never shown";
}

// About through the logo's system menu (closed by its OK and by its frame's close button) and
// the scheduler from Settings > Schedule (its Apply answered by a box), each opened and closed
// by clicks.
TEST_F(UnderAWindowManager, AboutAndTheSchedulerOpenAndCloseByClicks) {
  // Closed once by its OK button and once by the frame's close button.
  for (const std::pair<int, int>& close : {std::pair{kAboutOkX, kAboutOkY}, std::pair{kAboutCloseX, kAboutCloseY}}) {
    ClickScreen(kLogoX, kLogoY, false);
    ClickScreen(kAboutItemX, kAboutItemY);
    ASSERT_TRUE(AwaitNamed("About")) << "About did not open";
    ClickScreen(close.first, close.second);
    ASSERT_TRUE(AwaitTopLevels(1)) << "About did not close";
  }

  ClickScreen(kSettingsTabX, kTabY);
  ClickScreen(kScheduleX, kScheduleY);
  ASSERT_TRUE(AwaitNamed("Scheduler")) << "the scheduler did not open";
  ClickScreen(kEveryDayX, kEveryDayY);
  ClickScreen(kApplyX, kApplyY);
  ASSERT_TRUE(AwaitTopLevels(3)) << "Apply said nothing";
  ClickScreen(kBoxOkX + 1, kBoxButtonY);
  ASSERT_TRUE(AwaitTopLevels(2));
  ClickScreen(kSchedulerCloseX, kCloseY);
  ASSERT_TRUE(AwaitTopLevels(1)) << "the scheduler did not close";
}

TEST_F(UnderAWindowManager, TheUpdatesButtonOpensTheUpdateCheckerWhoseCancelClosesIt) {
  // The program's own hidden check at its start holds the next launch back for 8.2 s from it.
  std::this_thread::sleep_for(std::chrono::milliseconds(8300 - std::min<long>(8300, StartupCheckAgeMs())));
  ClickScreen(kUpdatesX, kUpdatesY);
  ASSERT_TRUE(AwaitNamed("Checking for Updates")) << "the update checker did not open";
  ASSERT_TRUE(AwaitTopLevels(3)) << "the failed check was not told";
  ClickScreen(kCheckerBoxOkX, kCheckerBoxOkY);
  ASSERT_TRUE(AwaitTopLevels(2));
  // The check that got no answer ends on the failure page, not "up to date".
  const std::string drawn = root() + "/checker.png";
  const std::string reference = std::string(ZX_DESKTOP_SNAPSHOTS) + "/checker_failed.png";
  for (int waited = 0; waited < 5000; waited += 100) {
    ASSERT_TRUE(Picture(SettledPictureOf(Newest())).SavePng(drawn));
    if (UpdatingSnapshots() || DifferentPixels(drawn, reference) == 0) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  ExpectSameAsReference(drawn, reference, "checker_failed");
  ClickScreen(kCheckerCancelX, kCheckerCancelY);
  ASSERT_TRUE(AwaitTopLevels(1)) << "Cancel did not close the update checker";
}

TEST_F(UnderAWindowManager, TheDriverAgeDialogClosesByEachOfItsLinksAndLeavesTheMainWindow) {
  ClickScreen(kScanNowX, kScanNowY);
  const Picture results = AwaitPicture([](const Picture& p) { return Chosen(p, kPanelResultsY); });
  ASSERT_TRUE(results.Valid());
  for (const int link : {kAgeOkX, kAgeCloseX}) {
    ClickScreen(kAgeSignX, kAgeSignY);
    ASSERT_TRUE(AwaitTopLevels(3)) << "the driver-age dialog did not open over its backdrop";
    ClickScreen(link, kAgeLinksY);
    ASSERT_TRUE(AwaitTopLevels(1)) << "the link at x " << link << " did not close the dialog";
    EXPECT_TRUE(AwaitPicture([&](const Picture& p) { return Chosen(p, kPanelResultsY); }).Valid());
  }
}

TEST_F(UnderAWindowManager, TypedPunctuationAndDeadKeysReachTheFeedbackForm) {
  ClickScreen(kScanNowX, kScanNowY);
  ASSERT_TRUE(AwaitPicture([](const Picture& p) { return Chosen(p, kPanelResultsY); }).Valid());
  ClickScreen(kReportX, kButtonsY);
  ASSERT_TRUE(AwaitTopLevels(3)) << "the feedback form did not open over its backdrop";

  ClickScreen(kMailX, kMailY, false);
  Tool("type --delay 20 'tester@example.com'");
  Tool("key period comma minus colon slash question underscore");
  ClickScreen(kProblemX, kProblemY, false);
  ClickScreen(kDescriptionX, kWorkedY, false);
  ClickScreen(kDescriptionX, kDescriptionY, false);
  Tool("type --delay 20 'Works: 100% (ok), \"yes\"; a/b? c_d! '");
  // A keyboard with dead keys (US international): an accent and a letter type one character.
  Output("setxkbmap -display " + display_ + " -layout us -variant intl");
  Tool("key dead_acute e dead_diaeresis u");
  Output("setxkbmap -display " + display_ + " -layout us");
  Tool("type --delay 20 ' fine'");
  ClickScreen(kSubmitX, kSubmitY, false);
  ASSERT_TRUE(AwaitTopLevels(4)) << "no answer to the submitted form";
  ClickScreen(kBoxOkX, kBoxButtonY);

  // The document the service kept holds both texts as typed.
  std::u16string document;
  for (int waited = 0; waited < 10000 && document.empty(); waited += 100) {
    for (const auto& entry : std::filesystem::directory_iterator(uploads_.path())) {
      const std::string bytes = ReadAll(entry.path().string());
      CString text(std::u16string(bytes.begin(), bytes.end()).c_str());
      if (getOutputStrFromHex(text)) document = text.GetString();
    }
    if (document.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  ASSERT_FALSE(document.empty()) << "the service kept no feedback";
  EXPECT_NE(document.find(u"tester@example.com.,-:/?_"), std::u16string::npos);
  EXPECT_NE(document.find(u"Works: 100% (ok), \"yes\"; a/b? c_d! \u00e9\u00fc fine"), std::u16string::npos);
}

}  // namespace
}  // namespace zx::test
