// CDlgLeftDlgBase: the left panel a main window shows under each header tab: a column of up
// to eight numbered buttons, each owning one page shown to their right, the check-for-updates
// and scan-now buttons, and the panel background with the main window's logo. Clicking a
// button selects it, swaps the visible page and tells the owner through a callback code.
#pragma once
#include "DlgBaseWnd.h"
#include "HoverButtonWithText.h"
#include "HyperLinkBtn.h"
#include "LeftSideBtns.h"

class CDlgLeftDlgBase;
// Called as (panel, code) after a command of the panel; the answer is not used.
using LeftPanelCallback = int (*)(CDlgLeftDlgBase* pPanel, int nCode);

class ZXHELPER_API CDlgLeftDlgBase : public CDlgBaseWnd {
  DECLARE_DYNAMIC(CDlgLeftDlgBase)

 public:
  static constexpr UINT kTemplateId = 1272;
  static constexpr int kMaxButtons = 8;
  static constexpr UINT kFirstButtonCommand = 1199;
  static constexpr UINT kCheckForUpdatesCommand = 1181;
  static constexpr UINT kScanNowCommand = 1197;
  // Panel styles: the scan-now button bound; numbered buttons with or without icons.
  static constexpr int kStyleScanNow = 1;
  static constexpr int kStyleIcons = 2;
  static constexpr int kStyleNoIcons = 3;
  // Owner codes: scan now, check for updates, then buttons 1 to 8 as 3 to 10.
  static constexpr int kCodeScanNow = 0;
  static constexpr int kCodeCheckForUpdates = 1;
  static constexpr int kCodeFirstButton = 3;

  CDlgLeftDlgBase(UINT nIDTemplate, CWnd* pParentWnd);
  // Deletes the pages it holds, each object once.
  ~CDlgLeftDlgBase() override;

  BOOL OnInitDialog() override;

  void SetStyle(int nStyle) { m_nStyle = nStyle; }
  int GetStyle() const { return m_nStyle; }
  void SetOwnerCallback(LeftPanelCallback pCallback) { m_pCallback = pCallback; }
  void SetLaunchUpdateChecker(BOOL bLaunch) { m_bLaunchUpdateChecker = bLaunch ? TRUE : FALSE; }

  // Up to eight buttons without icons; up to seven, with icons when the style says so. Only
  // buttons that have a caption are made.
  void CreateButtons(int nCount, const CStringArray& captions);
  void CreateButtonsFromList(int nCount, const CStringArray& captions);
  // One owner-drawn numbered button (icon index -1: none); a button with an icon starts
  // disabled.
  BOOL CreateLeftButton(CLeftSideBtns& button, const CRect& rect, LPCTSTR lpszCaption, UINT nID, int nIconIndex);

  // Selects the button (1 to 8) and shows its page (null: the current page stays).
  void SelectLeftButton(int nButton, CDlgBaseWnd* pPage);
  // Every button draws itself selected when the index (0-based) is its own position: the
  // first six, or all eight.
  void SelectButton(int nIndex);
  void SelectButtonOf8(int nIndex);
  // Enables or disables each of buttons 1 to 7 that exists.
  void EnableButtons(BOOL b1, BOOL b2, BOOL b3, BOOL b4, BOOL b5, BOOL b6, BOOL b7);
  void EnableFixedButtons();
  void DisableFixedButtons();

  // The page of button 1 to 8 (owned by the panel from then on).
  void SetPage(int nButton, CDlgBaseWnd* pPage);
  CDlgBaseWnd* GetPage(int nButton) const;
  CDlgBaseWnd* GetCurrentPage() const { return m_pCurrentPage; }
  int GetButtonCount() const { return m_nButtonCount; }
  // Button 1 to 8, or null.
  CLeftSideBtns* GetLeftButton(int nButton);
  int GetSelectedButton() const { return m_nSelected; }
  CHoverButtonWithText& GetCheckForUpdatesButton() { return m_btnCheckForUpdates; }
  CHyperLinkBtn& GetScanNowButton() { return m_btnScanNow; }

  // The panel painted through a memory DC filled white.
  virtual void PaintPanel(CDC* pDC);
  // Posts WM_COMMAND with the id to the parent or to this window.
  void PostCommandToParent(UINT nID);
  void PostCommandToSelf(UINT nID);

 protected:
  // Binds the check-for-updates button and, with style 1, the scan-now button.
  void BindControls();
  void CreateButtonRow(int nCount, const CStringArray& captions, BOOL bFromList);
  void TellOwner(int nCode);

  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnScanNow();
  afx_msg void OnCheckForUpdates();
  afx_msg void OnLeftButton(UINT nID);

  int m_nStyle = 0;
  LeftPanelCallback m_pCallback = nullptr;
  CLeftSideBtns m_buttons[kMaxButtons];
  int m_nSelected = 1;
  CHoverButtonWithText m_btnCheckForUpdates;
  CHyperLinkBtn m_btnScanNow;
  int m_nButtonCount = 0;
  BYTE m_bLaunchUpdateChecker = TRUE;
  CDlgBaseWnd* m_pPages[kMaxButtons] = {};
  CDlgBaseWnd* m_pCurrentPage = nullptr;

  DECLARE_MESSAGE_MAP()
};

// The logo bitmap id of the application's main window, drawn at the top of every left panel
// (0 or 1161: none). The main-window base sets it from its settings record.
extern ZXHELPER_API UINT g_nMainWindowLogoId;

// The panel background (bitmap 1096) and the main window's logo at (1, 0).
ZXHELPER_API void DrawPanelBackground(CDC* pDC);
