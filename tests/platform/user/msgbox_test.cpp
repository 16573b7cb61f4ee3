// Message boxes with nobody in front of the screen.
#include <gtest/gtest.h>

#include "winuser.h"
#include "zx/msgbox.h"

namespace {

TEST(MessageBox, NobodyPressingAnswersTheDefaultButton) {
  EXPECT_EQ(zx::user::DefaultMessageBoxAnswer(MB_OK), IDOK);
  EXPECT_EQ(zx::user::DefaultMessageBoxAnswer(MB_YESNO | MB_ICONQUESTION), IDYES);
  EXPECT_EQ(zx::user::DefaultMessageBoxAnswer(MB_YESNO | MB_DEFBUTTON2), IDNO);
  EXPECT_EQ(zx::user::DefaultMessageBoxAnswer(MB_YESNOCANCEL | MB_DEFBUTTON3), IDCANCEL);
  EXPECT_EQ(zx::user::DefaultMessageBoxAnswer(MB_ABORTRETRYIGNORE | MB_DEFBUTTON2), IDRETRY);
  EXPECT_EQ(zx::user::DefaultMessageBoxAnswer(0xF), IDOK);
}

TEST(MessageBox, AResponderSeesTheBoxAndChoosesTheAnswer) {
  zx::user::MessageBoxCall seen{};
  auto previous = zx::user::SetMessageBoxResponder([&](const zx::user::MessageBoxCall& call) {
    seen = call;
    return IDNO;
  });
  // Narrow text is Windows-1252: 0x80 is the euro sign.
  EXPECT_EQ(MessageBoxA(nullptr, "price \x80 5", "Zephrin Tunevo", MB_YESNO | MB_ICONERROR), IDNO);
  EXPECT_EQ(seen.text, u"price \u20AC 5");
  EXPECT_EQ(seen.caption, u"Zephrin Tunevo");
  EXPECT_EQ(seen.type, MB_YESNO | MB_ICONERROR);
  zx::user::SetMessageBoxResponder(previous);
}

}  // namespace
