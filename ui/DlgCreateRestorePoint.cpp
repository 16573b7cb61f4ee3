// CDlgCreateRestorePoint: the wait text, the animation and the two timers.
#include "DlgCreateRestorePoint.h"

#include <winresource.h>

#include "CheckedFormat.h"
#include "DlgBaseShared.h"
#include "IniReader.h"
#include "RestorePoint.h"

IMPLEMENT_DYNAMIC(CDlgCreateRestorePoint, CDlgBaseWnd)

BEGIN_MESSAGE_MAP(CDlgCreateRestorePoint, CDlgBaseWnd)
  ON_WM_TIMER()
END_MESSAGE_MAP()

namespace {

constexpr UINT kWaitText = 12549;
constexpr UINT kAnimation = 12526;
constexpr UINT kClip = 1408;
constexpr UINT_PTR kMakePointTimer = 101;
constexpr UINT_PTR kCloseTimer = 102;
constexpr UINT kTimerMs = 512;
constexpr TCHAR kProductDisplayName[] = _T("Zephrin Tunevo");

}  // namespace

CDlgCreateRestorePoint::CDlgCreateRestorePoint() : CDlgBaseWnd(kTemplateId, nullptr) {}

CDlgCreateRestorePoint::CDlgCreateRestorePoint(CWnd* pParentWnd) : CDlgBaseWnd(kTemplateId, pParentWnd) {}

INT_PTR CDlgCreateRestorePoint::Run(LPCTSTR lpszDescription) {
  m_strDescription = lpszDescription ? lpszDescription : _T("");
  return CDlgBaseWnd::DoModal();
}

INT_PTR CDlgCreateRestorePoint::DoModal() { return static_cast<INT_PTR>(E_NOTIMPL); }

BOOL CDlgCreateRestorePoint::OnInitDialog() {
  CDlgBaseWnd::OnInitDialog();
  m_waitText.SubclassDlgItem(kWaitText, this);
  m_animation.SubclassDlgItem(kAnimation, this);
  // The language text is a format; one whose conversions do not fit is shown as it stands.
  CString wait;
  FormatChecked(wait, GetLangString(_T("IDC_ST_PLS_WAIT"), _T("IDD_DLG_CREATE_RESTORE_POINT")), {kProductDisplayName});
  m_waitText.SetWindowText(wait);
  const LPCTSTR name = MAKEINTRESOURCEW(kTemplateId);
  m_fontScaler.Apply(AfxFindResourceHandle(name, RT_DIALOG), m_hWnd, static_cast<int>(kTemplateId), 96.0);
  CenterWindow(AfxGetMainWnd());
  m_waitText.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(GetSharedCaptionFont()), TRUE);
  StartAnimation();
  SetTimer(kMakePointTimer, kTimerMs, nullptr);
  return TRUE;
}

void CDlgCreateRestorePoint::StartAnimation() {
  const LPCTSTR name = MAKEINTRESOURCEW(kClip);
  const HINSTANCE module = AfxFindResourceHandle(name, _T("AVI"));
  m_animation.SendMessage(ACM_OPENW, reinterpret_cast<WPARAM>(module), reinterpret_cast<LPARAM>(name));
  m_animation.Play(0, 0xFFFF, static_cast<UINT>(-1));
}

void CDlgCreateRestorePoint::OnTimer(UINT_PTR nIDEvent) {
  KillTimer(nIDEvent);
  if (nIDEvent == kMakePointTimer) {
    CreateSystemRestorePoint(m_strDescription);
    SetTimer(kCloseTimer, kTimerMs, nullptr);
  } else if (nIDEvent == kCloseTimer) {
    EndDialog(IDOK);
  }
}
