// The process clock: the host clock by default, replaceable by a ManualClock in tests.
#include "zx/clock.h"

#include <time.h>

#include <charconv>
#include <cstdlib>
#include <mutex>

#include "zx/waits.h"

namespace zx {
namespace {

// Seconds from 1601-01-01 to 1970-01-01.
constexpr std::uint64_t kUnixEpochSeconds = 11644473600ull;

// Where a test fixes the wall time of a program it runs: FILETIME units, decimal.
constexpr const char* kFixedWallTimeVariable = "ZX_FIXED_WALL_TIME";
// Where a test asks a program it runs to skip its pauses: "1".
constexpr const char* kSkipPausesVariable = "ZX_SKIP_PAUSES";

class HostClock : public Clock {
 public:
  HostClock() {
    if (const char* fixed = std::getenv(kFixedWallTimeVariable)) ReadFixedWallTime(fixed, &fixedWall_);
    const char* skip = std::getenv(kSkipPausesVariable);
    skipsPauses_ = skip != nullptr && std::string_view(skip) == "1";
  }
  std::uint64_t MonotonicMs() const override {
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::uint64_t>(ts.tv_sec) * 1000u +
           static_cast<std::uint64_t>(ts.tv_nsec) / 1000000u + skippedMs_.load();
  }
  std::uint64_t WallTime() const override {
    if (fixedWall_ != 0) return fixedWall_;
    timespec ts{};
    ::clock_gettime(CLOCK_REALTIME, &ts);
    return (static_cast<std::uint64_t>(ts.tv_sec) + kUnixEpochSeconds) * 10000000u +
           static_cast<std::uint64_t>(ts.tv_nsec) / 100u + skippedMs_.load() * 10000u;
  }
  bool MovesByItself() const override { return true; }

  // Moves the clock past a pause instead of waiting for it, when the program was asked to.
  bool Skip(std::uint64_t ms) {
    if (!skipsPauses_) return false;
    {
      std::lock_guard<std::mutex> g(WaitLock());
      skippedMs_.fetch_add(ms);
    }
    NotifyWaiters();
    return true;
  }

 private:
  std::uint64_t fixedWall_ = 0;  // 0: the host's wall time
  bool skipsPauses_ = false;
  std::atomic<std::uint64_t> skippedMs_{0};  // the pauses skipped so far
};

HostClock& Host() {
  static HostClock* host = new HostClock;  // lives past static destruction
  return *host;
}

std::atomic<Clock*> g_clock{nullptr};  // null: the host clock

}  // namespace

bool ReadFixedWallTime(std::string_view text, std::uint64_t* fileTime) {
  std::uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value == 0 || value > kLatestFixedWallTime)
    return false;
  *fileTime = value;
  return true;
}

void SetClock(Clock* clock) {
  {
    std::lock_guard<std::mutex> g(WaitLock());
    g_clock.store(clock);
  }
  NotifyWaiters();
}

bool SkipPause(std::uint64_t ms) { return g_clock.load() == nullptr && Host().Skip(ms); }

Clock& CurrentClock() {
  Clock* clock = g_clock.load();
  return clock ? *clock : Host();
}

ManualClock::ManualClock(std::uint64_t startMs, std::uint64_t wallTime)
    : now_(startMs), wall_(wallTime) {}

void ManualClock::Advance(std::uint64_t ms) {
  {
    std::lock_guard<std::mutex> g(WaitLock());
    now_.fetch_add(ms);
    wall_.fetch_add(ms * 10000u);
  }
  NotifyWaiters();
}

void ManualClock::SetWallTime(std::uint64_t wallTime) {
  {
    std::lock_guard<std::mutex> g(WaitLock());
    wall_.store(wallTime);
  }
  NotifyWaiters();
}

}  // namespace zx
