// CDlgBaseAppDlg: the base of the main program's main dialog: the main-window frame with a
// row of up to five header tabs, each owning one left panel with its buttons and pages, a
// page-change callback asked before a tab switches, the header help and demo buttons, the
// database date line and the program's exit. tagAppDlgSettings is what a program hands over
// before the dialog is made.
#pragma once
#include <memory>

#include "DlgLeftDlgBase.h"
#include "DlgMainWnd.h"

// Called as (dialog, code): codes 11 to 15 before header tab 1 to 5 switches (0 keeps the tab
// as it is); the left panels' codes 0, 1 and 3 to 10 (with the panel as the dialog) after
// their commands.
using PageChangeCallback = int (*)(CDlgBaseWnd* pDialog, int nCode);

inline constexpr int kMaxAppTabs = 5;

// One header tab: its left panel's buttons.
struct ZXHELPER_API tagAppTabSettings {
  int nButtonCount = 0;
  // Non-zero: the panel's buttons carry icons.
  int nIcons = 0;
  CStringArray buttonCaptions;
};

struct ZXHELPER_API tagAppDlgSettings {
  HICON hIcon = nullptr;
  UINT nLogoId = 0;
  BYTE bResizable = FALSE;
  BYTE bShowTooltips = FALSE;
  int nTabCount = 0;
  CStringArray tabCaptions;
  BYTE bReserved = FALSE;
  CString strAppText;
  CString strSysMenuItem;
  CString strCaption;
  tagAppTabSettings tabs[kMaxAppTabs];
  PageChangeCallback pPageChange = nullptr;
};

class ZXHELPER_API CDlgBaseAppDlg : public CDlgMainWnd {
  DECLARE_DYNAMIC(CDlgBaseAppDlg)

 public:
  static constexpr UINT kTemplateId = 1284;
  static constexpr UINT kFirstTabCommand = 1259;
  // The first tab's code to the page-change callback; tab n answers 10 + n.
  static constexpr int kFirstTabCode = 11;

  explicit CDlgBaseAppDlg(CWnd* pParentWnd);
  CDlgBaseAppDlg();
  ~CDlgBaseAppDlg() override;

  void SetAppInfo(const tagAppDlgSettings& settings);
  BOOL OnInitDialog() override;

  // Creates the page as a hidden, disabled child of the host, right of the panel's buttons.
  BOOL AddPage(CWnd* pHost, CDlgBaseWnd* pPage, UINT nIDTemplate);
  void ShowPage(CDlgLeftDlgBase* pPanel);
  void SelectTab(CHoverButtonWithText* pButton);
  void EnableTabs(BOOL b1, BOOL b2, BOOL b3, BOOL b4, BOOL b5);
  void EnableClose();
  void DisableClose();
  // Ends the program: closes the dialog and posts the quit message.
  virtual void ExitApp();
  void CreateTabButtons(int nCount, const CStringArray& captions);
  void CreateLeftPanels();
  static BOOL CreateTabButton(CHoverButtonWithText& button, const CRect& rect, CWnd* pParent, UINT nID, LPCTSTR lpszCaption);

  // The line "IDS_DB_DATE" with the date at the bottom of the frame.
  void SetDatabaseDateLine(BOOL bOn, LPCTSTR lpDate);
  // Tab 1 to 5: its button and its left panel (null when it has none).
  CHoverButtonWithText* GetTabButton(int nTab);
  CDlgLeftDlgBase* GetLeftPanel(int nTab) const;
  // Tab nTab shows tab nWithTab's panel from now on; its own panel, if any, is destroyed.
  void ShareLeftPanel(int nTab, int nWithTab);
  CDlgLeftDlgBase* GetCurrentPanel() const { return m_pCurrentPanel; }
  CHoverButtonWithText* GetSelectedTab() const { return m_pSelectedTab; }
  int GetTabCount() const { return m_nTabCount; }
  // The dialog of the application: the first one made.
  static CDlgBaseAppDlg* GetAppDialog();

 protected:
  void OnCancel() override;
  // The window at (0, 0) in 773 x 584 with rounded corners.
  void ShapeWindow();
  // Rounded corners of 9 x 9 around the client rectangle as it is now.
  void ApplyRoundRegion();
  void OnTabButton(int nTab);
  // The left panels' callback: hands their codes on to the page-change callback.
  static int ForwardPanelCode(CDlgLeftDlgBase* pPanel, int nCode);

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnPaint();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnTabButton1();
  afx_msg void OnTabButton2();
  afx_msg void OnTabButton3();
  afx_msg void OnTabButton4();
  afx_msg void OnTabButton5();
  afx_msg void OnCloseButton();

  struct TabRecord {
    int nButtonCount = 0;
    int nIcons = 0;
    CStringArray buttonCaptions;
    std::unique_ptr<CDlgLeftDlgBase> pPanel;
    // Another tab's panel this tab shows instead of one of its own.
    CDlgLeftDlgBase* pSharedPanel = nullptr;
  };

  CStringArray m_tabCaptions;
  CString m_strCaption;
  HICON m_hIcon = nullptr;
  PageChangeCallback m_pPageChange = nullptr;
  BYTE m_bDatabaseDateLine = FALSE;
  CString m_strDatabaseDate;
  CHoverButtonWithText m_btnTabs[kMaxAppTabs + 1];
  CHoverButtonWithText* m_pSelectedTab = nullptr;
  TabRecord m_tabs[kMaxAppTabs];
  CDlgLeftDlgBase* m_pCurrentPanel = nullptr;
  int m_nTabCount = 0;
  BYTE m_bShaped = FALSE;

  DECLARE_MESSAGE_MAP()
};
