// The input model: key state as input happens and as messages are taken, typed characters,
// mouse capture, hit-testing with window regions and WM_NCHITTEST, leave tracking, and waits
// on handles or queue input measured on the layer's clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "processthreadsapi.h"
#include "synchapi.h"
#include "handleapi.h"
#include "user_testing.h"
#include "wingdi.h"
#include "wininput.h"
#include "zx/input.h"
#include "zx/modal.h"
#include "zx/waits.h"

namespace zx::test {
namespace {

class Input : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    user::ResetInput();
  }
  void TearDown() override {
    user::ResetInput();
    UserTest::TearDown();
  }
};

using KeyState = Input;
using Capture = Input;
using HitTesting = Input;
using MessageWaits = Input;

// The last message of a kind a window got, or a zeroed one.
Delivered Last(HWND window, UINT message) {
  Delivered found{};
  for (const Delivered& d : Recorded())
    if (d.window == window && d.message == message) found = d;
  return found;
}

POINT PointOf(LPARAM l) { return POINT{static_cast<SHORT>(LOWORD(l)), static_cast<SHORT>(HIWORD(l))}; }

TEST_F(KeyState, AsyncStateFollowsInputAndReportsAPressOnce) {
  EXPECT_EQ(GetAsyncKeyState(VK_RETURN), 0);
  user::InjectKey(VK_RETURN, true);
  EXPECT_EQ(static_cast<unsigned short>(GetAsyncKeyState(VK_RETURN)), 0x8001u);
  EXPECT_EQ(static_cast<unsigned short>(GetAsyncKeyState(VK_RETURN)), 0x8000u);
  user::InjectKey(VK_RETURN, false);
  EXPECT_EQ(GetAsyncKeyState(VK_RETURN), 0);
  EXPECT_EQ(GetAsyncKeyState(0), 0);
  EXPECT_EQ(GetAsyncKeyState(300), 0);
}

TEST_F(KeyState, ThreadStateChangesWhenTheKeyMessageIsTaken) {
  const HWND top = MakeWindow(WS_POPUP | WS_VISIBLE, nullptr, 0, u"", 0, 0, 100, 100);
  SetFocus(top);
  ASSERT_EQ(user::InjectKey(VK_LSHIFT, true), top);
  EXPECT_EQ(GetKeyState(VK_SHIFT) & 0x8000, 0);  // not taken yet
  PumpWaiting();
  EXPECT_NE(GetKeyState(VK_SHIFT) & 0x8000, 0);
  EXPECT_NE(GetKeyState(VK_LSHIFT) & 0x8000, 0);
  user::InjectKey(VK_LSHIFT, false);
  PumpWaiting();
  EXPECT_EQ(GetKeyState(VK_SHIFT) & 0x8000, 0);
}

TEST_F(KeyState, AltF4InAChildAsksItsTopLevelWindowToClose) {
  const HWND top = MakeWindow(WS_POPUP | WS_VISIBLE, nullptr, 0, u"", 0, 0, 100, 100);
  const HWND child = MakeWindow(WS_CHILD | WS_VISIBLE, top, 7, u"", 0, 0, 50, 50);
  SetFocus(child);
  // F4 pressed (with Alt held when asked), then the close requests the top-level window got.
  const auto pressF4 = [&](bool alt) {
    if (alt) user::InjectKey(VK_MENU, true);
    user::InjectKey(VK_F4, true);
    user::InjectKey(VK_F4, false);
    if (alt) user::InjectKey(VK_MENU, false);
    PumpWaiting();
    int closes = 0;
    for (const Delivered& d : Recorded())
      if (d.window == top && d.message == WM_SYSCOMMAND && (d.wParam & 0xFFF0) == SC_CLOSE) ++closes;
    return closes;
  };
  // F4 alone is an ordinary key.
  EXPECT_EQ(pressF4(false), 0);
  EXPECT_TRUE(IsWindow(top));
  // A window that keeps SC_CLOSE to itself stays.
  OnMessage(WM_SYSCOMMAND, [](HWND, UINT, WPARAM, LPARAM) -> LRESULT { return 0; });
  EXPECT_EQ(pressF4(true), 1);
  EXPECT_TRUE(IsWindow(top));
  // Without a handler of its own it closes.
  OnMessage(WM_SYSCOMMAND, nullptr);
  EXPECT_EQ(pressF4(true), 2);
  EXPECT_FALSE(IsWindow(top));
}

TEST_F(KeyState, KeyMessagesCarryRepeatAndTransitionBits) {
  const HWND top = MakeWindow(WS_POPUP | WS_VISIBLE, nullptr, 0, u"", 0, 0, 100, 100);
  SetFocus(top);
  user::InjectKey('A', true);
  user::InjectKey('A', true);
  user::InjectKey('A', false);
  PumpWaiting();
  std::vector<LPARAM> flags;
  for (const Delivered& d : Recorded())
    if (d.window == top && (d.message == WM_KEYDOWN || d.message == WM_KEYUP)) flags.push_back(d.lParam);
  ASSERT_EQ(flags.size(), 3u);
  EXPECT_EQ(static_cast<DWORD>(flags[0]), 0x00000001u);
  EXPECT_EQ(static_cast<DWORD>(flags[1]), 0x40000001u);  // auto-repeat: was down
  EXPECT_EQ(static_cast<DWORD>(flags[2]), 0xC0000001u);
}

TEST_F(KeyState, AltMakesSystemKeysAndKeysGoToTheFocus) {
  const HWND top = MakeWindow(WS_POPUP | WS_VISIBLE, nullptr, 0, u"", 0, 0, 100, 100);
  const HWND child = MakeWindow(WS_CHILD | WS_VISIBLE, top, 5, u"", 0, 0, 50, 50);
  SetFocus(child);
  user::InjectKey(VK_MENU, true);
  EXPECT_EQ(user::InjectKey(VK_F4, true), child);
  PumpWaiting();
  EXPECT_EQ(Last(child, WM_SYSKEYDOWN).wParam, static_cast<WPARAM>(VK_F4));
  EXPECT_NE(Last(child, WM_SYSKEYDOWN).lParam & (1 << 29), 0);
}

TEST_F(KeyState, TranslateMessageTypesCharactersWithShift) {
  const HWND top = MakeWindow(WS_POPUP | WS_VISIBLE, nullptr, 0, u"", 0, 0, 100, 100);
  SetFocus(top);
  user::InjectKey('Q', true);
  user::InjectKey(VK_SHIFT, true);
  user::InjectKey('Q', true);
  user::InjectKey(VK_F5, true);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  std::u16string typed;
  for (const Delivered& d : Recorded()) {
    if (d.window != top) continue;
    if (d.message == WM_CHAR) typed += static_cast<char16_t>(d.wParam);
    if (d.message == WM_KEYDOWN) typed += u'|';  // each character right after its key
  }
  EXPECT_EQ(typed, u"|q||Q|");
}

TEST_F(KeyState, ShiftedDigitsAndPunctuationTypeAsOnAUsKeyboard) {
  const HWND top = MakeWindow(WS_POPUP | WS_VISIBLE, nullptr, 0, u"", 0, 0, 100, 100);
  SetFocus(top);
  for (int key : {int{'2'}, VK_OEM_PERIOD, VK_OEM_MINUS, VK_OEM_COMMA}) user::InjectKey(key, true);
  user::InjectKey(VK_SHIFT, true);
  for (int key : {int{'2'}, int{'1'}, int{'0'}, VK_OEM_PERIOD, VK_OEM_MINUS, VK_OEM_COMMA}) user::InjectKey(key, true);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  std::u16string typed;
  for (const Delivered& d : Recorded())
    if (d.window == top && d.message == WM_CHAR) typed += static_cast<char16_t>(d.wParam);
  EXPECT_EQ(typed, u"2.-,@!)>_<");
}

TEST_F(Capture, RoutesEveryMouseMessageToTheCaptureWindowInItsCoordinates) {
  const HWND a = MakeWindow(WS_POPUP | WS_VISIBLE, nullptr, 0, u"", 0, 0, 100, 100);
  const HWND b = MakeWindow(WS_POPUP | WS_VISIBLE, nullptr, 0, u"", 300, 300, 100, 100);
  EXPECT_EQ(SetCapture(a), nullptr);
  EXPECT_EQ(GetCapture(), a);
  EXPECT_EQ(user::InjectMouse(POINT{350, 360}, WM_LBUTTONDOWN), a);
  PumpWaiting();
  const Delivered down = Last(a, WM_LBUTTONDOWN);
  EXPECT_EQ(PointOf(down.lParam).x, 350);
  EXPECT_EQ(PointOf(down.lParam).y, 360);
  EXPECT_EQ(down.wParam, static_cast<WPARAM>(MK_LBUTTON));
  EXPECT_EQ(Last(b, WM_LBUTTONDOWN).message, 0u);
  EXPECT_TRUE(ReleaseCapture());
  EXPECT_EQ(Last(a, WM_CAPTURECHANGED).message, WM_CAPTURECHANGED);
  EXPECT_EQ(user::InjectMouse(POINT{350, 360}, WM_LBUTTONUP), b);
}

TEST_F(Capture, TakingCaptureTellsThePreviousHolder) {
  const HWND a = MakeWindow(WS_POPUP | WS_VISIBLE, nullptr, 0, u"", 0, 0, 100, 100);
  const HWND b = MakeWindow(WS_POPUP | WS_VISIBLE, nullptr, 0, u"", 200, 0, 100, 100);
  SetCapture(a);
  EXPECT_EQ(SetCapture(b), a);
  EXPECT_EQ(reinterpret_cast<HWND>(Last(a, WM_CAPTURECHANGED).lParam), b);
  DestroyWindow(b);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(HitTesting, RegionsCutWindowsSoPointsFallThroughToWhatLiesBelow) {
  const HWND below = MakeWindow(WS_POPUP | WS_VISIBLE, nullptr, 0, u"", 0, 0, 200, 200);
  const HWND above = MakeWindow(WS_POPUP | WS_VISIBLE, nullptr, 0, u"", 50, 50, 100, 100);
  EXPECT_EQ(WindowFromPoint(POINT{55, 55}), above);
  ASSERT_NE(SetWindowRgn(above, CreateEllipticRgn(0, 0, 100, 100), TRUE), 0);
  EXPECT_EQ(WindowFromPoint(POINT{52, 52}), below);  // a corner outside the ellipse
  EXPECT_EQ(WindowFromPoint(POINT{100, 100}), above);
  EXPECT_EQ(WindowFromPoint(POINT{500, 500}), nullptr);
  HRGN copy = CreateRectRgn(0, 0, 0, 0);
  EXPECT_NE(GetWindowRgn(above, copy), ERROR);
  EXPECT_TRUE(PtInRegion(copy, 50, 50));
  EXPECT_FALSE(PtInRegion(copy, 2, 2));
  DeleteObject(copy);
  EXPECT_EQ(user::InjectMouse(POINT{52, 52}, WM_LBUTTONDOWN), below);
}

TEST_F(HitTesting, ChildrenHiddenOrDisabledLeaveThePointToTheirParent) {
  const HWND top = MakeWindow(WS_POPUP | WS_VISIBLE, nullptr, 0, u"", 0, 0, 200, 200);
  const HWND shown = MakeWindow(WS_CHILD | WS_VISIBLE, top, 1, u"", 10, 10, 50, 50);
  const HWND hidden = MakeWindow(WS_CHILD, top, 2, u"", 100, 10, 50, 50);
  const HWND disabled = MakeWindow(WS_CHILD | WS_VISIBLE | WS_DISABLED, top, 3, u"", 10, 100, 50, 50);
  EXPECT_EQ(WindowFromPoint(POINT{20, 20}), shown);
  EXPECT_EQ(WindowFromPoint(POINT{110, 20}), top);
  EXPECT_EQ(WindowFromPoint(POINT{20, 110}), top);
  EXPECT_EQ(ChildWindowFromPoint(top, POINT{110, 20}), hidden);
  EXPECT_EQ(ChildWindowFromPointEx(top, POINT{110, 20}, CWP_SKIPINVISIBLE), top);
  EXPECT_EQ(ChildWindowFromPointEx(top, POINT{20, 110}, CWP_SKIPDISABLED), top);
  EXPECT_EQ(ChildWindowFromPoint(top, POINT{20, 110}), disabled);
  EXPECT_EQ(ChildWindowFromPoint(top, POINT{-5, 20}), nullptr);
  ASSERT_NE(SetWindowRgn(shown, CreateRectRgn(0, 0, 10, 10), FALSE), 0);
  EXPECT_EQ(ChildWindowFromPoint(top, POINT{30, 30}), top);
}

TEST_F(HitTesting, NonClientAnswersGiveNonClientMessagesWithScreenPoints) {
  const HWND top = MakeWindow(WS_POPUP | WS_VISIBLE, nullptr, 0, u"", 0, 0, 200, 200);
  OnMessage(WM_NCHITTEST, [](HWND, UINT, WPARAM, LPARAM l) -> LRESULT {
    return PointOf(l).y < 29 ? HTCAPTION : HTCLIENT;
  });
  user::InjectMouse(POINT{40, 10}, WM_LBUTTONDOWN);
  user::InjectMouse(POINT{40, 100}, WM_LBUTTONUP);
  PumpWaiting();
  const Delivered nc = Last(top, WM_NCLBUTTONDOWN);
  EXPECT_EQ(nc.wParam, static_cast<WPARAM>(HTCAPTION));
  EXPECT_EQ(PointOf(nc.lParam).x, 40);
  EXPECT_EQ(Last(top, WM_LBUTTONUP).message, WM_LBUTTONUP);
  POINT at{};
  EXPECT_TRUE(GetCursorPos(&at));
  EXPECT_EQ(at.x, 40);
  EXPECT_EQ(at.y, 100);
}

TEST_F(HitTesting, DisabledTopLevelWindowsTakeNoMouseInput) {
  const HWND top = MakeWindow(WS_POPUP | WS_VISIBLE | WS_DISABLED, nullptr, 0, u"", 0, 0, 200, 200);
  EXPECT_EQ(user::InjectMouse(POINT{40, 40}, WM_LBUTTONDOWN), nullptr);
  PumpWaiting();
  EXPECT_EQ(Last(top, WM_LBUTTONDOWN).message, 0u);
}

// A click aimed at a window that is disabled before the click is taken from the queue (the
// press before it switched the button off, or opened a modal box over its window) is not
// delivered: the button neither takes the focus nor clicks.
TEST_F(HitTesting, AClickAimedAtAWindowDisabledBeforeItIsTakenIsDropped) {
  const HWND top = MakeWindow(WS_POPUP | WS_VISIBLE, nullptr, 0, u"", 0, 0, 200, 200);
  const HWND child = MakeWindow(WS_CHILD | WS_VISIBLE, top, 1, u"", 50, 50, 50, 50);
  const struct {
    const char* what;
    HWND disabled;
    bool reaches;
  } cases[] = {{"nothing disabled", nullptr, true}, {"the window", child, false}, {"its top-level window", top, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    PumpWaiting();
    ClearRecorded();
    user::InjectMouse(POINT{60, 60}, WM_LBUTTONDOWN);
    user::InjectMouse(POINT{60, 60}, WM_LBUTTONUP);
    if (c.disabled) EnableWindow(c.disabled, FALSE);
    PumpWaiting();
    EXPECT_EQ(Last(child, WM_LBUTTONDOWN).message != 0, c.reaches);
    EXPECT_EQ(Last(child, WM_LBUTTONUP).message != 0, c.reaches);
    if (c.disabled) EnableWindow(c.disabled, TRUE);
  }
  // A button switched off by its first click takes no second one already on its way.
  int clicks = 0;
  OnMessage(WM_COMMAND, [&clicks](HWND, UINT, WPARAM w, LPARAM l) -> LRESULT {
    if (HIWORD(w) == BN_CLICKED) {
      ++clicks;
      EnableWindow(reinterpret_cast<HWND>(l), FALSE);
    }
    return 0;
  });
  const HWND button = CreateWindowExW(0, u"Button", u"Stop", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 30, 20, top,
                                      reinterpret_cast<HMENU>(2), nullptr, nullptr);
  const HWND other = MakeWindow(WS_CHILD | WS_VISIBLE | WS_TABSTOP, top, 3, u"", 120, 120, 20, 20);
  SetFocus(other);
  for (int press = 0; press < 2; ++press) {
    user::InjectMouse(POINT{20, 20}, WM_LBUTTONDOWN);
    user::InjectMouse(POINT{20, 20}, WM_LBUTTONUP);
  }
  SetFocus(other);
  PumpWaiting();
  EXPECT_EQ(clicks, 1);
  EXPECT_NE(GetFocus(), button);
}

TEST_F(HitTesting, AClickActivatesItsTopLevelWindow) {
  const HWND a = MakeWindow(WS_POPUP | WS_VISIBLE, nullptr, 0, u"", 0, 0, 100, 100);
  const HWND b = MakeWindow(WS_POPUP | WS_VISIBLE, nullptr, 0, u"", 200, 0, 100, 100);
  EXPECT_EQ(GetActiveWindow(), b);
  user::InjectMouse(POINT{10, 10}, WM_LBUTTONDOWN);
  EXPECT_EQ(GetActiveWindow(), a);
  EXPECT_EQ(GetForegroundWindow(), a);
}

TEST_F(HitTesting, LeaveTrackingPostsOneMouseLeave) {
  const HWND a = MakeWindow(WS_POPUP | WS_VISIBLE, nullptr, 0, u"", 0, 0, 100, 100);
  MakeWindow(WS_POPUP | WS_VISIBLE, nullptr, 0, u"", 200, 0, 100, 100);
  user::InjectMouse(POINT{10, 10}, WM_MOUSEMOVE);
  TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, a, HOVER_DEFAULT};
  ASSERT_TRUE(TrackMouseEvent(&track));
  TRACKMOUSEEVENT query{sizeof query, TME_QUERY, nullptr, 0};
  ASSERT_TRUE(TrackMouseEvent(&query));
  EXPECT_EQ(query.hwndTrack, a);
  user::InjectMouse(POINT{20, 10}, WM_MOUSEMOVE);
  user::InjectMouse(POINT{210, 10}, WM_MOUSEMOVE);
  user::InjectMouse(POINT{10, 10}, WM_MOUSEMOVE);
  user::InjectMouse(POINT{220, 10}, WM_MOUSEMOVE);
  PumpWaiting();
  int leaves = 0;
  for (UINT m : RecordedFor(a)) leaves += m == WM_MOUSELEAVE;
  EXPECT_EQ(leaves, 1);
  TRACKMOUSEEVENT bad{0, TME_LEAVE, a, 0};
  EXPECT_FALSE(TrackMouseEvent(&bad));
}

TEST_F(HitTesting, HoverIsPostedOnceAfterThePointerRestsForTheHoverTime) {
  const HWND button = MakeWindow(WS_POPUP | WS_VISIBLE, nullptr, 0, u"", 100, 100, 80, 30);
  user::InjectMouse(POINT{110, 110}, WM_MOUSEMOVE);
  TRACKMOUSEEVENT track{sizeof track, TME_HOVER | TME_LEAVE, button, 2};
  ASSERT_TRUE(TrackMouseEvent(&track));
  const auto hovers = [&] {
    PumpWaiting();
    int n = 0;
    for (UINT m : RecordedFor(button)) n += m == WM_MOUSEHOVER;
    return n;
  };
  clock_.Advance(1);
  user::InjectMouse(POINT{130, 112}, WM_MOUSEMOVE);  // moved on: the wait starts again
  clock_.Advance(1);
  EXPECT_EQ(hovers(), 0);
  clock_.Advance(1);
  EXPECT_EQ(hovers(), 1);
  EXPECT_EQ(PointOf(Last(button, WM_MOUSEHOVER).lParam).x, 30);
  clock_.Advance(100);
  EXPECT_EQ(hovers(), 1);
  // Hover time passing while the caller waits for messages wakes it.
  ASSERT_TRUE(TrackMouseEvent(&track));
  std::thread advancer([this] {
    ASSERT_TRUE(zx::AwaitBlockedWaiters(1));
    clock_.Advance(2);
  });
  MSG msg;
  ASSERT_TRUE(GetMessageW(&msg, button, WM_MOUSEHOVER, WM_MOUSEHOVER));
  advancer.join();
  EXPECT_EQ(msg.message, WM_MOUSEHOVER);
}

TEST_F(HitTesting, ALeaveAnsweredAtOnceEndsTheHoverAskedWithIt) {
  // The button reads its first move late: the pointer is over the next window already.
  const HWND button = MakeWindow(WS_POPUP | WS_VISIBLE, nullptr, 0, u"", 100, 100, 80, 30);
  MakeWindow(WS_POPUP | WS_VISIBLE, nullptr, 0, u"", 300, 100, 80, 30);
  user::InjectMouse(POINT{310, 110}, WM_MOUSEMOVE);
  TRACKMOUSEEVENT track{sizeof track, TME_HOVER | TME_LEAVE, button, 2};
  ASSERT_TRUE(TrackMouseEvent(&track));
  clock_.Advance(10);
  PumpWaiting();
  int leaves = 0, hovers = 0;
  for (UINT m : RecordedFor(button)) {
    leaves += m == WM_MOUSELEAVE;
    hovers += m == WM_MOUSEHOVER;
  }
  EXPECT_EQ(leaves, 1);
  EXPECT_EQ(hovers, 0) << "a hover after the leave leaves the button lit";
}

using CaptionDrag = Input;

TEST_F(CaptionDrag, TheWindowFollowsThePointerUntilTheButtonGoesUp) {
  const HWND top = MakeWindow(WS_POPUP | WS_VISIBLE, nullptr, 0, u"", 100, 100, 200, 150);
  OnMessage(WM_LBUTTONDOWN, [](HWND window, UINT, WPARAM, LPARAM l) -> LRESULT {
    POINT at = PointOf(l);
    ClientToScreen(window, &at);
    SendMessageW(window, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(at.x, at.y));
    return 0;
  });
  int step = 0;
  user::SetIdleHook([&step] {
    if (step == 0) user::InjectMouse(POINT{150, 110}, WM_MOUSEMOVE);
    if (step == 1) user::InjectMouse(POINT{180, 130}, WM_MOUSEMOVE);
    if (step == 2) user::InjectMouse(POINT{180, 130}, WM_LBUTTONUP);
    ++step;
  });
  user::InjectMouse(POINT{120, 105}, WM_LBUTTONDOWN);
  PumpWaiting();
  user::SetIdleHook(nullptr);
  RECT r{};
  GetWindowRect(top, &r);
  EXPECT_EQ(r.left, 160);
  EXPECT_EQ(r.top, 125);
  EXPECT_EQ(r.right - r.left, 200);
  EXPECT_EQ(GetCapture(), nullptr);
  const std::vector<UINT> got = RecordedFor(top);
  EXPECT_NE(std::find(got.begin(), got.end(), WM_ENTERSIZEMOVE), got.end());
  EXPECT_NE(std::find(got.begin(), got.end(), WM_EXITSIZEMOVE), got.end());
}

TEST_F(CaptionDrag, EscapePutsTheWindowBackAndNoButtonMeansNoLoop) {
  const HWND top = MakeWindow(WS_POPUP | WS_VISIBLE, nullptr, 0, u"", 100, 100, 200, 150);
  SetFocus(top);
  SendMessageW(top, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(120, 105));  // button up: nothing
  user::InjectMouse(POINT{120, 105}, WM_LBUTTONDOWN);
  int step = 0;
  user::SetIdleHook([&step] {
    if (step == 0) user::InjectMouse(POINT{300, 300}, WM_MOUSEMOVE);
    if (step == 1) user::InjectKey(VK_ESCAPE, true);
    ++step;
  });
  SendMessageW(top, WM_SYSCOMMAND, SC_MOVE, 0);
  user::SetIdleHook(nullptr);
  RECT r{};
  GetWindowRect(top, &r);
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.top, 100);
  EXPECT_EQ(step, 2);  // the loop ran until Escape
}

TEST_F(MessageWaits, AnEventOrQueuedInputEndsTheWait) {
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, FALSE, 0, QS_ALLINPUT), static_cast<DWORD>(WAIT_TIMEOUT));
  SetEvent(event);
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, FALSE, 0, QS_ALLINPUT), static_cast<DWORD>(WAIT_OBJECT_0));
  ResetEvent(event);
  PostThreadMessageW(GetCurrentThreadId(), WM_USER, 0, 0);
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, FALSE, INFINITE, QS_POSTMESSAGE), static_cast<DWORD>(WAIT_OBJECT_0 + 1));
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, FALSE, 0, QS_KEY), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_NE(HIWORD(GetQueueStatus(QS_ALLINPUT)) & QS_POSTMESSAGE, 0u);
  HANDLE none = nullptr;
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &none, FALSE, 0, QS_ALLINPUT), WAIT_FAILED);
  CloseHandle(event);
}

TEST_F(MessageWaits, TimeoutsAndTimersRunOnTheLayersClock) {
  std::thread advancer([this] {
    ASSERT_TRUE(zx::AwaitBlockedWaiters(1));
    clock_.Advance(5000);
  });
  EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 5000, QS_ALLINPUT), static_cast<DWORD>(WAIT_TIMEOUT));
  advancer.join();
  const HWND top = MakeWindow(WS_POPUP, nullptr, 0, u"", 0, 0, 10, 10);
  SetTimer(top, 7, 100, nullptr);
  std::thread ticker([this] {
    ASSERT_TRUE(zx::AwaitBlockedWaiters(1));
    clock_.Advance(100);
  });
  EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_TIMER), static_cast<DWORD>(WAIT_OBJECT_0));
  ticker.join();
}

}  // namespace
}  // namespace zx::test

namespace zx::test {
namespace {

TEST(MessageFilter, AdmittingOrRemovingAMessageIsChecked) {
  EXPECT_TRUE(ChangeWindowMessageFilter(WM_COPYDATA, MSGFLT_ADD));
  EXPECT_TRUE(ChangeWindowMessageFilter(WM_COPYDATA, MSGFLT_REMOVE));
  EXPECT_FALSE(ChangeWindowMessageFilter(WM_COPYDATA, 7));
  EXPECT_FALSE(ChangeWindowMessageFilter(0, MSGFLT_ADD));
}

}  // namespace
}  // namespace zx::test
