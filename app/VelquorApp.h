// CVelquorApp: the main program's application object. Its start-up runs the shared start-up of
// every program, reads the program's own switch, hands a scheduled start to a running instance,
// removes the one-click key and sets up COM for the process.
#pragma once
#include <optional>

#include "HalvoranApp.h"
#include "DlgBaseAppDlg.h"
#include "ExclusionList.h"
#include "StartSwitches.h"

// The start-up flags of a first install and a very silent install, read by the main window.
extern BOOL g_bFirstInstall;
extern BOOL g_bVerySilentInstall;

// The registered "Scheduler Work Going on" message.
UINT GetSchedulerWorkMessage();
// Sends the dialog window of the title, when there is one, "scheduleScan" as a UTF-16 text in
// WM_COPYDATA whose dwData is the "Scheduler Work Going on" message; FALSE when there is none.
BOOL HandScheduleToRunningWindow(LPCTSTR title);

class CVelquorApp : public CHalvoranApp {
 public:
  // Title and language ini of the product's own row of the product table.
  CVelquorApp();

  // FALSE after every start that ran or refused the program; TRUE only after a scheduled start
  // was handed to a running instance.
  BOOL InitInstance() override;
  int ExitInstance() override;

  // HKCU path of the one-click key: <product key>\SwiftTend\Zephrin Tunevo.
  static CString GetOneClickKeyPath();
  // The main window's settings record: icon, logo, header tabs and their left panels' buttons
  // with their texts from the language file, and the page-change callback.
  void FillMainWindowSettings(tagAppDlgSettings& settings);

  static constexpr UINT kAppIconId = 5032;

  int m_nStartPage = kStartPageScanHome;
  // Hidden scan mode as the command line asks for it; the main window's launcher state keeps
  // the run's launcher flags (hidden scan mode, launcher busy, progress notify) from then on.
  BOOL m_bHiddenScan = FALSE;
  BOOL m_bAlreadyRunningShown = FALSE;
  BOOL m_bScheduleMode = FALSE;
  BOOL m_bTaskBusy = FALSE;
  BOOL m_bRunAtStartup = TRUE;
  CString m_strLastScanText;
  CString m_strUserHash;
  // The record of installed updates ("exc.xml") that the application owns, read again before
  // each scan; the scan engine matches against it. Made at its first use, not while the
  // program's statics are built.
  CExclusionList& GetInstalledUpdates();

 protected:
  // Shows the notice that the program runs already (the owner is the desktop window).
  virtual void ShowAlreadyRunning(const CString& text);
  // Waits before a start with arguments goes on (4096 ms).
  virtual void PauseBeforeStart();
  CString LangText(LPCTSTR stringId);

  DECLARE_MESSAGE_MAP()

 private:
  std::optional<CExclusionList> m_installedUpdates;
  HRESULT m_hrComInit = E_FAIL;
  HRESULT m_hrCom = E_FAIL;
};
