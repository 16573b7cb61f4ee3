// CDlgRestore3Driver: the pause, the restore of the checked drivers on a worker that only
// posts its progress and its answer, the failure count told to the user, and the last page.
#include "DlgRestore3Driver.h"

#include "CheckedFormat.h"
#include "DeviceAnimation.h"
#include "DlgBaseMessageBoxWndBase.h"
#include "DlgRestore2Select.h"
#include "SettingsPageLayout.h"
#include "WizardKeys.h"

namespace {

constexpr UINT kRestoredMessage = WM_APP + 0x251;
constexpr UINT kDriverMessage = WM_APP + 0x252;
constexpr UINT kProgressReset = 1026;  // PBM_SETRANGE32 of 0 to 100 with position 0
constexpr COLORREF kWaitColour = 0x0000AB;
constexpr POINT kDescription{84, 50};
constexpr POINT kNote{38, 110};
constexpr RECT kProgressPlace{38, 300, 554, 320};
constexpr RECT kAnimationPlace{38, 230, 118, 290};

}  // namespace

IMPLEMENT_DYNAMIC(CDlgRestore3Driver, CDlgLeftSideChild)

BEGIN_MESSAGE_MAP(CDlgRestore3Driver, CDlgLeftSideChild)
  ON_WM_TIMER()
  ON_WM_SHOWWINDOW()
  ON_WM_SIZE()
  ON_WM_CTLCOLOR()
  ON_MESSAGE(kRestoredMessage, &CDlgRestore3Driver::OnRestored)
  ON_MESSAGE(kDriverMessage, &CDlgRestore3Driver::OnDriverShown)
END_MESSAGE_MAP()

CDlgRestore3Driver::CDlgRestore3Driver(CRestoreWizardOwner& owner, CDlgRestore2Select& selection, CWnd* pParent)
    : CDlgLeftSideChild(kTemplateId, pParent), m_owner(owner), m_selection(selection), m_labels(*this, kDriverMessage) {}

CDlgRestore3Driver::~CDlgRestore3Driver() { WaitForWorker(); }

void CDlgRestore3Driver::WaitForWorker() {
  if (m_hWorker == nullptr) return;
  WaitForSingleObject(m_hWorker, INFINITE);
  CloseHandle(m_hWorker);
  m_hWorker = nullptr;
}

BOOL CDlgRestore3Driver::OnInitDialog() {
  CDlgLeftSideChild::OnInitDialog();
  SetWindowText(SettingsText(_T("RESTOREDLG3")));
  m_progress.SubclassDlgItem(kProgressId, this);
  m_animation.SubclassDlgItem(kAnimationId, this);
  m_progress.SetRange32(0, 100);
  OnSize(SIZE_RESTORED, 0, 0);
  return TRUE;
}

void CDlgRestore3Driver::OnSize(UINT nType, int cx, int cy) {
  CDlgLeftSideChild::OnSize(nType, cx, cy);
  if (m_progress.GetSafeHwnd() == nullptr) return;
  m_progress.MoveWindow(kProgressPlace.left, kProgressPlace.top, kProgressPlace.right - kProgressPlace.left,
                        kProgressPlace.bottom - kProgressPlace.top);
  m_animation.MoveWindow(kAnimationPlace.left, kAnimationPlace.top, kAnimationPlace.right - kAnimationPlace.left,
                         kAnimationPlace.bottom - kAnimationPlace.top);
  GetDlgItem(kStatusId)->MoveWindow(kProgressPlace.left, kProgressPlace.bottom + 12, 516, 18);
  GetDlgItem(kWaitId)->MoveWindow(kProgressPlace.left, kProgressPlace.bottom + 36, 516, 18);
}

void CDlgRestore3Driver::OnShowWindow(BOOL bShow, UINT nStatus) {
  CDlgLeftSideChild::OnShowWindow(bShow, nStatus);
  if (!bShow) return;
  SetDlgItemText(kStatusId, SettingsText(_T("IDS_WAIT_RESTORE_DRIVER")));
  PlayAnimation(m_animation);
}

void CDlgRestore3Driver::OnTimer(UINT_PTR nIDEvent) {
  switch (nIDEvent) {
    case kStartTimer:
      KillTimer(kStartTimer);
      m_owner.RestoreState().busy = TRUE;
      SetTimer(kPauseTimer, kPauseMs, nullptr);
      return;
    case kPauseTimer:
      KillTimer(kPauseTimer);
      StartRestoring();
      return;
    case kEndTimer:
      KillTimer(kEndTimer);
      m_owner.EnableUi(TRUE);
      m_owner.RestoreState().busy = FALSE;
      return;
    default:
      CDlgLeftSideChild::OnTimer(nIDEvent);
  }
}

void CDlgRestore3Driver::StartRestoring() {
  m_owner.EnableUi(FALSE);
  m_progress.SendMessage(kProgressReset, 0, 100);
  m_progress.SetPos(0);
  m_selection.GetCheckedDrivers(m_names);
  m_owner.RestoreState().driversChosen = static_cast<int>(m_names.GetSize());
  SetDlgItemText(kWaitId, SettingsText(_T("RESTORETAB3DESC3")));
  WaitForWorker();
  m_hWorker = CreateThread(nullptr, 0, &CDlgRestore3Driver::RestoreMain, this, 0, nullptr);
  if (m_hWorker == nullptr) PostMessage(kRestoredMessage, 0, 0);
}

DWORD WINAPI CDlgRestore3Driver::RestoreMain(LPVOID parameter) {
  auto& page = *static_cast<CDlgRestore3Driver*>(parameter);
  int restored = 0;
  const HWND progress = page.m_progress.m_hWnd;
  try {
    restored = page.m_owner.Engine().RestoreSelectedDrivers(
        page.m_owner.StagingFolder(), page.m_names, page.m_selection.GetNamesToIds(), &page.m_outcome,
        [progress](int percent) { ::PostMessageW(progress, PBM_SETPOS, percent, 0); }, page.m_labels.Sink());
  } catch (...) {
    restored = 0;
  }
  ::PostMessageW(page.m_hWnd, kRestoredMessage, restored, 0);
  return 0;
}

LRESULT CDlgRestore3Driver::OnRestored(WPARAM restored, LPARAM) {
  tagRestoreWizardState& state = m_owner.RestoreState();
  state.driversHandled = m_outcome.handled;
  state.driversFailed = m_outcome.failed;
  // A restore that failed before it reached a driver failed every chosen one.
  if (!restored && m_outcome.failed == 0) state.driversHandled = state.driversFailed = state.driversChosen;
  state.noFailure = restored != 0;
  state.restartNeeded = m_outcome.readToEnd;
  if (!restored) {
    CString text;
    FormatChecked(text, SettingsText(_T("IDS_RESTORE_FAILDDRIVER")), {state.driversFailed});
    AppMessageBox(text, MB_OK | MB_ICONSTOP, this);
  }
  StopAnimation(m_animation);
  SetDlgItemText(kWaitId, CString());
  state.restoreStarted = FALSE;
  m_owner.EnableOnlyLeftButton(3);
  m_owner.ShowRestorePage(CWizardOwner::kFourthPage);
  SetTimer(kEndTimer, kPauseMs, nullptr);
  return 0;
}

LRESULT CDlgRestore3Driver::OnDriverShown(WPARAM, LPARAM) {
  m_labels.Show(kStatusId, kWaitId);
  return 0;
}

HBRUSH CDlgRestore3Driver::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  HBRUSH brush = CDlgLeftSideChild::OnCtlColor(pDC, pWnd, nCtlColor);
  if (pWnd != nullptr && static_cast<UINT>(pWnd->GetDlgCtrlID()) == kWaitId) pDC->SetTextColor(kWaitColour);
  return brush;
}

void CDlgRestore3Driver::PaintPage(CDC* pDC, const CRect& rect, BOOL bDrawIcon) {
  CDlgLeftSideChild::PaintPage(pDC, rect, bDrawIcon);
  DrawSettingsText(pDC, _T("RESTORETAB3DESC1"), kDescription);
  DrawSettingsText(pDC, _T("RESTORETAB3DESC2"), kNote);
}

BOOL CDlgRestore3Driver::PreTranslateMessage(MSG* pMsg) {
  return DispatchWizardKeyUnhandled(pMsg) ? FALSE : CDlgLeftSideChild::PreTranslateMessage(pMsg);
}
