// CDlgShutDown: the countdown shown before the computer shuts down or restarts. In shut-down
// mode the user may postpone the reminder by 10, 20 or 30 minutes or ask not to be reminded;
// in restart mode there is no way out until a restart request has failed. StartShutDownCountdown
// runs it over the translucent backdrop and arms the owner's reminder timer.
#pragma once
#include <afxcmn.h>

#include "DlgBaseWndPopupNagBase.h"
#include "HoverButtonWithText.h"

class ZXHELPER_API CDlgShutDown : public CDlgBaseWndPopupNagBase {
  DECLARE_DYNAMIC(CDlgShutDown)

 public:
  static constexpr UINT kTemplateId = 1276;
  // The owner's timer that brings the countdown back after a postponement.
  static constexpr UINT_PTR kReminderTimer = 8510;

  explicit CDlgShutDown(CWnd* pParentWnd);

  void SetRestartMode(BOOL bRestart) { m_bRestart = bRestart ? TRUE : FALSE; }
  void SetMessageText(LPCTSTR lpszText) { m_strMessage = lpszText ? lpszText : _T(""); }
  // Milliseconds until the reminder, or -1 when none is wanted.
  int GetPostponePeriod() const { return m_nPostponeMs; }
  const CString& GetCountdownText() const { return m_strCountdown; }
  // Whether the last shut-down or restart request failed (the dialog may then be closed).
  BOOL HasActionFailed() const { return m_bActionFailed; }

  BOOL OnInitDialog() override;
  void OnCloseRequest() override;

 protected:
  void OnOK() override;
  void OnCancel() override;

  afx_msg void OnPaint();
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnPostponeChoice();

  // Enables the shut-down privilege and asks Windows to leave; on failure the user is told
  // and the dialog can be closed.
  void ShutDownNow();
  void UpdateCountdownText();
  void AllowClosingAfterFailure();

  BYTE m_bRestart = FALSE;
  CHoverButtonWithText m_btnOK;
  CHoverButtonWithText m_btnCancel;
  CString m_strMessage;
  CProgressCtrl m_progress;
  CComboBox m_cboPostpone;
  int m_nMinutesLeft = 0;
  int m_nSecondsLeft = 0;
  int m_nProgress = 0;
  CString m_strShutDownWord;
  CString m_strRestartWord;
  CString m_strCountdown;
  CRect m_rcCountdown;
  int m_nPostponeMs = -1;
  BYTE m_bActionFailed = FALSE;

  DECLARE_MESSAGE_MAP()
};

// Runs the countdown over the owner; a postponement re-arms the owner's timer 8510 for the
// chosen period. The third argument is not used.
ZXHELPER_API void StartShutDownCountdown(CWnd* pParent, LPCTSTR lpszMessage, int nUnused, BOOL bRestart);
// Whether a postponed reminder is armed.
ZXHELPER_API BOOL IsShutDownPostponed();
