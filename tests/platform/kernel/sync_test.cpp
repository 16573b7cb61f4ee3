// Events, mutexes (named, abandoned, across processes), critical sections, waits on the
// manual clock, and the interlocked operations.
#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <vector>

#include "kernel_testing.h"
#include "windows.h"
#include "zx/waits.h"

namespace {

using zx::test::JoinThread;
using zx::test::StartThread;

constexpr DWORD kObject0 = WAIT_OBJECT_0;
constexpr DWORD kAbandoned0 = WAIT_ABANDONED_0;
constexpr DWORD kTimeout = WAIT_TIMEOUT;

// Closes the handles it holds at the end of a test.
class Handles {
 public:
  ~Handles() {
    for (HANDLE h : held_) CloseHandle(h);
  }
  HANDLE operator()(HANDLE h) {
    EXPECT_NE(h, nullptr);
    held_.push_back(h);
    return h;
  }

 private:
  std::vector<HANDLE> held_;
};

class Events : public zx::test::ManualClockTest {};
class Waits : public zx::test::ManualClockTest {};
class Mutexes : public zx::test::ManualClockTest {};

TEST_F(Events, ManualResetStaysSignalledUntilReset) {
  Handles h;
  HANDLE event = h(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  EXPECT_EQ(WaitForSingleObject(event, 0), kTimeout);
  ASSERT_TRUE(SetEvent(event));
  EXPECT_EQ(WaitForSingleObject(event, 0), kObject0);
  EXPECT_EQ(WaitForSingleObject(event, 0), kObject0);
  ASSERT_TRUE(ResetEvent(event));
  EXPECT_EQ(WaitForSingleObject(event, 0), kTimeout);
}

TEST_F(Events, AutoResetReleasesOneWaitAndResets) {
  Handles h;
  HANDLE event = h(CreateEventW(nullptr, FALSE, TRUE, nullptr));
  EXPECT_EQ(WaitForSingleObject(event, 0), kObject0);
  EXPECT_EQ(WaitForSingleObject(event, 0), kTimeout);
}

TEST_F(Events, AutoResetWakesExactlyOneOfTwoWaiters) {
  Handles h;
  HANDLE event = h(CreateEventW(nullptr, FALSE, FALSE, nullptr));
  auto waiter = [event] { return WaitForSingleObject(event, INFINITE); };
  HANDLE threads[2] = {h(StartThread(waiter)), h(StartThread(waiter))};
  ASSERT_TRUE(zx::AwaitBlockedWaiters(2));
  SetEvent(event);
  const DWORD first = WaitForMultipleObjects(2, threads, FALSE, INFINITE);
  ASSERT_LT(first, kObject0 + 2);
  HANDLE other = threads[1 - (first - kObject0)];
  EXPECT_EQ(WaitForSingleObject(other, 0), kTimeout);
  SetEvent(event);
  EXPECT_EQ(WaitForSingleObject(other, INFINITE), kObject0);
}

TEST_F(Events, SameNameInTheProcessIsOneEvent) {
  Handles h;
  SetLastError(ERROR_ALREADY_EXISTS);
  HANDLE first = h(CreateEventW(nullptr, TRUE, FALSE, u"zx.sync.shared"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  HANDLE second = h(CreateEventW(nullptr, FALSE, TRUE, u"zx.sync.shared"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_NE(first, second);
  // The second creator's state arguments are ignored: still the manual, unsignalled event.
  EXPECT_EQ(WaitForSingleObject(second, 0), kTimeout);
  SetEvent(first);
  EXPECT_EQ(WaitForSingleObject(second, 0), kObject0);
  EXPECT_EQ(WaitForSingleObject(second, 0), kObject0);
  HANDLE opened = h(OpenEventW(EVENT_ALL_ACCESS, FALSE, u"zx.sync.shared"));
  EXPECT_EQ(WaitForSingleObject(opened, 0), kObject0);
  // The "Global\" and "Local\" prefixes name the same object in the layer's one session.
  HANDLE global = h(CreateEventW(nullptr, TRUE, FALSE, u"Global\\zx.sync.shared"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_EQ(WaitForSingleObject(global, 0), kObject0);
  HANDLE narrow = h(CreateEventA(nullptr, TRUE, FALSE, "zx.sync.shared"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_EQ(WaitForSingleObject(narrow, 0), kObject0);
}

TEST_F(Events, NameIsFreeAgainAfterTheLastHandleCloses) {
  HANDLE event = CreateEventW(nullptr, TRUE, TRUE, u"zx.sync.transient");
  ASSERT_NE(event, nullptr);
  CloseHandle(event);
  EXPECT_EQ(OpenEventW(SYNCHRONIZE, FALSE, u"zx.sync.transient"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  event = CreateEventW(nullptr, TRUE, FALSE, u"zx.sync.transient");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(WaitForSingleObject(event, 0), kTimeout);
  CloseHandle(event);
}

TEST_F(Events, NameHeldByAMutexIsRefused) {
  Handles h;
  h(CreateMutexW(nullptr, FALSE, u"zx.sync.taken"));
  EXPECT_EQ(CreateEventW(nullptr, TRUE, FALSE, u"zx.sync.taken"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(OpenEventW(SYNCHRONIZE, FALSE, u"zx.sync.taken"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  const std::u16string tooLong(MAX_PATH, u'x');
  EXPECT_EQ(CreateEventW(nullptr, TRUE, FALSE, tooLong.c_str()), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
}

TEST_F(Events, BadHandlesAreRefused) {
  Handles h;
  HANDLE mutex = h(CreateMutexW(nullptr, FALSE, nullptr));
  EXPECT_FALSE(SetEvent(nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(ResetEvent(mutex));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(PulseEvent(reinterpret_cast<HANDLE>(0x7654320)));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(Events, PulseWithoutWaitersLeavesTheEventReset) {
  Handles h;
  HANDLE event = h(CreateEventW(nullptr, TRUE, TRUE, nullptr));
  ASSERT_TRUE(PulseEvent(event));
  EXPECT_EQ(WaitForSingleObject(event, 0), kTimeout);
}

TEST_F(Events, ManualPulseReleasesEveryCurrentWaiter) {
  Handles h;
  HANDLE event = h(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  auto waiter = [event] { return WaitForSingleObject(event, INFINITE); };
  HANDLE a = StartThread(waiter);
  HANDLE b = StartThread(waiter);
  ASSERT_TRUE(zx::AwaitBlockedWaiters(2));
  PulseEvent(event);
  EXPECT_EQ(JoinThread(a), kObject0);
  EXPECT_EQ(JoinThread(b), kObject0);
  EXPECT_EQ(WaitForSingleObject(event, 0), kTimeout);
}

TEST_F(Events, AutoPulseReleasesOneWaiter) {
  Handles h;
  HANDLE event = h(CreateEventW(nullptr, FALSE, FALSE, nullptr));
  auto waiter = [event] { return WaitForSingleObject(event, INFINITE); };
  HANDLE threads[2] = {h(StartThread(waiter)), h(StartThread(waiter))};
  ASSERT_TRUE(zx::AwaitBlockedWaiters(2));
  PulseEvent(event);
  const DWORD first = WaitForMultipleObjects(2, threads, FALSE, INFINITE);
  ASSERT_LT(first, kObject0 + 2);
  EXPECT_EQ(WaitForSingleObject(threads[1 - (first - kObject0)], 0), kTimeout);
  EXPECT_EQ(WaitForSingleObject(event, 0), kTimeout);
  SetEvent(event);
  EXPECT_EQ(WaitForSingleObject(threads[1 - (first - kObject0)], INFINITE), kObject0);
}

TEST_F(Waits, AnyAnswersTheLowestSignalledIndex) {
  Handles h;
  HANDLE events[3] = {h(CreateEventW(nullptr, FALSE, FALSE, nullptr)),
                      h(CreateEventW(nullptr, FALSE, TRUE, nullptr)),
                      h(CreateEventW(nullptr, FALSE, TRUE, nullptr))};
  EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 0), kObject0 + 1);
  // Only the chosen auto-reset event was consumed.
  EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 0), kObject0 + 2);
  EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 0), kTimeout);
}

TEST_F(Waits, AllWaitsForEveryObjectAndConsumesNothingBefore) {
  Handles h;
  HANDLE events[2] = {h(CreateEventW(nullptr, FALSE, TRUE, nullptr)),
                      h(CreateEventW(nullptr, FALSE, FALSE, nullptr))};
  EXPECT_EQ(WaitForMultipleObjects(2, events, TRUE, 0), kTimeout);
  EXPECT_EQ(WaitForSingleObject(events[0], 0), kObject0) << "consumed by a failed wait-all";
  SetEvent(events[0]);
  SetEvent(events[1]);
  EXPECT_EQ(WaitForMultipleObjects(2, events, TRUE, 0), kObject0);
  EXPECT_EQ(WaitForMultipleObjects(2, events, FALSE, 0), kTimeout);
}

TEST_F(Waits, AllCompletesWhenTheLastObjectIsSignalled) {
  Handles h;
  HANDLE events[2] = {h(CreateEventW(nullptr, TRUE, TRUE, nullptr)),
                      h(CreateEventW(nullptr, TRUE, FALSE, nullptr))};
  HANDLE thread = StartThread([&] { return WaitForMultipleObjects(2, events, TRUE, INFINITE); });
  ASSERT_TRUE(zx::AwaitBlockedWaiters(1));
  SetEvent(events[1]);
  EXPECT_EQ(JoinThread(thread), kObject0);
}

TEST_F(Waits, SixtyFourHandlesAtMost) {
  std::vector<HANDLE> events;
  for (int i = 0; i < MAXIMUM_WAIT_OBJECTS + 1; ++i)
    events.push_back(CreateEventW(nullptr, TRUE, TRUE, nullptr));
  EXPECT_EQ(WaitForMultipleObjects(64, events.data(), TRUE, 0), kObject0);
  for (int i = 0; i < 63; ++i) ResetEvent(events[i]);
  EXPECT_EQ(WaitForMultipleObjects(64, events.data(), FALSE, 0), kObject0 + 63);
  EXPECT_EQ(WaitForMultipleObjects(65, events.data(), FALSE, 0), WAIT_FAILED);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(WaitForMultipleObjects(0, events.data(), FALSE, 0), WAIT_FAILED);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  for (HANDLE e : events) CloseHandle(e);
}

TEST_F(Waits, BadHandlesFailTheWait) {
  Handles h;
  HANDLE event = h(CreateEventW(nullptr, TRUE, TRUE, nullptr));
  HANDLE closed = CreateEventW(nullptr, TRUE, TRUE, nullptr);
  CloseHandle(closed);
  HANDLE list[2] = {event, closed};
  EXPECT_EQ(WaitForMultipleObjects(2, list, FALSE, 0), WAIT_FAILED);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(WaitForSingleObject(nullptr, 0), WAIT_FAILED);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  // One object twice: refused for wait-all, fine for wait-any.
  HANDLE twice[2] = {event, event};
  EXPECT_EQ(WaitForMultipleObjects(2, twice, TRUE, 0), WAIT_FAILED);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(WaitForMultipleObjects(2, twice, FALSE, 0), kObject0);
}

TEST_F(Waits, TwoMinuteTimeoutPassesWhenTheClockDoes) {
  Handles h;
  HANDLE event = h(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  HANDLE thread = StartThread([event] { return WaitForSingleObject(event, 120000); });
  ASSERT_TRUE(zx::AwaitBlockedWaiters(1));
  clock_.Advance(119999);
  EXPECT_EQ(WaitForSingleObject(thread, 0), kTimeout) << "timed out a millisecond early";
  clock_.Advance(1);
  EXPECT_EQ(JoinThread(thread), kTimeout);
}

TEST_F(Waits, SignalBeforeTheDeadlineEndsTheWait) {
  Handles h;
  HANDLE events[2] = {h(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
                      h(CreateEventW(nullptr, TRUE, FALSE, nullptr))};
  HANDLE thread = StartThread([&] { return WaitForMultipleObjects(2, events, FALSE, 5000); });
  ASSERT_TRUE(zx::AwaitBlockedWaiters(1));
  clock_.Advance(4999);
  SetEvent(events[1]);
  EXPECT_EQ(JoinThread(thread), kObject0 + 1);
}

TEST_F(Waits, SleepLastsExactlyItsTimeOnTheClock) {
  HANDLE thread = StartThread([] {
    Sleep(8192);
    return DWORD{7};
  });
  ASSERT_TRUE(zx::AwaitBlockedWaiters(1));
  clock_.Advance(8191);
  EXPECT_EQ(WaitForSingleObject(thread, 0), kTimeout);
  clock_.Advance(1);
  EXPECT_EQ(JoinThread(thread), 7u);
  EXPECT_EQ(SleepEx(0, TRUE), 0u);
}

TEST(HostClockWaits, TimeOutOnTimeWithoutSpinning) {
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  const std::clock_t cpuBefore = std::clock();
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(WaitForSingleObject(event, 60), kTimeout);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  const double cpuMs = 1000.0 * static_cast<double>(std::clock() - cpuBefore) / CLOCKS_PER_SEC;
  EXPECT_GE(elapsed, std::chrono::milliseconds(59));
  EXPECT_LT(cpuMs, 30.0) << "the wait burnt the processor";
  CloseHandle(event);
}

TEST_F(Mutexes, OwnerRecursesAndReleasesAsOftenAsItTook) {
  Handles h;
  SetLastError(ERROR_ALREADY_EXISTS);
  HANDLE mutex = h(CreateMutexW(nullptr, TRUE, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(WaitForSingleObject(mutex, 0), kObject0);
  EXPECT_EQ(JoinThread(StartThread([mutex] { return WaitForSingleObject(mutex, 0); })), kTimeout);
  EXPECT_TRUE(ReleaseMutex(mutex));
  EXPECT_EQ(JoinThread(StartThread([mutex] { return WaitForSingleObject(mutex, 0); })), kTimeout);
  EXPECT_TRUE(ReleaseMutex(mutex));
  EXPECT_FALSE(ReleaseMutex(mutex));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_OWNER));
}

TEST_F(Mutexes, OnlyTheOwnerReleases) {
  Handles h;
  HANDLE mutex = h(CreateMutexW(nullptr, TRUE, nullptr));
  const DWORD error = JoinThread(StartThread([mutex] {
    return ReleaseMutex(mutex) ? DWORD{0} : GetLastError();
  }));
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_NOT_OWNER));
  EXPECT_TRUE(ReleaseMutex(mutex));
  EXPECT_FALSE(ReleaseMutex(h(CreateEventW(nullptr, TRUE, TRUE, nullptr))));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(Mutexes, ReleaseWakesTheNextWaiter) {
  Handles h;
  HANDLE mutex = h(CreateMutexW(nullptr, TRUE, nullptr));
  HANDLE thread = StartThread([mutex] {
    const DWORD result = WaitForSingleObject(mutex, INFINITE);
    ReleaseMutex(mutex);
    return result;
  });
  ASSERT_TRUE(zx::AwaitBlockedWaiters(1));
  ReleaseMutex(mutex);
  EXPECT_EQ(JoinThread(thread), kObject0);
}

TEST_F(Mutexes, OwnerThreadEndingAbandonsTheMutex) {
  Handles h;
  HANDLE mutex = h(CreateMutexW(nullptr, FALSE, nullptr));
  HANDLE event = h(CreateEventW(nullptr, TRUE, TRUE, nullptr));
  EXPECT_EQ(JoinThread(StartThread([mutex] { return WaitForSingleObject(mutex, 0); })), kObject0);
  HANDLE list[2] = {event, mutex};
  EXPECT_EQ(WaitForMultipleObjects(2, list, TRUE, INFINITE), kAbandoned0 + 1);
  // The abandoning is reported once; the waiter now owns the mutex normally.
  EXPECT_TRUE(ReleaseMutex(mutex));
  EXPECT_EQ(WaitForSingleObject(mutex, 0), kObject0);
  EXPECT_TRUE(ReleaseMutex(mutex));
}

TEST_F(Mutexes, AbandonedMutexWakesABlockedWaiter) {
  Handles h;
  HANDLE mutex = h(CreateMutexW(nullptr, FALSE, nullptr));
  HANDLE go = h(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  h(StartThread([mutex, go] {
    WaitForSingleObject(mutex, 0);
    return WaitForSingleObject(go, INFINITE);
  }));
  ASSERT_TRUE(zx::AwaitBlockedWaiters(1)) << "the owner holds the mutex and waits";
  HANDLE waiter = StartThread([mutex] { return WaitForSingleObject(mutex, INFINITE); });
  ASSERT_TRUE(zx::AwaitBlockedWaiters(2));
  SetEvent(go);
  EXPECT_EQ(JoinThread(waiter), kAbandoned0);
}

TEST_F(Mutexes, NamedSecondCreatorGetsNoOwnership) {
  Handles h;
  HANDLE first = h(CreateMutexW(nullptr, TRUE, u"zx.sync.single"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  const DWORD probe = JoinThread(StartThread([] {
    HANDLE second = CreateMutexW(nullptr, TRUE, u"zx.sync.single");
    const DWORD existed = GetLastError() == ERROR_ALREADY_EXISTS ? 1 : 0;
    const DWORD owns = WaitForSingleObject(second, 0) == WAIT_OBJECT_0 ? 2 : 0;
    CloseHandle(second);
    return existed | owns;
  }));
  EXPECT_EQ(probe, 1u);
  EXPECT_TRUE(ReleaseMutex(first));
  HANDLE opened = h(OpenMutexW(SYNCHRONIZE, FALSE, u"zx.sync.single"));
  EXPECT_EQ(WaitForSingleObject(opened, 0), kObject0);
  EXPECT_TRUE(ReleaseMutex(first)) << "two handles, one mutex";
  EXPECT_EQ(OpenMutexW(SYNCHRONIZE, FALSE, u"zx.sync.nobody"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(OpenMutexW(SYNCHRONIZE, FALSE, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

// Named mutexes across processes, with a child process of this program in the role "mutex".
class NamedMutexAcrossProcesses : public zx::test::MachineTest {
 protected:
  // The child's report: "<existed> <owns>".
  std::string Probe(const char* name) {
    zx::test::ChildProcess child(zx::test::TestProgram(), "mutex", name);
    EXPECT_TRUE(child.started());
    const std::string report = child.ReadLine();
    child.CloseInput();
    EXPECT_EQ(child.Wait(), 0);
    return report;
  }
};

TEST_F(NamedMutexAcrossProcesses, SecondCreatorSeesTheFirstProcessHoldingIt) {
  EXPECT_EQ(Probe("zx.single"), "0 1") << "nobody had the name";
  HANDLE mutex = CreateMutexA(nullptr, TRUE, "zx.single");
  ASSERT_NE(mutex, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(Probe("zx.single"), "1 0") << "this process owns it";
  ASSERT_TRUE(ReleaseMutex(mutex));
  EXPECT_EQ(Probe("zx.single"), "1 1") << "held but free";
  CloseHandle(mutex);
  EXPECT_EQ(Probe("zx.single"), "0 1") << "the name went with the last handle";
}

TEST_F(NamedMutexAcrossProcesses, WaitEndsWhenTheOwningProcessEnds) {
  zx::test::ChildProcess child(zx::test::TestProgram(), "mutex", "zx.owned");
  ASSERT_TRUE(child.started());
  ASSERT_EQ(child.ReadLine(), "0 1");
  HANDLE mutex = CreateMutexW(nullptr, TRUE, u"zx.owned");
  ASSERT_NE(mutex, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_EQ(WaitForSingleObject(mutex, 0), kTimeout);
  HANDLE opened = OpenMutexW(SYNCHRONIZE, FALSE, u"zx.owned");
  EXPECT_NE(opened, nullptr);
  child.CloseInput();
  // The owner's end frees the lock; the wait notices within its polling step.
  EXPECT_EQ(WaitForSingleObject(mutex, 20000), kObject0);
  EXPECT_EQ(child.Wait(), 0);
  EXPECT_TRUE(ReleaseMutex(mutex));
  CloseHandle(opened);
  CloseHandle(mutex);
}

TEST(CriticalSections, RecursionAndTryEnterFromAnotherThread) {
  CRITICAL_SECTION section;
  InitializeCriticalSection(&section);
  auto tryFromOtherThread = [&section] {
    return JoinThread(StartThread([&section] {
      if (!TryEnterCriticalSection(&section)) return DWORD{0};
      LeaveCriticalSection(&section);
      return DWORD{1};
    }));
  };
  EnterCriticalSection(&section);
  EnterCriticalSection(&section);
  EXPECT_TRUE(TryEnterCriticalSection(&section));
  EXPECT_EQ(section.RecursionCount, 3);
  EXPECT_EQ(reinterpret_cast<ULONG_PTR>(section.OwningThread), GetCurrentThreadId());
  EXPECT_EQ(section.LockCount, 0);
  EXPECT_EQ(tryFromOtherThread(), 0u);
  LeaveCriticalSection(&section);
  LeaveCriticalSection(&section);
  EXPECT_EQ(tryFromOtherThread(), 0u) << "still held once";
  LeaveCriticalSection(&section);
  EXPECT_EQ(section.OwningThread, nullptr);
  EXPECT_EQ(section.LockCount, -1);
  EXPECT_EQ(tryFromOtherThread(), 1u);
  DeleteCriticalSection(&section);
}

TEST(CriticalSections, KeepThreadsOutOfEachOther) {
  CRITICAL_SECTION section;
  ASSERT_TRUE(InitializeCriticalSectionAndSpinCount(&section, 4000));
  EXPECT_EQ(section.SpinCount, 4000u);
  long counter = 0;
  std::vector<HANDLE> threads;
  for (int t = 0; t < 4; ++t) {
    threads.push_back(StartThread([&] {
      for (int i = 0; i < 2000; ++i) {
        EnterCriticalSection(&section);
        const long seen = counter;
        counter = seen + 1;
        LeaveCriticalSection(&section);
      }
      return DWORD{0};
    }));
  }
  for (HANDLE t : threads) JoinThread(t);
  EXPECT_EQ(counter, 8000);
  DeleteCriticalSection(&section);
  EXPECT_EQ(section.LockSemaphore, nullptr);
}

TEST(Interlocked, AnswersTheWin32Values) {
  volatile LONG value = 5;
  EXPECT_EQ(InterlockedIncrement(&value), 6);
  EXPECT_EQ(InterlockedDecrement(&value), 5);
  EXPECT_EQ(InterlockedExchange(&value, 9), 5);
  EXPECT_EQ(InterlockedExchangeAdd(&value, 3), 9);
  EXPECT_EQ(value, 12);
  EXPECT_EQ(InterlockedCompareExchange(&value, 1, 11), 12) << "no match, no swap";
  EXPECT_EQ(value, 12);
  EXPECT_EQ(InterlockedCompareExchange(&value, 1, 12), 12);
  EXPECT_EQ(value, 1);
  value = INT32_MAX;
  EXPECT_EQ(InterlockedIncrement(&value), LONG{INT32_MIN});
}

TEST(Clocks, ManualClockMovesOnlyWhenTold) {
  zx::ManualClock clock(1000);
  EXPECT_EQ(clock.MonotonicMs(), 1000u);
  EXPECT_EQ(clock.WallTime(), zx::ManualClock::kDefaultWallTime);
  clock.Advance(250);
  EXPECT_EQ(clock.MonotonicMs(), 1250u);
  EXPECT_EQ(clock.WallTime(), zx::ManualClock::kDefaultWallTime + 2500000u);
  clock.SetWallTime(42);
  EXPECT_EQ(clock.WallTime(), 42u);
  EXPECT_EQ(clock.MonotonicMs(), 1250u);
  zx::SetClock(&clock);
  EXPECT_EQ(&zx::CurrentClock(), &clock);
  zx::SetClock(nullptr);
  EXPECT_NE(&zx::CurrentClock(), &clock);
  EXPECT_TRUE(zx::CurrentClock().MovesByItself());
}

}  // namespace
