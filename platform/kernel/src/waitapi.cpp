// WaitForSingleObject, WaitForMultipleObjects, Sleep and SleepEx on the wait primitive.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "errhandlingapi.h"
#include "handleref.h"
#include "synchapi.h"
#include "zx/clock.h"
#include "zx/waits.h"

DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll,
                             DWORD milliseconds) {
  if (count == 0 || count > MAXIMUM_WAIT_OBJECTS || !handles) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  std::vector<std::shared_ptr<zx::Waitable>> objects;
  objects.reserve(count);
  for (DWORD i = 0; i < count; ++i) {
    auto object = zx::ReferenceObjectAs<zx::Waitable>(handles[i]);
    if (!object) {
      SetLastError(ERROR_INVALID_HANDLE);
      return WAIT_FAILED;
    }
    if (waitAll && std::find(objects.begin(), objects.end(), object) != objects.end()) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return WAIT_FAILED;
    }
    objects.push_back(std::move(object));
  }
  return zx::WaitForObjects(objects, waitAll != FALSE, milliseconds);
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
  return WaitForMultipleObjects(1, &handle, FALSE, milliseconds);
}

namespace {

std::atomic<std::uint64_t> g_sleptMicroseconds{0};

}  // namespace

std::uint64_t zx::SleptMs() { return g_sleptMicroseconds.load() / 1000; }

DWORD SleepEx(DWORD milliseconds, BOOL /*alertable*/) {
  if (milliseconds == 0) {
    std::this_thread::yield();
    return 0;
  }
  if (zx::SkipPause(milliseconds)) return 0;
  const auto start = std::chrono::steady_clock::now();
  {
    std::unique_lock<std::mutex> lock(zx::WaitLock());
    zx::WaitUntil(lock, [] { return false; }, milliseconds);
  }
  const auto slept = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
  g_sleptMicroseconds += static_cast<std::uint64_t>(slept.count());
  return 0;
}

void Sleep(DWORD milliseconds) { SleepEx(milliseconds, FALSE); }
