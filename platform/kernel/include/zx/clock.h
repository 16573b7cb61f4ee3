// The one clock of the layer. Every time source (GetTickCount, timeGetTime, GetSystemTime...)
// and every timed wait (Sleep, WaitForSingleObject, and later window timers and message
// queues) reads zx::CurrentClock(), so tests can swap in a ManualClock and test a 120000 ms
// timeout in microseconds. Platform-internal; system code sees the Win32 time functions.
#pragma once
#include <atomic>
#include <cstdint>
#include <string_view>

namespace zx {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since an arbitrary fixed start; never goes back.
  virtual std::uint64_t MonotonicMs() const = 0;
  // UTC wall time in 100-ns units since 1601-01-01 (a FILETIME value).
  virtual std::uint64_t WallTime() const = 0;
  // True when time passes on its own (the host clock); false when it moves only on request,
  // so a waiter may sleep until it is woken instead of until its deadline.
  virtual bool MovesByItself() const = 0;
};

// The host clock's wall time may be fixed: a program started with ZX_FIXED_WALL_TIME (a
// FILETIME value, decimal) sees that time all along while its monotonic time runs with the
// host, as a test pins the wall time of its own clock, so the dates and names it makes are the
// same at every run of a test. This reads the value: false for anything but plain digits naming
// a time after 1601 and before the year 9000.
constexpr std::uint64_t kLatestFixedWallTime = 2334898656000000000ull;
bool ReadFixedWallTime(std::string_view text, std::uint64_t* fileTime);

// A program started with ZX_SKIP_PAUSES=1 (tests that run real programs) does not wait out its
// pauses: with the host clock, a Sleep moves the process's clock forward by the pause at once
// and wakes the waiters, so the program sees the time pass as it would while its waits for
// anything else (other processes, files, the network) keep their host-time length. Answers
// true when the pause was taken that way.
bool SkipPause(std::uint64_t ms);

// The host milliseconds that the process's threads have spent in Sleep so far, summed over the
// threads: what a benchmark takes out of a road's time as its fixed pauses.
std::uint64_t SleptMs();

// Installs a clock for the whole process; nullptr puts the host clock back. The clock must
// outlive its use; swap clocks only while no thread waits on a deadline.
void SetClock(Clock* clock);
// The clock in use (the host clock unless a test installed another).
Clock& CurrentClock();

// A clock for tests: time stands still until the test moves it. Advance wakes every waiter
// whose deadline has passed (zx::WaitUntil re-checks on each move).
class ManualClock : public Clock {
 public:
  // 2000-01-01 00:00:00 UTC as a FILETIME value.
  static constexpr std::uint64_t kDefaultWallTime = 125911584000000000ull;

  explicit ManualClock(std::uint64_t startMs = 0, std::uint64_t wallTime = kDefaultWallTime);
  std::uint64_t MonotonicMs() const override { return now_.load(); }
  std::uint64_t WallTime() const override { return wall_.load(); }
  bool MovesByItself() const override { return false; }

  // Moves both the monotonic and the wall time forward and wakes the waiters.
  void Advance(std::uint64_t ms);
  // Sets the wall time only (the monotonic time never jumps).
  void SetWallTime(std::uint64_t wallTime);

 private:
  std::atomic<std::uint64_t> now_;
  std::atomic<std::uint64_t> wall_;
};

}  // namespace zx
