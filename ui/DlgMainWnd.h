// CDlgMainWnd: the base of every program's main window. In place of the system frame it has
// an own title bar with close, minimise and maximise or restore buttons, an own system menu,
// a caption band that drags the window, a fixed minimum size, a frame painted from bitmap
// pieces, the launchers of the update checker and the demo program, the scheduled shut-down
// reminder and the shared About box and feedback form. Its handlers are
// entered in the message maps of the windows derived from it.
#pragma once
#include "DlgBaseWnd.h"
#include "HoverButton.h"
#include "HoverButtonWithText.h"

// Library-wide values the main windows set and the programs read back: the header help and
// demo buttons shown, the version line drawn at the bottom of the frame, and the application
// text of the settings record.
extern ZXHELPER_API BOOL g_bShowHelpButton;
extern ZXHELPER_API BOOL g_bShowDemoButton;
extern ZXHELPER_API CString g_strVersionText;
extern ZXHELPER_API CString g_strSharedAppText;

// The main-window font from the base font: height -16, medium weight, ClearType; before
// Windows 6 a face not beginning with "SEG" becomes "Arial" in normal weight.
ZXHELPER_API LOGFONTW MakeMainWindowLogFont(const LOGFONTW& base, DWORD osMajorVersion);

class ZXHELPER_API CDlgMainWnd : public CDlgBaseWnd {
  DECLARE_DYNAMIC(CDlgMainWnd)

 public:
  static constexpr UINT kCloseCommand = 1182;
  static constexpr UINT kMaximizeCommand = 1221;
  static constexpr UINT kMinimizeCommand = 1222;
  static constexpr UINT kHelpCommand = 1219;
  static constexpr UINT kDemoCommand = 1218;
  // The system-menu item that opens the About box.
  static constexpr UINT kAboutSysCommand = 16;
  static constexpr UINT kMinimizeSysCommand = 0x8001;
  // The scheduled shut-down timer a derived window starts.
  static constexpr UINT_PTR kShutdownTimer = 8510;
  static constexpr int kWidth = 772;
  static constexpr int kHeight = 583;
  // The logo, the caption's icon, is drawn from this x at the top.
  static constexpr int kLogoLeft = 7;
  static constexpr DWORD kLaunchGuardMs = 8192;
  static constexpr UINT kDemoEnableDelayMs = 512;
  static constexpr int kMenuTextCount = 6;
  // The help menu's items, in the order of the menu texts.
  static constexpr UINT kFirstHelpMenuCommand = 0x7E00;

  CDlgMainWnd();
  CDlgMainWnd(UINT nIDTemplate, CWnd* pParentWnd);
  ~CDlgMainWnd() override;

  BOOL OnInitDialog() override;

  // The frame, corners, caption and version line inside the rectangle.
  void PaintFrame(CDC* pDC, const CRect& rect);
  // Close, maximise or restore and minimise buttons at the top right of the client area.
  void PlaceTitleButtons();
  // Starts the demo program at most once per 8192 ms; the shell's instance value, or 1
  // when held back.
  INT_PTR RunDemoProgram();

  BOOL IsMaximised() const { return m_bMaximised; }
  BOOL IsResizable() const { return m_bResizable; }
  BOOL IsInitialised() const { return m_bInitialised; }
  BOOL HasSeenSysCommand() const { return m_bSysCommandSeen; }
  void SetResizable(BOOL bResizable) { m_bResizable = bResizable ? TRUE : FALSE; }
  void SetLogoId(UINT nLogoId) { m_nLogoId = nLogoId; }
  UINT GetLogoId() const { return m_nLogoId; }
  // The first system-menu item's text, the About item.
  void SetSysMenuItem(LPCTSTR lpszText) { m_strSysMenuItem = lpszText; }
  const CString& GetSysMenuItem() const { return m_strSysMenuItem; }
  void SetDemoArguments(LPCTSTR lpArguments) { m_strDemoArguments = lpArguments; }
  const LOGFONTW& GetMainFontDescription() const { return m_lfMainFont; }
  // Menu text 0 to 5: web site, online help, check for updates, report feedback, about, demo.
  const CString& GetMenuText(int nIndex) const;
  // The header's help button, when the library's help switch is on and it does not exist
  // yet: "IDS_HELP" 55 to 8 pixels from the right edge, 35 to 58 from the top. Whether it was
  // made.
  BOOL CreateHelpButton();
  CHoverButton& GetCloseButton() { return m_btnClose; }
  CHoverButton& GetMinimizeButton() { return m_btnMinimize; }
  CHoverButton& GetMaximizeButton() { return m_btnMaximize; }
  CHoverButton& GetRestoreButton() { return m_btnRestore; }
  CHoverButtonWithText& GetHelpButton() { return m_btnHelp; }
  CHoverButtonWithText& GetDemoButton() { return m_btnDemo; }

  // Handlers for the maps of the derived windows.
  afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnPaint();
  afx_msg LRESULT OnKickIdle(WPARAM wParam, LPARAM lParam);
  afx_msg void OnMinimizeButton();
  afx_msg void OnMaximizeButton();
  afx_msg void OnCheckForUpdates();
  afx_msg void OnDemoButton();
  afx_msg void OnAbout();
  afx_msg void OnReportFeedback();
  // The help menu at the help button (181 pixels left of it, 22 below its top): web site,
  // online help, check for updates, report feedback, about and, with the demo button, demo.
  afx_msg void OnHelpButton();

 protected:
  // Whether the client point lies on the logo of a window with a system menu.
  BOOL IsOnLogo(CPoint point) const;
  void BuildSystemMenu();
  void CreateTitleButtons();
  void ShowMaximizeOrRestore();
  // The application's main window, or this one while there is none.
  CWnd* ApplicationWindow();

  CHoverButton m_btnClose;
  CHoverButton m_btnMinimize;
  CHoverButton m_btnMaximize;
  CHoverButton m_btnRestore;
  CHoverButtonWithText m_btnHelp;
  CHoverButtonWithText m_btnDemo;
  CString m_strSysMenuItem;
  CString m_strCaption;
  BYTE m_bInitialised = FALSE;
  BYTE m_bMaximised = FALSE;
  BYTE m_bTabsReady = FALSE;
  BYTE m_bSysMenuOn = FALSE;
  BYTE m_bResizable = FALSE;
  BYTE m_bSysCommandSeen = FALSE;
  CString m_strMenuTexts[kMenuTextCount];
  int m_nMinTrackWidth = kWidth;
  int m_nMinTrackHeight = kHeight;
  CString m_strDemoArguments;
  LOGFONTW m_lfMainFont{};
  CFont m_fontMain;
  UINT m_nLogoId = 0;

  DECLARE_MESSAGE_MAP()
};
