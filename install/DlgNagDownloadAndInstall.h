// CDlgNagDownloadAndInstall: the framed popup that takes chosen result rows from download to
// install. It shows the title and description, the overall progress bar, the current-driver
// label and the status list the runs write their steps into, and holds the run's mode, stop
// flag and counters.
#pragma once
#include <afxcmn.h>

#include "DlgBaseWndPopupNagBase.h"
#include "HoverButtonWithText.h"

class CDlgNagDownloadAndInstall : public CDlgBaseWndPopupNagBase {
  DECLARE_DYNAMIC(CDlgNagDownloadAndInstall)

 public:
  static constexpr UINT kTemplateId = 5186;
  // Runs: one driver, the selected drivers, install the downloaded ones, back up and install.
  enum Mode { kModeNone = 0, kModeDownloadOne = 1, kModeDownloadSelected = 2, kModeInstall = 3, kModeBackupInstall = 4 };
  static constexpr int kWidth = 567;
  static constexpr int kHeight = 398;

  explicit CDlgNagDownloadAndInstall(CWnd* pParentWnd);

  // The overall percentage: the finished items' share plus the current item's share of its
  // own slot; the item's percentage alone when the total is unknown.
  static float OverallPercentage(float total, float current, float itemPercent);

  // Writes a step into the status list: a new line closes the previous one, otherwise the
  // text replaces the current line, which stays open for the next replacement.
  void AddStatusLine(const CString& text, BOOL bNewLine);
  // Moves the overall progress bar for the current item's percentage.
  void UpdateDownloadStatusText(float itemPercent);
  // Sets the drivers to handle in this run and the one now handled (both from 1).
  void SetItemCounts(float total, float current);
  // The buttons of a run: stop shown and enabled, close hidden; the first status line.
  void PrepareRunUi(int mode);
  // The end of a run: stop hidden and disabled, close shown and enabled.
  void RestoreCloseButton();
  void SetTitleText(const CString& title);
  void SetDescriptionText(const CString& description);

  int GetMode() const { return m_nMode; }
  BOOL IsStopRequested() const { return m_nStopRequested != 0; }
  int GetProgressPos() const;
  int GetStatusLineCount() const;
  CString GetStatusLine(int line) const;
  const CString& GetTitleText() const { return m_strTitle; }

  BOOL OnInitDialog() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  void OnSizeLayout(UINT nType, int cx, int cy) override;
  void OnCloseRequest() override;

 protected:
  void OnOK() override;
  void OnCancel() override;

  afx_msg void OnPaint();

  // The results page that opened the popup; told when the popup is closed.
  CWnd* m_pResultsPage = nullptr;
  CToolTipCtrl m_tooltip;
  CProgressCtrl m_progress;
  CListCtrl m_statusList;
  CStatic m_description;
  CStatic m_currentLabel;
  CHoverButtonWithText m_btnClose;
  CHoverButtonWithText m_btnStop;
  CString m_strTitle;
  CRect m_rcTitle;
  int m_nMode = kModeNone;
  int m_nStopRequested = 0;
  float m_fTotal = 0;
  float m_fCurrent = 0;
  float m_fOverallPercent = 0;
  float m_fItemPercent = 0;
  int m_nCurrentLine = 0;
  BYTE m_bLineOpen = FALSE;

  DECLARE_MESSAGE_MAP()
};
