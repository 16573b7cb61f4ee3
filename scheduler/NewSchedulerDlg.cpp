// The scheduler's main window: layout, the caption button and the messages of a second start.
#include "NewSchedulerDlg.h"

#include <afxpriv.h>
#include <wingdi.h>
#include <winuser.h>

#include "DlgBaseAppDlg.h"
#include "DlgParentTransculent.h"
#include "DlgViewAllSchedules.h"
#include "IniReader.h"
#include "NewSchedulerApp.h"

namespace {

constexpr UINT kTitleString = 0xE000;
constexpr int kCornerSize = 9;
constexpr int kPaneLeft = 6;
constexpr int kPaneTop = 88;
constexpr int kPaneHeight = 468;
constexpr LPCTSTR kTextSection = _T("IDD_DLG_MAIN_SCHEDULER");

const UINT kShowScheduleMessage = CNewSchedulerApp::GetShowScheduleMessage();

}  // namespace

BEGIN_MESSAGE_MAP(CNewSchedulerDlg, CDlgMainWnd)
  ON_WM_SYSCOMMAND()
  ON_WM_TIMER()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_GETMINMAXINFO()
  ON_WM_PAINT()
  // The title buttons follow the window's width.
  ON_WM_SIZE()
  ON_MESSAGE(WM_KICKIDLE, &CNewSchedulerDlg::OnKickIdle)
  ON_REGISTERED_MESSAGE(kShowScheduleMessage, &CNewSchedulerDlg::OnShowSchedule)
  ON_COMMAND(CDlgMainWnd::kCloseCommand, &CNewSchedulerDlg::OnCloseButton)
  ON_COMMAND(CDlgMainWnd::kMinimizeCommand, &CNewSchedulerDlg::OnMinimizeButton)
  ON_COMMAND(CNewSchedulerDlg::kViewAllId, &CNewSchedulerDlg::OnViewAll)
  ON_COMMAND(CDlgMainWnd::kHelpCommand, &CNewSchedulerDlg::OnHelpButton)
END_MESSAGE_MAP()

CNewSchedulerDlg::CNewSchedulerDlg() : CDlgMainWnd(kTemplateId, nullptr), m_leftPane(this) {}

BOOL CNewSchedulerDlg::OnInitDialog() {
  CDlgMainWnd::OnInitDialog();
  CString title;
  LoadStringW(AfxGetInstanceHandle(), kTitleString, title.GetBuffer(256), 256);
  title.ReleaseBuffer();
  SetWindowText(title);

  SetWindowPos(nullptr, 0, 0, kWindowWidth, kWindowHeight, SWP_NOZORDER);
  const HRGN region = CreateRoundRectRgn(0, 0, kWindowWidth + 1, kWindowHeight + 1, kCornerSize, kCornerSize);
  if (region) ::SetWindowRgn(m_hWnd, region, TRUE);

  CRect client;
  GetClientRect(&client);
  m_leftPane.Create(CDlgSchedulerChild::kTemplateId, this);
  m_leftPane.SetWindowPos(nullptr, kPaneLeft, kPaneTop, client.Width() - 13, kPaneHeight, SWP_NOZORDER);
  m_leftPane.ShowWindow(SW_SHOW);
  m_hIcon = LoadIconW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(kIconId));
  SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
  SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

  // The list of all scheduled tools has no button of its own: the button stays hidden and
  // the list opens on its command alone.
  if (m_btnViewAll.SubclassDlgItem(kViewAllId, this)) {
    m_btnViewAll.SetWindowText(GetLangString(_T("IDC_BTN_VIEW_ALL"), kTextSection));
    m_btnViewAll.SetWindowPos(nullptr, client.left + 36, client.bottom - 200, 115, 20, SWP_NOZORDER);
    m_btnViewAll.ShowWindow(SW_HIDE);
    m_btnViewAll.EnableWindow(FALSE);
  }

  // The one caption button has the look of the main windows' tabs.
  CDlgBaseAppDlg::CreateTabButton(m_btnCaption, CRect(167, 35, 268, 57), this, kCaptionButtonId, _T("Schedule"));
  CreateHelpButton();
  return TRUE;
}

LRESULT CNewSchedulerDlg::OnShowSchedule(WPARAM, LPARAM lParam) {
  const int index = static_cast<int>(lParam);
  // Only the eight tools of the table have a pane; any other index is ignored.
  if (index >= 0 && index <= CDlgLeftDlgBase::kMaxButtons && m_leftPane.GetSafeHwnd()) {
    const UINT command = CDlgLeftDlgBase::kFirstButtonCommand + (index > 0 ? index - 1 : 0);
    m_leftPane.PostMessage(WM_COMMAND, command, 0);
  }
  return 0;
}

void CNewSchedulerDlg::OnLButtonDown(UINT, CPoint point) {
  CPoint screen(point);
  ClientToScreen(&screen);
  SendMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(screen.x, screen.y));
}

void CNewSchedulerDlg::OnCloseButton() {
  PostMessage(WM_CLOSE);
  PostQuitMessage(0);
}

void CNewSchedulerDlg::OnViewAll() {
  CDlgViewAllSchedules list(&m_leftPane);
  RunModalWithBackdrop(this, &list, CDlgViewAllSchedules::kTemplateId);
}
