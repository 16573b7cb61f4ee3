// Tick counts, system time and the FILETIME / SYSTEMTIME conversions, all on the layer's clock.
#include "calendar.h"
#include "errhandlingapi.h"
#include "sysinfoapi.h"
#include "zx/clock.h"

using namespace zx::calendar;

DWORD GetTickCount() { return static_cast<DWORD>(zx::CurrentClock().MonotonicMs()); }

ULONGLONG GetTickCount64() { return zx::CurrentClock().MonotonicMs(); }

DWORD timeGetTime() { return GetTickCount(); }

void GetSystemTimeAsFileTime(LPFILETIME fileTime) {
  *fileTime = MakeFileTime(zx::CurrentClock().WallTime());
}

void GetSystemTime(LPSYSTEMTIME systemTime) {
  ToSystemTime(zx::CurrentClock().WallTime(), *systemTime);
}

BOOL FileTimeToSystemTime(const FILETIME* fileTime, LPSYSTEMTIME systemTime) {
  if (!fileTime || !systemTime || !ToSystemTime(Ticks(*fileTime), *systemTime)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}

BOOL SystemTimeToFileTime(const SYSTEMTIME* systemTime, LPFILETIME fileTime) {
  std::uint64_t ticks = 0;
  if (!systemTime || !fileTime || !ToTicks(*systemTime, ticks)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *fileTime = MakeFileTime(ticks);
  return TRUE;
}

LONG CompareFileTime(const FILETIME* first, const FILETIME* second) {
  const std::uint64_t a = Ticks(*first);
  const std::uint64_t b = Ticks(*second);
  return a < b ? -1 : (a > b ? 1 : 0);
}
