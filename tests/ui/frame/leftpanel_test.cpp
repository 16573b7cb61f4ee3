// The left panel: its numbered buttons made from the caption list, clicks selecting a button,
// swapping the page beside it and telling the owner its code, the check-for-updates button,
// pages shared between slots deleted once, and the look of a panel with a page.
#include <filesystem>
#include <fstream>
#include <vector>

#include "DlgBaseShared.h"
#include "DlgLeftDlgBase.h"
#include "DlgLeftSideChild.h"
#include "dialogs_testing.h"

namespace zx::test {
namespace {

constexpr UINT kHostTemplate = 4101;
constexpr UINT kPageTemplate = 4102;

std::vector<int> g_codes;

int RecordCode(CDlgLeftDlgBase*, int code) {
  g_codes.push_back(code);
  return 0;
}

class TestPage : public CDlgLeftSideChild {
 public:
  TestPage() : CDlgLeftSideChild(kPageTemplate, nullptr) {}
};

// A page whose destruction is counted.
class CountedPage : public TestPage {
 public:
  explicit CountedPage(int& deleted) : deleted_(deleted) {}
  ~CountedPage() override { ++deleted_; }

 private:
  int& deleted_;
};

// The panel's caption list.
struct Captions : CStringArray {
  Captions(std::initializer_list<const char16_t*> texts) {
    for (const char16_t* text : texts) Add(text);
  }
};

class LeftPanel : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    std::ofstream(LanguageFile()) << "[IDD_DLG_LEFTWINDOW_BASE]\r\nIDC_BTN_SCAN_NOW=Scan now\r\n"
                                     "IDC_BTN_CHECK_FOR_UPDATE=Updates\r\n";
    g_codes.clear();
    ASSERT_TRUE(host_.Create(kHostTemplate, nullptr));
    host_.SetWindowPos(nullptr, 0, 0, 772, 583, SWP_NOZORDER);
    host_.ShowWindow(SW_SHOW);
  }
  void TearDown() override {
    host_.DestroyWindow();
    g_nMainWindowLogoId = 0;
    std::filesystem::remove(LanguageFile());
    DialogTest::TearDown();
  }
  // The shared texts, in the language file beside the shared library.
  static std::filesystem::path LanguageFile() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path() / "qvx.ini";
  }
  // The panel inside the host as a main window places it.
  void Open(CDlgLeftDlgBase& panel, int style) {
    panel.SetStyle(style);
    panel.SetOwnerCallback(&RecordCode);
    ASSERT_TRUE(panel.Create(CDlgLeftDlgBase::kTemplateId, &host_));
    panel.MoveWindow(6, 77, 760, 479);
    panel.ShowWindow(SW_SHOW);
    Pump();
  }
  // A page created as a child of the panel beside its buttons, hidden and disabled.
  static void AddPage(CDlgLeftDlgBase& panel, CDlgBaseWnd& page, int slot) {
    ASSERT_TRUE(page.Create(kPageTemplate, &panel));
    CRect place;
    panel.GetClientRect(&place);
    place.left += 168;
    place.top += 2;
    page.MoveWindow(place.left, place.top, place.Width(), place.Height());
    page.ShowWindow(SW_HIDE);
    page.EnableWindow(FALSE);
    panel.SetPage(slot, &page);
  }
  static CRect PlaceInPanel(CDlgLeftDlgBase& panel, UINT id) {
    CRect rect;
    panel.GetDlgItem(static_cast<int>(id))->GetWindowRect(&rect);
    panel.ScreenToClient(&rect);
    return rect;
  }
  static void Redraw(CWnd& window) {
    window.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump();
  }
  CDlgBaseWnd host_{kHostTemplate, nullptr};
};

struct Row {
  int count;
  int captions;
  bool fromList;
  int made;
};

TEST_F(LeftPanel, ButtonsAreMadeForTheCountAndTheCaptionsThereAre) {
  const Row table[] = {
      {3, 3, false, 3}, {8, 8, false, 8}, {9, 9, false, 8},  // at most eight
      {7, 7, true, 7},  {8, 8, true, 7},                     // at most seven from a list
      {5, 2, false, 2},                                      // no button without a caption
      {0, 4, false, 0}, {4, 0, false, 0},
  };
  for (const Row& row : table) {
    CDlgLeftDlgBase panel(CDlgLeftDlgBase::kTemplateId, &host_);
    Open(panel, CDlgLeftDlgBase::kStyleNoIcons);
    CStringArray captions;
    for (int i = 0; i < row.captions; ++i) captions.Add(u"Step");
    if (row.fromList)
      panel.CreateButtonsFromList(row.count, captions);
    else
      panel.CreateButtons(row.count, captions);
    EXPECT_EQ(panel.GetButtonCount(), row.made) << row.count << "/" << row.captions;
    for (int i = 0; i < CDlgLeftDlgBase::kMaxButtons; ++i)
      EXPECT_EQ(panel.GetDlgItem(static_cast<int>(1199 + i)) != nullptr, i < row.made) << row.count << " button " << i;
    panel.DestroyWindow();
  }
}

TEST_F(LeftPanel, ThreeButtonsStand31PixelsApartFromTheTop) {
  CDlgLeftDlgBase panel(CDlgLeftDlgBase::kTemplateId, &host_);
  Open(panel, CDlgLeftDlgBase::kStyleNoIcons);
  panel.CreateButtons(3, Captions({u"Scan", u"Results", u"Summary"}));
  EXPECT_EQ(PlaceInPanel(panel, 1199), CRect(1, 17, 166, 48));
  EXPECT_EQ(PlaceInPanel(panel, 1200), CRect(1, 48, 166, 79));
  EXPECT_EQ(PlaceInPanel(panel, 1201), CRect(1, 79, 166, 110));
  EXPECT_EQ(panel.GetDlgItem(1202), nullptr);
  EXPECT_TRUE(panel.GetLeftButton(1)->m_bHighlighted);
  EXPECT_EQ(panel.GetLeftButton(1)->GetNumberIndex(), -1);
  panel.DestroyWindow();
}

TEST_F(LeftPanel, ButtonsWithIconsStartDisabledButTheFirst) {
  CDlgLeftDlgBase panel(CDlgLeftDlgBase::kTemplateId, &host_);
  Open(panel, CDlgLeftDlgBase::kStyleIcons);
  panel.CreateButtonsFromList(7, Captions({u"1", u"2", u"3", u"4", u"5", u"6", u"7"}));
  const int icons[] = {0, 1, 2, 3, 4, 5, 0};
  for (int i = 1; i <= 7; ++i) {
    EXPECT_EQ(panel.GetLeftButton(i)->GetNumberIndex(), icons[i - 1]) << i;
    EXPECT_EQ(panel.GetLeftButton(i)->IsWindowEnabled(), i == 1) << i;
  }
  // A disabled button is enabled when it is chosen.
  panel.SelectLeftButton(4, nullptr);
  EXPECT_TRUE(panel.GetLeftButton(4)->IsWindowEnabled());
  panel.EnableButtons(FALSE, TRUE, TRUE, FALSE, TRUE, TRUE, TRUE);
  EXPECT_FALSE(panel.GetLeftButton(1)->IsWindowEnabled());
  EXPECT_FALSE(panel.GetLeftButton(4)->IsWindowEnabled());
  EXPECT_TRUE(panel.GetLeftButton(7)->IsWindowEnabled());
  panel.DestroyWindow();
}

TEST_F(LeftPanel, ClickingAButtonSwapsThePageAndTellsTheOwner) {
  CDlgLeftDlgBase panel(CDlgLeftDlgBase::kTemplateId, &host_);
  Open(panel, CDlgLeftDlgBase::kStyleNoIcons);
  panel.CreateButtons(3, Captions({u"Scan", u"Results", u"Summary"}));
  auto* first = new TestPage;
  auto* second = new TestPage;
  AddPage(panel, *first, 1);
  AddPage(panel, *second, 2);
  first->ShowWindow(SW_SHOW);
  first->EnableWindow(TRUE);

  Click(panel.GetLeftButton(2)->m_hWnd);
  Pump();
  EXPECT_EQ(g_codes, std::vector<int>({4}));
  EXPECT_EQ(panel.GetSelectedButton(), 2);
  EXPECT_TRUE(panel.GetLeftButton(2)->m_bHighlighted);
  EXPECT_FALSE(panel.GetLeftButton(1)->m_bHighlighted);
  EXPECT_FALSE(first->IsWindowVisible());
  EXPECT_FALSE(first->IsWindowEnabled());
  EXPECT_TRUE(second->IsWindowVisible());
  EXPECT_TRUE(second->IsWindowEnabled());
  EXPECT_EQ(panel.GetCurrentPage(), second);

  // The selected button again: nothing changes, the owner hears its code again.
  Click(panel.GetLeftButton(2)->m_hWnd);
  Pump();
  EXPECT_EQ(g_codes, std::vector<int>({4, 4}));
  EXPECT_TRUE(second->IsWindowVisible());

  // A button without a page is selected and the page stays.
  Click(panel.GetLeftButton(3)->m_hWnd);
  Pump();
  EXPECT_EQ(g_codes, std::vector<int>({4, 4, 5}));
  EXPECT_EQ(panel.GetSelectedButton(), 3);
  EXPECT_TRUE(second->IsWindowVisible());
  EXPECT_EQ(panel.GetCurrentPage(), second);

  Click(panel.GetLeftButton(1)->m_hWnd);
  Pump();
  EXPECT_TRUE(first->IsWindowVisible());
  EXPECT_FALSE(second->IsWindowVisible());
  panel.DestroyWindow();
}

TEST_F(LeftPanel, CommandsPostedByPagesDriveThePanel) {
  CDlgLeftDlgBase panel(CDlgLeftDlgBase::kTemplateId, &host_);
  Open(panel, CDlgLeftDlgBase::kStyleScanNow);
  panel.SetLaunchUpdateChecker(FALSE);
  panel.CreateButtons(2, Captions({u"Scan", u"Results"}));
  panel.PostCommandToSelf(1200);
  panel.PostCommandToSelf(CDlgLeftDlgBase::kScanNowCommand);
  panel.PostCommandToSelf(CDlgLeftDlgBase::kCheckForUpdatesCommand);
  Pump();
  EXPECT_EQ(g_codes, std::vector<int>({4, 0, 1}));
  EXPECT_EQ(panel.GetSelectedButton(), 2);
  panel.DestroyWindow();
}

TEST_F(LeftPanel, TheScanNowButtonIsBoundOnlyForItsStyle) {
  for (int style : {CDlgLeftDlgBase::kStyleScanNow, CDlgLeftDlgBase::kStyleNoIcons}) {
    CDlgLeftDlgBase panel(CDlgLeftDlgBase::kTemplateId, &host_);
    Open(panel, style);
    EXPECT_EQ(panel.GetScanNowButton().GetSafeHwnd() != nullptr, style == CDlgLeftDlgBase::kStyleScanNow);
    EXPECT_NE(panel.GetCheckForUpdatesButton().GetSafeHwnd(), nullptr);
    if (style == CDlgLeftDlgBase::kStyleScanNow) {
      Click(panel.GetScanNowButton().m_hWnd);
      Pump();
      EXPECT_EQ(g_codes, std::vector<int>({0}));
    }
    panel.DestroyWindow();
  }
}

TEST_F(LeftPanel, CheckForUpdatesEnablesItsButtonAgain512MsLater) {
  CDlgLeftDlgBase panel(CDlgLeftDlgBase::kTemplateId, &host_);
  Open(panel, CDlgLeftDlgBase::kStyleNoIcons);
  CHoverButtonWithText& button = panel.GetCheckForUpdatesButton();
  Click(button.m_hWnd);
  Pump();
  EXPECT_EQ(g_codes, std::vector<int>({1}));
  panel.DisableFixedButtons();
  clock_.Advance(511);
  Pump();
  EXPECT_FALSE(button.IsWindowEnabled());
  clock_.Advance(1);
  Pump();
  EXPECT_TRUE(button.IsWindowEnabled());
  panel.DisableFixedButtons();
  clock_.Advance(2000);
  Pump();
  EXPECT_FALSE(button.IsWindowEnabled()) << "the pause is over once";
  panel.EnableFixedButtons();
  EXPECT_TRUE(button.IsWindowEnabled());
  panel.DestroyWindow();
}

TEST_F(LeftPanel, APageInSeveralSlotsIsDeletedOnce) {
  int deleted = 0;
  {
    CDlgLeftDlgBase panel(CDlgLeftDlgBase::kTemplateId, &host_);
    Open(panel, CDlgLeftDlgBase::kStyleNoIcons);
    auto* shared = new CountedPage(deleted);
    auto* own = new CountedPage(deleted);
    AddPage(panel, *shared, 1);
    for (int slot : {3, 6, 8}) panel.SetPage(slot, shared);
    AddPage(panel, *own, 2);
    panel.SetPage(5, own);
    panel.DestroyWindow();
  }
  EXPECT_EQ(deleted, 2);
}

TEST_F(LeftPanel, ThePanelWithItsLogoButtonsAndPageMatchesTheReference) {
  g_nMainWindowLogoId = 1502;
  CDlgLeftDlgBase panel(CDlgLeftDlgBase::kTemplateId, &host_);
  Open(panel, CDlgLeftDlgBase::kStyleScanNow);
  panel.CreateButtons(4, Captions({u"Scan", u"Results", u"Summary", u"History"}));
  auto* page = new TestPage;
  AddPage(panel, *page, 2);
  page->SetWindowText(u"Results");
  Click(panel.GetLeftButton(2)->m_hWnd);
  Pump();
  Redraw(host_);
  ExpectWindowMatches(panel.m_hWnd, "leftpanel.png");
  panel.DestroyWindow();
}

TEST_F(LeftPanel, NoLogoIsDrawnForTheNoLogoIds) {
  const CHVBitmap& panelPicture = SharedBitmap(1096);
  ASSERT_GT(panelPicture.GetWidth(), 0);
  for (UINT logo : {0u, 1161u, 1502u}) {
    g_nMainWindowLogoId = logo;
    CDlgLeftDlgBase panel(CDlgLeftDlgBase::kTemplateId, &host_);
    Open(panel, CDlgLeftDlgBase::kStyleNoIcons);
    Redraw(panel);
    SIZE size{};
    const std::vector<COLORREF> pixels = Pixels(panel.m_hWnd, size);
    ASSERT_FALSE(pixels.empty());
    // Without a logo the panel's own picture shows there.
    const COLORREF atLogo = pixels[static_cast<size_t>(5 * size.cx + 10)];
    EXPECT_EQ(atLogo == PictureColour(1096, 10, 5), logo != 1502) << logo;
    panel.DestroyWindow();
  }
}

}  // namespace
}  // namespace zx::test
