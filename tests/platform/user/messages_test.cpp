// Message queues: posting and sending within a thread and across threads, retrieval order and
// filters, WM_QUIT, pending paints, modal loops and the idle hook.
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

#include "errhandlingapi.h"
#include "processthreadsapi.h"
#include "user_testing.h"
#include "zx/modal.h"
#include "zx/waits.h"
#include "zx/windowstate.h"

namespace zx::test {
namespace {

using Messages = UserTest;
using CrossThread = UserTest;
using ModalLoop = UserTest;

// A thread that owns a recorder window and pumps its queue until WM_QUIT.
class WindowThread {
 public:
  WindowThread() {
    std::promise<void> ready;
    thread_ = std::thread([this, &ready] {
      window_ = MakeWindow(WS_POPUP);
      id_ = GetCurrentThreadId();
      ready.set_value();
      MSG msg;
      while (GetMessageW(&msg, nullptr, 0, 0)) DispatchMessageW(&msg);
    });
    ready.get_future().wait();
  }
  ~WindowThread() {
    PostThreadMessageW(id_, WM_QUIT, 0, 0);
    thread_.join();
  }
  HWND window() const { return window_; }
  DWORD id() const { return id_; }

 private:
  std::thread thread_;
  HWND window_ = nullptr;
  DWORD id_ = 0;
};

TEST_F(Messages, SendOnTheOwningThreadCallsTheProcedureAtOnce) {
  OnMessage(WM_USER, [](HWND, UINT, WPARAM wParam, LPARAM lParam) -> LRESULT {
    return static_cast<LRESULT>(wParam + lParam);
  });
  const HWND window = MakeWindow();
  EXPECT_EQ(SendMessageW(window, WM_USER, 40, 2), 42);
  MSG msg;
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) << "nothing went through the queue";
  EXPECT_FALSE(InSendMessage());
  EXPECT_EQ(SendMessageW(reinterpret_cast<HWND>(0x7000123), WM_USER, 0, 0), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(Messages, PostedMessagesComeInOrderWithTheClocksTime) {
  const HWND window = MakeWindow();
  clock_.Advance(1234);
  ASSERT_TRUE(PostMessageW(window, WM_USER + 1, 1, 10));
  ASSERT_TRUE(PostMessageW(window, WM_USER + 2, 2, 20));
  ASSERT_TRUE(PostMessageW(nullptr, WM_USER + 3, 3, 30));
  MSG msg;
  ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.hwnd, window);
  EXPECT_EQ(msg.message, WM_USER + 1);
  EXPECT_EQ(msg.lParam, 10);
  EXPECT_EQ(msg.time, 1234u);
  EXPECT_EQ(GetMessageTime(), 1234);
  ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, WM_USER + 2);
  ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.hwnd, nullptr);
  EXPECT_EQ(msg.message, WM_USER + 3);
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Messages, PeekFiltersByWindowAndRange) {
  const HWND parent = MakeWindow();
  const HWND child = MakeWindow(WS_CHILD, parent, 1);
  const HWND other = MakeWindow();
  PostMessageW(other, WM_USER + 1, 0, 0);
  PostMessageW(child, WM_USER + 2, 0, 0);
  PostMessageW(nullptr, WM_USER + 3, 0, 0);
  PostMessageW(parent, WM_APP, 0, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, parent, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.hwnd, child) << "a window's filter takes its children's messages";
  ASSERT_TRUE(PeekMessageW(&msg, parent, WM_APP, WM_APP, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_APP);
  ASSERT_TRUE(PeekMessageW(&msg, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_USER + 3) << "(HWND)-1 takes thread messages only";
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_USER + 1);
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_USER + 2);
  EXPECT_EQ(GetMessageW(&msg, reinterpret_cast<HWND>(0x7000123), 0, 0), -1);
}

TEST_F(Messages, QuitComesAfterPostedMessagesWithItsCode) {
  const HWND window = MakeWindow();
  PostQuitMessage(17);
  PostMessageW(window, WM_USER, 0, 0);
  MSG msg;
  ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, WM_USER);
  EXPECT_FALSE(GetMessageW(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.wParam, 17u);
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Messages, PointerMessagesCannotBePosted) {
  const HWND window = MakeWindow();
  EXPECT_FALSE(PostMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"x")));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MESSAGE_SYNC_ONLY));
  EXPECT_FALSE(PostMessageW(window, WM_COPYDATA, 0, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MESSAGE_SYNC_ONLY));
  EXPECT_FALSE(PostMessageW(reinterpret_cast<HWND>(0x7000123), WM_USER, 0, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(Messages, PendingPaintComesWhenNothingElseWaits) {
  const HWND window = MakeWindow();
  zx::user::SetUpdatePending(window, true);
  PostMessageW(window, WM_USER, 0, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_USER);
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_PAINT);
  DispatchMessageW(&msg);  // the default handling validates
  EXPECT_FALSE(zx::user::IsUpdatePending(window));
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
}

LRESULT CALLBACK NeverCalled(HWND, UINT, WPARAM, LPARAM) {
  ADD_FAILURE() << "a procedure no timer named was called";
  return 0;
}

TEST_F(Messages, DispatchCallsOnlyTimerProceduresThisThreadSet) {
  const HWND window = MakeWindow();
  const MSG fake{window, WM_TIMER, 1, reinterpret_cast<LPARAM>(NeverCalled), 0, {}};
  EXPECT_EQ(DispatchMessageW(&fake), 0);
}

TEST_F(CrossThread, SendRunsOnTheOwningThreadAndAnswers) {
  OnMessage(WM_USER, [](HWND, UINT, WPARAM wParam, LPARAM) -> LRESULT {
    return static_cast<LRESULT>(wParam * 2 + (InSendMessage() ? 1 : 0));
  });
  WindowThread other;
  EXPECT_EQ(SendMessageW(other.window(), WM_USER, 20, 0), 41);
  const auto log = Recorded();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back().threadId, other.id());
  DWORD process = 0;
  EXPECT_EQ(GetWindowThreadProcessId(other.window(), &process), other.id());
  EXPECT_EQ(process, GetCurrentProcessId());
}

TEST_F(CrossThread, AWaitingSenderServesSendsMadeToIt) {
  const HWND mine = MakeWindow();
  OnMessage(WM_USER + 1, [](HWND, UINT, WPARAM, LPARAM) -> LRESULT { return 5; });
  OnMessage(WM_USER, [mine](HWND, UINT, WPARAM, LPARAM) -> LRESULT {
    // Sent back to the thread that waits for this very answer.
    return 10 * SendMessageW(mine, WM_USER + 1, 0, 0);
  });
  WindowThread other;
  EXPECT_EQ(SendMessageW(other.window(), WM_USER, 0, 0), 50);
}

TEST_F(CrossThread, PostsFromManyThreadsAllArrive) {
  const HWND window = MakeWindow();
  std::vector<std::thread> posters;
  for (int t = 0; t < 4; ++t)
    posters.emplace_back([window] {
      for (int i = 0; i < 250; ++i) PostMessageW(window, WM_USER, 0, 0);
    });
  for (auto& t : posters) t.join();
  EXPECT_EQ(PumpWaiting(), 1000);
}

TEST_F(CrossThread, PostThreadMessageNeedsAQueue) {
  std::atomic<DWORD> id{0};
  std::promise<void> go;
  std::promise<MSG> got;
  std::thread worker([&] {
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // makes the queue
    id = GetCurrentThreadId();
    go.get_future().wait();
    GetMessageW(&msg, nullptr, 0, 0);
    got.set_value(msg);
  });
  while (!id) std::this_thread::yield();
  ASSERT_TRUE(PostThreadMessageW(id, WM_APP + 7, 3, 4));
  go.set_value();
  const MSG msg = got.get_future().get();
  worker.join();
  EXPECT_EQ(msg.hwnd, nullptr);
  EXPECT_EQ(msg.message, WM_APP + 7);
  EXPECT_EQ(msg.lParam, 4);
  EXPECT_FALSE(PostThreadMessageW(id, WM_APP, 0, 0)) << "the thread ended";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_THREAD_ID));
}

TEST_F(CrossThread, SendTimeoutGivesUpAndTheMessageIsDropped) {
  std::atomic<int> handled{0};
  OnMessage(WM_USER, [&](HWND, UINT, WPARAM, LPARAM) -> LRESULT { return ++handled; });
  std::promise<void> release;
  HWND window = nullptr;
  std::promise<void> made;
  std::thread busy([&] {
    window = MakeWindow(WS_POPUP);
    made.set_value();
    release.get_future().wait();  // not taking messages
    PumpWaiting();
  });
  made.get_future().wait();
  std::thread mover([&] {
    ASSERT_TRUE(zx::AwaitBlockedWaiters(1));
    clock_.Advance(500);
  });
  DWORD_PTR result = 99;
  EXPECT_EQ(SendMessageTimeoutW(window, WM_USER, 0, 0, SMTO_NORMAL, 500, &result), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TIMEOUT));
  EXPECT_EQ(result, 99u);
  mover.join();
  release.set_value();
  busy.join();
  EXPECT_EQ(handled, 0);
}

TEST_F(CrossThread, SendToAThreadThatEndsAnswersZero) {
  HWND window = nullptr;
  std::promise<void> made;
  std::promise<void> end;
  std::thread owner([&] {
    window = MakeWindow(WS_POPUP);
    made.set_value();
    end.get_future().wait();
  });
  made.get_future().wait();
  std::thread ender([&] {
    ASSERT_TRUE(zx::AwaitBlockedWaiters(1));
    end.set_value();
  });
  EXPECT_EQ(SendMessageW(window, WM_USER, 0, 0), 0);
  ender.join();
  owner.join();
  EXPECT_FALSE(IsWindow(window));
}

TEST_F(ModalLoop, EndsWhenItsFlagIsSetByAPostedMessage) {
  bool done = false;
  OnMessage(WM_USER, [&](HWND, UINT, WPARAM, LPARAM) -> LRESULT {
    done = true;
    return 0;
  });
  const HWND window = MakeWindow();
  PostMessageW(window, WM_APP, 0, 0);
  PostMessageW(window, WM_USER, 0, 0);
  PostMessageW(window, WM_APP + 1, 0, 0);
  EXPECT_TRUE(zx::user::RunModalLoop([&] { return done; }));
  EXPECT_EQ(PumpWaiting(), 1) << "the loop left what came after its end";
}

TEST_F(ModalLoop, QuitEndsTheLoopAndIsPostedAgain) {
  const HWND window = MakeWindow();
  PostMessageW(window, WM_USER, 0, 0);
  PostQuitMessage(3);
  EXPECT_FALSE(zx::user::RunModalLoop([] { return false; }));
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(ModalLoop, IdleHookRunsWhenTheLoopWouldWait) {
  const HWND window = MakeWindow();
  int idleCalls = 0;
  bool done = false;
  OnMessage(WM_USER, [&](HWND, UINT, WPARAM, LPARAM) -> LRESULT {
    done = true;
    return 0;
  });
  const auto previous = zx::user::SetIdleHook([&] {
    ++idleCalls;
    PostMessageW(window, WM_USER, 0, 0);  // what a test does: click, type, move the clock
  });
  EXPECT_TRUE(zx::user::RunModalLoop([&] { return done; }));
  zx::user::SetIdleHook(previous);
  EXPECT_EQ(idleCalls, 1);
}

}  // namespace
}  // namespace zx::test
