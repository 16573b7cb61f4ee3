// The shell start of the windows and the update checker's launcher with its guard time.
#include "UpdateCheckerLauncher.h"

#include <shellapi.h>

#include "HelperModule.h"
#include "PathHelpers.h"

namespace {

constexpr DWORD kGuardMs = 8192;
constexpr TCHAR kCheckerFile[] = _T("ZEPHRINKXCheckUpdate.exe");
constexpr TCHAR kDefaultArguments[] = _T("checkupdate");

// The last start; "never started" is kept apart, so a clock that starts near 0 does not
// hold back the first start.
struct LastLaunch {
  bool started = false;
  DWORD tick = 0;
};
LastLaunch g_lastLaunch;

CString HelperFolder() {
  WCHAR path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameW(GetHelperModuleHandle(), path, MAX_PATH);
  CString folder(path, static_cast<int>(length));
  const int slash = folder.ReverseFind(_T('\\'));
  return slash >= 0 ? folder.Left(slash) : CString();
}

}  // namespace

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
  const DWORD now = ::GetTickCount();
  if (g_lastLaunch.started && now - g_lastLaunch.tick < kGuardMs) return 1;
  g_lastLaunch = {true, now};
  const CString folder = HelperFolder();
  CString program = folder;
  AppendPathComponent(program, kCheckerFile);
  const LPCTSTR arguments = (lpArguments && *lpArguments) ? lpArguments : kDefaultArguments;
  CWnd* main = AfxGetMainWnd();
  return RunShellExecute(main ? main->GetSafeHwnd() : nullptr, _T("open"), program, arguments, folder,
                         SW_SHOWNORMAL);
}

INT_PTR CheckForUpdates() { return LaunchUpdateChecker(_T("")); }
