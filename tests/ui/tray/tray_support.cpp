// Helpers of the tray icon tests: the recording owner window and the fixture.
#include "tray_support.h"


#include "zx/modal.h"

namespace zx::test {
namespace {

std::vector<std::pair<HWND, OwnerMessage>>& Log() {
  static std::vector<std::pair<HWND, OwnerMessage>> log;
  return log;
}

LRESULT g_callbackAnswer = 0;

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Log().push_back({window, OwnerMessage{message, wParam, lParam}});
  if (message == CXTTrayIcon::kCallbackMessage) return g_callbackAnswer;
  return DefWindowProcW(window, message, wParam, lParam);
}

LPCWSTR OwnerClass() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = OwnerProc;
    wc.lpszClassName = u"TrayTestOwner";
    return RegisterClassExW(&wc) != 0;
  }();
  return registered ? u"TrayTestOwner" : nullptr;
}

}  // namespace

void SetOwnerCallbackAnswer(LRESULT answer) { g_callbackAnswer = answer; }

void PumpWaiting() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void TrayTest::SetUp() {
  MachineTest::SetUp();
  user::ClearTray();
  Log().clear();
  g_callbackAnswer = 0;
  owner_ = CreateWindowExW(0, OwnerClass(), u"owner", WS_POPUP | WS_VISIBLE, 100, 100, 400, 300, nullptr,
                           nullptr, nullptr, nullptr);
  ASSERT_NE(owner_, nullptr);
  ownerWnd_ = CWnd::FromHandle(owner_);
}

void TrayTest::TearDown() {
  user::SetIdleHook(nullptr);
  if (IsWindow(owner_)) DestroyWindow(owner_);
  PumpWaiting();
  user::ClearTray();
}

void TrayTest::UseMachine(int width, int height, bool animate) {
  WriteHostFile(root() + "/machine.ini", "[Display]\nWidth=" + std::to_string(width) + "\nHeight=" +
                                             std::to_string(height) + "\n[Desktop]\nMinAnimate=" +
                                             (animate ? "1" : "0") + "\n");
}

bool TrayTest::CreateIcon(TestTrayIcon& tray, LPCTSTR tip, UINT defaultItem) {
  return tray.Create(tip, CWnd::FromHandle(owner_), kIconId, kMenuId, defaultItem, true);
}

user::TrayIcon TrayTest::ShellIcon(const TestTrayIcon& tray) const {
  user::TrayIcon icon;
  EXPECT_TRUE(user::FindTrayIcon(tray.GetSafeHwnd(), kMenuId, &icon));
  return icon;
}

bool TrayTest::InTray(const TestTrayIcon& tray) const {
  return user::FindTrayIcon(tray.GetSafeHwnd(), kMenuId, nullptr);
}

std::vector<OwnerMessage> TrayTest::OwnerGot(UINT message) const {
  std::vector<OwnerMessage> got;
  for (const auto& [window, m] : Log())
    if (window == owner_ && m.message == message) got.push_back(m);
  return got;
}

}  // namespace zx::test
