// The exclusion list page: opened on a stored list, rows removed and all removed through its
// buttons and the questions they ask, drivers added by the results page, the scan engine's
// excluded ids kept equal to the list, and the look of the page.
#include <fstream>
#include <string>

#include "DlgDrvExclusion.h"
#include "DriverScanUpdate.h"
#include "cstring_printer.h"
#include "pages_testing.h"
#include "zx/input.h"
#include "zx/menus.h"
#include "zx/pathmap.h"

namespace zx::test {
namespace {

constexpr LPCTSTR kFolder = _T("C:\\Data");
constexpr char kTwoDrivers[] =
    "<Exclusion>\r\r\n<ExclusionInfo>\r\r\n<ExclusionId>3</ExclusionId>\r\r\n"
    "<DriverName>Generic USB Hub</DriverName>\r\r\n<HardwareIds>USB\\ROOT_HUB20</HardwareIds>\r\r\n"
    "</ExclusionInfo>\r\r\n<ExclusionInfo>\r\r\n<ExclusionId>5</ExclusionId>\r\r\n"
    "<DriverName>Generic USB Hub</DriverName>\r\r\n<HardwareIds>USB\\ROOT_HUB30</HardwareIds>\r\r\n"
    "</ExclusionInfo>\r\r\n</Exclusion>";

class ExclusionPage : public PageTest {
 protected:
  void SetUp() override {
    PageTest::SetUp();
    CreateDirectoryW(kFolder, nullptr);
  }
  void TearDown() override {
    page_.DestroyWindow();
    PageTest::TearDown();
  }
  static std::string FilePath() {
    std::string host;
    zx::path::WindowsToHost(u"C:\\Data\\exclusion.xml", host);
    return host;
  }
  void Open() {
    ASSERT_TRUE(page_.Create(CDlgDrvExclusion::kTemplateId, &host_));
    page_.ShowWindow(SW_SHOW);
    Pump();
  }
  CListCtrl& List() { return *static_cast<CListCtrl*>(page_.GetDlgItem(CDlgDrvExclusion::kListId)); }
  int Rows() { return List().GetItemCount(); }
  bool Enabled(UINT id) { return PageTest::Enabled(page_, id); }
  void Press(UINT id) { PageTest::Press(page_, id); }
  bool Excluded(LPCTSTR id) {
    CString value;
    return engine_.GetExcludedIds().Lookup(id, value) != FALSE;
  }
  // The centre of a row of the list on the screen.
  POINT RowPoint(int row) {
    CRect box;
    List().GetItemRect(row, &box, LVIR_LABEL);
    POINT at{box.CenterPoint().x, box.CenterPoint().y};
    ::ClientToScreen(List().m_hWnd, &at);
    return at;
  }
  // Clicks a row of the list.
  void ClickRow(int row) {
    ClickAt(RowPoint(row));
    Pump();
  }
  static std::string FileBytes() {
    std::ifstream in(FilePath(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  CDriverScanUpdate engine_;
  CDlgDrvExclusion page_{engine_, kFolder};
};

TEST_F(ExclusionPage, OpensOnTheStoredListAndMarksItsIdsAfresh) {
  std::ofstream(FilePath(), std::ios::binary) << kTwoDrivers;
  engine_.SetKeyMarked(_T("PCI\\LEFT_OVER"), TRUE);
  Open();
  EXPECT_EQ(Rows(), 2);
  EXPECT_EQ(engine_.GetExcludedIds().GetCount(), 2);
  EXPECT_FALSE(Excluded(_T("PCI\\LEFT_OVER")));
  EXPECT_TRUE(Excluded(_T("USB\\ROOT_HUB30")));
  EXPECT_TRUE(Enabled(CDlgDrvExclusion::kRemoveAllId));
  EXPECT_TRUE(Enabled(CDlgDrvExclusion::kRemoveId));
  ExpectWindowMatches(page_.m_hWnd, "exclusion_two.png");
}

TEST_F(ExclusionPage, AnEmptyListDisablesBothButtons) {
  Open();
  EXPECT_EQ(Rows(), 0);
  EXPECT_FALSE(Enabled(CDlgDrvExclusion::kRemoveAllId));
  EXPECT_FALSE(Enabled(CDlgDrvExclusion::kRemoveId));
  ExpectWindowMatches(page_.m_hWnd, "exclusion_empty.png");
}

// Of two entries showing the same name, the one of the clicked row goes.
TEST_F(ExclusionPage, RemoveTakesTheClickedRowAfterAYes) {
  std::ofstream(FilePath(), std::ios::binary) << kTwoDrivers;
  Open();
  ClickRow(1);
  AnswerBox(1);  // No
  Press(CDlgDrvExclusion::kRemoveId);
  ExpectAllStepsRan();
  EXPECT_EQ(Rows(), 2);
  EXPECT_EQ(FileBytes(), kTwoDrivers);
  AnswerBox(0);  // Yes
  Press(CDlgDrvExclusion::kRemoveId);
  ExpectAllStepsRan();
  EXPECT_EQ(Rows(), 1);
  ASSERT_EQ(page_.GetList().GetCount(), 1);
  EXPECT_EQ(page_.GetList().GetItems()[0].strHardwareId, CString(_T("USB\\ROOT_HUB20")));
  EXPECT_TRUE(Excluded(_T("USB\\ROOT_HUB20")));
  EXPECT_FALSE(Excluded(_T("USB\\ROOT_HUB30")));
  EXPECT_NE(FileBytes().find("ROOT_HUB20"), std::string::npos);
  EXPECT_EQ(FileBytes().find("ROOT_HUB30"), std::string::npos);
}

TEST_F(ExclusionPage, RemoveAllLeavesTheRootOnly) {
  std::ofstream(FilePath(), std::ios::binary) << kTwoDrivers;
  Open();
  AnswerBox(0);
  Press(CDlgDrvExclusion::kRemoveAllId);
  ExpectAllStepsRan();
  EXPECT_EQ(Rows(), 0);
  EXPECT_EQ(engine_.GetExcludedIds().GetCount(), 0);
  EXPECT_EQ(FileBytes(), "<Exclusion/>");
  EXPECT_FALSE(Enabled(CDlgDrvExclusion::kRemoveAllId));
  EXPECT_FALSE(Enabled(CDlgDrvExclusion::kRemoveId));
}

TEST_F(ExclusionPage, AddingAListedIdInAnotherCaseKeepsOneRow) {
  Open();
  EXPECT_EQ(page_.AddExclusion(_T("Camera"), _T("USB\\VID_046D&PID_0825")), 1);
  EXPECT_EQ(page_.AddExclusion(_T("Camera"), _T("usb\\vid_046d&pid_0825")), 0);
  EXPECT_EQ(Rows(), 1);
  EXPECT_TRUE(Excluded(_T("USB\\VID_046D&PID_0825")));
  EXPECT_TRUE(Enabled(CDlgDrvExclusion::kRemoveAllId));
  // Nothing selected yet: remove asks for a selection and changes nothing.
  EXPECT_FALSE(Enabled(CDlgDrvExclusion::kRemoveId));
  AnswerBox(0);
  page_.SendMessage(WM_COMMAND, CDlgDrvExclusion::kMenuRemove);
  ExpectAllStepsRan();
  EXPECT_EQ(Rows(), 1);
}

TEST_F(ExclusionPage, TheContextMenuRemovesTheRowRightClicked) {
  std::ofstream(FilePath(), std::ios::binary) << kTwoDrivers;
  Open();
  // The menu shows the language file's texts.
  std::vector<std::pair<UINT, CString>> shown;
  WhileModal({[&shown] {
                shown = TrackedMenuItems();
                if (shown.empty()) return false;
                RECT item{};
                if (!user::TrackedMenuItemRect(1, &item)) return false;  // "Remove"
                ClickAt(POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2});
                return true;
              },
              [] {
                auto* box = dynamic_cast<CDlgBaseMessageBoxWndBase*>(CWnd::FromHandle(ActiveWindow()));
                if (box == nullptr) return false;
                Click(::GetDlgItem(box->m_hWnd, kMessageBoxFirstButton));
                return true;
              }});
  const POINT at = RowPoint(1);
  user::InjectMouse(at, WM_MOUSEMOVE);
  user::InjectMouse(at, WM_RBUTTONDOWN);
  user::InjectMouse(at, WM_RBUTTONUP);
  Pump();
  ExpectAllStepsRan();
  const std::vector<std::pair<UINT, CString>> expected = {{CDlgDrvExclusion::kMenuRemoveAll, u"Remove every exclusion"},
                                                          {CDlgDrvExclusion::kMenuRemove, u"Remove this exclusion"}};
  EXPECT_EQ(shown, expected);
  ASSERT_EQ(page_.GetList().GetCount(), 1);
  EXPECT_EQ(page_.GetList().GetItems()[0].strHardwareId, CString(_T("USB\\ROOT_HUB20")));
  EXPECT_FALSE(Excluded(_T("USB\\ROOT_HUB30")));
}

}  // namespace
}  // namespace zx::test
