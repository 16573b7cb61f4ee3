// The application base: construction of the program's identity and text tables, the start-up
// chain with its hooks, the help commands and the tear-down.
#include <afxdisp.h>
#include <commctrl.h>
#include <gdiplus.h>
#include <objbase.h>
#include <qhtm.h>

#include <clocale>

#include "ConfigurationManager.h"
#include "DlgMainWnd.h"
#include "HalvoranApp.h"
#include "HelperModule.h"
#include "IniReader.h"
#include "LogFile.h"
#include "OSVersionInfo.h"
#include "PathHelpers.h"
#include "ProcessControl.h"
#include "Registry.h"
#include "SystemHelpers.h"
#include "GlobalConstants.h"
#include "WebLinks.h"

CString g_strAppName;
CIniReader* g_pLangIniReader = nullptr;
CIniReader* g_pClientIniReader = nullptr;
HICON g_hAppIcon = nullptr;
BOOL g_bScheduleSwitch = FALSE;
BOOL g_bAutoFixSwitch = FALSE;
BOOL g_bShutdownSwitch = FALSE;
BOOL g_bBringToFront = TRUE;
BOOL g_bSecondInstance = FALSE;
BOOL g_bExiting = FALSE;
BOOL g_bSetLocale = FALSE;
BOOL g_bSettingsInitialised = FALSE;
int g_nAdminLevel = 0;
CString g_strBuildFlavour;
CString g_strCampaignWord;

CString CHalvoranApp::UniqueID;
CString CHalvoranApp::m_sUSER_HASH;

namespace {

constexpr LPCTSTR kUniqueKeyPrefix = _T("ZEPHRINKX_");
constexpr LPCTSTR kUniqueKeySuffix = _T("_24BF8EAB-03C7-4e3c-B10F-1D1F7C0297CB");
constexpr UINT kAppIconId = 1287;
// How long a call into another apartment waits before OLE would speak of a busy server.
constexpr DWORD kMessagePendingDelayMs = 8192;
constexpr UINT ID_HELP = 57670;
constexpr UINT ID_DEFAULT_HELP = 57671;
constexpr UINT ID_HELP_FINDER = 57667;
constexpr UINT ID_CONTEXT_HELP = 57669;

// 1 an administrator with full rights, 2 a member of the Administrators group whose token does
// not pass the rights check, 0 neither.
int DetermineAdminLevel() {
  if (IsUserAdmin()) return 1;
  return IsAdminGroupMember() ? 2 : 0;
}

// The base font: the Segoe face where the system has it, height -12 from Windows 6 on (and
// before it with a Segoe face), -11 otherwise.
void ChooseDefaultFont() {
  SetFontFace(TRUE, _T("tahoma"));
  LONG height = -11;
  CString face = GetFontFaceName();
  if (GetOSMajorVersion() >= 6 || face.MakeUpper().Left(3) == _T("SEG")) height = -12;
  SetSharedFontHeight(height);
}

// HKLM\<product> "PWBBUILDFOR" and "PWBCAM", lower-cased and trimmed.
void ReadBuildFlavour() {
  CRegistry key;
  key.m_dwAccess = 0x20019;
  if (!key.Open(HKEY_LOCAL_MACHINE, GetProductRegistryKeyText())) return;
  if (key.ReadString(_T("PWBBUILDFOR"), g_strBuildFlavour) && !g_strBuildFlavour.IsEmpty())
    g_strBuildFlavour.MakeLower().Trim();
  if (key.ReadString(_T("PWBCAM"), g_strCampaignWord) && !g_strCampaignWord.IsEmpty())
    g_strCampaignWord.MakeLower().Trim();
}

// Admits a message through the window-message filter where the system has one.
void AllowWindowMessage(UINT message) {
  using FilterFn = BOOL (*)(UINT, DWORD);
  const HMODULE user = GetModuleHandleW(_T("user32.dll"));
  const auto filter = user ? reinterpret_cast<FilterFn>(GetProcAddress(user, "ChangeWindowMessageFilter")) : nullptr;
  if (filter) filter(message, 1);
}

}  // namespace

IMPLEMENT_DYNCREATE(CHalvoranApp, CWinAppEx)

BEGIN_MESSAGE_MAP(CHalvoranApp, CWinAppEx)
  ON_COMMAND(ID_HELP, &CHalvoranApp::OnHelp)
  ON_COMMAND(ID_DEFAULT_HELP, &CHalvoranApp::OnHelp)
  ON_COMMAND(ID_HELP_FINDER, &CHalvoranApp::OnHelp)
  ON_COMMAND(ID_CONTEXT_HELP, &CHalvoranApp::OnHelp)
  ON_COMMAND(1009, &CHalvoranApp::OnHelp)
  ON_COMMAND(1011, &CHalvoranApp::OnAboutPage)
  ON_COMMAND(1006, &CHalvoranApp::OnHelpPage)
  ON_COMMAND(1003, &CHalvoranApp::OnNothing)
  ON_COMMAND(1004, &CHalvoranApp::OnNothing)
  ON_COMMAND(1008, &CHalvoranApp::OnNothing)
  ON_COMMAND(1010, &CHalvoranApp::OnNothing)
END_MESSAGE_MAP()

CHalvoranApp::CHalvoranApp() : m_strDefaultSection(_T("QVX")) {}

CHalvoranApp::CHalvoranApp(LPCTSTR title, LPCTSTR languageIni) : CWinAppEx(title), m_strDefaultSection(_T("QVX")) {
  g_strAppName = title;
  // The language resource library holds the texts and pictures of every window.
  if (const HMODULE resources = GetResourceModule()) AfxSetResourceHandle(resources);
  g_pLangIniReader = OpenIniReader(languageIni, TRUE);
  g_pClientIniReader = OpenIniReader(_T("client.ini"), TRUE);
  g_bSetLocale = FALSE;
  m_strUniqueKey = kUniqueKeyPrefix + g_strAppName + kUniqueKeySuffix;
  m_arrProcesses.RemoveAll();
  g_bExiting = FALSE;
  GetRunningInstanceMessage();
  Gdiplus::GdiplusStartupInput input;
  Gdiplus::GdiplusStartup(&m_gdiplusToken, &input, nullptr);
  g_nAdminLevel = DetermineAdminLevel();
  ChooseDefaultFont();
}

CHalvoranApp::~CHalvoranApp() {
  m_mapStrings.RemoveAll();
  DeleteIniReader(g_pLangIniReader);
  DeleteIniReader(g_pClientIniReader);
  g_pLangIniReader = g_pClientIniReader = nullptr;
  delete m_pSettings;
  m_arrProcesses.RemoveAll();
  if (m_gdiplusToken) Gdiplus::GdiplusShutdown(m_gdiplusToken);
}

CString CHalvoranApp::GetAppIdentifierUniqueKey() {
  CString key = g_strBrandWord + g_strProductKeyWord + g_strProductName;
  key.Remove(_T(' '));
  return key;
}

BOOL CHalvoranApp::InitInstance() {
  InitLocale();
  CWinAppEx::InitInstance();
  InitCommonControlsAndOle();
  OnCommandLine();
  if (!CheckSingleInstance()) return FALSE;
  InitRichControls();
  CreateSharedFonts();
  InitAppSettings();
  return TRUE;
}

int CHalvoranApp::ExitInstance() {
  if (SUCCEEDED(m_hrCom)) CoUninitialize();
  m_hrCom = E_FAIL;
  g_bExiting = TRUE;
  return CWinAppEx::ExitInstance();
}

void CHalvoranApp::InitLocale() {
  if (!g_bSetLocale) return;
  for (int category : {LC_COLLATE, LC_CTYPE, LC_MONETARY, LC_NUMERIC, LC_TIME, LC_ALL})
    std::setlocale(category, "C");  // the English conventions of the run-time library
}

void CHalvoranApp::InitRichControls() {
  AfxInitRichEdit2();
  InitContextMenuManager();
  InitKeyboardManager();
  InitTooltipManager();
  ReadBuildFlavour();
  // The HTML text control draws for the program, for this library and from the resource library.
  for (HMODULE module : {AfxGetInstanceHandle(), GetHelperModuleHandle(), GetResourceModule()})
    QHTM_Initialize(module);
}

void CHalvoranApp::InitCommonControlsAndOle() {
  if (GetOSMajorVersion() >= 6) {
    for (UINT message : {UINT(WM_COPYDATA), UINT(WM_SETTEXT), UINT(WM_CLOSE), GetRunningInstanceMessage()})
      AllowWindowMessage(message);
  }
  INITCOMMONCONTROLSEX controls{8, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  AfxEnableControlContainer();
  m_hrCom = AfxOleInit() ? S_OK : E_FAIL;
  // Calls into other apartments wait quietly: no busy or not-responding dialog.
  if (COleMessageFilter* filter = AfxOleGetMessageFilter()) {
    filter->SetMessagePendingDelay(kMessagePendingDelayMs);
    filter->EnableNotRespondingDialog(FALSE);
    filter->EnableBusyDialog(FALSE);
  }
}

BOOL CHalvoranApp::OnCommandLine() {
  CString line = m_lpCmdLine ? m_lpCmdLine : GetCommandLineW();
  line.MakeLower();
  line.Replace(_T('/'), _T('-'));
  if ((_T(" ") + line + _T(" ")).Find(_T(" -log ")) >= 0) g_bLogging = TRUE;
  return TRUE;
}

void CHalvoranApp::InitAppSettings() {
  g_bSettingsInitialised = TRUE;
  // The main windows' header offers the help button; a program may switch it off again.
  g_bShowHelpButton = TRUE;
  g_hAppIcon = LoadIconW(AfxFindResourceHandle(MAKEINTRESOURCE(kAppIconId), RT_GROUP_ICON),
                         MAKEINTRESOURCE(kAppIconId));
  CString registryKey = g_strBrandWord;
  AppendPathComponent(registryKey, g_strProductKeyWord);
  AppendPathComponent(registryKey, g_strAppName);
  SetRegistryKey(registryKey);
  SetRegistryBase(g_strAppName);
  delete m_pSettings;
  m_pSettings = CConfigurationManager::Create(g_strAppName);
  CString folder;
  GetModuleFolder(nullptr, folder);
  if (!folder.IsEmpty()) SetCurrentDirectoryW(folder);
}

void CHalvoranApp::OnHelp() {
  CString address;
  GetLangText(address, _T("HELP"), nullptr);
  HVOpenURL(address);
}

void CHalvoranApp::OnAboutPage() { OpenAboutPage(); }
void CHalvoranApp::OnHelpPage() { OpenHelpPage(_T("")); }
void CHalvoranApp::OnNothing() {}

CString GetAppName() { return g_strAppName; }
