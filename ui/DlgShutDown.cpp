// CDlgShutDown: the countdown, the postpone choice, the shut-down or restart request and the
// reminder the owner keeps as its timer.
#include "DlgShutDown.h"

#include <fileapi.h>
#include <processthreadsapi.h>
#include <securitybaseapi.h>
#include <winshutdown.h>

#include "CheckedFormat.h"
#include "DlgBaseMessageBoxWndBase.h"
#include "DlgBaseShared.h"
#include "DlgParentTransculent.h"
#include "IniReader.h"
#include "OSVersionInfo.h"

IMPLEMENT_DYNAMIC(CDlgShutDown, CDlgBaseWndPopupNagBase)

BEGIN_MESSAGE_MAP(CDlgShutDown, CDlgBaseWndPopupNagBase)
  ON_WM_PAINT()
  ON_WM_TIMER()
  ON_CBN_SELCHANGE(1459, &CDlgShutDown::OnPostponeChoice)
END_MESSAGE_MAP()

namespace {

constexpr int kWidth = 552;
constexpr int kHeight = 365;
constexpr UINT kProgress = 1458;
constexpr UINT kPostpone = 1459;
constexpr UINT_PTR kCountdownTimer = 12;
constexpr UINT kTickMs = 1000;
constexpr int kDoNotRemind = 3;
constexpr DWORD kShutdownReason = 0x10;
constexpr int kPendingServicingExitCode = 18;
constexpr UINT kAlertBitmap = 1036;
constexpr UINT kClockBitmap = 1037;
constexpr COLORREF kHeadlineColour = 0x303030;
const TCHAR kSection[] = _T("QVX");

BOOL g_bPostponed = FALSE;

CString Lang(LPCTSTR id) { return GetLangString(id, kSection); }

void PlaceButton(CWnd& button, int x, int y) {
  if (button.GetSafeHwnd()) button.MoveWindow(x, y, 120, 28);
}

// Whether Windows has a servicing operation waiting for the next start.
bool ServicingPending() {
  WCHAR folder[MAX_PATH] = {};
  if (::GetWindowsDirectoryW(folder, MAX_PATH) == 0) return false;
  CString pending(folder);
  pending += _T("\\winsxs\\pending.xml");
  return ::GetFileAttributesW(pending) != INVALID_FILE_ATTRIBUTES && GetOSMajorVersion() > 5;
}

// SeShutdownPrivilege enabled for this process.
bool EnableShutdownPrivilege() {
  HANDLE token = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return false;
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  bool enabled = false;
  if (::LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid)) {
    ::AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    enabled = ::GetLastError() == ERROR_SUCCESS;
  }
  ::CloseHandle(token);
  return enabled;
}

}  // namespace

CDlgShutDown::CDlgShutDown(CWnd* pParentWnd) : CDlgBaseWndPopupNagBase(kTemplateId, pParentWnd) {
  SetShape(TRUE, kWidth, kHeight);
}

BOOL CDlgShutDown::OnInitDialog() {
  CDlgBaseWndPopupNagBase::OnInitDialog();
  m_btnOK.SubclassDlgItem(IDOK, this);
  m_btnCancel.SubclassDlgItem(IDCANCEL, this);
  m_progress.SubclassDlgItem(kProgress, this);
  m_cboPostpone.SubclassDlgItem(kPostpone, this);
  m_btnOK.SetWindowText(GetLangString(_T("IDOK"), _T("IDD_DLG_SHUTDOWN")));
  m_btnCancel.SetWindowText(GetLangString(_T("IDCANCEL"), _T("IDD_DLG_SHUTDOWN")));
  CHoverButtonWithText::SetStyle(m_btnOK, TRUE, TRUE, TRUE);
  CHoverButtonWithText::SetStyle(m_btnCancel, TRUE, FALSE, TRUE);
  CenterWindow(AfxGetMainWnd());
  m_progress.MoveWindow(70, 195, 245, 16);

  CRect client;
  GetClientRect(&client);
  const int W = client.Width();
  const int H = client.Height();
  m_nSecondsLeft = 59;
  int total = 0;
  if (m_bRestart) {
    m_nMinutesLeft = 0;
    total = 59;
    m_btnOK.SetWindowText(Lang(_T("IDS_RESTART")));
    m_cboPostpone.ShowWindow(SW_HIDE);
    PlaceButton(m_btnOK, W - 138, H - 46);
    m_btnCancel.EnableWindow(FALSE);
    m_btnCancel.ShowWindow(SW_HIDE);
  } else {
    m_nMinutesLeft = 4;
    total = 299;
    m_cboPostpone.MoveWindow(165, 220, 150, 16);
    m_cboPostpone.ShowWindow(SW_SHOW);
    for (LPCTSTR id : {_T("IDS_10MIN"), _T("IDS_20MIN"), _T("IDS_30MIN"), _T("IDS_DONT_REMIND")})
      m_cboPostpone.AddString(Lang(id));
    m_cboPostpone.SetCurSel(0);
    PlaceButton(m_btnCancel, W - 138, H - 46);
    m_btnCancel.SetWindowText(Lang(_T("IDS_POSTPONE")));
    PlaceButton(m_btnOK, W - 265, H - 46);
    m_btnOK.SetWindowText(Lang(_T("IDS_SHUTDOWN_NOW")));
  }
  m_progress.SendMessage(PBM_SETRANGE, 0, MAKELPARAM(0, total));
  m_nProgress = 1;
  m_progress.SendMessage(PBM_SETPOS, static_cast<WPARAM>(m_nProgress), 0);

  m_strShutDownWord = Lang(_T("IDS_SHUTDOWN"));
  m_strShutDownWord.MakeLower();
  m_strRestartWord = Lang(_T("IDS_RESTART"));
  m_strRestartWord.MakeLower();
  m_rcCountdown.SetRect(70, 170, W - 30, 190);
  UpdateCountdownText();
  SetTimer(kCountdownTimer, kTickMs, nullptr);
  return TRUE;
}

void CDlgShutDown::UpdateCountdownText() {
  // The language text is a format; one whose conversions do not fit is shown as it stands.
  FormatChecked(m_strCountdown, Lang(_T("IDS_UR_SYSTM_EXP_IN")),
                {m_bRestart ? m_strRestartWord : m_strShutDownWord, m_nMinutesLeft, m_nSecondsLeft});
}

void CDlgShutDown::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kCountdownTimer) return;
  KillTimer(kCountdownTimer);
  --m_nSecondsLeft;
  ++m_nProgress;
  m_progress.SendMessage(PBM_SETPOS, static_cast<WPARAM>(m_nProgress), 0);
  if (m_nSecondsLeft <= 0 && m_nMinutesLeft <= 0) {
    m_nSecondsLeft = 0;
    UpdateCountdownText();
    ShutDownNow();
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return;
  }
  // A minute rolls over at its ":00" second, which is never shown.
  if (m_nSecondsLeft == 0) {
    --m_nMinutesLeft;
    m_nSecondsLeft = 59;
  }
  UpdateCountdownText();
  SetTimer(kCountdownTimer, kTickMs, nullptr);
  InvalidateRect(&m_rcCountdown, FALSE);
}

void CDlgShutDown::ShutDownNow() {
  KillTimer(kCountdownTimer);
  if (EnableShutdownPrivilege()) {
    if (ServicingPending()) {
      ::PostQuitMessage(kPendingServicingExitCode);
      return;
    }
    if (::ExitWindowsEx(m_bRestart ? EWX_REBOOT : EWX_SHUTDOWN, kShutdownReason)) {
      if (CWnd* main = AfxGetMainWnd()) main->PostMessage(WM_CLOSE);
      return;
    }
  }
  AllowClosingAfterFailure();
  AppMessageBox(Lang(m_bRestart ? _T("IDS_RESTART_FAILED") : _T("IDS_SHUTDOWN_FAILED")), MB_ICONSTOP, this);
}

void CDlgShutDown::AllowClosingAfterFailure() {
  m_bActionFailed = TRUE;
  if (!m_bRestart) return;
  // In restart mode the dialog offers no way out while the restart is still coming.
  CRect client;
  GetClientRect(&client);
  PlaceButton(m_btnOK, client.Width() - 265, client.Height() - 46);
  PlaceButton(m_btnCancel, client.Width() - 138, client.Height() - 46);
  m_btnCancel.SetWindowText(Lang(_T("IDS_CANCEL")));
  m_btnCancel.EnableWindow(TRUE);
  m_btnCancel.ShowWindow(SW_SHOW);
}

void CDlgShutDown::OnOK() {
  if (IsEnterIgnored()) return;
  ShutDownNow();
}

void CDlgShutDown::OnCancel() {
  if (IsEscapeIgnored()) return;
  OnCloseRequest();
}

void CDlgShutDown::OnCloseRequest() {
  if (m_bRestart) {
    if (m_bActionFailed) EndWithResult(IDCANCEL);
    return;
  }
  switch (m_cboPostpone.GetCurSel()) {
    case 1: m_nPostponeMs = 1200000; break;
    case 2: m_nPostponeMs = 1800000; break;
    case kDoNotRemind: m_nPostponeMs = -1; break;
    default: m_nPostponeMs = 600000; break;
  }
  EndWithResult(IDCANCEL);
}

void CDlgShutDown::OnPostponeChoice() {
  m_btnCancel.SetWindowText(Lang(m_cboPostpone.GetCurSel() == kDoNotRemind ? _T("IDS_DONT_REMIND") : _T("IDS_POSTPONE")));
  m_btnCancel.Invalidate();
}

void CDlgShutDown::OnPaint() {
  PaintFramed(kHeadlineColour, [&](CDC& memory, const CRect& client) {
    const int W = client.Width();
    DrawWhole(&memory, SharedBitmap(kAlertBitmap), 22, 48);
    DrawWhole(&memory, SharedBitmap(kClockBitmap), 22, 168);
    CRect headline(70, 50, W - 30, 72);
    const CString title = Lang(m_bRestart ? _T("IDS_RESTART_ALERT") : _T("IDS_SHUTDOWN_ALERT"));
    memory.DrawText(title, title.GetLength(), &headline, DT_SINGLELINE | DT_NOPREFIX);

    ::SelectObject(memory.GetSafeHdc(), GetSharedDialogFont());
    memory.SetTextColor(kDialogTextColour);
    DrawWrapped(memory, m_strMessage, CRect(70, 78, W - 30, 118));
    DrawWrapped(memory, Lang(_T("IDS_NOTE")) + _T(" ") + Lang(_T("IDS_SAVE_WORK")), CRect(70, 122, W - 30, 162));
    DrawWrapped(memory, m_strCountdown, m_rcCountdown);
    if (!m_bRestart) DrawWrapped(memory, Lang(_T("IDS_REMIND_ME_IN")), CRect(70, 220, 160, 240));
    DrawWrapped(memory, Lang(m_bRestart ? _T("IDS_COMPOPTI_SYSREBOOT") : _T("IDS_QVX_CANCLE")), CRect(70, 250, W - 30, 300));
  });
}

void StartShutDownCountdown(CWnd* pParent, LPCTSTR lpszMessage, int, BOOL bRestart) {
  CDlgShutDown dialog(pParent);
  dialog.SetRestartMode(bRestart);
  dialog.SetMessageText(lpszMessage);
  RunModalWithBackdrop(pParent, &dialog, CDlgShutDown::kTemplateId);
  if (dialog.GetPostponePeriod() >= 1) {
    g_bPostponed = TRUE;
    if (pParent && pParent->GetSafeHwnd())
      pParent->SetTimer(CDlgShutDown::kReminderTimer, static_cast<UINT>(dialog.GetPostponePeriod()), nullptr);
  } else {
    g_bPostponed = FALSE;
  }
}

BOOL IsShutDownPostponed() { return g_bPostponed; }
