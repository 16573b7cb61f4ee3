// System helpers of the shared library.
#include "SystemHelpers.h"

#include <securitybaseapi.h>
#include <winuser.h>

#include <algorithm>
#include <vector>

namespace {

FARPROC KernelEntry(LPCSTR name) {
  HMODULE kernel = GetModuleHandleW(_T("kernel32"));
  return kernel ? GetProcAddress(kernel, name) : nullptr;
}

template <class Fn>
Fn KernelFunction(LPCSTR name) {
  return reinterpret_cast<Fn>(KernelEntry(name));
}

ULONGLONG FileTimeValue(const FILETIME& t) {
  return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

}  // namespace

BOOL IsWow64() {
  static const BOOL answer = [] {
    using Fn = BOOL (*)(HANDLE, PBOOL);
    const Fn isWow64Process = KernelFunction<Fn>("IsWow64Process");
    BOOL wow64 = FALSE;
    if (!isWow64Process || !isWow64Process(GetCurrentProcess(), &wow64)) return FALSE;
    return wow64;
  }();
  return answer;
}

CString GetSystemWow64Folder() {
  static const CString folder = [] {
    using Fn = UINT (*)(LPWSTR, UINT);
    const Fn query = KernelFunction<Fn>("GetSystemWow64DirectoryW");
    WCHAR buffer[MAX_PATH] = {};
    if (!IsWow64() || !query || query(buffer, MAX_PATH) == 0) return CString();
    return CString(buffer);
  }();
  return folder;
}

BOOL DisableWow64Redirection(PVOID* oldValue) {
  using Fn = BOOL (*)(PVOID*);
  static const Fn disable = KernelFunction<Fn>("Wow64DisableWow64FsRedirection");
  return IsWow64() && disable ? disable(oldValue) : FALSE;
}

BOOL RevertWow64Redirection(PVOID oldValue) {
  using Fn = BOOL (*)(PVOID);
  static const Fn revert = KernelFunction<Fn>("Wow64RevertWow64FsRedirection");
  return IsWow64() && revert ? revert(oldValue) : FALSE;
}

BOOL IsUserAdmin() {
  HANDLE token = nullptr;
  if (!OpenThreadToken(GetCurrentThread(), TOKEN_DUPLICATE | TOKEN_QUERY, TRUE, &token)) {
    if (GetLastError() != ERROR_NO_TOKEN ||
        !OpenProcessToken(GetCurrentProcess(), TOKEN_DUPLICATE | TOKEN_QUERY, &token))
      return FALSE;
  }
  HANDLE impersonation = nullptr;
  const BOOL duplicated = DuplicateToken(token, SecurityImpersonation, &impersonation);
  CloseHandle(token);
  if (!duplicated) return FALSE;

  BOOL granted = FALSE;
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  PSID administrators = nullptr;
  if (AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0,
                               0, 0, 0, &administrators)) {
    const DWORD aclSize = sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + GetLengthSid(administrators);
    std::vector<BYTE> aclBytes(aclSize, 0);
    auto* acl = reinterpret_cast<PACL>(aclBytes.data());
    SECURITY_DESCRIPTOR descriptor;
    GENERIC_MAPPING mapping{1, 2, 0, 3};
    PRIVILEGE_SET privileges{};
    DWORD privilegesLength = sizeof(privileges), access = 0;
    BOOL status = FALSE;
    if (InitializeAcl(acl, aclSize, ACL_REVISION) &&
        AddAccessAllowedAce(acl, ACL_REVISION, 3, administrators) &&
        InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) &&
        SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE) &&
        SetSecurityDescriptorOwner(&descriptor, administrators, FALSE) &&
        SetSecurityDescriptorGroup(&descriptor, administrators, FALSE) &&
        IsValidSecurityDescriptor(&descriptor) &&
        AccessCheck(&descriptor, impersonation, 1, &mapping, &privileges, &privilegesLength, &access,
                    &status))
      granted = status;
    FreeSid(administrators);
  }
  CloseHandle(impersonation);
  return granted;
}

void PumpPendingMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

CString GetCurrentDateText() { return CTime::GetCurrentTime().Format(_T("%a. %B %d, %Y. %I:%M %p")); }

CString GetDriveFreeText(double* percent, BOOL allDrives) {
  WCHAR systemFolder[MAX_PATH] = {};
  GetSystemDirectoryW(systemFolder, MAX_PATH);
  const WCHAR systemDrive = static_cast<WCHAR>(systemFolder[0] & ~0x20);
  ULONGLONG total = 0, free = 0;
  const DWORD drives = GetLogicalDrives();
  for (int letter = 0; letter < 26; ++letter) {
    if (!(drives & (1u << letter))) continue;
    const WCHAR driveLetter = static_cast<WCHAR>(u'A' + letter);
    if (!allDrives && driveLetter != systemDrive) continue;
    const WCHAR root[] = {driveLetter, u':', u'\\', 0};
    const UINT type = GetDriveTypeW(root);
    if (type != DRIVE_FIXED && type != DRIVE_REMOVABLE) continue;
    if (!GetVolumeInformationW(root, nullptr, 0, nullptr, nullptr, nullptr, nullptr, 0)) continue;
    ULARGE_INTEGER available{}, driveTotal{}, driveFree{};
    if (GetDiskFreeSpaceExW(root, &available, &driveTotal, &driveFree)) {
      total += driveTotal.QuadPart;
      free += driveFree.QuadPart;
    }
    if (!allDrives) break;
  }
  // No measurable drive: report 0 rather than a division by zero.
  const double value = total ? static_cast<double>(free) * 100.0 / static_cast<double>(total) : 0.0;
  if (percent) *percent = value;
  CString text;
  text.Format(_T("%0.2f%%"), value);
  return text;
}

// CCpuUsageMeter -----------------------------------------------------------------------

namespace {

// Sampling state shared by every meter of the process, with the lock that guards it.
struct CpuSamples {
  CpuSamples() { InitializeCriticalSectionAndSpinCount(&lock, 1000); }
  CRITICAL_SECTION lock;
  DWORD lastTick = 0;
  bool sampled = false;
  ULONGLONG wall = 0, idle = 0, kernel = 0, user = 0, processKernel = 0, processUser = 0;
  int count = 0;
  int next = 0;
  short system[5] = {};
  short process[5] = {};
  short average = 0;
};
CpuSamples g_samples;

ULONGLONG WallClock() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return FileTimeValue(now);
}

}  // namespace

CCpuUsageMeter::CCpuUsageMeter() : m_pfnGetSystemTimes(KernelFunction<SystemTimesFn>("GetSystemTimes")) {}

void CCpuUsageMeter::ReadSystemTimes(ULONGLONG& idle, ULONGLONG& kernel, ULONGLONG& user) const {
  FILETIME i{}, k{}, u{};
  if (m_pfnGetSystemTimes && m_pfnGetSystemTimes(&i, &k, &u)) {
    idle = FileTimeValue(i);
    kernel = FileTimeValue(k);
    user = FileTimeValue(u);
  } else {
    idle = kernel = user = 0;
  }
}

short CCpuUsageMeter::GetCpuUsage() {
  CpuSamples& s = g_samples;
  EnterCriticalSection(&s.lock);
  const DWORD now = GetTickCount();
  if (s.sampled && ((now - s.lastTick) & 0x7FFFFFFF) <= 200) {
    const short average = s.average;
    LeaveCriticalSection(&s.lock);
    return average;
  }
  ULONGLONG idle, kernel, user;
  ReadSystemTimes(idle, kernel, user);
  FILETIME created, exited, pk{}, pu{};
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &pk, &pu);
  const ULONGLONG wall = WallClock(), processKernel = FileTimeValue(pk), processUser = FileTimeValue(pu);
  if (s.sampled) {
    const ULONGLONG busyAll = (kernel - s.kernel) + (user - s.user);
    const ULONGLONG idleDelta = idle - s.idle;
    s.system[s.next] = busyAll ? static_cast<short>((busyAll - std::min(idleDelta, busyAll)) * 100 / busyAll) : 0;
    const ULONGLONG wallDelta = wall - s.wall;
    s.process[s.next] = wallDelta ? static_cast<short>(((processKernel - s.processKernel) +
                                                        (processUser - s.processUser)) * 100 / wallDelta)
                                  : 0;
    s.next = (s.next + 1) % 5;
    if (s.count < 5) ++s.count;
    int sum = 0;
    for (int i = 0; i < s.count; ++i) sum += s.system[i];
    s.average = static_cast<short>(sum / s.count);
  }
  s.sampled = true;
  s.lastTick = now;
  s.wall = wall;
  s.idle = idle;
  s.kernel = kernel;
  s.user = user;
  s.processKernel = processKernel;
  s.processUser = processUser;
  const short average = s.average;
  LeaveCriticalSection(&s.lock);
  return average;
}
