// The scheduler's main window in this process, on the test clock: its place and size, the
// left pane opening the product's schedule pane on the product's job at once, the message of
// a second start for each tool index, and its picture against the reference.
#include <gtest/gtest.h>
#include <objbase.h>
#include <winuser.h>

#include <filesystem>
#include <fstream>

#include "DlgSchedule.h"
#include "NewSchedulerApp.h"
#include "NewSchedulerDlg.h"
#include "ProductValues.h"
#include "cstring_printer.h"
#include "dialogs_testing.h"
#include "zx/input.h"

namespace zx::test {
namespace {

// The schedule pane's texts, added to the shared language file.
constexpr char kScheduleTexts[] =
    "[NEWSCHEDULER]\r\nIDS_SCHEDULE_SCAN=Scheduled scan\r\nIDS_APPLY=Apply\r\n"
    "IDS_SCHEDULE2=Schedule a scan\r\nIDS_CREATESCHED_AUTOSCAN=The program scans your drivers on its own.\r\n"
    "IDS_SELECT_SCHEDTYPE=How often:\r\nIDS_DATETIME=Date and time\r\nIDS_WEEKDAYS=Days of the week\r\n"
    "IDS_RUNONCE=Once\r\nIDS_EVERYDAY=Every day\r\nIDS_EVERYWEEK=Every week\r\nIDS_DONTSCHEDULE=Not scheduled\r\n"
    "IDS_SUNDAY=Sun\r\nIDS_MONDAY=Mon\r\nIDS_TUESDAY=Tue\r\nIDS_WEDNESDAY=Wed\r\nIDS_THURSDAY=Thu\r\n"
    "IDS_FRIDAY=Fri\r\nIDS_SATURDAY=Sat\r\nSCAN_NOT_SCHEDLUE=No scan is scheduled.\r\n";

std::filesystem::path ProgramFile(const char* name) {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path() / name;
}

class SchedulerWindow : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    std::ofstream(ProgramFile("qvx.ini"), std::ios::app) << kScheduleTexts;
    std::ofstream(ProgramFile("lang.lng")) << "[LANGUAGE]\r\n[ENGLISH]\r\n";
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    ASSERT_TRUE(dialog_.Create(CNewSchedulerDlg::kTemplateId, nullptr));
    dialog_.ShowWindow(SW_SHOW);
    Pump();
  }
  void TearDown() override {
    if (dialog_.GetSafeHwnd()) dialog_.DestroyWindow();
    Pump();
    CoUninitialize();
    DialogTest::TearDown();
  }
  CDlgSchedulerChild& Pane() { return dialog_.GetLeftPane(); }

  CNewSchedulerDlg dialog_;
};

TEST_F(SchedulerWindow, OpensAtTheCornerOnTheProductsPane) {
  CRect window;
  dialog_.GetWindowRect(&window);
  EXPECT_EQ(window, CRect(0, 0, CNewSchedulerDlg::kWindowWidth, CNewSchedulerDlg::kWindowHeight));
  CString title;
  dialog_.GetWindowText(title);
  EXPECT_EQ(title, CString(_T("Scheduler")));

  // The pane's own post has opened the product's pane on the product's job.
  ASSERT_NE(Pane().GetSchedulePane(), nullptr);
  EXPECT_TRUE(Pane().GetSchedulePane()->IsWindowVisible());
  EXPECT_EQ(Pane().GetOpenCount(), 1);
  EXPECT_EQ(Pane().GetTool().strJobName, GetProductTaskName());
  EXPECT_EQ(Pane().GetTool().strKey, CString(_T("tunevo")));
  EXPECT_EQ(Pane().GetTool().strTitle, CString(_T("Zephrin Tunevo")));
  EXPECT_EQ(Pane().GetTool().strProgramPath.Right(14), CString(_T("\\zephrinkx.exe")));

  CRect pane;
  Pane().GetWindowRect(&pane);
  dialog_.ScreenToClient(&pane);
  EXPECT_EQ(pane.TopLeft(), CPoint(6, 88));
  EXPECT_EQ(pane.Height(), 468);

  // The product's is the only tool button; the list of all schedules is not offered.
  for (UINT id = CDlgLeftDlgBase::kFirstButtonCommand; id < CDlgLeftDlgBase::kFirstButtonCommand + 8; ++id) {
    CWnd* button = Pane().GetDlgItem(id);
    const bool shown = button && button->IsWindowVisible();
    EXPECT_EQ(shown, id == CDlgSchedulerChild::kProductCommand) << id;
  }
  CWnd* viewAll = dialog_.GetDlgItem(CNewSchedulerDlg::kViewAllId);
  ASSERT_NE(viewAll, nullptr);
  EXPECT_FALSE(viewAll->IsWindowVisible());
  EXPECT_FALSE(viewAll->IsWindowEnabled());
  ASSERT_NE(dialog_.GetDlgItem(CNewSchedulerDlg::kCaptionButtonId), nullptr);
}

// The pane is the scheduler's own build of the schedule page: its template's ids, its texts
// from the scheduler's section, the mode combo box hidden, whose change enables Apply.
TEST_F(SchedulerWindow, ThePaneIsTheSchedulersOwnBuild) {
  CDlgSchedule* page = Pane().GetSchedulePane();
  ASSERT_NE(page, nullptr);
  using Ids = CDlgSchedule::SchedulerIds;
  EXPECT_EQ(page->GetTemplateId(), Ids::kTemplateId);
  EXPECT_EQ(page->GetDlgItem(CDlgSchedule::kApplyId), nullptr);
  for (UINT id : {Ids::kApplyId, Ids::kRunOnceId, Ids::kNotScheduledId, Ids::kSaturdayId, Ids::kTimeId, Ids::kDateId})
    EXPECT_NE(page->GetDlgItem(id), nullptr) << id;
  CString text;
  page->GetDlgItemText(Ids::kEveryDayId, text);
  EXPECT_EQ(text, CString(_T("Every day")));
  for (UINT id : {Ids::kModeComboId, Ids::kModeBuddyId, CDlgSchedule::kAutoFixId, CDlgSchedule::kShutDownId}) {
    ASSERT_NE(page->GetDlgItem(id), nullptr) << id;
    EXPECT_FALSE(page->GetDlgItem(id)->IsWindowVisible()) << id;
    EXPECT_FALSE(page->GetDlgItem(id)->IsWindowEnabled()) << id;
  }
  EXPECT_FALSE(page->GetDlgItem(Ids::kApplyId)->IsWindowEnabled());
  CWnd* combo = page->GetDlgItem(Ids::kModeComboId);
  page->SendMessage(WM_COMMAND, MAKEWPARAM(Ids::kModeComboId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo->m_hWnd));
  EXPECT_TRUE(page->GetDlgItem(Ids::kApplyId)->IsWindowEnabled());
  // A radio of the scheduler's ids chooses its schedule.
  page->SendMessage(WM_COMMAND, MAKEWPARAM(Ids::kEveryWeekId, BN_CLICKED),
                    reinterpret_cast<LPARAM>(page->GetDlgItem(Ids::kEveryWeekId)->m_hWnd));
  EXPECT_EQ(page->GetScheduleState(), CDlgSchedule::kEveryWeek);
  EXPECT_TRUE(page->GetDlgItem(Ids::kSundayId)->IsWindowEnabled());
}

TEST_F(SchedulerWindow, TheSecondStartsMessageOpensTheAskedToolsPane) {
  const UINT message = CNewSchedulerApp::GetShowScheduleMessage();
  ASSERT_NE(message, 0u);
  const struct {
    LPARAM index;
    bool opens;
  } kCases[] = {{3, true}, {0, true}, {1, true}, {8, true}, {9, false}, {-1, false}, {0x7FFFFFFF, false}};
  int opened = Pane().GetOpenCount();
  for (const auto& c : kCases) {
    EXPECT_EQ(dialog_.SendMessage(message, 0, c.index), 0) << c.index;
    Pump();
    if (c.opens) ++opened;
    EXPECT_EQ(Pane().GetOpenCount(), opened) << c.index;
    ASSERT_NE(Pane().GetSchedulePane(), nullptr);
    EXPECT_TRUE(Pane().GetSchedulePane()->IsWindowVisible()) << c.index;
    // Other tools have no row of their own: the pane stays on the product's job.
    EXPECT_EQ(Pane().GetTool().strJobName, GetProductTaskName()) << c.index;
  }
}

TEST_F(SchedulerWindow, APressOnItsSurfaceDragsIt) {
  // Below the caption band, between the caption button and the pane.
  for (const CPoint at : {CPoint(400, 70), CPoint(400, 10)}) {
    CRect before, after;
    dialog_.GetWindowRect(&before);
    CPoint grab(at);
    dialog_.ClientToScreen(&grab);
    const CPoint to(grab.x + 40, grab.y + 30);
    WhileModal({[to] {
                  user::InjectMouse(to, WM_MOUSEMOVE);
                  return true;
                },
                [to] {
                  user::InjectMouse(to, WM_LBUTTONUP);
                  return true;
                }});
    user::InjectMouse(grab, WM_MOUSEMOVE);
    user::InjectMouse(grab, WM_LBUTTONDOWN);
    Pump();
    ExpectAllStepsRan();
    dialog_.GetWindowRect(&after);
    EXPECT_EQ(after.TopLeft(), before.TopLeft() + CSize(40, 30)) << at.y;
  }
}

TEST_F(SchedulerWindow, LooksAsItsReference) {
  ExpectWindowMatches(dialog_.GetSafeHwnd(), "scheduler_main.png");
}

TEST(SchedulerArgument, FirstWordWithoutSeparatorsLowerCased) {
  const struct {
    LPCTSTR arguments;
    LPCTSTR stored;
  } kCases[] = {
      {nullptr, _T("")},
      {_T(""), _T("")},
      {_T("-Tunevo"), _T("tunevo")},
      {_T("  /TUNEVO extra words"), _T("tunevo")},
      {_T("\\\\a/b-c"), _T("abc")},
      {_T("\"-Two Words\" more"), _T("two words")},
      {_T("---"), _T("")},
      {_T("\"unclosed -Quote"), _T("unclosed quote")},
  };
  int row = 0;
  for (const auto& c : kCases)
    EXPECT_EQ(CNewSchedulerApp::NormaliseFirstArgument(c.arguments), CString(c.stored)) << "row " << row++;
}

TEST(SchedulerInstance, TheMutexNameJoinsThePrefixAndTheKey) {
  EXPECT_EQ(CNewSchedulerApp::GetInstanceMutexName(),
            CString(_T("ZEPHRINKX_CG_Scheduler_{92C5B423-76D6-4e85-A186-DCC74D1B3071}")));
}

}  // namespace
}  // namespace zx::test
