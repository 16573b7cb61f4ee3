// Stopping and finding programs, restarting elevated and the small system texts.
#include "ProcessControl.h"

#include <afxwin.h>
#include <securitybaseapi.h>
#include <shellapi.h>
#include <shlobj.h>
#include <winprocess.h>

#include <map>
#include <mutex>

#include "EnumProcess.h"
#include "HalvoranApp.h"
#include "OSVersionInfo.h"
#include "PathHelpers.h"
#include "Registry.h"
#include "ScheduleManager.h"
#include "VersionBlock.h"

#ifndef LOCALE_SDECIMAL
#define LOCALE_SDECIMAL 0x0000000Eu
#define LOCALE_STHOUSAND 0x0000000Fu
#define LOCALE_ILZERO 0x00000012u
#define LOCALE_INEGNUMBER 0x00001010u
#endif

namespace {

constexpr DWORD kProgramPathCharacters = 1039;
constexpr UINT kKilledExitCode = 666;

// The last look of IsProcessRunning for each name and folder flag.
struct RunningLook {
  DWORD tick = 0;
  BOOL running = FALSE;
};
std::mutex g_looksLock;
std::map<CString, RunningLook> g_looks;

CString FolderOf(const CString& path) {
  const int slash = path.ReverseFind(_T('\\'));
  return slash < 0 ? CString() : path.Left(slash);
}

BOOL LookForProcess(const CString& name, BOOL sameFolder) {
  const CString ownFolder = FolderOf(GetProgramFilePath());
  CEnumProcess walker;
  CEnumProcess::CProcessEntry entry;
  for (BOOL more = walker.FirstProcess(&entry); more; more = walker.NextProcess(&entry)) {
    if (entry.sFilename.CompareNoCase(name) != 0) continue;
    if (!sameFolder) return TRUE;
    CEnumProcess::CModuleEntry module;
    return walker.FirstModule(entry.dwPID, &module) && FolderOf(module.sFilename).CompareNoCase(ownFolder) == 0;
  }
  return FALSE;
}

CString LocaleText(LCTYPE type, LPCTSTR fallback) {
  WCHAR text[16] = {};
  return GetLocaleInfoW(LOCALE_USER_DEFAULT, type, text, 16) > 0 ? CString(text) : CString(fallback);
}

}  // namespace

BOOL KillProcessByName(LPCTSTR name) {
  if (!name || !*name) return FALSE;
  CEnumProcess walker;
  CEnumProcess::CProcessEntry entry;
  if (!walker.FirstProcess(&entry)) return FALSE;
  do {
    if (entry.sFilename.CompareNoCase(name) != 0) continue;
    HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, entry.dwPID);
    if (!process) continue;
    if (TerminateProcess(process, kKilledExitCode)) Sleep(0);
    CloseHandle(process);
  } while (walker.NextProcess(&entry));
  return TRUE;
}

BOOL IsProcessRunning(LPCTSTR name, DWORD intervalMs, BOOL sameFolder) {
  if (!name || !*name) return FALSE;
  CString key = name;
  key.MakeLower();
  key += sameFolder ? _T("|1") : _T("|0");
  const DWORD now = GetTickCount();
  if (intervalMs != 0) {
    std::lock_guard<std::mutex> guard(g_looksLock);
    const auto found = g_looks.find(key);
    if (found != g_looks.end() && now - found->second.tick <= intervalMs) return found->second.running;
  }
  const BOOL running = LookForProcess(name, sameFolder);
  std::lock_guard<std::mutex> guard(g_looksLock);
  g_looks[key] = {now, running};
  return running;
}

CString GetProgramFilePath() {
  WCHAR path[kProgramPathCharacters + 1] = {};
  GetModuleFileNameW(nullptr, path, kProgramPathCharacters);
  if (PathExists(path)) return path;
  // The first word of the command line, in quotes or up to the first blank.
  CString line = GetCommandLineW();
  line.TrimLeft();
  if (line.Left(1) == _T("\"")) {
    const int close = line.Find(_T('"'), 1);
    return close < 0 ? line.Mid(1) : line.Mid(1, close - 1);
  }
  const int blank = line.FindOneOf(_T(" \t"));
  return blank < 0 ? line : line.Left(blank);
}

BOOL RestartElevated(LPCTSTR parameters, BOOL endThisProcess) {
  const CString program = GetProgramFilePath();
  const CString folder = FolderOf(program);
  CWnd* mainWindow = AfxGetMainWnd();
  const HWND owner = mainWindow ? mainWindow->GetSafeHwnd() : nullptr;
  const LPCTSTR verb = GetOSMajorVersion() >= 6 ? _T("runas") : _T("open");
  const INT_PTR result = ShellStart(owner, verb, program, parameters, folder, SW_SHOWNORMAL);
  if (result <= 32) return FALSE;
  if (endThisProcess) {
    PostQuitMessage(0);
    if (!owner) ExitProcess(0);
    PostMessageW(owner, WM_QUIT, 0, 0);
  }
  return TRUE;
}

CString GetFileVersionText(LPCTSTR path) {
  CString text;
  tagVersionBlock block;
  if (path && PathExists(path) && ReadVersionBlock(path, block)) text = GetFileVersionString(block);
  FreeVersionBlock(block);
  return text;
}

LPTSTR FormatNumberText(LONGLONG value, LPTSTR buffer, int characters) {
  if (!buffer || characters <= 0) return buffer;
  CString digits;
  digits.Format(_T("%I64d"), value < 0 ? -static_cast<ULONGLONG>(value) : static_cast<ULONGLONG>(value));
  const CString separator = LocaleText(LOCALE_STHOUSAND, _T(","));
  CString grouped;
  for (int i = 0; i < digits.GetLength(); ++i) {
    if (i > 0 && (digits.GetLength() - i) % 3 == 0) grouped += separator;
    grouped += digits[i];
  }
  if (value < 0) {
    // The user's negative-number order; 1 ("-1.1") when the locale does not say.
    const CString order = LocaleText(LOCALE_INEGNUMBER, _T("1"));
    switch (order.GetLength() == 1 ? order[0] - _T('0') : 1) {
      case 0: grouped = _T("(") + grouped + _T(")"); break;
      case 2: grouped = _T("- ") + grouped; break;
      case 3: grouped += _T("-"); break;
      case 4: grouped += _T(" -"); break;
      default: grouped = _T("-") + grouped; break;
    }
  }
  lstrcpynW(buffer, grouped, characters);
  return buffer;
}

BOOL IsAdminGroupMember() {
  HANDLE token = nullptr;
  if (!OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &token) &&
      !OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
    return FALSE;
  alignas(TOKEN_GROUPS) BYTE buffer[4096];
  DWORD length = 0;
  const BOOL read = GetTokenInformation(token, TokenGroups, buffer, sizeof buffer, &length);
  CloseHandle(token);
  if (!read) return FALSE;
  SID_IDENTIFIER_AUTHORITY authority = SECURITY_NT_AUTHORITY;
  PSID administrators = nullptr;
  if (!AllocateAndInitializeSid(&authority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0,
                                0, 0, 0, &administrators))
    return FALSE;
  const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer);
  BOOL member = FALSE;
  for (DWORD i = 0; i < groups->GroupCount && !member; ++i) member = EqualSid(groups->Groups[i].Sid, administrators);
  FreeSid(administrators);
  return member;
}

BOOL GetScheduledJobText(LPCTSTR jobName, CString& text) {
  NewCScheduleManager manager;
  if (!manager.HasJob(jobName)) return FALSE;
  text = manager.GetNextRunTimeText(jobName);
  return !text.IsEmpty();
}

void EditProcessList(CStringArray& list, LPCTSTR name, BOOL add) {
  if (!name) return;
  if (add) {
    list.Add(name);
    return;
  }
  CString wanted = name;
  wanted.Trim();
  for (INT_PTR i = 0; i < list.GetSize(); ++i) {
    CString entry = list[i];
    if (entry.Trim().CompareNoCase(wanted) == 0) {
      list.RemoveAt(i);
      return;
    }
  }
}

void KillListedProcesses(CStringArray& list) {
  for (INT_PTR i = 0; i < list.GetSize(); ++i) {
    CString name = list[i];
    if (!name.Trim().IsEmpty()) KillProcessByName(name);
  }
  list.RemoveAll();
}

CString GetAppRegistryKey() { return CString(GetProductRegistryKeyText()) + _T("\\") + GetAppName(); }

CString GetAppDataFolder() {
  CString folder;
  if (!GetSpecialFolder(CSIDL_APPDATA, folder)) return CString();
  AppendPathComponent(folder, GetAppName());
  CreateDirectoryTree(folder);
  return folder;
}

INT_PTR ShellStart(HWND owner, LPCTSTR verb, LPCTSTR file, LPCTSTR parameters, LPCTSTR folder, int showCommand) {
  return reinterpret_cast<INT_PTR>(ShellExecuteW(owner, verb, file, parameters, folder, showCommand));
}
