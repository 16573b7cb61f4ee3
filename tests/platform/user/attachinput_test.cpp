// AttachThreadInput between threads with and without message queues, and the keypad's keys.
#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "errhandlingapi.h"
#include "processthreadsapi.h"
#include "user_testing.h"
#include "wininput.h"

namespace zx::test {
namespace {

using AttachInput = UserTest;

// A second thread that (when asked) takes a message queue, then waits to be let go and
// notes its own focus window.
class OtherThread {
 public:
  explicit OtherThread(bool withQueue) {
    thread_ = std::thread([this, withQueue] {
      MSG msg;
      if (withQueue) PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
      std::unique_lock<std::mutex> lock(mutex_);
      id_ = GetCurrentThreadId();
      changed_.notify_all();
      changed_.wait(lock, [this] { return go_; });
      focus_ = GetFocus();
    });
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return id_ != 0; });
  }
  ~OtherThread() { Finish(); }
  DWORD id() const { return id_; }
  // Lets the thread end; answers the focus it saw.
  HWND Finish() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      go_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
    return focus_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  DWORD id_ = 0;
  bool go_ = false;
  HWND focus_ = nullptr;
  std::thread thread_;
};

TEST_F(AttachInput, AcceptedBetweenThreadsWithQueues) {
  OtherThread other(true);
  EXPECT_TRUE(AttachThreadInput(GetCurrentThreadId(), other.id(), TRUE));
  EXPECT_TRUE(AttachThreadInput(other.id(), GetCurrentThreadId(), TRUE));
  EXPECT_TRUE(AttachThreadInput(GetCurrentThreadId(), other.id(), FALSE));
}

TEST_F(AttachInput, RefusedForTheSameThreadUnknownIdsAndThreadsWithoutQueues) {
  const DWORD self = GetCurrentThreadId();
  SetLastError(0);
  EXPECT_FALSE(AttachThreadInput(self, self, TRUE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_FALSE(AttachThreadInput(self, 0, TRUE));
  EXPECT_FALSE(AttachThreadInput(0x7ffffff0u, self, TRUE));
  OtherThread bare(false);
  SetLastError(0);
  EXPECT_FALSE(AttachThreadInput(self, bare.id(), TRUE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(AttachInput, FocusStaysWithEachThread) {
  OtherThread other(true);
  ASSERT_TRUE(AttachThreadInput(other.id(), GetCurrentThreadId(), TRUE));
  const HWND mine = MakeWindow(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  SetFocus(mine);
  EXPECT_EQ(GetFocus(), mine);
  EXPECT_EQ(other.Finish(), nullptr);
}

TEST(VirtualKeys, KeypadDigitsHaveTheirWindowsValues) {
  const int keys[] = {VK_NUMPAD0, VK_NUMPAD1, VK_NUMPAD2, VK_NUMPAD3, VK_NUMPAD4,
                      VK_NUMPAD5, VK_NUMPAD6, VK_NUMPAD7, VK_NUMPAD8, VK_NUMPAD9};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(keys[i], 0x60 + i);
}

}  // namespace
}  // namespace zx::test
