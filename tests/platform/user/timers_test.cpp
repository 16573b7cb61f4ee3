// Timers on the manual clock: due times, replacing, killing, 0 and 1 ms timers, thread timers
// with procedures, and a waiting GetMessage woken by the clock.
#include <gtest/gtest.h>

#include <thread>

#include "errhandlingapi.h"
#include "user_testing.h"
#include "zx/waits.h"

namespace zx::test {
namespace {

using Timers = UserTest;

// The WM_TIMER ids waiting now, taken out.
std::vector<UINT_PTR> DueTimers() {
  std::vector<UINT_PTR> ids;
  MSG msg;
  while (PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) {
    ids.push_back(msg.wParam);
    DispatchMessageW(&msg);
  }
  return ids;
}

TEST_F(Timers, FireOnceTheirTimeHasComeWithoutPilingUp) {
  const HWND window = MakeWindow();
  EXPECT_EQ(SetTimer(window, 7, 100, nullptr), 7u);
  clock_.Advance(99);
  EXPECT_TRUE(DueTimers().empty());
  clock_.Advance(1);
  EXPECT_EQ(DueTimers(), (std::vector<UINT_PTR>{7}));
  clock_.Advance(350);
  EXPECT_EQ(DueTimers(), (std::vector<UINT_PTR>{7})) << "missed periods make one WM_TIMER";
  clock_.Advance(99);
  EXPECT_TRUE(DueTimers().empty());
  clock_.Advance(1);
  EXPECT_EQ(DueTimers(), (std::vector<UINT_PTR>{7}));
  EXPECT_EQ(RecordedFor(window).back(), WM_TIMER);
}

TEST_F(Timers, TheSameIdReplacesAndKillStops) {
  const HWND window = MakeWindow();
  SetTimer(window, 1, 100, nullptr);
  SetTimer(window, 2, 300, nullptr);
  clock_.Advance(50);
  SetTimer(window, 1, 500, nullptr);  // starts again with the new interval
  clock_.Advance(250);
  EXPECT_EQ(DueTimers(), (std::vector<UINT_PTR>{2}));
  clock_.Advance(250);
  EXPECT_EQ(DueTimers(), (std::vector<UINT_PTR>{1}));
  EXPECT_TRUE(KillTimer(window, 1));
  EXPECT_FALSE(KillTimer(window, 1));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_TRUE(KillTimer(window, 2));
  clock_.Advance(10000);
  EXPECT_TRUE(DueTimers().empty());
  EXPECT_EQ(SetTimer(reinterpret_cast<HWND>(0x7000123), 1, 10, nullptr), 0u);
}

TEST_F(Timers, ZeroAndOneMillisecondTimers) {
  const HWND window = MakeWindow();
  SetTimer(window, 1, 0, nullptr);
  EXPECT_EQ(DueTimers(), (std::vector<UINT_PTR>{1})) << "due at the next empty queue";
  clock_.Advance(9);
  EXPECT_TRUE(DueTimers().empty()) << "repeats keep USER_TIMER_MINIMUM apart";
  KillTimer(window, 1);
  SetTimer(window, 2, 1, nullptr);
  EXPECT_TRUE(DueTimers().empty());
  clock_.Advance(1);
  EXPECT_EQ(DueTimers(), (std::vector<UINT_PTR>{2}));
}

TEST_F(Timers, PostedMessagesComeFirst) {
  const HWND window = MakeWindow();
  SetTimer(window, 1, 0, nullptr);
  PostMessageW(window, WM_USER, 0, 0);
  MSG msg;
  ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, WM_USER);
  ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, WM_TIMER);
}

std::vector<UINT_PTR> g_procedureCalls;
void CALLBACK CountingTimer(HWND window, UINT message, UINT_PTR id, DWORD) {
  EXPECT_EQ(window, nullptr);
  EXPECT_EQ(message, WM_TIMER);
  g_procedureCalls.push_back(id);
}

TEST_F(Timers, ThreadTimersGetTheirOwnIdsAndCallTheirProcedure) {
  g_procedureCalls.clear();
  const UINT_PTR a = SetTimer(nullptr, 0, 20, CountingTimer);
  const UINT_PTR b = SetTimer(nullptr, 0, 20, CountingTimer);
  ASSERT_NE(a, 0u);
  ASSERT_NE(b, 0u);
  EXPECT_NE(a, b);
  EXPECT_EQ(SetTimer(nullptr, a, 40, CountingTimer), a) << "an existing id is replaced";
  clock_.Advance(20);
  EXPECT_EQ(DueTimers(), (std::vector<UINT_PTR>{b}));
  EXPECT_EQ(g_procedureCalls, (std::vector<UINT_PTR>{b}));
  KillTimer(nullptr, a);
  KillTimer(nullptr, b);
}

TEST_F(Timers, AWaitingGetMessageWakesWhenTheClockMoves) {
  const HWND window = MakeWindow();
  SetTimer(window, 9, 120000, nullptr);
  std::thread mover([this] {
    ASSERT_TRUE(zx::AwaitBlockedWaiters(1));
    clock_.Advance(120000);
  });
  MSG msg;
  ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
  mover.join();
  EXPECT_EQ(msg.message, WM_TIMER);
  EXPECT_EQ(msg.wParam, 9u);
}

TEST_F(Timers, DestroyingTheWindowDropsItsTimers) {
  const HWND window = MakeWindow();
  SetTimer(window, 1, 0, nullptr);
  DestroyWindow(window);
  EXPECT_TRUE(DueTimers().empty());
  EXPECT_FALSE(KillTimer(window, 1));
}

}  // namespace
}  // namespace zx::test
