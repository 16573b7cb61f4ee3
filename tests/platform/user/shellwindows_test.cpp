// The shell's maker of its own windows: run before every search of top-level windows with
// the class asked, and never for a search among a window's children.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "machine_fixture.h"
#include "windows.h"
#include "zx/shellwindows.h"

namespace {

std::vector<std::u16string>& Asked() {
  static std::vector<std::u16string> asked;
  return asked;
}

void Record(LPCWSTR className) {
  if (!className)
    Asked().push_back(u"(none)");
  else if (IS_INTRESOURCE(className))
    Asked().push_back(u"(atom)");
  else
    Asked().push_back(className);
}

class ShellWindows : public zx::test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    Asked().clear();
    zx::user::SetShellWindowsMaker(&Record);
  }
  void TearDown() override { zx::user::SetShellWindowsMaker(nullptr); }
};

TEST_F(ShellWindows, AskedBeforeEachSearchOfTopLevelWindows) {
  EXPECT_EQ(FindWindowW(u"Shell_TrayWnd", nullptr), nullptr);
  EXPECT_EQ(FindWindowExW(GetDesktopWindow(), nullptr, u"Other", nullptr), nullptr);
  FindWindowW(nullptr, u"some title");
  FindWindowW(MAKEINTRESOURCEW(0x8002), nullptr);
  EXPECT_EQ(Asked(), (std::vector<std::u16string>{u"Shell_TrayWnd", u"Other", u"(none)", u"(atom)"}));
}

TEST_F(ShellWindows, NotAskedForChildren) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcW;
  wc.lpszClassName = u"ShellWindowsTestParent";
  RegisterClassExW(&wc);
  const HWND parent = CreateWindowExW(0, u"ShellWindowsTestParent", u"", WS_POPUP, 0, 0, 10, 10, nullptr,
                                      nullptr, nullptr, nullptr);
  ASSERT_NE(parent, nullptr);
  EXPECT_EQ(FindWindowExW(parent, nullptr, u"Shell_TrayWnd", nullptr), nullptr);
  EXPECT_TRUE(Asked().empty());
  DestroyWindow(parent);
}

TEST_F(ShellWindows, WithoutAMakerSearchesFindNothingOfTheShell) {
  zx::user::SetShellWindowsMaker(nullptr);
  EXPECT_EQ(FindWindowW(u"Shell_TrayWnd", nullptr), nullptr);
  EXPECT_TRUE(Asked().empty());
}

}  // namespace
