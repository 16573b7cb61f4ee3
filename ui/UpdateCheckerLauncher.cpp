// The shell start of the windows and the update checker's launcher with its guard time.
#include "UpdateCheckerLauncher.h"

#include <shellapi.h>

#include "HelperModule.h"
#include "PathHelpers.h"

namespace {

constexpr DWORD kGuardMs = 8192;
constexpr TCHAR kCheckerFile[] = _T("ZEPHRINKXCheckUpdate.exe");
constexpr TCHAR kDefaultArguments[] = _T("checkupdate");

CLaunchGuard g_checkerGuard(kGuardMs);

}  // namespace

CString GetHelperFolder() {
  WCHAR path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameW(GetHelperModuleHandle(), path, MAX_PATH);
  CString folder(path, static_cast<int>(length));
  const int slash = folder.ReverseFind(_T('\\'));
  return slash >= 0 ? folder.Left(slash) : CString();
}

BOOL CLaunchGuard::TryStart() {
  const DWORD now = ::GetTickCount();
  if (m_bStarted && now - m_lastTick < m_guardMs) return FALSE;
  m_bStarted = TRUE;
  m_lastTick = now;
  return TRUE;
}

INT_PTR RunShellExecute(HWND hOwner, LPCTSTR lpVerb, LPCTSTR lpFile, LPCTSTR lpParameters, LPCTSTR lpDirectory,
                        int nShowCmd) {
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOZONECHECKS;
  if (hOwner && ::IsWindow(hOwner)) {
    info.hwnd = hOwner;
  } else if (CWnd* main = AfxGetMainWnd()) {
    info.hwnd = main->GetSafeHwnd();
  }
  info.lpVerb = lpVerb;
  info.lpFile = lpFile;
  info.lpParameters = lpParameters;
  info.lpDirectory = lpDirectory;
  info.nShow = nShowCmd;
  ::ShellExecuteExW(&info);
  if (info.hProcess) ::CloseHandle(info.hProcess);
  return reinterpret_cast<INT_PTR>(info.hInstApp);
}

INT_PTR LaunchUpdateChecker(LPCTSTR lpArguments) {
  if (!g_checkerGuard.TryStart()) return 1;
  const CString folder = GetHelperFolder();
  CString program = folder;
  AppendPathComponent(program, kCheckerFile);
  const LPCTSTR arguments = (lpArguments && *lpArguments) ? lpArguments : kDefaultArguments;
  CWnd* main = AfxGetMainWnd();
  return RunShellExecute(main ? main->GetSafeHwnd() : nullptr, _T("open"), program, arguments, folder,
                         SW_SHOWNORMAL);
}

INT_PTR CheckForUpdates() { return LaunchUpdateChecker(_T("")); }
