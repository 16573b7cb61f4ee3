// The results page on the laptop profile's results: rows checked and unchecked by clicks, the
// checked rows handed on, the context menu's checks and exclusion (written to the exclusion
// file, the other rows keeping their checks), the action link of one row, scrolling by keys,
// the refusals, and the page's pictures.
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

#include "DlgBaseMessageBoxWndBase.h"
#include "DlgNagDownloadAndInstall.h"
#include "VelquorResults.h"
#include "cstring_printer.h"
#include "results_testing.h"
#include "zx/input.h"
#include "zx/menus.h"
#include "zx/pathmap.h"

namespace zx::test {
namespace {

constexpr int kLaptopRows = 13;

class ResultsPage : public ResultsTest {
 protected:
  void SetUp() override {
    ResultsTest::SetUp();
    ASSERT_NO_FATAL_FAILURE(ScanLaptop());
    ASSERT_NO_FATAL_FAILURE(OpenPage());
  }
  // Right-clicks the row and picks the context menu's item at that position.
  void MenuOnRow(int row, UINT position) {
    WhileModal({[position] {
      if (user::TrackedMenuWindow() == nullptr) return false;
      RECT item{};
      if (!user::TrackedMenuItemRect(position, &item)) return false;
      ClickAt(POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2});
      return true;
    }});
    const POINT at = InColumn(row, 1, 150);
    user::InjectMouse(at, WM_MOUSEMOVE);
    user::InjectMouse(at, WM_RBUTTONDOWN);
    user::InjectMouse(at, WM_RBUTTONUP);
    Pump();
    ExpectAllStepsRan();
  }
  // Right-clicks the point; whether a context menu opened (it is closed again).
  bool MenuOpensAt(POINT at) {
    bool opened = false;
    WhileModal({[&opened] {
      if (user::TrackedMenuWindow() == nullptr) return false;
      opened = true;
      Tap(VK_ESCAPE);
      return true;
    }});
    user::InjectMouse(at, WM_RBUTTONDOWN);
    user::InjectMouse(at, WM_RBUTTONUP);
    Pump();
    return opened;
  }
  // Answers the next message box with its first button and keeps its text.
  void AnswerBox(CString& text) {
    WhileModal({[&text] {
      auto* box = dynamic_cast<CDlgBaseMessageBoxWndBase*>(CWnd::FromHandle(ActiveWindow()));
      if (box == nullptr) return false;
      text = box->GetText();
      Click(::GetDlgItem(box->m_hWnd, kMessageBoxFirstButton));
      return true;
    }});
  }
  // The text of the box the update button raises (answered with its first button).
  CString DownloadRefusal() {
    CString text;
    AnswerBox(text);
    page_->SendMessage(WM_COMMAND, CDlgScan3Results::kDownloadId);
    ExpectAllStepsRan();
    return text;
  }
  static std::string ExclusionFile() {
    std::string host;
    path::WindowsToHost(u"C:\\Data\\exclusion.xml", host);
    std::ifstream in(host, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
};

TEST_F(ResultsPage, ChecksClicksAndTheHandOffOfTheCheckedRows) {
  ASSERT_EQ(List().GetItemCount(), kLaptopRows);
  EXPECT_EQ(CheckedRows().size(), static_cast<std::size_t>(kLaptopRows));
  EXPECT_TRUE(page_->GetDlgItem(CDlgScan3Results::kDownloadId)->IsWindowEnabled());
  // Shown, the page held the program busy while it checked its rows, and took the scan request.
  ASSERT_GE(pageHost_.busy_.size(), 2u);
  EXPECT_EQ(std::vector<BOOL>(pageHost_.busy_.end() - 2, pageHost_.busy_.end()), (std::vector<BOOL>{TRUE, FALSE}));
  EXPECT_GE(pageHost_.scanRequestsCleared_, 1);
  ExpectWindowMatches(page_->m_hWnd, "results_laptop.png");

  ClickCheck(0);
  ClickCheck(2);
  EXPECT_FALSE(List().GetCheck(0));
  EXPECT_TRUE(List().GetCheck(1));
  EXPECT_FALSE(List().GetCheck(2));
  ExpectWindowMatches(page_->m_hWnd, "results_two_unchecked.png");

  Press(CDlgScan3Results::kDownloadId);
  ASSERT_EQ(pageHost_.runs_.size(), 1u);
  EXPECT_EQ(pageHost_.runs_[0].mode, CResultsPageHost::kModeDownloadChecked);
  EXPECT_EQ(pageHost_.runs_[0].rows, CheckedRows());
  EXPECT_EQ(pageHost_.runs_[0].rows.size(), static_cast<std::size_t>(kLaptopRows - 2));
  EXPECT_EQ(pageHost_.runs_[0].rows.front(), 1);
  // The dialog's rows: every list row with its driver, checked exactly when handed on.
  const std::vector<NagResultRow> rows = MakeNagRows(engine_, List(), pageHost_.runs_[0].rows);
  ASSERT_EQ(rows.size(), static_cast<std::size_t>(kLaptopRows));
  for (int row = 0; row < kLaptopRows; ++row) {
    EXPECT_EQ(rows[row].bChecked != FALSE, row != 0 && row != 2) << row;
    EXPECT_EQ(rows[row].nDriverIndex, engine_.GetResultRows()[row].nDeviceIndex) << row;
    EXPECT_EQ(rows[row].nState, kRowFound);
  }
  EXPECT_EQ(rows[1].strName, engine_.GetDevices()->GetAt(rows[1].nDriverIndex)->szText[kSlotDeviceName].Text());

  // The keys scroll the list; the page itself swallows Enter, Escape, Space and F4.
  ClickAt(InColumn(1, 1, 150));
  Pump();
  EXPECT_EQ(List().GetNextItem(-1, LVNI_SELECTED), 1);
  Tap(VK_END);
  Pump();
  EXPECT_EQ(List().GetNextItem(-1, LVNI_SELECTED), kLaptopRows - 1);
  EXPECT_GT(List().GetTopIndex(), 0);
  Tap(VK_SPACE);
  Pump();
  EXPECT_TRUE(List().GetCheck(kLaptopRows - 1));
  ExpectWindowMatches(page_->m_hWnd, "results_scrolled.png");
}

// Whatever size the page takes (the main window's page, the one-click popup's), the image and
// title columns share the list's width and the other columns keep the widths they were made
// with: the check column its 16 pixels, the age, details and status columns theirs.
TEST_F(ResultsPage, TheColumnsKeepTheirWidthsThroughAResize) {
  const SIZE kSizes[] = {{591, 473}, {732, 518}, {640, 500}};
  for (const SIZE& size : kSizes) {
    page_->MoveWindow(0, 0, size.cx, size.cy);
    Pump();
    CRect inside;
    List().GetClientRect(&inside);
    const int expected[] = {16, inside.Width() - 163, 70, 155, 60, 90};
    for (int column = 0; column < 6; ++column)
      EXPECT_EQ(List().GetColumnWidth(column), expected[column]) << size.cx << " x " << size.cy << ", column " << column;
  }
}

TEST_F(ResultsPage, TheContextMenuUnchecksAllAndTheButtonThenRefuses) {
  MenuOnRow(2, 1);  // "Unselect All"
  EXPECT_TRUE(CheckedRows().empty());
  EXPECT_FALSE(page_->GetDlgItem(CDlgScan3Results::kDownloadId)->IsWindowEnabled());
  EXPECT_NE(DownloadRefusal().Find(_T("Check the drivers you want to update first.")), -1);
  EXPECT_TRUE(pageHost_.runs_.empty());
  MenuOnRow(2, 0);  // "Select All"
  EXPECT_EQ(CheckedRows().size(), static_cast<std::size_t>(kLaptopRows));
}

TEST_F(ResultsPage, TheContextMenuShowsTheLanguageTexts) {
  // The menu as a right click shows it: the language file's texts, not the resource's.
  std::vector<std::pair<UINT, CString>> shown;
  WhileModal({[&shown] {
    shown = TrackedMenuItems();
    if (shown.empty()) return false;
    Tap(VK_ESCAPE);
    return true;
  }});
  const POINT at = InColumn(1, 1, 150);
  user::InjectMouse(at, WM_LBUTTONDOWN);
  user::InjectMouse(at, WM_LBUTTONUP);
  user::InjectMouse(at, WM_RBUTTONDOWN);
  user::InjectMouse(at, WM_RBUTTONUP);
  Pump();
  ExpectAllStepsRan();
  const std::vector<std::pair<UINT, CString>> expected = {
      {CDlgScan3Results::kCheckAllCommand, u"Check all drivers"},
      {CDlgScan3Results::kUncheckAllCommand, u"Uncheck all drivers"},
      {CDlgScan3Results::kExcludeCommand, u"Exclude this driver from updates"},
      {CDlgScan3Results::kExclusionListCommand, u"Open the exclusion list"}};
  EXPECT_EQ(shown, expected);
}

TEST_F(ResultsPage, ExcludeWritesTheFileAndKeepsTheOtherRowsChecks) {
  ClickCheck(2);
  ClickAt(InColumn(1, 1, 150));
  Pump();
  const CString name = List().GetItemDetail(1);
  MenuOnRow(1, 2);  // "Add To Exclusion"
  ASSERT_EQ(List().GetItemCount(), kLaptopRows - 1);
  // The row that was 2 is 1 now and still unchecked; every other row is checked.
  std::vector<int> expected;
  for (int row = 0; row < kLaptopRows - 1; ++row)
    if (row != 1) expected.push_back(row);
  EXPECT_EQ(CheckedRows(), expected);
  ASSERT_EQ(pageHost_.exclusions_.GetCount(), 1);
  EXPECT_EQ(pageHost_.exclusions_.GetItems()[0].strDriverName, name);
  const CString id = pageHost_.exclusions_.GetItems()[0].strHardwareId;
  EXPECT_FALSE(id.IsEmpty());
  CString value;
  EXPECT_TRUE(engine_.GetExcludedIds().Lookup(id, value));
  const std::string file = ExclusionFile();
  EXPECT_NE(file.find("<ExclusionId>1</ExclusionId>"), std::string::npos) << file;
  EXPECT_NE(file.find("<HardwareIds>"), std::string::npos) << file;
  ExpectWindowMatches(page_->m_hWnd, "results_excluded.png");
}

TEST_F(ResultsPage, TheActionLinksActByTheRowsState) {
  // An update: that row alone, downloaded singly.
  ClickAt(InColumn(0, CDlgScan3Results::kActionColumn, 30));
  Pump();
  ASSERT_EQ(pageHost_.runs_.size(), 1u);
  EXPECT_EQ(pageHost_.runs_[0].mode, CResultsPageHost::kModeSingleDownload);
  EXPECT_EQ(pageHost_.runs_[0].rows, std::vector<int>{0});
  // A row waiting for a restart: the restart prompt and nothing else.
  List().SetItemData(1, kRowInstalled);
  ClickAt(InColumn(1, CDlgScan3Results::kActionColumn, 30));
  Pump();
  EXPECT_EQ(pageHost_.restartPrompts_, 1);
  EXPECT_EQ(pageHost_.runs_.size(), 1u);
  // A downloaded row: the question, and on "Install" that row installed.
  List().SetItemData(2, kRowDownloaded);
  CString text;
  AnswerBox(text);
  ClickAt(InColumn(2, CDlgScan3Results::kActionColumn, 30));
  Pump();
  ExpectAllStepsRan();
  ASSERT_EQ(pageHost_.runs_.size(), 2u);
  EXPECT_EQ(pageHost_.runs_[1].mode, CResultsPageHost::kModeInstallOne);
  EXPECT_EQ(pageHost_.runs_[1].rows, std::vector<int>{2});
  // A refused elevation says so and installs nothing.
  pageHost_.elevation_ = 255;
  AnswerBox(text);
  ClickAt(InColumn(2, CDlgScan3Results::kActionColumn, 30));
  Pump();
  ExpectAllStepsRan();
  EXPECT_NE(text.Find(_T("The installation was stopped.")), -1);
  EXPECT_EQ(pageHost_.runs_.size(), 2u);
}

TEST_F(ResultsPage, RowsAllWaitingForARestartAreAllUpToDate) {
  for (int row = 0; row < List().GetItemCount(); ++row) List().SetItemData(row, kRowInstalled);
  EXPECT_NE(DownloadRefusal().Find(_T("All your drivers are up to date.")), -1);
  EXPECT_TRUE(pageHost_.runs_.empty());
}

TEST_F(ResultsPage, NoContextMenuOnAHeadingRowAndNoHandOffOfHeadings) {
  EXPECT_TRUE(MenuOpensAt(InColumn(1, 1, 150)));
  for (int row = 0; row < List().GetItemCount(); ++row) List().SetItemData(row, static_cast<DWORD_PTR>(-1));
  EXPECT_FALSE(MenuOpensAt(InColumn(0, 1, 150)));
  EXPECT_NE(DownloadRefusal().Find(_T("All your drivers are up to date.")), -1);
}

TEST_F(ResultsPage, TheLinksGoToTheirPages) {
  page_->SendMessage(WM_COMMAND, CDlgScan3Results::kExclusionListCommand);
  Press(CDlgScan3Results::kSummaryId);
  Press(CDlgScan3Results::kFeedbackId);
  EXPECT_EQ(pageHost_.exclusionListShown_, 1);
  EXPECT_EQ(pageHost_.summaries_, 1);
  EXPECT_EQ(pageHost_.feedbacks_, 1);
}

// The item-change message sets the state of the row last handed on, and brings it forward.
// When the dialog closes, the rows show the states the run left in the engine, checks kept.
TEST_F(ResultsPage, TheClosedRunLeavesItsStatesInTheRows) {
  ClickCheck(1);
  engine_.SetResultRowState(0, kRowInstalled, 0);
  page_->SendMessage(WM_COMMAND, CDlgScan3Results::kRunClosedCommand);
  EXPECT_EQ(List().GetItemData(0), static_cast<DWORD_PTR>(kRowInstalled));
  EXPECT_FALSE(List().GetCheck(1));
  EXPECT_TRUE(List().GetCheck(2));
}

TEST_F(ResultsPage, TheItemChangeMessageMarksTheCurrentRow) {
  const UINT message = CDlgScan3Results::GetItemChangeMessage();
  page_->SendMessage(message, 0, kRowDownloaded);  // no row handed on yet: nothing changes
  EXPECT_EQ(List().GetItemData(1), static_cast<DWORD_PTR>(kRowFound));
  ClickAt(InColumn(1, CDlgScan3Results::kActionColumn, 30));
  Pump();
  ASSERT_EQ(pageHost_.runs_.size(), 1u);
  page_->SendMessage(message, 0, kRowInstalled);
  EXPECT_EQ(List().GetItemData(1), static_cast<DWORD_PTR>(kRowInstalled));
  EXPECT_EQ(List().GetNextItem(-1, LVNI_SELECTED), 1);
}

// For the launcher, the refusal is a count of the updates waiting instead of a message.
TEST_F(ResultsPage, InLauncherNotifyModeTheLauncherHearsTheUpdateCount) {
  pageHost_.notify_ = true;
  page_->SendMessage(WM_COMMAND, CDlgScan3Results::kUncheckAllCommand);
  page_->SendMessage(WM_COMMAND, CDlgScan3Results::kDownloadId);
  EXPECT_EQ(pageHost_.reported_, std::vector<int>{kLaptopRows});
  EXPECT_TRUE(pageHost_.runs_.empty());
}

// In the one-click popup the page has no update button, no header band and no context menu.
TEST_F(ResultsPage, InTheOneClickPopupNoButtonBandOrMenu) {
  page_.reset();
  pageHost_.oneClick_ = true;
  ASSERT_NO_FATAL_FAILURE(OpenPage());
  EXPECT_EQ(List().GetItemCount(), kLaptopRows);
  EXPECT_FALSE(page_->GetDlgItem(CDlgScan3Results::kDownloadId)->IsWindowVisible());
  CRect list;
  List().GetWindowRect(&list);
  page_->ScreenToClient(&list);
  EXPECT_EQ(list.top, 128);
  EXPECT_FALSE(MenuOpensAt(InColumn(1, 1, 150)));
}

}  // namespace
}  // namespace zx::test
