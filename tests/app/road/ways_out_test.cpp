// The ways out of the main window through the real program, started as its own process on the
// laptop profile against the web service's stand-in and driven only by injected clicks and
// keys: the update checker it starts asks the service, Settings > Schedule opens the scheduler
// program, the logo and Alt+Space open the system menu whose About item opens the About box
// that its OK closes, and the results page's driver-age button shows the levels page with the
// links that close it.
#include <tlhelp32.h>

#include <functional>
#include <string>
#include <utility>

#include "road_machine.h"
#include "road_testing.h"
#include "zx/input.h"

namespace zx::test {
namespace {

constexpr UINT kSettingsTab = 1263;
constexpr UINT kScheduleButton = CDlgLeftDlgBase::kFirstButtonCommand + 2;
// The general settings page's first check box: the settings group is shown.
constexpr UINT kGeneralPageAutoScan = 5256;
constexpr WPARAM kCloseCommand = 1182;
constexpr std::u16string_view kSchedulerProgram = u"ZEPHRINKXNewScheduler";
constexpr LPCWSTR kMenuClass = u"#32768";
constexpr LPCWSTR kBrowserClass = u"Internet Explorer_Server";
// The system menu's first item, About, below the menu's top-left corner.
constexpr POINT kAboutItem{30, 13};
// The levels page's "OK" link in the dialog's client area.
constexpr POINT kLevelsOk{19, 458};

class WaysOut : public MainRoadTest {
 protected:
  void SetUp() override {
    MainRoadTest::SetUp();
    ASSERT_NO_FATAL_FAILURE(road::WriteCatalogue(catalogue_.path()));
    ASSERT_NO_FATAL_FAILURE(StartService());
  }
  // Whether the stand-in logs a request that starts so within 20 s.
  bool ServiceAsked(const std::string& request) {
    for (std::string line = service_->NextLine(20000); !line.empty(); line = service_->NextLine(20000))
      if (line.rfind(request, 0) == 0) return true;
    return false;
  }
  static std::u16string ClassOf(HWND window) {
    WCHAR name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
  }
  static bool Holds(HWND window, LPCWSTR className) {
    if (ClassOf(window) == className) return true;
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
      if (Holds(child, className)) return true;
    return false;
  }
  // The program's shown popup of that class, or one holding a window of it, or null.
  static HWND PopupWith(const ProgramRun& program, LPCWSTR className) {
    for (HWND popup : program.Popups())
      if (Holds(popup, className)) return popup;
    return nullptr;
  }
  static void ClickInside(HWND window, POINT client) {
    ::ClientToScreen(window, &client);
    remote::PressAt(window, client);
  }
  // The id of a running process of that program, or 0 (named with ".exe" only when it lies in
  // this test's folder).
  static DWORD RunningProgram(std::u16string_view name) {
    DWORD found = 0;
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more && !found; more = ::Process32NextW(snapshot, &entry))
      if (const std::u16string_view file(entry.szExeFile); file == name || file == std::u16string(name) + u".exe")
        found = entry.th32ProcessID;
    ::CloseHandle(snapshot);
    return found;
  }
  // A shown top-level window of that process, or null.
  static HWND ShownWindowOf(DWORD processId) {
    for (HWND at = ::FindWindowExW(nullptr, nullptr, nullptr, nullptr); at; at = ::FindWindowExW(nullptr, at, nullptr, nullptr)) {
      DWORD owner = 0;
      ::GetWindowThreadProcessId(at, &owner);
      if (owner == processId && ::IsWindowVisible(at)) return at;
    }
    return nullptr;
  }
};

TEST_F(WaysOut, TheUpdateCheckerTheProgramStartsAsksTheService) {
  ProgramRun program;
  ASSERT_NE(program.window(), nullptr);
  EXPECT_TRUE(ServiceAsked("GET /updatekx/c4u.cgi")) << "the program's version is asked about";
}

TEST_F(WaysOut, SettingsScheduleOpensTheSchedulerProgram) {
  ProgramRun program;
  const HWND main = program.window();
  ASSERT_NE(main, nullptr);
  remote::Press(remote::ShownControl(main, kSettingsTab));
  ASSERT_TRUE(remote::WaitFor([&] { return remote::ShownControl(main, kGeneralPageAutoScan) != nullptr; }));
  remote::Press(remote::ShownControl(main, kScheduleButton));
  DWORD scheduler = 0;
  ASSERT_TRUE(remote::WaitFor([&] { return (scheduler = RunningProgram(kSchedulerProgram)) != 0; }))
      << "the scheduler runs";
  const HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, scheduler);
  ASSERT_NE(process, nullptr);
  HWND window = nullptr;
  EXPECT_TRUE(remote::WaitFor([&] { return (window = ShownWindowOf(scheduler)) != nullptr; })) << "its window";
  if (window) ::PostMessageW(window, WM_COMMAND, kCloseCommand, 0);
  EXPECT_TRUE(remote::WaitFor([&] { return ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }))
      << "the scheduler ends with its window";
  ::TerminateProcess(process, 1);
  ::WaitForSingleObject(process, 10000);
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
    SCOPED_TRACE(opener++);
    open();
    HWND menu = nullptr;
    ASSERT_TRUE(remote::WaitFor([&] { return (menu = PopupWith(program, kMenuClass)) != nullptr; })) << "the system menu";
    RECT place{};
    ::GetWindowRect(menu, &place);
    remote::PressAt(menu, POINT{place.left + kAboutItem.x, place.top + kAboutItem.y});
    HWND ok = nullptr;
    ASSERT_TRUE(remote::WaitFor([&] {
      for (HWND popup : program.Popups())
        if ((ok = remote::ShownControl(popup, IDOK)) != nullptr) return true;
      return false;
    })) << "the About box";
    remote::Press(ok);
    ASSERT_TRUE(remote::WaitFor([&] { return program.Popups().empty() && program.TakesInput(); })) << "About closed";
  }
}

TEST_F(WaysOut, TheDriverAgeButtonShowsTheLevelsPageWithTheLinksThatCloseIt) {
  ProgramRun program;
  const HWND main = program.window();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(remote::WaitFor([&] { return remote::ShownControl(main, CDlgScan1ScanHome::kScanNowId) != nullptr; }));
  remote::Press(remote::ShownControl(main, CDlgScan1ScanHome::kScanNowId));
  ASSERT_TRUE(remote::WaitFor([&] { return remote::ShownPage(main, u"Scan results") != nullptr && program.TakesInput(); }));
  remote::Press(remote::ShownControl(remote::ShownPage(main, u"Scan results"), CDlgScan3Results::kAgeInfoId));
  HWND levels = nullptr;
  ASSERT_TRUE(remote::WaitFor([&] { return (levels = PopupWith(program, kBrowserClass)) != nullptr; }));
  ExpectProgramWindowMatches(levels, "driver_age_levels.png");
  ClickInside(levels, kLevelsOk);
  EXPECT_TRUE(remote::WaitFor([&] { return !::IsWindow(levels) || !::IsWindowVisible(levels); })) << "OK closes it";
}

}  // namespace
}  // namespace zx::test
