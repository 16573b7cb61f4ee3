// The tree with three-state check boxes, driven by clicks and keys: a parent's box checks and
// unchecks its branch, parents show the state of their children, disabled items keep theirs,
// labels, double clicks and disabled parents toggle nothing, the parent window and the wizard
// page hear of every toggle, and the look of every state.
#include <utility>
#include <vector>

#include <afxdlg.h>

#include "TreeXCtrl.h"
#include "dialogs_testing.h"
#include "zx/input.h"

namespace zx::test {
namespace {

constexpr UINT kHostTemplate = 4201;
using State = int;
constexpr State kNone = CTreeXCtrl::kNoCheckBox, kOff = CTreeXCtrl::kUnchecked, kOn = CTreeXCtrl::kChecked,
                kPart = CTreeXCtrl::kPartlyChecked, kDisabled = CTreeXCtrl::kDisabled;

// The window the tree tells of every toggle.
class HostDialog : public CDialog {
 public:
  HostDialog() : CDialog(kHostTemplate, nullptr) {}
  std::vector<std::pair<WPARAM, LPARAM>> notes;

 protected:
  afx_msg LRESULT OnCheckChanged(WPARAM wParam, LPARAM lParam) {
    notes.emplace_back(wParam, lParam);
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(HostDialog, CDialog)
  ON_MESSAGE(CTreeXCtrl::kCheckChangedMessage, &HostDialog::OnCheckChanged)
END_MESSAGE_MAP()

class RecordingPage : public CTreeXCtrlOwner {
 public:
  std::vector<HTREEITEM> clicked;
  int updates = 0;
  void OnTreeDriverClicked(HTREEITEM hItem) override { clicked.push_back(hItem); }
  void UpdateBranchChecked() override { ++updates; }
};

class TreeX : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    ASSERT_TRUE(host_.Create(kHostTemplate, nullptr));
    host_.SetWindowPos(nullptr, 10, 10, 300, 260, SWP_NOZORDER);
    host_.ShowWindow(SW_SHOW);
    ASSERT_TRUE(tree_.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT |
                                 TVS_SHOWSELALWAYS,
                             CRect(4, 4, 296, 256), &host_, 100));
    ASSERT_TRUE(tree_.CreateCheckImages());
    tree_.SetTextColor(0x48362D);
    tree_.SetOwnerPage(&page_);
    display_ = Add(u"Display adapters", TVI_ROOT, CTreeXCtrl::kCategoryData);
    graphicsA_ = Add(u"Graphics A", display_, 0);
    graphicsB_ = Add(u"Graphics B", display_, 1);
    network_ = Add(u"Network adapters", TVI_ROOT, CTreeXCtrl::kCategoryData);
    ethernet_ = Add(u"Ethernet", network_, 2);
    wireless_ = Add(u"Wireless", network_, 3, kDisabled);
    storage_ = Add(u"Storage", TVI_ROOT, CTreeXCtrl::kCategoryData);
    controllers_ = Add(u"Controllers", storage_, CTreeXCtrl::kCategoryData, kDisabled);
    sata_ = Add(u"SATA", controllers_, 4);
    firmware_ = Add(u"Firmware", TVI_ROOT, 5);
    for (HTREEITEM parent : {display_, network_, storage_, controllers_}) tree_.Expand(parent, TVE_EXPAND);
    Pump();
  }
  void TearDown() override {
    tree_.DestroyWindow();
    host_.DestroyWindow();
    DialogTest::TearDown();
  }
  HTREEITEM Add(const char16_t* text, HTREEITEM parent, DWORD_PTR data, State state = kOff) {
    const HTREEITEM item = tree_.InsertItem(text, parent);
    tree_.SetItemData(item, data);
    tree_.SetCheckStateIndex(item, state);
    return item;
  }
  // A click on the item's check box, its label, or its expand button, as a person makes it;
  // clicks are a second apart, so none is taken for a double click.
  enum class Part { Box, Label, Button };
  void ClickOn(HTREEITEM item, Part part, UINT message = WM_LBUTTONDOWN) {
    CRect label;
    ASSERT_TRUE(tree_.GetItemRect(item, &label, TRUE));
    int x = label.left + 10;
    if (part == Part::Box) x = label.left - 7;
    if (part == Part::Button) x = label.left - 15 - static_cast<int>(tree_.GetIndent()) / 2;
    CPoint at(x, label.CenterPoint().y);
    tree_.ClientToScreen(&at);
    clock_.Advance(1000);
    user::InjectMouse(at, WM_MOUSEMOVE);
    user::InjectMouse(at, message);
    user::InjectMouse(at, WM_LBUTTONUP);
    Pump();
  }
  std::vector<State> States() {
    std::vector<State> states;
    for (HTREEITEM item : {display_, graphicsA_, graphicsB_, network_, ethernet_, wireless_, storage_, controllers_,
                           sata_, firmware_})
      states.push_back(tree_.GetCheckState(item));
    return states;
  }

  HostDialog host_;
  CTreeXCtrl tree_;
  RecordingPage page_;
  HTREEITEM display_{}, graphicsA_{}, graphicsB_{}, network_{}, ethernet_{}, wireless_{}, storage_{},
      controllers_{}, sata_{}, firmware_{};
};

TEST_F(TreeX, ACheckedChildMakesItsParentPartlyCheckedAndBothCheckIt) {
  ClickOn(graphicsA_, Part::Box);
  EXPECT_EQ(tree_.GetCheckState(graphicsA_), kOn);
  EXPECT_EQ(tree_.GetCheckState(display_), kPart);
  ClickOn(graphicsB_, Part::Box);
  EXPECT_EQ(tree_.GetCheckState(display_), kOn);
  ClickOn(graphicsA_, Part::Box);
  EXPECT_EQ(tree_.GetCheckState(display_), kPart);
  ClickOn(graphicsB_, Part::Box);
  EXPECT_EQ(tree_.GetCheckState(display_), kOff);
  EXPECT_EQ(page_.updates, 4);
  EXPECT_EQ(host_.notes.size(), 4u);
}

TEST_F(TreeX, APartlyCheckedParentsBoxUnchecksItsWholeBranch) {
  ClickOn(graphicsA_, Part::Box);
  ASSERT_EQ(tree_.GetCheckState(display_), kPart);
  ClickOn(display_, Part::Box);
  EXPECT_EQ(tree_.GetCheckState(display_), kOff);
  EXPECT_EQ(tree_.GetCheckState(graphicsA_), kOff);
  EXPECT_EQ(tree_.GetCheckState(graphicsB_), kOff);
  ClickOn(display_, Part::Box);
  EXPECT_EQ(States(), (std::vector<State>{kOn, kOn, kOn, kOff, kOff, kDisabled, kOff, kDisabled, kOff, kOff}));
}

TEST_F(TreeX, ADisabledChildKeepsItsStateAndDoesNotHoldItsParentBack) {
  ClickOn(network_, Part::Box);
  EXPECT_EQ(tree_.GetCheckState(ethernet_), kOn);
  EXPECT_EQ(tree_.GetCheckState(wireless_), kDisabled);
  ClickOn(ethernet_, Part::Box);
  EXPECT_EQ(tree_.GetCheckState(network_), kOff);
  ClickOn(ethernet_, Part::Box);
  EXPECT_EQ(tree_.GetCheckState(network_), kOn) << "the disabled child counts as not unchecked";
}

TEST_F(TreeX, AParentWhoseChildrenAreAllDisabledBecomesCheckedWhenRecomputed) {
  // Toggling the item under the disabled "Controllers" recomputes "Storage" from it alone.
  ClickOn(sata_, Part::Box);
  EXPECT_EQ(tree_.GetCheckState(sata_), kOn);
  EXPECT_EQ(tree_.GetCheckState(controllers_), kDisabled);
  EXPECT_EQ(tree_.GetCheckState(storage_), kOn);
  ClickOn(sata_, Part::Box);
  EXPECT_EQ(tree_.GetCheckState(storage_), kOn);
}

TEST_F(TreeX, ADisabledItemOrOneWithoutABoxTogglesNothingOfItsBranch) {
  ClickOn(sata_, Part::Box);
  const std::vector<State> before = States();
  const std::size_t notes = host_.notes.size();
  ClickOn(controllers_, Part::Box);
  EXPECT_EQ(States(), before) << "the disabled parent's branch stays as it was";
  tree_.SetCheckStateIndex(firmware_, kNone);
  ClickOn(firmware_, Part::Label);
  Tap(VK_SPACE);
  Pump();
  EXPECT_EQ(tree_.GetCheckState(firmware_), kNone);
  EXPECT_EQ(host_.notes.size(), notes);
}

TEST_F(TreeX, AParentWithoutABoxKeepsHavingNone) {
  tree_.SetCheckStateIndex(display_, kNone);
  ClickOn(graphicsA_, Part::Box);
  EXPECT_EQ(tree_.GetCheckState(graphicsA_), kOn);
  EXPECT_EQ(tree_.GetCheckState(display_), kNone);
}

TEST_F(TreeX, ClickingALabelSelectsAndExpandsButTogglesNoBox) {
  const std::vector<State> before = States();
  ClickOn(graphicsA_, Part::Label);
  EXPECT_EQ(tree_.GetSelectedItem(), graphicsA_);
  EXPECT_EQ(page_.clicked, std::vector<HTREEITEM>{graphicsA_});
  ClickOn(display_, Part::Label);
  EXPECT_EQ(tree_.GetSelectedItem(), display_);
  EXPECT_FALSE(tree_.GetItemState(display_, TVIS_EXPANDED) & TVIS_EXPANDED) << "collapsed by the click";
  EXPECT_EQ(page_.clicked.size(), 1u) << "a category is no driver";
  EXPECT_EQ(States(), before);
  EXPECT_EQ(page_.updates, 0);
  EXPECT_TRUE(host_.notes.empty());
  EXPECT_EQ(::GetFocus(), tree_.m_hWnd);

  // Without an active wizard page the clicks go on the same.
  tree_.SetOwnerPage(nullptr);
  ClickOn(network_, Part::Label);
  EXPECT_EQ(tree_.GetSelectedItem(), network_);
}

TEST_F(TreeX, SpaceTogglesTheSelectedItemADoubleClickNothing) {
  ClickOn(ethernet_, Part::Label);
  Tap(VK_SPACE);
  Pump();
  EXPECT_EQ(tree_.GetCheckState(ethernet_), kOn);
  Tap(VK_DOWN);  // other keys keep their default handling
  Pump();
  EXPECT_EQ(tree_.GetSelectedItem(), wireless_);

  const std::vector<State> before = States();
  CRect label;
  ASSERT_TRUE(tree_.GetItemRect(graphicsB_, &label, TRUE));
  CPoint box(label.left - 7, label.CenterPoint().y);
  tree_.ClientToScreen(&box);
  clock_.Advance(1000);
  user::InjectMouse(box, WM_LBUTTONDBLCLK);
  Pump();
  EXPECT_EQ(States(), before);
}

struct Step {
  HTREEITEM item;
  bool any;
  bool all;
};

TEST_F(TreeX, TheParentHearsWhetherAnyAndWhetherAllItemsAreChecked) {
  const Step steps[] = {
      // Items below the children of the top-level items ("SATA") are not looked at.
      {firmware_, true, false}, {display_, true, false}, {ethernet_, true, true},
      {sata_, true, true},      {firmware_, true, false},
  };
  for (const Step& step : steps) ClickOn(step.item, Part::Box);
  ASSERT_EQ(host_.notes.size(), 5u);
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(host_.notes[i].first != 0, steps[i].any) << i;
    EXPECT_EQ(host_.notes[i].second != 0, steps[i].all) << i;
  }
  ClickOn(display_, Part::Box);
  ClickOn(ethernet_, Part::Box);
  ClickOn(sata_, Part::Box);
  EXPECT_EQ(host_.notes.back(), std::make_pair(WPARAM{0}, LPARAM{0}));
}

TEST_F(TreeX, StatesAreSetDirectlyWithinTheirRange) {
  EXPECT_TRUE(tree_.SetCheckState(firmware_, TRUE));
  EXPECT_TRUE(tree_.IsItemChecked(firmware_));
  EXPECT_TRUE(tree_.SetCheckState(firmware_, FALSE));
  EXPECT_EQ(tree_.GetCheckState(firmware_), kOff);
  EXPECT_TRUE(tree_.IsItemDisabled(wireless_));
  EXPECT_FALSE(tree_.SetCheckStateIndex(firmware_, 5));
  EXPECT_FALSE(tree_.SetCheckStateIndex(firmware_, -1));
  EXPECT_EQ(tree_.GetCheckState(firmware_), kOff);
  EXPECT_EQ(tree_.GetCheckState(nullptr), kNone);
  EXPECT_TRUE(host_.notes.empty()) << "only the user's toggles are told";
}

TEST_F(TreeX, EveryStateMatchesTheReference) {
  ClickOn(graphicsA_, Part::Box);
  ClickOn(sata_, Part::Box);
  tree_.SetCheckStateIndex(firmware_, kNone);
  host_.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Pump();
  ExpectWindowMatches(tree_.m_hWnd, "treex.png");
}

}  // namespace
}  // namespace zx::test
