// Helpers of the road tests: the main window made in the test process on a fresh machine root
// with the program's texts and the own message boxes it shows, or the real program run as its
// own process and driven through the window channel; and the main road's machine: the laptop
// profile with the tool programs, the web service's stand-in routed for the maker's hosts, the
// scan pages found and driven by clicks, the test clock turned while the window's workers run,
// and pictures of the pages.
#pragma once
#include <afxwin.h>

#include <winprocess.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "DlgScan1ScanHome.h"
#include "DlgScan2Scanning.h"
#include "DlgScan3Results.h"
#include "DlgScan5Summary.h"
#include "popups_testing.h"
#include "standin.h"
#include "velquor_testing.h"

namespace zx::test {

// The real program run as its own process on the test's machine, headless, reached only
// through the window channel: its windows are found, clicked, typed into and pictured there.
// A run that goes on past the watchdog's limit is ended, so a step waiting on it fails
// instead of hanging; the process is always ended with the object.
class ProgramRun {
 public:
  // Its wall time stands at `wallTime` (a FILETIME value) while it runs.
  explicit ProgramRun(std::uint64_t wallTime = ManualClock::kDefaultWallTime);
  ~ProgramRun();
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;
  // The main window once shown (null when the program did not open it within 20 s).
  HWND window() const { return window_; }
  DWORD processId() const { return info_.dwProcessId; }
  // The program's visible top-level windows other than the main window, front first.
  std::vector<HWND> Popups() const;
  // Whether the main window takes input again: a task's end enables its controls, the close
  // button last.
  bool TakesInput() const;
  // Waits until no popup is open and the main window takes input; when that does not come,
  // says which windows are still open.
  ::testing::AssertionResult AwaitIdle() const;
  // Asks the main window to close and waits for the process to end; false when it did not.
  bool Close();

 private:
  void End();
  PROCESS_INFORMATION info_{};
  HWND window_ = nullptr;
  std::mutex lock_;
  std::condition_variable ended_;
  bool over_ = false;
  std::thread watchdog_;
};

// Host-time waits and the program's windows by what a user sees.
namespace remote {
// Waits (host time, at most `seconds`) for the condition; this thread's messages are served
// meanwhile.
bool WaitFor(const std::function<bool()>& condition, int seconds = 20);
// The window with the id inside `top`, shown or not, or null.
HWND Control(HWND top, UINT id);
// The visible window with the id inside `top` (its ancestors visible too), or null.
HWND ShownControl(HWND top, UINT id);
// The visible dialog page of that title inside `top`, or null.
HWND ShownPage(HWND top, LPCWSTR title);
// The titles of the visible dialog pages inside `top`, for a failure's message.
std::string ShownPageTitles(HWND top);
// A click at the window's centre, performed by the window's own process.
void Press(HWND window);
void PressAt(HWND window, POINT screen);
}  // namespace remote

class RoadTest : public PopupTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Makes and shows the main window (machine.ini written first by the test when it needs one).
  void OpenMainWindow();
  // The requests to restart or shut Windows down, one line each.
  std::string ShutdownRequests() const;

  tagAppDlgSettings settings_;
  std::unique_ptr<TestVelquorDlg> main_;
};

// The main window on the seeded laptop, against the stand-in.
class MainRoadTest : public RoadTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // The stand-in over the catalogue in `catalogue_` (written by the test), with the fault mode
  // and further arguments of the stand-in.
  void StartService(const std::string& fault = {}, std::vector<std::string> arguments = {});
  // The stand-in over the laptop's shipped catalogue, with the package file it names.
  void StartShippedService(const std::string& fault = {}, std::vector<std::string> arguments = {});

  CDlgBaseWnd* Page(CVelquorDlg::Group group, int place) { return main_->GetGroupPage(group, place); }
  CDlgScan1ScanHome* Home();
  CDlgScan2Scanning* Scanning();
  CDlgScan3Results* Results();
  CDlgScan5Summary* Summary();
  static bool Shown(CWnd* page) { return page && page->GetSafeHwnd() && page->IsWindowVisible(); }
  // Lets the window's loop and its workers turn, the test clock moving on by `stepMs` each
  // turn, until the condition holds (at most about 20 s of host time).
  bool Until(const std::function<bool()>& condition, int stepMs = 20);
  bool ScanEnded();
  // Moves the test clock on.
  void Advance(int ms);
  // One turn of a modal run's step that waits: the clock moves on and the loop wakes again.
  // Answers false.
  bool Turn();
  // A step of a modal run: once an own message box shows, its text is kept and it is answered.
  std::function<bool()> AnswerBox(CString& shown);
  std::vector<CString> StatusLines();
  static CString Stored(int value);
  void ShowScanPage(UINT command);
  void ClickScanNow();
  void ClickStop();
  // The window drawn again with the shown panel and page last (hidden ones draw too in the
  // test window layer), then compared with its reference picture.
  void ExpectPageMatches(CWnd* panel, CWnd* page, const std::string& name);
  void ExpectPageMatches(CWnd* page, const std::string& name) {
    ExpectPageMatches(main_->GetGroup(CVelquorDlg::kScanGroup), page, name);
  }

  // The update service's answers wait while held (the stand-in's hold files).
  void HoldTheAnswers(bool held);
  // The rows of a list view of the program.
  static int Count(HWND list);
  // A left click on the check box of a row of the program's results list.
  static void ClickRowCheck(HWND list, int row);
  // The picture of a window of the program, redrawn, compared with its reference once the
  // program has drawn what it was last told (it draws on its own threads): the comparison
  // waits up to 5 s of host time for the picture to match before it fails.
  static void ExpectProgramWindowMatches(HWND window, const std::string& name);
  // Once "Update selected drivers" was pressed in the program: the download-and-install
  // popup's questions are compared with their pictures and answered with their first button,
  // the restart prompt (compared with its picture when named) answered "later", and the popup
  // closed once its run is over; a run that does not end within 25 s fails the test.
  void AnswerDownloadAndInstall(ProgramRun& program, const std::vector<std::string>& questionPictures,
                                const std::string& restartPicture = {});
  // Scan now on the scan tab's home page of the program (reached through the summary when the
  // tab shows a later page), until the results show and the window takes input. A click the
  // program has not taken (it may still be busy with its start) is made again while the button
  // still shows.
  static void ScanInProgram(ProgramRun& program);
  // What a download-and-install run showed: the questions answered, whether the restart was
  // asked, and the popup when it stayed open at the end, waiting for its close button.
  struct InstallRunSeen {
    std::size_t questions = 0;
    bool restartAsked = false;
    HWND leftOpen = nullptr;
  };
  // The same questions answered until the run is over: the popup closed itself, or it waits
  // for its close button (seen for 1.5 s with nothing more asked).
  void DriveDownloadAndInstall(ProgramRun& program, const std::vector<std::string>& questionPictures,
                               const std::string& restartPicture, InstallRunSeen& seen);

  TempFolder catalogue_;
  TempFolder uploads_;
  std::unique_ptr<StandIn> service_;
};

// The device scan of the engine held once it has run, as a long scan would be, until the
// stop reaches it (answered as stopped) or `release` holds (answered as completed).
void HoldDeviceScan(CDriverScanUpdate& engine, std::atomic<bool>& holding,
                    std::function<bool()> release = [] { return false; });

// The installed driver version of the device whose hardware id starts with `hardwareId`, read
// by a scan of its own.
CString InstalledVersion(LPCTSTR hardwareId);

}  // namespace zx::test
