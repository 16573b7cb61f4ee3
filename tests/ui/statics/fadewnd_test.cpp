// CFadeWnd: the colour table and the blending of a pixel against hand-worked values, the step
// a first frame's time gives, the steps painted on the test clock, the faded window disabled
// while the fade window lives, the rectangle cut at the screen's edge, and the self-deleting
// fade window closed by a left click only.
#include "CFadeWnd.h"
#include "statics_window.h"

namespace zx::test {
namespace {

constexpr COLORREF kScreen = 0x3080E0;  // red E0, green 80, blue 30

class FadeWindowTest : public StaticsTest {
 protected:
  void SetUp() override {
    StaticsTest::SetUp();
    previous_ = gdi::DisplayBitmap();
    // The screen's own size, so that screen DCs keep this display.
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    screen_ = gdi::CreateSurfaceBitmap(width, height);
    const HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, screen_);
    const HBRUSH brush = CreateSolidBrush(kScreen);
    RECT all{0, 0, width, height};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    SelectObject(dc, old);
    DeleteDC(dc);
    gdi::SetDisplayBitmap(screen_);
  }
  void TearDown() override {
    gdi::SetDisplayBitmap(previous_);
    DeleteObject(screen_);
    StaticsTest::TearDown();
  }
  HBITMAP previous_ = nullptr, screen_ = nullptr;
};

TEST(FadeColours, TableRunsFromTheDarkToTheLightColour) {
  COLORREF table[CFadeWnd::kColors];
  CFadeWnd::BuildColorTable(0xFFFFFF, 0, table);
  EXPECT_EQ(table[0], 0u);
  EXPECT_EQ(table[128], RGB(127, 127, 127));  // 255 * 128 / 256
  EXPECT_EQ(table[255], RGB(254, 254, 254));
  CFadeWnd::BuildColorTable(RGB(200, 100, 50), RGB(10, 20, 30), table);
  // k = 100: (dark * 155 + light * 100) / 256 per channel.
  EXPECT_EQ(table[100], RGB((10 * 155 + 200 * 100) / 256, (20 * 155 + 100 * 100) / 256, (30 * 155 + 50 * 100) / 256));
  EXPECT_EQ(table[0], RGB(9, 19, 29));
  EXPECT_EQ(CFadeWnd::BlendPixel(table, 0xFF000000u, 0) >> 24, 0xFFu);  // opacity kept
}

TEST(FadeColours, DefaultObjectHasThePlainGreyScale) {
  CFadeWnd fade;
  EXPECT_EQ(fade.ColorTable()[0], 0u);
  EXPECT_EQ(fade.ColorTable()[200], RGB(199, 199, 199));
  fade.SetColors(RGB(0, 0, 255), RGB(255, 0, 0));
  EXPECT_EQ(fade.ColorTable()[0], RGB(254, 0, 0));
}

TEST(FadeColours, PixelBlendsTowardsTheColourOfItsGrey) {
  COLORREF table[CFadeWnd::kColors];
  CFadeWnd::BuildColorTable(0xFFFFFF, 0, table);
  // Pixel E0 80 30: grey = (224*54 + 128*182 + 48*19) / 256 = 141; table 140,140,140.
  EXPECT_EQ(CFadeWnd::BlendPixel(table, 0xE08030, 0), (0xDFu << 16) | (0x7Fu << 8) | 0x2Fu);
  EXPECT_EQ(CFadeWnd::BlendPixel(table, 0xE08030, 255), (139u << 16) | (139u << 8) | 139u);
  const int a = CFadeWnd::AlphaFor(50);
  EXPECT_EQ(a, 127);
  const DWORD half = ((140 * 127 + 224 * 128) / 256 << 16) | ((140 * 127 + 128 * 128) / 256 << 8) |
                     ((140 * 127 + 48 * 128) / 256);
  EXPECT_EQ(CFadeWnd::BlendPixel(table, 0xE08030, a), half);
}

TEST(FadeSteps, FirstFrameTimeGivesTheStep) {
  EXPECT_EQ(CFadeWnd::StepFor(100), 6);   // 15 frames
  EXPECT_EQ(CFadeWnd::StepFor(0), 5);     // 20 frames when the time did not move
  EXPECT_EQ(CFadeWnd::StepFor(1), 3);     // 1500 frames: raised to 3
  EXPECT_EQ(CFadeWnd::StepFor(300), 20);  // 5 frames
  EXPECT_EQ(CFadeWnd::StepFor(1000), 49); // 1 frame: capped
  EXPECT_EQ(CFadeWnd::StepFor(5000), 49); // no whole frame: one large step, no division by zero
}

TEST(FadeSteps, PaletteDisplaysShowNoFade) {
  EXPECT_FALSE(CFadeWnd::CanFade(RC_PALETTE | RC_BITBLT));
  EXPECT_TRUE(CFadeWnd::CanFade(RC_BITBLT));
}

TEST_F(FadeWindowTest, StillClockFadesInStepsOfFivePercent) {
  StripedParent target;
  ASSERT_TRUE(target.Make(50, 60, 120, 80));
  {
    CFadeWnd fade;
    ASSERT_TRUE(fade.Fade(&target, FALSE));
    EXPECT_FALSE(target.IsWindowEnabled());
    EXPECT_EQ(fade.FadedWindow(), &target);
    CRect rect;
    fade.GetWindowRect(&rect);
    EXPECT_EQ(rect, CRect(50, 60, 170, 140));
    EXPECT_TRUE(fade.IsWindowVisible());  // a top-level popup, not a child of its hidden owner
    EXPECT_FALSE(fade.GetStyle() & WS_CHILD);
    fade.WaitForFade();
    std::vector<int> expected;
    for (int p = 0; p < 100; p += 5) expected.push_back(p);
    EXPECT_EQ(fade.PaintedSteps(), expected);
    // The last step painted (95 %) over the snapshot of the screen.
    SIZE size{};
    const std::vector<DWORD> pixels = WindowPixels(fade.m_hWnd, size);
    ASSERT_EQ(size.cx, 120);
    ASSERT_EQ(size.cy, 80);
    const DWORD want = CFadeWnd::BlendPixel(fade.ColorTable(), 0xE08030, CFadeWnd::AlphaFor(95));
    EXPECT_EQ(pixels[0], want);
    EXPECT_EQ(pixels[pixels.size() - 1], want);
  }
  EXPECT_TRUE(target.IsWindowEnabled());
}

// A first step that takes 100 ms on the test clock.
class SlowFirstStep : public CFadeWnd {
 public:
  explicit SlowFirstStep(ManualClock& clock) : clock_(clock) {}

 protected:
  void OnFadeStep(int nPercent) override {
    if (nPercent == 0) clock_.Advance(100);
  }
  ManualClock& clock_;
};

TEST_F(FadeWindowTest, FirstStepOfAHundredMillisecondsGivesStepsOfSix) {
  StripedParent target;
  ASSERT_TRUE(target.Make(50, 60, 120, 80));
  SlowFirstStep fade(clock_);
  ASSERT_TRUE(fade.Fade(&target, FALSE));
  fade.WaitForFade();
  std::vector<int> expected;
  for (int p = 0; p < 100; p += 6) expected.push_back(p);
  EXPECT_EQ(fade.PaintedSteps(), expected);
}

TEST_F(FadeWindowTest, WindowOverTheScreensEdgeIsCutAtZero) {
  StripedParent target;
  ASSERT_TRUE(target.Make(-30, -20, 200, 150));
  CFadeWnd fade;
  ASSERT_TRUE(fade.Fade(&target, FALSE));
  CRect rect;
  fade.GetWindowRect(&rect);
  EXPECT_EQ(rect, CRect(0, 0, 170, 130));
  fade.WaitForFade();
}

TEST_F(FadeWindowTest, GivenRectangleIsUsedInsteadOfTheWindows) {
  StripedParent target;
  ASSERT_TRUE(target.Make(50, 60, 120, 80));
  CFadeWnd fade;
  ASSERT_TRUE(fade.Fade(&target, FALSE, CRect(10, 10, 60, 40)));
  CRect rect;
  fade.GetWindowRect(&rect);
  EXPECT_EQ(rect, CRect(10, 10, 60, 40));
  fade.WaitForFade();
}

TEST_F(FadeWindowTest, ConstructorWithAWindowFadesAtOnce) {
  StripedParent target;
  ASSERT_TRUE(target.Make(50, 60, 120, 80));
  {
    CFadeWnd fade(&target, 0xFFFFFF, 0x404040);
    EXPECT_NE(fade.m_hWnd, nullptr);
    EXPECT_FALSE(target.IsWindowEnabled());
    EXPECT_EQ(fade.ColorTable()[0], RGB(0x3F, 0x3F, 0x3F));
  }
  EXPECT_TRUE(target.IsWindowEnabled());
}

TEST_F(FadeWindowTest, NoWindowNoFade) {
  CFadeWnd fade;
  EXPECT_FALSE(fade.Fade(nullptr, FALSE));
  EXPECT_EQ(fade.m_hWnd, nullptr);
  EXPECT_FALSE(FadeWindow(nullptr, 0xFFFFFF, 0));  // the self-deleting object is freed
  CWnd dead;
  EXPECT_FALSE(FadeWindow(&dead, 0xFFFFFF, 0));
}

TEST_F(FadeWindowTest, SelfDeletingFadeClosesOnLeftClickOnly) {
  StripedParent target;
  ASSERT_TRUE(target.Make(50, 60, 120, 80));
  auto* object = new CFadeWnd;
  ASSERT_TRUE(object->Fade(&target, TRUE));
  EXPECT_FALSE(object->Fade(&target, TRUE));  // a second fade is refused; the object lives on
  const HWND fade = object->m_hWnd;
  ASSERT_NE(fade, nullptr);
  EXPECT_FALSE(target.IsWindowEnabled());
  SendMessageW(fade, WM_RBUTTONDOWN, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(IsWindow(fade));
  SendMessageW(fade, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_FALSE(IsWindow(fade));
  EXPECT_TRUE(target.IsWindowEnabled());
}

TEST_F(FadeWindowTest, WindowDestroyedByItsOwnerLeavesTheWindowDisabledUntilTheObjectGoes) {
  StripedParent target;
  ASSERT_TRUE(target.Make(50, 60, 120, 80));
  {
    CFadeWnd fade;
    ASSERT_TRUE(fade.Fade(&target, FALSE));
    SendMessageW(fade.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));  // not self-deleting
    EXPECT_TRUE(IsWindow(fade.m_hWnd));
    EXPECT_TRUE(fade.DestroyWindow());
    EXPECT_EQ(fade.m_hWnd, nullptr);
    EXPECT_FALSE(target.IsWindowEnabled());
    EXPECT_FALSE(fade.Fade(nullptr, FALSE));
  }
  EXPECT_TRUE(target.IsWindowEnabled());
  EXPECT_EQ(CWnd::GetFocus(), &target);
}

TEST_F(FadeWindowTest, FadeWindowKeepsTheFocus) {
  StripedParent target, other;
  ASSERT_TRUE(target.Make(50, 60, 120, 80));
  ASSERT_TRUE(other.Make(300, 60, 60, 60));
  CFadeWnd fade;
  ASSERT_TRUE(fade.Fade(&target, FALSE));
  fade.SetFocus();
  other.SetFocus();
  EXPECT_EQ(::GetFocus(), fade.m_hWnd);
  fade.WaitForFade();
}

TEST_F(FadeWindowTest, FadeWindowFunctionDisablesTheWindowUntilItsFadeCloses) {
  StripedParent target;
  ASSERT_TRUE(target.Make(50, 60, 120, 80));
  ASSERT_TRUE(FadeWindow(&target, 0xFFFFFF, 0));
  EXPECT_FALSE(target.IsWindowEnabled());
  // Its hidden owner goes with the object when the fade window closes.
  target.DestroyWindow();
}

}  // namespace
}  // namespace zx::test
