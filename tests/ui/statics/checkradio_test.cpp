// CTransparentCheckRadio: the colour message its parent gets comes back to the control, which
// answers the shared white brush with a transparent background and the system's text colour;
// check boxes and radio buttons in their states match the reference picture.
#include "CTransparentCheckRadio.h"
#include "statics_window.h"

namespace zx::test {
namespace {

using TransparentCheckRadio = StaticsTest;

TEST_F(TransparentCheckRadio, ParentsColourMessageIsAnsweredByTheControl) {
  StripedParent parent;
  ASSERT_TRUE(parent.Make(20, 20, 160, 60));
  CTransparentCheckRadio box;
  ASSERT_TRUE(box.Create(u"Remind me", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, CRect(5, 5, 150, 25), &parent, 201));
  const HDC dc = CreateCompatibleDC(nullptr);
  SetTextColor(dc, 0);
  SetBkMode(dc, OPAQUE);
  const LRESULT brush = parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                           reinterpret_cast<LPARAM>(box.m_hWnd));
  EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), CTransparentCheckRadio::WhiteBrush());
  EXPECT_EQ(GetTextColor(dc), 0x48362Du);
  EXPECT_EQ(GetBkColor(dc), 0xFFFFFFu);
  EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
  DeleteDC(dc);
}

TEST_F(TransparentCheckRadio, OneWhiteBrushServesEveryControl) {
  const HBRUSH brush = CTransparentCheckRadio::WhiteBrush();
  ASSERT_NE(brush, nullptr);
  EXPECT_EQ(CTransparentCheckRadio::WhiteBrush(), brush);
  LOGBRUSH info{};
  ASSERT_NE(GetObjectW(brush, sizeof(info), &info), 0);
  EXPECT_EQ(info.lbColor, 0xFFFFFFu);
}

TEST_F(TransparentCheckRadio, CheckBoxesAndRadioButtonsInTheirStatesMatchTheReference) {
  StripedParent parent;
  ASSERT_TRUE(parent.Make(20, 20, 170, 110));
  CTransparentCheckRadio on, off, radioOn, radioOff;
  ASSERT_TRUE(on.Create(u"Checked", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, CRect(5, 5, 160, 25), &parent, 201));
  ASSERT_TRUE(off.Create(u"Unchecked", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, CRect(5, 30, 160, 50), &parent, 202));
  ASSERT_TRUE(radioOn.Create(u"Daily", WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON, CRect(5, 55, 160, 75), &parent, 203));
  ASSERT_TRUE(radioOff.Create(u"Weekly", WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON, CRect(5, 80, 160, 100), &parent, 204));
  on.SetCheck(BST_CHECKED);
  radioOn.SetCheck(BST_CHECKED);
  EXPECT_EQ(off.GetCheck(), BST_UNCHECKED);
  parent.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pump();
  // The controls are drawn on white, not on the parent's stripes.
  SIZE size{};
  const std::vector<DWORD> pixels = WindowPixels(off.m_hWnd, size);
  ASSERT_FALSE(pixels.empty());
  EXPECT_EQ(pixels[static_cast<std::size_t>(size.cx - 1)], 0xFFFFFFu);
  ExpectMatchesSnapshot(parent.m_hWnd, "check_radio.png");
}

}  // namespace
}  // namespace zx::test
