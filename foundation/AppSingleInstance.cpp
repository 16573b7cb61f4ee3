// Single instance of a program: the switches of a second start, the named mutex, bringing the
// running window to the front, and handing a switch to it as text in WM_COPYDATA.
#include <mutex>

#include "HalvoranApp.h"

namespace {

constexpr LPCTSTR kDialogClass = _T("#32770");
constexpr LPCTSTR kRunningInstanceName = _T("QVX_SCHEDULER_MESSAGE_TO_BE_PASSED_TO_RUNNING_INSTANCE");
// Longest text a running instance accepts from a second start, in characters.
constexpr DWORD kMaxForwardedCharacters = 64;

// The arguments of a whole command line: the program's name (quoted, or up to the first
// blank) is passed over.
CString ArgumentsOf(LPCTSTR commandLine) {
  const CString line = commandLine ? commandLine : _T("");
  int end = 0;
  if (!line.IsEmpty() && line[0] == _T('"')) {
    end = line.Find(_T('"'), 1);
    end = end < 0 ? line.GetLength() : end + 1;
  } else {
    end = line.Find(_T(' '));
    if (end < 0) end = line.GetLength();
  }
  return line.Mid(end);
}

}  // namespace

UINT GetRunningInstanceMessage() {
  static UINT message = 0;
  static std::once_flag once;
  std::call_once(once, [] { message = RegisterWindowMessageW(kRunningInstanceName); });
  return message;
}

BOOL ReadRunningInstanceText(LPARAM copyData, CString& text) {
  const auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(copyData);
  if (!copy || copy->dwData != GetRunningInstanceMessage() || !copy->lpData || copy->cbData % sizeof(WCHAR) != 0 ||
      copy->cbData > (kMaxForwardedCharacters + 1) * sizeof(WCHAR))
    return FALSE;
  const auto* chars = static_cast<const WCHAR*>(copy->lpData);
  DWORD length = 0;
  while (length < copy->cbData / sizeof(WCHAR) && chars[length]) ++length;
  text = CString(chars, static_cast<int>(length));
  return TRUE;
}

void CHalvoranApp::ParseInstanceSwitches(LPCTSTR commandLine) {
  CString line = commandLine;
  line.MakeLower().Trim();
  // A switch that opens the text has no blank before it.
  line.Insert(0, _T(' '));
  line.Replace(_T('-'), _T(' '));
  line.Replace(_T('/'), _T(' '));
  if (line.Find(_T(" schedule")) >= 0) {
    g_bScheduleSwitch = TRUE;
    g_bAutoFixSwitch = g_bShutdownSwitch = FALSE;
  }
  if (line.Find(_T(" autofix")) >= 0) {
    g_bScheduleSwitch = g_bAutoFixSwitch = TRUE;
    g_bShutdownSwitch = FALSE;
  }
  if (line.Find(_T(" shutdown")) >= 0) g_bScheduleSwitch = g_bAutoFixSwitch = g_bShutdownSwitch = TRUE;
}

BOOL CHalvoranApp::CreateAppMutex() {
  // The handle stays open for the life of the process: it is what marks the instance.
  const HANDLE mutex = CreateMutexW(nullptr, TRUE, m_strUniqueKey);
  const DWORD error = GetLastError();
  const BOOL running = error == ERROR_ALREADY_EXISTS || error == ERROR_ACCESS_DENIED;
  if (mutex) ReleaseMutex(mutex);
  return running;
}

void CHalvoranApp::ActivateRunningInstance() {
  HWND window = FindWindowW(kDialogClass, g_strAppName);
  if (!window) window = FindWindowW(nullptr, g_strAppName);
  if (!window) return;
  ShowWindow(window, SW_SHOWNORMAL);
  BringWindowToTop(window);
  SetForegroundWindow(GetLastActivePopup(window));
}

BOOL CHalvoranApp::CheckSingleInstance() {
  // The class library hands the arguments only; the process's own line starts with its name.
  ParseInstanceSwitches(m_lpCmdLine ? CString(m_lpCmdLine) : ArgumentsOf(GetCommandLineW()));
  if (g_bScheduleSwitch) g_bBringToFront = FALSE;
  g_bSecondInstance = CreateAppMutex();
  if (!g_bSecondInstance) return TRUE;
  if (g_bBringToFront) {
    ActivateRunningInstance();
    return FALSE;
  }
  if (!g_bScheduleSwitch && !g_bAutoFixSwitch && !g_bShutdownSwitch) return TRUE;
  return ForwardSwitchToRunningInstance();
}

BOOL CHalvoranApp::ForwardSwitchToRunningInstance() {
  const HWND window = FindWindowW(kDialogClass, g_strAppName);
  if (!window) return TRUE;
  const LPCTSTR word = g_bShutdownSwitch ? _T("shutdown") : g_bAutoFixSwitch ? _T("autofix") : _T("schedulescan");
  // The text itself travels: an address in this process means nothing to the running one.
  COPYDATASTRUCT copy{GetRunningInstanceMessage(), static_cast<DWORD>((lstrlenW(word) + 1) * sizeof(WCHAR)),
                      const_cast<LPTSTR>(word)};
  SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy));
  PostQuitMessage(0);
  return FALSE;
}
