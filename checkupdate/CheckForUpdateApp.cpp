// The update checker's application object: switches, the administrator check and the
// hand-over to the window.
#include "CheckForUpdateApp.h"

#include <winuser.h>

#include "CheckUpdateSwitches.h"
#include "DlgBaseMessageBoxWndBase.h"
#include "DlgCheckForUpdate.h"
#include "ProcessControl.h"
#include "SystemHelpers.h"

namespace {

constexpr LPCTSTR kTitle = _T("Checking for Updates");
constexpr LPCTSTR kLanguageIni = _T("checkupdate.ini");
constexpr LPCTSTR kLanguageSection = _T("CHECKFORUPDATE");

}  // namespace

BEGIN_MESSAGE_MAP(CCheckForUpdateApp, CHalvoranApp)
END_MESSAGE_MAP()

CCheckForUpdateApp::CCheckForUpdateApp() : CHalvoranApp(kTitle, kLanguageIni) {}

CString CCheckForUpdateApp::GetArgumentsText(LPCTSTR commandLine) {
  const CString line = commandLine ? commandLine : _T("");
  int at = 0;
  while (at < line.GetLength() && (line[at] == _T(' ') || line[at] == _T('\t'))) ++at;
  // The program name ends at the first blank outside quotes.
  bool quoted = false;
  for (; at < line.GetLength(); ++at) {
    if (line[at] == _T('"')) quoted = !quoted;
    else if (!quoted && (line[at] == _T(' ') || line[at] == _T('\t'))) break;
  }
  CString arguments = line.Mid(at);
  return arguments.Trim();
}

int CCheckForUpdateApp::AskToRestartElevated(const CString& question) {
  // Only Yes starts the program again; closing the box counts as No.
  return AppMessageBox(question, MB_YESNO | MB_ICONQUESTION);
}

void CCheckForUpdateApp::RunMainWindow(HWND owner) {
  CDlgCheckForUpdate window(owner ? CWnd::FromHandle(owner) : nullptr, CheckUpdateSwitches());
  m_pMainWnd = &window;
  window.DoModal();
  m_pMainWnd = nullptr;
}

BOOL CCheckForUpdateApp::InitInstance() {
  if (!CHalvoranApp::InitInstance()) return FALSE;
  SetLangSection(kLanguageSection);
  tagCheckUpdateSwitches& switches = CheckUpdateSwitches();
  const CString commandLine = GetCommandLineW();
  if (!GetArgumentsText(commandLine).IsEmpty()) ParseSwitches(commandLine, switches);
  if (!IsUserAdmin()) {
    // The main program's background start needs no interaction.
    if (switches.bStartHidden || switches.bStartMinimized) return FALSE;
    CString question;
    GetLangText(question, _T("IDS_ADMIN_MODE_XP"));
    if (AskToRestartElevated(question) != IDYES) return FALSE;
    RestartElevated(GetArgumentsText(commandLine), TRUE);
    if (!IsUserAdmin()) return FALSE;
  }
  RunMainWindow(switches.hParentWnd);
  return FALSE;
}
