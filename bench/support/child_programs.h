// Programs that a benchmark's programs leave running (the update checker the main program
// starts, the Task Scheduler's service) are taken over by the benchmark as their parent once
// the program that started them is gone, and ended by the benchmark: by name between rounds,
// so that no round pays for the one before, and all of them at its end.
#pragma once
#include <handleapi.h>
#include <processthreadsapi.h>
#include <synchapi.h>
#include <sys/prctl.h>
#include <tlhelp32.h>
#include <winprocess.h>

#include <string_view>

namespace zx::bench {

inline void AdoptLeftPrograms() { ::prctl(PR_SET_CHILD_SUBREAPER, 1); }

// Ends the benchmark's child processes of that program name ("X.exe"), or all when empty.
inline void EndChildPrograms(std::u16string_view name = {}) {
  constexpr DWORD kGiveUpMs = 20000;
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    if (entry.th32ParentProcessID != GetCurrentProcessId() || (!name.empty() && name != entry.szExeFile)) continue;
    if (const HANDLE left = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID)) {
      TerminateProcess(left, 1);
      WaitForSingleObject(left, kGiveUpMs);
      CloseHandle(left);
    }
  }
  CloseHandle(snapshot);
}

}  // namespace zx::bench
