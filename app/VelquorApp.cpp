// The main program's application object: start-up and command line.
#include "VelquorApp.h"

#include <objbase.h>
#include <synchapi.h>
#include <winreg.h>
#include <winresource.h>
#include <winuser.h>
#include <zx_shreg.h>

#include <mutex>

#include "CheckedFormat.h"
#include "PathHelpers.h"
#include "ProcessControl.h"
#include "ProductValues.h"
#include "Registry.h"
#include "VelquorDlg.h"

BOOL g_bFirstInstall = FALSE;
BOOL g_bVerySilentInstall = FALSE;

namespace {

constexpr LPCTSTR kLanguageSection = _T("Tunevo");
constexpr LPCTSTR kProgramFile = _T("zephrinkx.exe");
constexpr LPCTSTR kDialogClass = _T("#32770");
constexpr DWORD kPauseMs = 4096;

}  // namespace

UINT GetSchedulerWorkMessage() {
  static UINT message = 0;
  static std::once_flag once;
  std::call_once(once, [] { message = RegisterWindowMessageW(_T("Scheduler Work Going on")); });
  return message;
}

BOOL HandScheduleToRunningWindow(LPCTSTR title) {
  const HWND window = FindWindowW(kDialogClass, title);
  if (!window) return FALSE;
  // The text travels with the message: an address in this process means nothing to the
  // running one.
  static const TCHAR kWord[] = _T("scheduleScan");
  COPYDATASTRUCT copy{GetSchedulerWorkMessage(), static_cast<DWORD>(sizeof(kWord)), const_cast<LPTSTR>(kWord)};
  SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy));
  return TRUE;
}

BEGIN_MESSAGE_MAP(CVelquorApp, CHalvoranApp)
END_MESSAGE_MAP()

CVelquorApp::CVelquorApp()
    : CHalvoranApp(GetModuleDisplayName(kLauncherToolIndex), GetModuleIniName(kLauncherToolIndex)) {}

CExclusionList& CVelquorApp::GetInstalledUpdates() {
  if (!m_installedUpdates) m_installedUpdates.emplace();
  return *m_installedUpdates;
}

CString CVelquorApp::GetOneClickKeyPath() {
  CString path;
  GetProductRegistryKey(path);
  AppendPathComponent(path, _T("SwiftTend"));
  AppendPathComponent(path, _T("Zephrin Tunevo"));
  return path;
}

void CVelquorApp::ShowAlreadyRunning(const CString& text) {
  MessageBoxW(GetDesktopWindow(), text, GetAppName(), MB_ICONINFORMATION);
}

void CVelquorApp::PauseBeforeStart() { Sleep(kPauseMs); }

BOOL CVelquorApp::InitInstance() {
  const BOOL started = CHalvoranApp::InitInstance();
  SetLangSection(kLanguageSection);
  const CString oneClickKey = GetOneClickKeyPath();

  if (!started) {
    HKEY key = nullptr;
    if (IsProcessRunning(kProgramFile, 0, FALSE) &&
        RegOpenKeyExW(HKEY_CURRENT_USER, oneClickKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
      RegCloseKey(key);
      CString format, text;
      GetLangText(format, _T("IDS_BQN_OPTIWIZARD_RUNALREADY"), _T(""));
      FormatChecked(text, format, {GetAppName()});
      ShowAlreadyRunning(text);
      m_bAlreadyRunningShown = TRUE;
    }
    return FALSE;
  }

  m_bTaskBusy = FALSE;
  CString argument;
  const int argumentCount = SplitFirstArgument(m_lpCmdLine, argument);
  const CString cleaned = CleanStartArgument(argument);
  const tagStartSwitch startSwitch = ReadStartSwitch(cleaned);
  m_bHiddenScan = startSwitch.hiddenScan;
  if (startSwitch.firstInstall) g_bFirstInstall = TRUE;
  if (startSwitch.verySilentInstall) g_bVerySilentInstall = TRUE;
  if (startSwitch.schedule) {
    if (!g_bSecondInstance) m_bScheduleMode = TRUE;
    else if (HandScheduleToRunningWindow(GetAppName())) return TRUE;
  }

  if (argumentCount > 0 && !m_bHiddenScan) PauseBeforeStart();
  if (!m_bHiddenScan) SHDeleteKeyW(HKEY_CURRENT_USER, oneClickKey);

  m_hrComInit = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  m_hrCom = CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                                 RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);

  m_nStartPage = ChooseStartPage(m_bScheduleMode, cleaned);

  tagAppDlgSettings settings;
  FillMainWindowSettings(settings);
  CVelquorDlg dialog(*this);
  m_pMainWnd = &dialog;
  dialog.SetAppInfo(settings);
  dialog.DoModal();
  m_pMainWnd = nullptr;
  return FALSE;
}

CString CVelquorApp::LangText(LPCTSTR stringId) {
  CString text;
  GetLangText(text, stringId, kLanguageSection);
  return text;
}

void CVelquorApp::FillMainWindowSettings(tagAppDlgSettings& settings) {
  const LPCWSTR icon = MAKEINTRESOURCEW(kAppIconId);
  settings.hIcon = LoadIconW(AfxFindResourceHandle(icon, RT_GROUP_ICON), icon);
  settings.nLogoId = static_cast<UINT>(GetModuleId(kLauncherToolIndex));
  settings.bResizable = FALSE;
  settings.bShowTooltips = FALSE;
  settings.nTabCount = kMaxAppTabs;
  for (LPCTSTR caption : {_T("TABBTN1"), _T("TABBTN5"), _T("TABBTN2"), _T("TABBTN3"), _T("TABBTN4")})
    settings.tabCaptions.Add(LangText(caption));
  settings.bReserved = TRUE;
  settings.strAppText = GetProgramFilePath();
  CString about;
  GetLangText(about, _T("APPABOUT"), _T(""));
  FormatChecked(settings.strSysMenuItem, about, {GetAppName()});
  settings.strCaption = GetModuleIniName(kLauncherToolIndex);

  const struct {
    int count;
    int icons;
    LPCTSTR prefix;
  } kTabs[kMaxAppTabs] = {{5, 1, _T("SCANTAB")}, {1, 0, nullptr}, {4, 1, _T("BACKUP")}, {4, 1, _T("RESTORE")},
                          {4, 0, _T("SETTINGS")}};
  for (int tab = 0; tab < kMaxAppTabs; ++tab) {
    settings.tabs[tab].nButtonCount = kTabs[tab].count;
    settings.tabs[tab].nIcons = kTabs[tab].icons;
    for (int button = 1; button <= kTabs[tab].count; ++button) {
      CString id = _T("TABBTN5");
      if (kTabs[tab].prefix) id.Format(_T("%s%d"), kTabs[tab].prefix, button);
      settings.tabs[tab].buttonCaptions.Add(LangText(id));
    }
  }
  settings.pPageChange = &CVelquorDlg::PageChangeCallback;
}

int CVelquorApp::ExitInstance() {
  // Only an initialisation of this object's own is undone; the base undoes its own.
  if (SUCCEEDED(m_hrComInit)) CoUninitialize();
  m_hrComInit = E_FAIL;
  return CHalvoranApp::ExitInstance();
}
