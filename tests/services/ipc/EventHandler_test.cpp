// CEventHandler: the combined waits, an object without an event, and copies that each hold
// their own handle to the same event.
#include <gtest/gtest.h>

#include "EventHandler.h"
#include "zx/handles.h"

namespace {

TEST(EventHandlerTest, CreatedEventIsManualResetAndNotSignalled) {
  CEventHandler event;
  ASSERT_NE(event.Create(), nullptr);
  EXPECT_TRUE(event.WaitFailed(0));
  EXPECT_TRUE(event.Set());
  EXPECT_FALSE(event.WaitFailed(0));
  EXPECT_FALSE(event.WaitFailed(0));  // still signalled: manual reset
  EXPECT_TRUE(event.Reset());
  EXPECT_TRUE(event.WaitFailed(0));
}

TEST(EventHandlerTest, WaitAndResetConsumesTheSignal) {
  CEventHandler event;
  event.Create();
  EXPECT_FALSE(event.WaitAndReset(0));
  event.Set();
  EXPECT_TRUE(event.WaitAndReset(0));
  EXPECT_TRUE(event.WaitFailed(0));
}

TEST(EventHandlerTest, SignalIfIdleSetsOnlyAnIdleEvent) {
  CEventHandler event;
  event.Create();
  EXPECT_TRUE(event.SignalIfIdle(0));
  EXPECT_FALSE(event.SignalIfIdle(0));
  event.Reset();
  EXPECT_TRUE(event.SetIfIdle(0));
  EXPECT_FALSE(event.SetIfIdle(0));
}

TEST(EventHandlerTest, ObjectWithoutAnEventAnswersAtOnce) {
  CEventHandler event;
  EXPECT_EQ(event.GetHandle(), nullptr);
  EXPECT_TRUE(event.WaitFailed(INFINITE));
  EXPECT_FALSE(event.WaitAndReset(INFINITE));
  EXPECT_FALSE(event.Set());
  EXPECT_FALSE(event.Reset());
  event.Close();
  EXPECT_EQ(event.GetHandle(), nullptr);
}

TEST(EventHandlerTest, CopiesShareTheEventAndCloseOnlyTheirOwnHandle) {
  const std::size_t before = zx::OpenHandleCount();
  {
    CEventHandler original;
    original.Create();
    {
      CEventHandler copy(original);
      ASSERT_NE(copy.GetHandle(), nullptr);
      EXPECT_NE(copy.GetHandle(), original.GetHandle());
      copy.Set();
      EXPECT_FALSE(original.WaitFailed(0));
      CEventHandler assigned;
      assigned.Create();
      assigned = copy;
      EXPECT_TRUE(assigned.WaitAndReset(0));
    }
    EXPECT_TRUE(original.WaitFailed(0));  // reset through the assigned copy
    EXPECT_TRUE(original.Set());          // the original's handle is still open
  }
  EXPECT_EQ(zx::OpenHandleCount(), before);
}

TEST(EventHandlerTest, AdoptedHandleIsClosedWithTheObject) {
  const std::size_t before = zx::OpenHandleCount();
  {
    CEventHandler event(CreateEventW(nullptr, TRUE, TRUE, nullptr));
    EXPECT_TRUE(event.WaitAndReset(0));
  }
  EXPECT_EQ(zx::OpenHandleCount(), before);
}

}  // namespace
