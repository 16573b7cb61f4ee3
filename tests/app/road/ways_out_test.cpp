// The ways out of the main window through the real program, started as its own process on the
// laptop profile against the web service's stand-in and driven only by injected clicks and
// keys: the update checker it starts asks the service, Settings > Schedule opens the scheduler
// program, the logo and Alt+Space open the system menu whose About item opens the About box
// that its OK closes, and the results page's driver-age button shows the levels page whose
// link closes it.
#include <functional>
#include <string>
#include <utility>

#include "road_machine.h"
#include "road_testing.h"
#include "zx/input.h"

namespace zx::test {
namespace {

constexpr UINT kSettingsTab = 1263, kScheduleButton = CDlgLeftDlgBase::kFirstButtonCommand + 2;
constexpr UINT kGeneralPageAutoScan = 5256;  // shown once the settings group is
constexpr UINT kSchedulerCaptionButton = 5101;
constexpr WPARAM kCloseCommand = 1182;
// The system menu's first item, About, from the menu's corner; the levels page's "OK" link.
constexpr POINT kAboutItem{30, 13}, kLevelsOk{19, 435};

class WaysOut : public MainRoadTest {
 protected:
  void SetUp() override {
    MainRoadTest::SetUp();
    ASSERT_NO_FATAL_FAILURE(road::WriteCatalogue(catalogue_.path()));
    ASSERT_NO_FATAL_FAILURE(StartService());
  }
  static bool Holds(HWND window, std::u16string_view className) {
    WCHAR name[64] = {};
    ::GetClassNameW(window, name, 64);
    if (name == className) return true;
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
      if (Holds(child, className)) return true;
    return false;
  }
  // The program's shown popup that is or holds a window of that class, or null.
  static HWND PopupWith(const ProgramRun& program, std::u16string_view className) {
    for (HWND popup : program.Popups())
      if (Holds(popup, className)) return popup;
    return nullptr;
  }
  static void ClickInside(HWND window, POINT at) {
    ::ClientToScreen(window, &at);
    remote::PressAt(window, at);
  }
};

TEST_F(WaysOut, TheUpdateCheckerTheProgramStartsAsksTheService) {
  ProgramRun program;
  ASSERT_NE(program.window(), nullptr);
  EXPECT_NE(service_->NextLineStarting("GET /updatekx/c4u.cgi", 20000), "") << "the program's version is asked about";
}

TEST_F(WaysOut, SettingsScheduleOpensTheSchedulerProgram) {
  ProgramRun program;
  const HWND main = program.window();
  ASSERT_NE(main, nullptr);
  remote::Press(remote::ShownControl(main, kSettingsTab));
  ASSERT_TRUE(remote::WaitFor([&] { return remote::ShownControl(main, kGeneralPageAutoScan) != nullptr; }));
  remote::Press(remote::ShownControl(main, kScheduleButton));
  // The scheduler's window: shown, with its "Schedule" caption button.
  HWND window = nullptr;
  DWORD scheduler = 0;
  EXPECT_TRUE(remote::WaitFor([&] {
    for (window = ::FindWindowExW(nullptr, nullptr, nullptr, nullptr); window; window = ::FindWindowExW(nullptr, window, nullptr, nullptr))
      if (::IsWindowVisible(window) && remote::ShownControl(window, kSchedulerCaptionButton)) return true;
    return false;
  })) << "the scheduler shows its window";
  ::GetWindowThreadProcessId(window, &scheduler);
  const HANDLE process = window ? ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, scheduler) : nullptr;
  ASSERT_NE(process, nullptr);
  ::PostMessageW(window, WM_COMMAND, kCloseCommand, 0);
  EXPECT_TRUE(remote::WaitFor([&] { return ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0; })) << "it closes";
  ::TerminateProcess(process, 1);
  ::CloseHandle(process);
  EXPECT_TRUE(program.TakesInput());
}

TEST_F(WaysOut, TheLogoAndAltSpaceOpenTheSystemMenuWhoseAboutOpensTheAboutBoxThatOkCloses) {
  ProgramRun program;
  const HWND main = program.window();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(remote::WaitFor([&] { return program.TakesInput(); }));
  const std::function<void()> openers[] = {
      [&] { ClickInside(main, POINT{40, 9}); },  // the logo, the caption's icon
      [&] {
        for (const auto& [key, down] : {std::pair{VK_MENU, true}, {VK_SPACE, true}, {VK_SPACE, false}, {VK_MENU, false}})
          EXPECT_NE(user::InjectKeyTo(main, key, down), nullptr);
      },
  };
  int opener = 0;
  for (const auto& open : openers) {
    SCOPED_TRACE(::testing::Message() << "opener " << opener++);
    open();
    HWND menu = nullptr, ok = nullptr;
    ASSERT_TRUE(remote::WaitFor([&] { return (menu = PopupWith(program, u"#32768")) != nullptr; })) << "the menu";
    RECT place{};
    ::GetWindowRect(menu, &place);
    remote::PressAt(menu, POINT{place.left + kAboutItem.x, place.top + kAboutItem.y});
    ASSERT_TRUE(remote::WaitFor([&] {
      for (HWND popup : program.Popups())
        if ((ok = remote::ShownControl(popup, IDOK)) != nullptr) return true;
      return false;
    })) << "the About box";
    remote::Press(ok);
    ASSERT_TRUE(program.AwaitIdle()) << "About closed";
  }
}

TEST_F(WaysOut, TheDriverAgeButtonShowsTheLevelsPageWhoseLinkClosesIt) {
  ProgramRun program;
  const HWND main = program.window();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(remote::WaitFor([&] { return remote::ShownControl(main, CDlgScan1ScanHome::kScanNowId) != nullptr; }));
  remote::Press(remote::ShownControl(main, CDlgScan1ScanHome::kScanNowId));
  ASSERT_TRUE(remote::WaitFor([&] { return remote::ShownPage(main, u"Scan results") != nullptr && program.TakesInput(); }));
  remote::Press(remote::ShownControl(remote::ShownPage(main, u"Scan results"), CDlgScan3Results::kAgeInfoId));
  HWND levels = nullptr;
  ASSERT_TRUE(remote::WaitFor([&] { return (levels = PopupWith(program, u"Internet Explorer_Server")) != nullptr; }));
  ExpectProgramWindowMatches(levels, "driver_age_levels.png");
  ClickInside(levels, kLevelsOk);
  EXPECT_TRUE(program.AwaitIdle()) << "OK closes it";
}

}  // namespace
}  // namespace zx::test
