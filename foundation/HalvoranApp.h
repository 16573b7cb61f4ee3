// The application base of every GUI program of the system: identity, text tables, the
// start-up chain (locale, controls, command line, single instance, fonts, settings), the
// second-start hand-off to the running instance, the shared fonts, the settings accessors
// and the launcher status values.
#pragma once
#include <afxcoll.h>
#include <afxwin.h>
#include <afxwinappex.h>
#include <wingdi.h>

#include "HelperApi.h"

class CConfigurationManager;
class CIniReader;

constexpr int kSharedFontCount = 24;
// The tool index of this product among the launcher's tools (tool word "Tunevo").
constexpr int kLauncherToolIndex = 8;

class ZXHELPER_API CHalvoranApp : public CWinAppEx {
  DECLARE_DYNCREATE(CHalvoranApp)

 public:
  // Only builds the members (for CreateObject).
  CHalvoranApp();
  // The constructor every program uses: its title and its language ini file.
  CHalvoranApp(LPCTSTR title, LPCTSTR languageIni);
  ~CHalvoranApp() override;

  BOOL InitInstance() override;
  int ExitInstance() override;

  // The start-up hooks, run by InitInstance in this order: InitLocale,
  // InitCommonControlsAndOle, OnCommandLine, CheckSingleInstance (FALSE ends start-up),
  // InitRichControls, CreateSharedFonts, InitAppSettings.
  virtual void InitLocale();
  virtual void InitRichControls();
  virtual void InitCommonControlsAndOle();
  virtual void CreateSharedFonts();
  virtual void InitAppSettings();
  virtual BOOL CheckSingleInstance();
  // "-log" (or "/log") anywhere on the command line switches logging on.
  virtual BOOL OnCommandLine();

  void SetLangSection(LPCTSTR section) { m_strDefaultSection = section; }
  const CString& GetLangSection() const { return m_strDefaultSection; }
  // "Zephrin" + "ZephrinKX" + "Zephrin Tunevo" without blanks.
  static CString GetAppIdentifierUniqueKey();
  const CString& GetUniqueKey() const { return m_strUniqueKey; }

  // Text lookup through the program's client and language tables; an empty or null section
  // means the default section.
  CString GetLangText(CString& text, LPCTSTR stringId, LPCTSTR section = nullptr);
  CString GetLangTextA(CString& text, LPCSTR stringId);

  // Settings of the program (HKEY_CURRENT_USER\<settings key path>).
  CString GetSettingsKeyPath() const;
  BOOL SettingExists(LPCTSTR name);
  BOOL ReadSettingString(LPCTSTR name, CString& text);
  LPCTSTR ReadSettingStringRing(LPCTSTR name);
  DWORD ReadSettingDWORD(LPCTSTR name);
  // The number as decimal text in the next of five slots shared by the process.
  LPCTSTR ReadSettingDWORDText(LPCTSTR name);
  ULONGLONG ReadSettingQword(LPCTSTR name);
  BOOL WriteSettingQword(LPCTSTR name, ULONGLONG value);
  int ReadSettingInt(LPCTSTR name);
  BOOL WriteSettingDWORD(LPCTSTR name, DWORD value);
  BOOL WriteSettingInt(LPCTSTR name, int value);
  BOOL WriteSettingString(LPCTSTR name, LPCTSTR text);

  // Launcher status values under <product>\ScanStatusForLauncher\<tool word>. A scan time of
  // 0 leaves "LastScanDateTime" alone. Only kLauncherToolIndex names a tool of this product;
  // other indexes are refused.
  BOOL WriteLauncherStatus(DWORD errorCount, int toolIndex, DWORD iconStatus, LPCTSTR text,
                           LPCTSTR homeText, const CTime& scanTime);
  DWORD ReadLauncherErrorCount(int toolIndex);
  CString ReadLauncherStatus(CString& text, int toolIndex, DWORD& iconStatus, BOOL homePage,
                             BOOL wantDate);

  // Single instance.
  // Reads the switches from the arguments of the command line (without the program's name).
  void ParseInstanceSwitches(LPCTSTR commandLine);
  BOOL CreateAppMutex();
  BOOL ForwardSwitchToRunningInstance();

  afx_msg void OnHelp();
  afx_msg void OnAboutPage();
  afx_msg void OnHelpPage();
  afx_msg void OnNothing();

  CString m_strDefaultSection;
  CMapStringToString m_mapStrings;
  CString m_strUniqueKey;
  CStringArray m_arrProcesses;
  CConfigurationManager* m_pSettings = nullptr;

  // Machine identity of the process (filled by the machine-id code).
  static CString UniqueID;
  static CString m_sUSER_HASH;
  // Fills an empty user hash from the hardware hash, fills the system description texts and
  // copies the user hash to the machine identifier.
  static void InitHardwareHash();

  DECLARE_MESSAGE_MAP()

 private:
  void ActivateRunningInstance();
  HRESULT m_hrCom = E_FAIL;
  ULONG_PTR m_gdiplusToken = 0;
};

// Process-wide state of the application base, read by the programs.
extern ZXHELPER_API CString g_strAppName;
extern ZXHELPER_API CIniReader* g_pLangIniReader;
extern ZXHELPER_API CIniReader* g_pClientIniReader;
extern ZXHELPER_API HICON g_hAppIcon;
extern ZXHELPER_API BOOL g_bScheduleSwitch;
extern ZXHELPER_API BOOL g_bAutoFixSwitch;
extern ZXHELPER_API BOOL g_bShutdownSwitch;
extern ZXHELPER_API BOOL g_bBringToFront;
extern ZXHELPER_API BOOL g_bSecondInstance;
extern ZXHELPER_API BOOL g_bExiting;
extern ZXHELPER_API BOOL g_bSetLocale;
extern ZXHELPER_API BOOL g_bSettingsInitialised;
extern ZXHELPER_API int g_nAdminLevel;
extern ZXHELPER_API CString g_strBuildFlavour;
extern ZXHELPER_API CString g_strCampaignWord;
extern ZXHELPER_API CString g_strFontFace;
extern ZXHELPER_API LONG g_nSharedFontHeight;
extern ZXHELPER_API BYTE g_nSharedCharSet;
extern ZXHELPER_API HFONT g_hSharedFonts[kSharedFontCount];

ZXHELPER_API CString GetAppName();
// The registered "QVX_SCHEDULER_MESSAGE_TO_BE_PASSED_TO_RUNNING_INSTANCE" message.
ZXHELPER_API UINT GetRunningInstanceMessage();
// The text a second start handed over: WM_COPYDATA whose dwData is the running-instance
// message and whose bytes are a UTF-16 text. FALSE (text untouched) for anything else.
ZXHELPER_API BOOL ReadRunningInstanceText(LPARAM copyData, CString& text);
// The language resource library, loaded once for the process (null when it does not load).
ZXHELPER_API HMODULE GetResourceModule();

// Fonts.
ZXHELPER_API CString GetFontFaceName();
ZXHELPER_API void SetFontFace(BOOL preferSegoe, LPCTSTR face);
ZXHELPER_API LONG GetSharedFontHeight();
ZXHELPER_API void SetSharedFontHeight(LONG height);
ZXHELPER_API BYTE GetSharedCharSet();
ZXHELPER_API void SetSharedCharSet(BYTE charSet);
ZXHELPER_API void GetBaseLogFont(LOGFONTW& font);
// The 24 shared font rows built from a base record for a Windows version (quality, weights,
// face); exposed for the tests of the table.
ZXHELPER_API void BuildSharedFontRecords(const LOGFONTW& base, DWORD major, DWORD minor,
                                         LOGFONTW (&records)[kSharedFontCount]);
