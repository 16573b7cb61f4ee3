// The hand cursor 1228 of the language resource library over a button: set on WM_SETCURSOR
// once the pointer has moved over the button, and not after it left or when switched off.
#include <gtest/gtest.h>

#include "HalvoranApp.h"
#include "HoverButton.h"
#include "buttons_testing.h"
#include "winresource.h"

namespace zx::test {
namespace {

constexpr UINT kId = 1101;

class HandCursor : public ButtonTest {
 protected:
  void SetUp() override {
    ButtonTest::SetUp();
    hand_ = ::LoadCursorW(GetResourceModule(), MAKEINTRESOURCEW(1228));
    ASSERT_NE(hand_, nullptr);
    Place(button_, kId, u"", 10, 10, 30, 18);
    button_.SetBitmap(MakeStrip(30, 18, {0x202020, 0x4040C0, 0x40C040}));
    ::SetCursor(nullptr);
  }
  LRESULT AskForCursor() {
    return ::SendMessageW(button_.GetSafeHwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(button_.GetSafeHwnd()),
                          MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  }
  HCURSOR hand_ = nullptr;
  CHoverButton button_;
};

TEST_F(HandCursor, IsShownOnceThePointerMovedOverTheButton) {
  Hover(button_.GetSafeHwnd());
  EXPECT_EQ(AskForCursor(), TRUE);
  EXPECT_EQ(::GetCursor(), hand_);
}

TEST_F(HandCursor, IsNotShownAfterThePointerLeft) {
  Hover(button_.GetSafeHwnd());
  Leave();
  ::SetCursor(nullptr);
  AskForCursor();
  EXPECT_NE(::GetCursor(), hand_);
}

TEST_F(HandCursor, IsNotShownWhenSwitchedOff) {
  button_.SetUseHandCursor(FALSE);
  Hover(button_.GetSafeHwnd());
  AskForCursor();
  EXPECT_NE(::GetCursor(), hand_);
}

}  // namespace
}  // namespace zx::test
