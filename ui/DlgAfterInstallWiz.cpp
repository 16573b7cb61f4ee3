// CDlgAfterInstallWiz: the worker's tasks, the registry values they leave, the step marks and
// the animation beside the running step.
#include "DlgAfterInstallWiz.h"

#include <fileapi.h>
#include <shellapi.h>
#include <synchapi.h>

#include <memory>

#include "CheckedFormat.h"
#include "DlgBaseShared.h"
#include "DlgParentTransculent.h"
#include "DrawingHelpers.h"
#include "HelperModule.h"
#include "IniReader.h"
#include "PathHelpers.h"
#include "Registry.h"
#include "RestorePoint.h"

IMPLEMENT_DYNAMIC(CDlgAfterInstallWiz, CDlgBaseWndPopupNagBase)

BEGIN_MESSAGE_MAP(CDlgAfterInstallWiz, CDlgBaseWndPopupNagBase)
  ON_WM_TIMER()
  ON_WM_PAINT()
  ON_COMMAND(1182, &CDlgAfterInstallWiz::OnCancel)
  ON_COMMAND(1222, &CDlgAfterInstallWiz::OnMinimise)
  ON_BN_CLICKED(1190, &CDlgAfterInstallWiz::OnNext)
  ON_BN_CLICKED(1198, &CDlgAfterInstallWiz::OnSkip)
  ON_MESSAGE(CDlgAfterInstallWiz::kStepDoneMessage, &CDlgAfterInstallWiz::OnStepDone)
END_MESSAGE_MAP()

namespace {

constexpr UINT kAnimation = 1179;
constexpr UINT kClip = 1398;
constexpr UINT_PTR kStartTimer = 2009091201;
constexpr UINT_PTR kFinishTimer = 2009091202;
constexpr UINT kStartMs = 64;
constexpr UINT kFinishMs = 100;
constexpr DWORD kAfterProgramMs = 200;
constexpr UINT kPendingBitmap = 1486;
constexpr UINT kDoneBitmap = 1487;
constexpr UINT kSceneBitmap = 1142;
constexpr UINT kStepIcons = 1364;
constexpr int kStepIconSize = 24;
// Each step's line: 72 pixels apart from y 121.
constexpr int kStepTop = 121;
constexpr int kStepPitch = 72;
constexpr DWORD kRunningShownAfterMs = 500;
constexpr DWORD kStatusShownMs = 100;
// The texts of the steps, by kind.
constexpr LPCTSTR kHeadingIds[] = {_T("IDS_M_STRSTEPHEADINGS"), _T("IDS_M_STRSTEPHEADINGS1"),
                                   _T("IDS_M_STRSTEPHEADINGS2"), _T("IDS_M_STRSTEPHEADINGS3")};
constexpr LPCTSTR kDescriptionIds[] = {_T("IDS_M_STRSTEPDESCS"), _T("IDS_M_STRSTEPDESCS1"), _T("IDS_M_STRSTEPDESCS2"),
                                       _T("IDS_M_STRSTEPDESCS3")};
constexpr LPCTSTR kStatusIds[] = {_T("IDS_M_STRSTEPSTATUS"), _T("IDS_M_STRSTEPSTATUS1"), _T("IDS_M_STRSTEPSTATUS2"),
                                  _T("IDS_M_STRSTEPSTATUS3")};
constexpr COLORREF kHeadingColour = 0x323232;
constexpr COLORREF kStepColour = 0x444444;
constexpr COLORREF kDoneColour = 0x56B656;
constexpr TCHAR kProductDisplayName[] = _T("Zephrin Tunevo");
constexpr TCHAR kBackupProgram[] = _T("ZEPHRINKXMorvath.exe");
const TCHAR kSection[] = _T("QVX");

CString Lang(LPCTSTR id) { return GetLangString(id, kSection); }

CString CleanKeyPath() {
  CString path;
  GetProductRegistryKey(path);
  return path + _T("\\SwiftTend\\Quellisk");
}

CString ProductKeyPath() {
  CString path;
  GetProductRegistryKey(path);
  return path;
}

void WriteValue(const CString& path, LPCTSTR name, DWORD value) {
  CRegistry key;
  if (key.Open(HKEY_CURRENT_USER, path, TRUE)) key.WriteDWORDValue(name, value);
}

DWORD ReadValue(const CString& path, LPCTSTR name) {
  CRegistry key;
  DWORD value = 0;
  if (key.Open(HKEY_CURRENT_USER, path)) key.ReadDWORD(name, value);
  return value;
}

// What the worker needs, copied: it never touches the wizard object.
struct AfterInstallJob {
  HWND wizard;
  CString folder;
};

// The status line of a step: from 112 to 31 pixels left of the right edge, 20 high.
CRect StatusRectOf(int width, int step) {
  return CRect(width - 112, step * kStepPitch + kStepTop, width - 31, step * kStepPitch + kStepTop + 20);
}

UINT AfterInstallThread(LPVOID parameter) {
  std::unique_ptr<AfterInstallJob> job(static_cast<AfterInstallJob*>(parameter));
  ::PostMessageW(job->wizard, CDlgAfterInstallWiz::kStepDoneMessage, CDlgAfterInstallWiz::kWorkerStarted, 0);
  CDlgAfterInstallWiz::RunSystemFileBackup(job->folder);
  ::PostMessageW(job->wizard, CDlgAfterInstallWiz::kStepDoneMessage, 1, 0);
  CDlgAfterInstallWiz::CreateFirstInstallRestorePoint();
  ::PostMessageW(job->wizard, CDlgAfterInstallWiz::kStepDoneMessage, 2, 0);
  CDlgAfterInstallWiz::WriteSysBackupSuccess(1);
  ::PostMessageW(job->wizard, CDlgAfterInstallWiz::kStepDoneMessage, 0, 0);
  return 1;
}

}  // namespace

CDlgAfterInstallWiz::CDlgAfterInstallWiz(CWnd* pParentWnd) : CDlgBaseWndPopupNagBase(kTemplateId, pParentWnd) {
  SetShape(FALSE, 503, 253);
}

int CDlgAfterInstallWiz::RunHiddenProgram(LPCTSTR lpszFolder, LPCTSTR lpszFile, LPCTSTR lpszParameters) {
  CString path(lpszFolder);
  if (!path.IsEmpty() && path.Right(1) != _T("\\")) path += _T("\\");
  path += lpszFile;
  if (::GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) return 0;
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_DDEWAIT;
  info.lpFile = path;
  info.lpParameters = lpszParameters;
  info.lpDirectory = lpszFolder;
  info.nShow = SW_HIDE;
  if (!::ShellExecuteExW(&info) || info.hProcess == nullptr) return 0;
  const DWORD waited = ::WaitForSingleObject(info.hProcess, kBackupWaitMs);
  ::CloseHandle(info.hProcess);
  if (waited != WAIT_OBJECT_0) return 0;
  ::Sleep(kAfterProgramMs);
  return 1;
}

bool CDlgAfterInstallWiz::RunSystemFileBackup(LPCTSTR lpszFolder) {
  ResetSystemFileBackupFlag();
  return RunHiddenProgram(lpszFolder, kBackupProgram, _T("runhiddenScan")) == 1 && IsSystemFileBackupFinished();
}

void CDlgAfterInstallWiz::ResetSystemFileBackupFlag() { WriteValue(CleanKeyPath(), _T("CLEANFINISHED"), 0); }

bool CDlgAfterInstallWiz::IsSystemFileBackupFinished() { return ReadValue(CleanKeyPath(), _T("CLEANFINISHED")) == 1; }

int CDlgAfterInstallWiz::CreateFirstInstallRestorePoint() {
  CString description;
  FormatChecked(description, Lang(_T("IDS_FIRST_INSTL")), {kProductDisplayName});
  CreateSystemRestorePoint(description);
  return 1;
}

bool CDlgAfterInstallWiz::ReadSysBackupSuccess() { return ReadValue(ProductKeyPath(), _T("SysBackupSuccess")) > 0; }

void CDlgAfterInstallWiz::WriteSysBackupSuccess(DWORD dwValue) {
  WriteValue(ProductKeyPath(), _T("SysBackupSuccess"), dwValue);
}

BYTE CDlgAfterInstallWiz::UpdateDatabase() { return m_globalUpdate.DownloadDatabaseUpdate() ? 1 : 0; }

void CDlgAfterInstallWiz::LoadStepTexts() {
  for (int step = 0; step < kStepCount; ++step) {
    m_strStepHeadings[step] = Lang(kHeadingIds[step]);
    m_strStepDescriptions[step] = Lang(kDescriptionIds[step]);
    m_strStepStatuses[step] = Lang(kStatusIds[step]);
    m_strStatusPending[step] = Lang(_T("IDS_STRSTATUSPENDING"));
  }
  FormatChecked(m_strStepDescriptions[2], Lang(kDescriptionIds[2]), {kProductDisplayName});
  m_strStatusRunning = Lang(_T("IDS_STRSTATUSPROCESS"));
}

void CDlgAfterInstallWiz::SetStepStatus(int nState) {
  const int step = m_nCurrentStep;
  if (step < 0 || step >= m_nStepCount) return;
  CRect client;
  GetClientRect(&client);
  m_rcStatus = StatusRectOf(client.Width(), step);
  if (nState == kStepRunning) {
    m_strStepStatuses[step].Empty();
    InvalidateRect(&m_rcStatus, FALSE);
    ::Sleep(kRunningShownAfterMs);
    LayoutStepControls(FALSE);
    StartAnimation();
  } else {
    StopAnimation();
    LayoutStepControls(TRUE);
    m_strStepStatuses[step] = Lang(nState == kStepComplete ? _T("IDS_COMPLETE") : _T("IDS_NOCOMPLETE"));
  }
  InvalidateRect(&m_rcStatus, FALSE);
  ::Sleep(kStatusShownMs);
}

void CDlgAfterInstallWiz::LayoutStepControls(BOOL bRunning) {
  CRect client;
  GetClientRect(&client);
  const int W = client.Width();
  const int y = m_nCurrentStep * kStepPitch + kStepTop;
  m_animation.MoveWindow(W - 165, y, 134, 13);
  m_btnSkip.MoveWindow(W - 91, y + 14, 60, 20);
  // The first two steps cannot be passed over; the later ones offer Next and Skip.
  const BOOL offered = m_nCurrentStep >= 2;
  for (CHoverButtonWithText* button : {&m_btnNext, &m_btnSkip}) {
    button->EnableWindow(offered);
    if (offered) button->ShowWindow(SW_SHOW);
  }
  m_animation.ShowWindow(bRunning ? SW_HIDE : SW_SHOW);
  m_animation.EnableWindow(!bRunning);
  m_btnSkip.ShowWindow(bRunning ? SW_HIDE : SW_SHOW);
  if (bRunning) m_btnSkip.EnableWindow(FALSE);
}

void CDlgAfterInstallWiz::DrawStepIcon(Gdiplus::Graphics& graphics, int nStep, BOOL bDone) {
  Gdiplus::Bitmap* strip = m_bmpStepIcons.GetBitmap();
  if (strip == nullptr) return;
  graphics.DrawImage(strip, Gdiplus::Rect(80, nStep * kStepPitch + kStepTop, kStepIconSize, kStepIconSize),
                     nStep * kStepIconSize, bDone ? kStepIconSize : 0, kStepIconSize, kStepIconSize, Gdiplus::UnitPixel);
}

BOOL CDlgAfterInstallWiz::OnInitDialog() {
  CDlgBaseWndPopupNagBase::OnInitDialog();
  m_btnNext.SubclassDlgItem(1190, this);
  m_btnSkip.SubclassDlgItem(1198, this);
  m_animation.SubclassDlgItem(kAnimation, this);
  const TCHAR section[] = _T("IDD_AFTER_INSTALL_WIZARD_MAIN");
  m_btnNext.SetWindowText(GetLangString(_T("IDC_BTN_NEXT_STEP"), section));
  m_btnSkip.SetWindowText(GetLangString(_T("IDC_BTN_SKIP_STEP"), section));
  CenterWindow(AfxGetMainWnd());
  CRect client;
  GetClientRect(&client);
  if (const HRGN region = ::CreateRoundRectRgn(0, 0, client.Width(), client.Height(), 6, 6))
    ::SetWindowRgn(m_hWnd, region, TRUE);
  for (CHoverButtonWithText* button : {&m_btnNext, &m_btnSkip}) {
    button->EnableWindow(FALSE);
    button->ShowWindow(SW_HIDE);
  }
  m_bmpScene.Load(kSceneBitmap);
  const LPCTSTR strip = MAKEINTRESOURCEW(kStepIcons);
  m_bmpStepIcons.Load(kStepIcons, _T("PNG"), AfxFindResourceHandle(strip, _T("PNG")));
  LoadStepTexts();
  m_rcStatus = StatusRectOf(client.Width(), m_nCurrentStep);
  m_strHeading = Lang(_T("IDS_WLCM_WIZ"));
  FormatChecked(m_strSteps[0], Lang(_T("IDS_M_STRSTEPDESCRIPTIONS0")), {kProductDisplayName});
  FormatChecked(m_strSteps[1], Lang(_T("IDS_M_STRSTEPDESCRIPTIONS1")), {kProductDisplayName});
  PlaceAnimation(145);
  StartAnimation();
  SetTimer(kStartTimer, kStartMs, nullptr);
  return TRUE;
}

void CDlgAfterInstallWiz::PlaceAnimation(int y) {
  CRect client;
  GetClientRect(&client);
  m_animation.MoveWindow(client.Width() - 225, y, 134, 13);
}

void CDlgAfterInstallWiz::StartAnimation() {
  const LPCTSTR name = MAKEINTRESOURCEW(kClip);
  const HINSTANCE module = AfxFindResourceHandle(name, _T("AVI"));
  m_animation.SendMessage(ACM_OPENW, reinterpret_cast<WPARAM>(module), reinterpret_cast<LPARAM>(name));
  m_animation.Play(0, 0xFFFF, static_cast<UINT>(-1));
}

void CDlgAfterInstallWiz::StopAnimation() { m_animation.Stop(); }

BOOL CDlgAfterInstallWiz::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN) {
    if (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE || pMsg->wParam == VK_F4 || pMsg->wParam == VK_SPACE)
      pMsg->wParam = 0;
    return FALSE;
  }
  if (pMsg->message == WM_SYSKEYDOWN || pMsg->message == WM_SYSKEYUP) {
    if (pMsg->wParam == VK_F4) {
      pMsg->wParam = 0;
      return FALSE;
    }
    if (pMsg->wParam == VK_SPACE) return FALSE;
    return CDialog::PreTranslateMessage(pMsg);
  }
  if (pMsg->wParam == VK_SPACE) return FALSE;
  return CDialog::PreTranslateMessage(pMsg);
}

void CDlgAfterInstallWiz::OnTimer(UINT_PTR nIDEvent) {
  KillTimer(nIDEvent);
  if (nIDEvent == kStartTimer) {
    CString folder;
    GetModuleFolder(GetHelperModuleHandle(), folder);
    AfxBeginThread(AfterInstallThread, new AfterInstallJob{m_hWnd, folder});
  } else if (nIDEvent == kFinishTimer) {
    // The animation stops; the wizard closes 100 ms later, its window answering meanwhile.
    StopAnimation();
    if (m_bFinishing) {
      Finish();
    } else {
      m_bFinishing = TRUE;
      SetTimer(kFinishTimer, kFinishMs, nullptr);
    }
  } else {
    Default();
  }
}

LRESULT CDlgAfterInstallWiz::OnStepDone(WPARAM wParam, LPARAM) {
  if (wParam == kWorkerStarted) {
    PlaceAnimation(145);
    StartAnimation();
  } else if (wParam == 1) {
    m_bStep1Done = TRUE;
    PlaceAnimation(175);
  } else if (wParam == 2) {
    m_bStep2Done = TRUE;
  } else {
    StopAnimation();
    SetTimer(kFinishTimer, kFinishMs, nullptr);
  }
  Invalidate(FALSE);
  return 0;
}

void CDlgAfterInstallWiz::Finish() { CloseParentDialog(this); }

void CDlgAfterInstallWiz::OnMinimise() { ShowWindow(SW_MINIMIZE); }

void CDlgAfterInstallWiz::OnNext() { m_bNextRequested = TRUE; }

void CDlgAfterInstallWiz::OnSkip() {
  m_bNextRequested = TRUE;
  m_bSkipRequested = TRUE;
}

void CDlgAfterInstallWiz::OnPaint() {
  PaintFramed(kHeadingColour, [&](CDC& memory, const CRect& client) {
    const int W = client.Width();
    memory.TextOut(26, 50, m_strHeading);
    CPen rule(PS_SOLID, 1, 0xE0E0E0);
    CPen* oldPen = memory.SelectObject(&rule);
    memory.MoveTo(26, 75);
    memory.LineTo(W - 26, 75);
    memory.SelectObject(oldPen);
    // The middle piece of the wizard's scene beside the heading, over the popup's backdrop.
    const HBITMAP scene = static_cast<HBITMAP>(m_bmpScene.GetSafeHandle());
    if (scene)
      DrawBitmapPart(&memory, W - 84, 80, (m_bmpScene.GetWidth() - 64) / 2, (m_bmpScene.GetHeight() - 46) / 2, 64, 46,
                     scene, SRCCOPY);
    CRect panel(20, 130, W - 20, 205);
    memory.FillSolidRect(&panel, 0xFCFCFC);
    ::SelectObject(memory.GetSafeHdc(), GetSharedDialogFont());
    const CString done = Lang(_T("IDS_DONE"));
    for (int step = 0; step < 2; ++step) {
      const int y = step == 0 ? 144 : 174;
      const BOOL isDone = IsStepDone(step + 1);
      DrawWhole(&memory, SharedBitmap(isDone ? kDoneBitmap : kPendingBitmap), 26, y - 2);
      memory.SetTextColor(kStepColour);
      memory.TextOut(50, y, m_strSteps[step]);
      if (isDone) {
        memory.SetTextColor(kDoneColour);
        memory.TextOut(W - 90, y, done);
      }
    }
  });
}
