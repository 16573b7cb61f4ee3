// The scheduler's list of all schedules, driven through the main window on the test clock
// against the job files of the machine's Tasks folder: the view-all command shows the list over
// a backdrop with the product's row and its next run (and its picture against the reference);
// a click on the row's "Edit" link closes the list and opens the product's pane; there the
// schedule is removed through real clicks, its job file is gone, and the list shows that no
// scan is scheduled. Clicks beside the link change nothing; the cursor over the link column
// is the link cursor.
#include <gtest/gtest.h>
#include <objbase.h>
#include <winuser.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "DlgBaseMessageBoxWndBase.h"
#include "DlgViewAllSchedules.h"
#include "NewSchedulerDlg.h"
#include "ProductValues.h"
#include "ScheduleJobManager.h"
#include "cstring_printer.h"
#include "dialogs_testing.h"
#include "profileapi.h"
#include "zx/pathmap.h"

namespace zx::test {
namespace {

constexpr char kTexts[] =
    "[Tunevo]\r\nIDS_SCHEDULE_SCAN=Scheduled scan\r\nIDS_APPLY=Apply\r\n"
    "IDS_SCHED_HELP_PROPER=Let the program scan your drivers at a time that suits you.\r\n"
    "IDS_SELC_SCHE_TYPE=How often:\r\nIDS_DATETIME=Date and time\r\nIDS_WEEKDAYS=Days of the week\r\n"
    "IDS_SHINFO=Scheduled scan.\r\nIDS_SCHEDULE_DESCRIPTION=The program scans on its own.\r\n"
    "IDS_RUNONCE=Once\r\nIDS_EVERYDAY=Every day\r\nIDS_EVERYWEEK=Every week\r\nIDS_DONTSCHEDULE=Not scheduled\r\n"
    "IDS_SUNDAY=Sun\r\nIDS_MONDAY=Mon\r\nIDS_TUESDAY=Tue\r\nIDS_WEDNESDAY=Wed\r\nIDS_THURSDAY=Thu\r\n"
    "IDS_FRIDAY=Fri\r\nIDS_SATURDAY=Sat\r\nSCAN_NOT_SCHEDLUE=No scan is scheduled.\r\n"
    "IDS_SETTINGS_SAVED=The schedule is saved.\r\n"
    "[NEWSCHEDULER]\r\nIDS_TOOLNAME=Program\r\nIDS_DATE=Next run\r\nIDS_EVENT=Action\r\nIDS_CLOSE=Close\r\n"
    "SCAN_NOT_SCHEDLUE=No scan is scheduled.\r\n"
    "[IDD_DLG_VIEW_ALL_SCHEDULES]\r\nIDC_BTN_CLOSE_BTM=Close\r\n";

std::filesystem::path ProgramFile(const char* name) {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path() / name;
}

class ViewAll : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    std::ofstream(ProgramFile("qvx.ini"), std::ios::app) << kTexts;
    std::ofstream(ProgramFile("lang.lng")) << "[LANGUAGE]\r\n[ENGLISH]\r\n";
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    const std::u16string ini = zx::path::HostToWindows(root() + "/machine.ini");
    WritePrivateProfileStringW(u"Machine", u"Administrator", u"1", ini.c_str());
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  }
  void TearDown() override {
    if (dialog_.GetSafeHwnd()) dialog_.DestroyWindow();
    Pump();
    CoUninitialize();
    DialogTest::TearDown();
  }
  void OpenMainWindow() {
    ASSERT_TRUE(dialog_.Create(CNewSchedulerDlg::kTemplateId, nullptr));
    dialog_.ShowWindow(SW_SHOW);
    Pump();
  }
  std::string JobPath() const { return root() + "/drive_c/Windows/Tasks/" + "ZEPHRINKX-ZEPHRINKXTunevo.job"; }
  static void MakeDailyJob(WORD hour) {
    TASK_TRIGGER trigger{};
    trigger.cbTriggerSize = sizeof trigger;
    trigger.TriggerType = TASK_TIME_TRIGGER_DAILY;
    trigger.wBeginYear = 2000;
    trigger.wBeginMonth = 1;
    trigger.wBeginDay = 1;
    trigger.wStartHour = hour;
    trigger.Type.Daily.DaysInterval = 1;
    CScheduleManager jobs;
    ASSERT_TRUE(jobs.ReplaceTask(GetProductTaskName(), GetProductTaskName(), _T(""), _T("C:\\P\\zephrinkx.exe"),
                                 _T("C:\\P"), trigger));
  }
  // The list dialog in front, or null.
  static CDlgViewAllSchedules* ShownList() {
    for (HWND at = FindWindowW(_T("#32770"), nullptr); at; at = FindWindowExW(nullptr, at, _T("#32770"), nullptr))
      if (auto* list = dynamic_cast<CDlgViewAllSchedules*>(CWnd::FromHandlePermanent(at)))
        if (::IsWindowVisible(at)) return list;
    return nullptr;
  }
  // The centre of a cell of the list's first row, on the screen.
  static POINT CellCentre(CSchedulerListCtrl& list, int column) {
    CRect row;
    list.GetItemRect(0, &row, LVIR_BOUNDS);
    int left = 0;
    for (int c = 0; c < column; ++c) left += list.GetColumnWidth(c);
    CPoint point(left + list.GetColumnWidth(column) / 2, row.CenterPoint().y);
    list.ClientToScreen(&point);
    return point;
  }
  // Shows the list and runs `whileShown` on it once it is there and drawn; answers when it is
  // closed. The step's last input must close it and is left to the list's own loop.
  void ShowList(const std::function<void(CDlgViewAllSchedules&)>& whileShown) {
    WhileModal({[&] {
      CDlgViewAllSchedules* list = ShownList();
      if (!list) return false;
      Pump();
      whileShown(*list);
      return true;
    }});
    dialog_.SendMessage(WM_COMMAND, CNewSchedulerDlg::kViewAllId);
    ExpectAllStepsRan();
    EXPECT_EQ(ShownList(), nullptr);
  }
  void Press(CWnd& parent, UINT id) {
    CWnd* control = parent.GetDlgItem(id);
    ASSERT_NE(control, nullptr) << id;
    Click(control->GetSafeHwnd());
    Pump();
  }

  CNewSchedulerDlg dialog_;
};

TEST_F(ViewAll, TheEditLinkOpensThePaneWhereTheScheduleIsRemoved) {
  MakeDailyJob(3);
  ASSERT_TRUE(std::filesystem::exists(JobPath()));
  OpenMainWindow();
  CDlgSchedulerChild& pane = dialog_.GetLeftPane();
  const int opened = pane.GetOpenCount();

  CString nextRun, name, link;
  HCURSOR overLink = nullptr, overName = nullptr;
  ShowList([&](CDlgViewAllSchedules& shown) {
    CSchedulerListCtrl& list = shown.GetList();
    ASSERT_EQ(list.GetItemCount(), 1);
    EXPECT_EQ(list.GetItemData(0), DWORD_PTR(CDlgViewAllSchedules::kProductRowData));
    name = list.GetItemText(0, 1);
    nextRun = list.GetItemText(0, 2);
    link = list.GetItemText(0, 3);
    ExpectWindowMatches(shown.GetSafeHwnd(), "view_all_list.png");
    // The cursor follows the pointer: the link cursor over the link column only.
    const POINT onName = CellCentre(list, 1), onLink = CellCentre(list, CSchedulerListCtrl::kLinkColumn);
    ClickAt(onName);  // a click beside the link keeps the list open
    Pump();
    overName = ::GetCursor();
    EXPECT_EQ(ShownList(), &shown);
    ClickAt(onLink);
    overLink = ::GetCursor();
  });
  EXPECT_EQ(name, CString(_T("Zephrin Tunevo")));
  EXPECT_EQ(nextRun, CString(_T("Jan 01, 2000 03:00:00 hours")));
  EXPECT_EQ(link, CString(_T("Edit")));
  EXPECT_EQ(overName, ::LoadCursorW(nullptr, IDC_ARROW));
  EXPECT_EQ(overLink, ::LoadCursorW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(CSchedulerListCtrl::kLinkCursorId)));
  Pump();
  // The link has opened the product's pane afresh, on the daily job.
  EXPECT_EQ(pane.GetOpenCount(), opened + 1);
  CDlgSchedule* page = pane.GetSchedulePane();
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->GetScheduleState(), CDlgSchedule::kEveryDay);

  // Not scheduled, then Apply: the job goes.
  Press(*page, CDlgSchedule::kNotScheduledId);
  CString saved;
  WhileModal({[&saved] {
    auto* box = dynamic_cast<CDlgBaseMessageBoxWndBase*>(CWnd::FromHandle(ActiveWindow()));
    if (box == nullptr) return false;
    saved = box->GetText();
    Click(::GetDlgItem(box->m_hWnd, kMessageBoxFirstButton));
    return true;
  }});
  Press(*page, CDlgSchedule::kApplyId);
  ExpectAllStepsRan();
  EXPECT_GE(saved.Find(_T("The schedule is saved.")), 0);
  EXPECT_FALSE(std::filesystem::exists(JobPath()));

  // The list says so, and its bottom button closes it.
  ShowList([&](CDlgViewAllSchedules& shown) {
    nextRun = shown.GetList().GetItemText(0, 2);
    Click(shown.GetDlgItem(CDlgViewAllSchedules::kBottomCloseId)->GetSafeHwnd());
  });
  EXPECT_EQ(nextRun, CString(_T("No scan is scheduled.")));
  EXPECT_EQ(pane.GetOpenCount(), opened + 1);
}

TEST_F(ViewAll, TheHeaderCheckBoxTurnsOnAndOffAndTheCloseButtonEndsTheList) {
  OpenMainWindow();
  bool before = true, after = false, again = true;
  ShowList([&](CDlgViewAllSchedules& shown) {
    CZWHeaderCtrl& header = shown.GetList().GetHeader();
    const CRect box = CZWHeaderCtrl::CheckBoxRect();
    CPoint inside = box.CenterPoint(), outside(box.right + 30, box.CenterPoint().y);
    header.ClientToScreen(&inside);
    header.ClientToScreen(&outside);
    before = header.IsChecked() != FALSE;
    ClickAt(inside);
    Pump();
    after = header.IsChecked() != FALSE;
    ClickAt(outside);
    Pump();
    again = header.IsChecked() != FALSE;
    Click(shown.GetDlgItem(CDlgViewAllSchedules::kCloseId)->GetSafeHwnd());
  });
  EXPECT_FALSE(before);
  EXPECT_TRUE(after);
  EXPECT_TRUE(again);
}

}  // namespace
}  // namespace zx::test
