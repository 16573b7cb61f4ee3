// The scheduler's list of all schedules, driven through the main window on the test clock
// against the job files of the machine's Tasks folder: the view-all command shows the list over
// a backdrop with the product's row and its next run (and its picture against the reference);
// a click on the row's "Edit" link closes the list and opens the product's pane; there the
// schedule is removed through real clicks, its job file is gone, and the list shows that no
// scan is scheduled. Clicks beside the link change nothing; the cursor over the link column
// is the link cursor. A damaged job file shows as no schedule and is left alone. The row keeps
// its tool, and the link stays visible on a selected row.
#include <functional>
#include <vector>

#include "DlgViewAllSchedules.h"
#include "NewSchedulerApp.h"
#include "ProductValues.h"
#include "ScheduleJobManager.h"
#include "cstring_printer.h"
#include "scheduler_fixture.h"

namespace zx::test {
namespace {

class ViewAll : public SchedulerFixture {
 protected:
  static void MakeDailyJob(WORD hour) {
    CScheduleManager jobs;
    ASSERT_TRUE(jobs.ReplaceTask(GetProductTaskName(), GetProductTaskName(), _T(""), _T("C:\\P\\zephrinkx.exe"),
                                 _T("C:\\P"), TestTrigger(TASK_TIME_TRIGGER_DAILY, hour, 0)));
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
  Press(*page, CDlgSchedule::SchedulerIds::kNotScheduledId);
  const CString saved = PressAndAnswer(*page, CDlgSchedule::SchedulerIds::kApplyId);
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

TEST_F(ViewAll, ADamagedJobIsNoScheduleTheHeaderBoxTogglesAndTheCloseButtonEndsTheList) {
  std::filesystem::create_directories(std::filesystem::path(JobPath()).parent_path());
  const std::string damaged("\x01\x05\x01\x00 not a job at all", 21);
  std::ofstream(JobPath(), std::ios::binary) << damaged;
  OpenMainWindow();
  bool before = true, after = false, again = true;
  CString nextRun;
  ShowList([&](CDlgViewAllSchedules& shown) {
    nextRun = shown.GetList().GetItemText(0, 2);
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
  EXPECT_EQ(nextRun, CString(_T("No scan is scheduled.")));
  // The list only reads the job: the damaged file is left as it was.
  EXPECT_EQ(ReadHostFile(JobPath()), damaged);
  EXPECT_FALSE(before);
  EXPECT_TRUE(after);
  EXPECT_TRUE(again);
}

// The list measures a row's first line in "Tahoma" -11 and its further lines in "Segoe UI" -11,
// the scheduler's own fonts rather than the shared list's.
TEST_F(ViewAll, ItsRowsAreMeasuredInTheSchedulersFonts) {
  OpenMainWindow();
  const auto height = [](CWnd& window, LPCTSTR face) {
    CClientDC dc(&window);
    CFont font;
    font.CreateFont(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, PROOF_QUALITY, 0, face);
    CFont* old = dc.SelectObject(&font);
    const int cy = dc.GetTextExtent(CString(u"_X^")).cy;
    dc.SelectObject(old);
    return cy;
  };
  int firstLine = 0, line = 0, tahoma = -1, segoe = -1;
  ShowList([&](CDlgViewAllSchedules& shown) {
    CSchedulerListCtrl& list = shown.GetList();
    firstLine = list.GetFirstLineHeight();
    line = list.GetLineHeight();
    tahoma = height(list, _T("Tahoma"));
    segoe = height(list, _T("Segoe UI"));
    Click(shown.GetDlgItem(CDlgViewAllSchedules::kBottomCloseId)->GetSafeHwnd());
  });
  EXPECT_EQ(firstLine, tahoma);
  EXPECT_EQ(line, segoe);
  EXPECT_GT(firstLine, 0);
}

// The list's row keeps the tool's job and index; the link keeps its colour on a selected row
// (white would not show on its white fill); the next-run text turns white only while the
// control's flag is on.
TEST_F(ViewAll, TheRowKeepsItsToolAndTheLinkStaysVisibleOnASelectedRow) {
  OpenMainWindow();
  const struct {
    bool selected, nextRunWhite;
  } kCases[] = {{false, false}, {true, false}, {true, true}};
  ShowList([&](CDlgViewAllSchedules& shown) {
    CSchedulerListCtrl& list = shown.GetList();
    EXPECT_EQ(list.GetItemFurtherText(0, 0), GetProductTaskName());
    EXPECT_EQ(list.GetItemValue(0, 0), DWORD(CNewSchedulerApp::kProductToolIndex));
    EXPECT_FALSE(list.AreAllRowsChecked());
    list.SetCheck(0, TRUE);
    EXPECT_TRUE(list.AreAllRowsChecked());
    CRect row;
    list.GetItemRect(0, &row, LVIR_BOUNDS);
    const int nextRunLeft = list.GetColumnWidth(0) + list.GetColumnWidth(1);
    const int linkLeft = nextRunLeft + list.GetColumnWidth(2);
    for (const auto& c : kCases) {
      list.SelectSingleItem(c.selected ? 0 : -1);
      list.SetNextRunWhite(c.nextRunWhite);
      list.RedrawWindow();
      SIZE size{};
      const std::vector<COLORREF> pixels = Pixels(list.GetSafeHwnd(), size);
      int link = 0, darkNextRun = 0;
      for (int y = row.top; y < row.bottom && y < size.cy; ++y)
        for (int x = nextRunLeft; x < linkLeft + list.GetColumnWidth(3) && x < size.cx; ++x) {
          const COLORREF p = pixels[static_cast<std::size_t>(y * size.cx + x)];
          if (x >= linkLeft) link += GetBValue(p) > 0xA0 && GetRValue(p) < 0x80;
          else darkNextRun += GetRValue(p) < 0x80 && GetGValue(p) < 0x80 && GetBValue(p) < 0x80;
        }
      EXPECT_GT(link, 0) << c.selected << c.nextRunWhite;
      EXPECT_EQ(darkNextRun > 0, !c.nextRunWhite) << c.selected << c.nextRunWhite;
    }
    Click(shown.GetDlgItem(CDlgViewAllSchedules::kBottomCloseId)->GetSafeHwnd());
  });
}

}  // namespace
}  // namespace zx::test
