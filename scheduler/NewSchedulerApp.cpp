// The scheduler's application object: the single-instance test, the hand-over to a running
// scheduler and the main window.
#include "NewSchedulerApp.h"

#include <handleapi.h>
#include <synchapi.h>
#include <winuser.h>

#include "DlgMainWnd.h"
#include "NewSchedulerDlg.h"
#include "ProcessControl.h"
#include "PathHelpers.h"
#include "ProductValues.h"

namespace {

constexpr LPCTSTR kLanguageSection = _T("NEWSCHEDULER");
constexpr LPCTSTR kMutexPrefix = _T("ZEPHRINKX_");
constexpr LPCTSTR kMutexName = _T("CG_Scheduler_{92C5B423-76D6-4e85-A186-DCC74D1B3071}");
constexpr LPCTSTR kDialogClass = _T("#32770");
constexpr UINT kTitleString = 0xE000;

}  // namespace

BEGIN_MESSAGE_MAP(CNewSchedulerApp, CHalvoranApp)
END_MESSAGE_MAP()

CNewSchedulerApp::CNewSchedulerApp()
    : CHalvoranApp(GetModuleDisplayName(kModuleIndex), GetModuleIniName(kModuleIndex)) {}

CNewSchedulerApp::~CNewSchedulerApp() {
  if (m_hInstanceMutex) CloseHandle(m_hInstanceMutex);
}

CNewSchedulerApp* GetSchedulerApp() { return dynamic_cast<CNewSchedulerApp*>(AfxGetApp()); }

CString CNewSchedulerApp::NormaliseFirstArgument(LPCTSTR arguments) {
  const CString line = arguments ? arguments : _T("");
  int at = 0;
  while (at < line.GetLength() && (line[at] == _T(' ') || line[at] == _T('\t'))) ++at;
  CString word;
  bool quoted = false;
  for (; at < line.GetLength(); ++at) {
    const TCHAR c = line[at];
    if (c == _T('"')) quoted = !quoted;
    else if (!quoted && (c == _T(' ') || c == _T('\t'))) break;
    else if (c != _T('\\') && c != _T('/') && c != _T('-')) word += c;
  }
  return word.MakeLower();
}

UINT CNewSchedulerApp::GetShowScheduleMessage() {
  static const UINT message = RegisterWindowMessageW(_T("SHOWSCHEDULE_MESSAGE"));
  return message;
}

CString CNewSchedulerApp::GetInstanceMutexName() { return CString(kMutexPrefix) + kMutexName; }

BOOL CNewSchedulerApp::IsAnotherSchedulerRunning() {
  m_hInstanceMutex = CreateMutexW(nullptr, TRUE, GetInstanceMutexName());
  const DWORD error = GetLastError();
  const BOOL running = error == ERROR_ALREADY_EXISTS || error == ERROR_ACCESS_DENIED;
  if (m_hInstanceMutex && !running) ReleaseMutex(m_hInstanceMutex);
  return running;
}

SchedulerTool CNewSchedulerApp::ProductTool() {
  SchedulerTool tool;
  tool.strTitle = _T("Zephrin Tunevo");
  GetModuleFolder(nullptr, tool.strProgramPath);
  AppendPathComponent(tool.strProgramPath, _T("zephrinkx.exe"));
  tool.strJobName = GetProductTaskName();
  tool.strKey = _T("tunevo");
  return tool;
}

void CNewSchedulerApp::ChooseTool(const SchedulerTool& tool) {
  m_strToolTitle = tool.strTitle;
  m_strProgramPath = tool.strProgramPath;
  m_strJobName = tool.strJobName;
  m_strToolKey = tool.strKey;
}

void CNewSchedulerApp::RunMainWindow() {
  CNewSchedulerDlg window;
  // The shared windows read the program's path back; its About item names the program.
  g_strSharedAppText = GetProgramFilePath();
  CString about;
  GetLangText(about, _T("APPABOUT"), kLanguageSection);
  window.SetSysMenuItem(about);
  m_pMainWnd = &window;
  window.DoModal();
  m_pMainWnd = nullptr;
}

BOOL CNewSchedulerApp::InitInstance() {
  m_strFirstArgument = NormaliseFirstArgument(m_lpCmdLine);
  m_strToolKey = _T("tunevo");
  m_nToolIndex = kProductToolIndex;
  if (IsAnotherSchedulerRunning()) {
    CString title;
    LoadStringW(AfxGetInstanceHandle(), kTitleString, title.GetBuffer(256), 256);
    title.ReleaseBuffer();
    if (FindWindowW(kDialogClass, title))
      BroadcastSystemMessageW(BSF_POSTMESSAGE, nullptr, GetShowScheduleMessage(), 0, m_nToolIndex);
  }
  // The shared start-up ends a second start after bringing the first window forward.
  if (!CHalvoranApp::InitInstance()) return FALSE;
  SetLangSection(kLanguageSection);
  RunMainWindow();
  return FALSE;
}
