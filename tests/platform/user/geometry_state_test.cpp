// Window rectangles, SetWindowPos and ShowWindow, enabling, focus, activation and foreground.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "errhandlingapi.h"
#include "processthreadsapi.h"
#include "user_testing.h"

namespace zx::test {
namespace {

using WindowGeometry = UserTest;
using WindowState = UserTest;

bool Same(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::vector<LPARAM> ParamsOf(HWND window, UINT message) {
  std::vector<LPARAM> out;
  for (const Delivered& d : Recorded())
    if (d.window == window && d.message == message) out.push_back(d.lParam);
  return out;
}

TEST_F(WindowGeometry, FramesCaptionsAndClientAreas) {
  const HWND top = MakeWindow(WS_OVERLAPPEDWINDOW, nullptr, 0, u"", 10, 20, 300, 200);
  RECT r;
  ASSERT_TRUE(GetWindowRect(top, &r));
  EXPECT_TRUE(Same(r, RECT{10, 20, 310, 220}));
  ASSERT_TRUE(GetClientRect(top, &r));
  EXPECT_TRUE(Same(r, RECT{0, 0, 284, 161})) << r.right << "x" << r.bottom;
  // The first WM_SIZE and WM_MOVE carry the client size and the client origin on screen.
  EXPECT_EQ(ParamsOf(top, WM_SIZE), (std::vector<LPARAM>{MAKELONG(284, 161)}));
  EXPECT_EQ(ParamsOf(top, WM_MOVE), (std::vector<LPARAM>{MAKELONG(18, 51)}));
  RECT adjusted{0, 0, 284, 161};
  AdjustWindowRectEx(&adjusted, WS_OVERLAPPEDWINDOW, FALSE, 0);
  EXPECT_TRUE(Same(adjusted, RECT{-8, -31, 292, 169}));

  const HWND child = MakeWindow(WS_CHILD | WS_BORDER, top, 1, u"", 5, 6, 50, 40);
  ASSERT_TRUE(GetWindowRect(child, &r));
  EXPECT_TRUE(Same(r, RECT{23, 57, 73, 97}));
  ASSERT_TRUE(GetClientRect(child, &r));
  EXPECT_TRUE(Same(r, RECT{0, 0, 48, 38}));
  POINT p{0, 0};
  ASSERT_TRUE(ClientToScreen(child, &p));
  EXPECT_EQ(p.x, 24);
  EXPECT_EQ(p.y, 58);
  ASSERT_TRUE(ScreenToClient(top, &p));
  EXPECT_EQ(p.x, 6);
  EXPECT_EQ(p.y, 7);
  POINT points[2] = {{0, 0}, {10, 10}};
  MapWindowPoints(child, top, points, 2);
  EXPECT_EQ(points[1].x, 16);
  EXPECT_EQ(points[1].y, 17);
  const HWND dialogFrame = MakeWindow(WS_POPUP | WS_CAPTION | WS_SYSMENU, nullptr, 0, u"", 0, 0, 100, 100);
  GetClientRect(dialogFrame, &r);
  EXPECT_TRUE(Same(r, RECT{0, 0, 94, 71}));
  EXPECT_FALSE(GetClientRect(reinterpret_cast<HWND>(0x7123456), &r));
}

TEST_F(WindowGeometry, DesktopAndWorkAreaComeFromTheMachineProfile) {
  WriteHostFile(root() + "/machine.ini", "[Display]\nWidth=1366\nHeight=768\n");
  RECT r;
  GetWindowRect(GetDesktopWindow(), &r);
  EXPECT_TRUE(Same(r, RECT{0, 0, 1366, 768}));
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0));
  EXPECT_TRUE(Same(r, RECT{0, 0, 1366, 728}));
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1366);
  EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), 23);
  WriteHostFile(root() + "/machine.ini", "[Display]\nWidth=huge\nHeight=5\n");
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1080);
}

TEST_F(WindowGeometry, MoveWindowSendsPositionChangesMoveAndSize) {
  const HWND window = MakeWindow(WS_POPUP, nullptr, 0, u"", 0, 0, 100, 50);
  ClearRecorded();
  ASSERT_TRUE(MoveWindow(window, 30, 40, 100, 50, TRUE));
  EXPECT_EQ(RecordedFor(window),
            (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_MOVE}))
      << "the size did not change";
  ClearRecorded();
  ASSERT_TRUE(SetWindowPos(window, nullptr, 0, 0, 120, 60, SWP_NOMOVE | SWP_NOZORDER));
  EXPECT_EQ(RecordedFor(window),
            (std::vector<UINT>{WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED, WM_SIZE}));
  EXPECT_EQ(ParamsOf(window, WM_SIZE), (std::vector<LPARAM>{MAKELONG(120, 60)}));
  RECT r;
  GetWindowRect(window, &r);
  EXPECT_TRUE(Same(r, RECT{30, 40, 150, 100}));
}

TEST_F(WindowGeometry, PositionChangingMayAlterTheRequest) {
  OnMessage(WM_WINDOWPOSCHANGING, [](HWND, UINT, WPARAM, LPARAM lParam) -> LRESULT {
    auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
    if (pos->cx > 200) pos->cx = 200;
    return 0;
  });
  const HWND window = MakeWindow(WS_POPUP, nullptr, 0, u"", 0, 0, 100, 50);
  SetWindowPos(window, nullptr, 5, 5, 900, 80, SWP_NOZORDER | SWP_NOSENDCHANGING);
  RECT r;
  GetWindowRect(window, &r);
  EXPECT_EQ(r.right - r.left, 900) << "not asked";
  SetWindowPos(window, nullptr, 5, 5, 900, 80, SWP_NOZORDER);
  GetWindowRect(window, &r);
  EXPECT_EQ(r.right - r.left, 200);
}

TEST_F(WindowGeometry, ShowMinimiseMaximiseRestore) {
  const HWND window = MakeWindow(WS_OVERLAPPEDWINDOW, nullptr, 0, u"", 10, 20, 300, 200);
  EXPECT_FALSE(IsWindowVisible(window));
  ClearRecorded();
  EXPECT_FALSE(ShowWindow(window, SW_SHOW)) << "answers the earlier visibility";
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_EQ(ParamsOf(window, WM_SHOWWINDOW).size(), 1u);
  EXPECT_EQ(GetActiveWindow(), window);
  EXPECT_TRUE(ShowWindow(window, SW_SHOW));

  ClearRecorded();
  ShowWindow(window, SW_MINIMIZE);
  EXPECT_TRUE(IsIconic(window));
  RECT r;
  GetWindowRect(window, &r);
  EXPECT_EQ(r.left, -32000);
  GetClientRect(window, &r);
  EXPECT_TRUE(Same(r, RECT{0, 0, 0, 0}));
  bool minimised = false;
  for (const Delivered& d : Recorded())
    if (d.window == window && d.message == WM_SIZE && d.wParam == SIZE_MINIMIZED) minimised = true;
  EXPECT_TRUE(minimised);

  ShowWindow(window, SW_RESTORE);
  EXPECT_FALSE(IsIconic(window));
  GetWindowRect(window, &r);
  EXPECT_TRUE(Same(r, RECT{10, 20, 310, 220}));

  ShowWindow(window, SW_MAXIMIZE);
  EXPECT_TRUE(IsZoomed(window));
  GetWindowRect(window, &r);
  EXPECT_TRUE(Same(r, RECT{-8, -8, 1928, 1048}));
  ShowWindow(window, SW_SHOWNORMAL);
  EXPECT_FALSE(IsZoomed(window));
  GetWindowRect(window, &r);
  EXPECT_TRUE(Same(r, RECT{10, 20, 310, 220}));

  const HWND child = MakeWindow(WS_CHILD | WS_VISIBLE, window, 1);
  EXPECT_TRUE(IsWindowVisible(child));
  EXPECT_TRUE(ShowWindow(window, SW_HIDE));
  EXPECT_FALSE(IsWindowVisible(child)) << "a hidden parent hides its children";
  EXPECT_FALSE(ShowWindow(window, SW_HIDE));
  EXPECT_FALSE(ShowWindow(window, 99));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(WindowGeometry, WindowsOfAnotherThreadAreMovedOnTheirThread) {
  HWND window = nullptr;
  DWORD owner = 0;
  std::atomic<bool> stop{false};
  std::atomic<bool> ready{false};
  std::thread thread([&] {
    window = MakeWindow(WS_POPUP, nullptr, 0, u"", 0, 0, 10, 10);
    owner = GetCurrentThreadId();
    ready = true;
    MSG msg;
    while (!stop && GetMessageW(&msg, nullptr, 0, 0)) DispatchMessageW(&msg);
  });
  while (!ready) std::this_thread::yield();
  ClearRecorded();
  ASSERT_TRUE(MoveWindow(window, 1, 2, 30, 40, TRUE));
  for (const Delivered& d : Recorded()) EXPECT_EQ(d.threadId, owner);
  EXPECT_FALSE(Recorded().empty());
  stop = true;
  PostMessageW(window, WM_NULL, 0, 0);
  thread.join();
}

TEST_F(WindowState, EnableWindowAnswersTheEarlierStateAndNotifiesOnce) {
  const HWND window = MakeWindow();
  ClearRecorded();
  EXPECT_FALSE(EnableWindow(window, FALSE)) << "was enabled";
  EXPECT_FALSE(IsWindowEnabled(window));
  EXPECT_TRUE(EnableWindow(window, FALSE)) << "was disabled";
  EXPECT_TRUE(EnableWindow(window, TRUE));
  EXPECT_TRUE(IsWindowEnabled(window));
  std::vector<WPARAM> enables;
  for (const Delivered& d : Recorded())
    if (d.message == WM_ENABLE) enables.push_back(d.wParam);
  EXPECT_EQ(enables, (std::vector<WPARAM>{FALSE, TRUE}));
}

TEST_F(WindowState, FocusMovesWithKillAndSetFocus) {
  const HWND top = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  const HWND a = MakeWindow(WS_CHILD | WS_VISIBLE, top, 1);
  const HWND b = MakeWindow(WS_CHILD | WS_VISIBLE, top, 2);
  EXPECT_EQ(GetFocus(), top) << "activation focuses the window";
  ClearRecorded();
  EXPECT_EQ(SetFocus(a), top);
  EXPECT_EQ(SetFocus(b), a);
  EXPECT_EQ(GetFocus(), b);
  std::vector<std::pair<HWND, UINT>> seen;
  std::vector<WPARAM> others;
  for (const Delivered& d : Recorded())
    if (d.message == WM_SETFOCUS || d.message == WM_KILLFOCUS) {
      seen.emplace_back(d.window, d.message);
      others.push_back(d.wParam);
    }
  EXPECT_EQ(seen, (std::vector<std::pair<HWND, UINT>>{{top, WM_KILLFOCUS},
                                                      {a, WM_SETFOCUS},
                                                      {a, WM_KILLFOCUS},
                                                      {b, WM_SETFOCUS}}));
  EXPECT_EQ(others, (std::vector<WPARAM>{reinterpret_cast<WPARAM>(a), reinterpret_cast<WPARAM>(top),
                                         reinterpret_cast<WPARAM>(b), reinterpret_cast<WPARAM>(a)}));
  EnableWindow(b, FALSE);
  EXPECT_EQ(GetFocus(), nullptr) << "a disabled window loses the focus";
  SetFocus(a);
  DestroyWindow(a);
  EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(WindowState, ActivationAndForeground) {
  const HWND owner = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  const HWND popup = MakeWindow(WS_POPUP | WS_VISIBLE, owner);
  EXPECT_EQ(GetActiveWindow(), popup);
  EXPECT_EQ(GetForegroundWindow(), popup);
  EXPECT_EQ(GetLastActivePopup(owner), popup);
  ClearRecorded();
  ASSERT_TRUE(SetForegroundWindow(owner));
  EXPECT_EQ(GetForegroundWindow(), owner);
  EXPECT_EQ(GetActiveWindow(), owner);
  std::vector<std::pair<HWND, WPARAM>> activations;
  for (const Delivered& d : Recorded())
    if (d.message == WM_ACTIVATE) activations.emplace_back(d.window, LOWORD(d.wParam));
  EXPECT_EQ(activations, (std::vector<std::pair<HWND, WPARAM>>{{popup, WA_INACTIVE}, {owner, WA_ACTIVE}}));
  SetActiveWindow(popup);
  DestroyWindow(popup);
  EXPECT_EQ(GetActiveWindow(), owner) << "the owner takes over from its destroyed popup";
  EXPECT_EQ(GetLastActivePopup(owner), owner);
}

}  // namespace
}  // namespace zx::test
