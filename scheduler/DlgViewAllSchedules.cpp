// The view-all list of the scheduler: its layout, its one row per scheduled tool and the
// "Edit" link that opens a tool's pane.
#include "DlgViewAllSchedules.h"

#include <winuser.h>

#include "DlgButtonStyles.h"
#include "DlgLeftDlgBase.h"
#include "DlgParentTransculent.h"
#include "IniReader.h"
#include "NewSchedulerApp.h"
#include "ScheduleJobManager.h"

IMPLEMENT_DYNAMIC(CDlgViewAllSchedules, CDlgBaseWnd)

BEGIN_MESSAGE_MAP(CDlgViewAllSchedules, CDlgBaseWnd)
  ON_COMMAND(CDlgViewAllSchedules::kCloseId, &CDlgViewAllSchedules::OnClose)
  ON_COMMAND(CDlgViewAllSchedules::kBottomCloseId, &CDlgViewAllSchedules::OnClose)
  ON_NOTIFY(NM_CLICK, CDlgViewAllSchedules::kListId, &CDlgViewAllSchedules::OnListClick)
END_MESSAGE_MAP()

namespace {

constexpr LPCTSTR kSection = _T("NEWSCHEDULER");
constexpr LPCTSTR kTemplateSection = _T("IDD_DLG_VIEW_ALL_SCHEDULES");
constexpr UINT kCloseBitmap = 1064;
constexpr int kCornerSize = 9;
constexpr int kIconSize = 24;
const CRect kListRect(30, 120, 30 + 540, 120 + 230);
const CRect kBottomCloseRect(482, 405, 482 + 79, 405 + 23);

CString Text(LPCTSTR id) { return GetLangString(id, kSection); }

}  // namespace

CDlgViewAllSchedules::CDlgViewAllSchedules(CWnd* pToolPane, CWnd* pParent)
    : CDlgBaseWnd(kTemplateId, pParent), m_pToolPane(pToolPane) {}

CDlgViewAllSchedules::~CDlgViewAllSchedules() = default;

BOOL CDlgViewAllSchedules::OnInitDialog() {
  CDlgBaseWnd::OnInitDialog();
  SetDlgItemText(kBottomCloseId, GetLangString(_T("IDC_BTN_CLOSE_BTM"), kTemplateSection));

  // The size of the window it is shown on, centred on the main window, with round corners.
  if (CWnd* host = GetParent()) {
    CRect hostRect;
    host->GetWindowRect(&hostRect);
    SetWindowPos(nullptr, 0, 0, hostRect.Width(), hostRect.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  CenterWindow(AfxGetMainWnd());
  CRect window;
  GetWindowRect(&window);
  if (const HRGN region = ::CreateRoundRectRgn(0, 0, window.Width() + 1, window.Height() + 1, kCornerSize, kCornerSize))
    ::SetWindowRgn(m_hWnd, region, TRUE);

  m_images.Create(kIconSize, kIconSize, ILC_COLOR32 | ILC_MASK, 2, 1);
  for (UINT id : {kProductIconId, kOtherIconId})
    if (const HICON icon = static_cast<HICON>(
            ::LoadImageW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(id), IMAGE_ICON, kIconSize, kIconSize, 0)))
      m_images.Add(icon);

  CRect client;
  GetClientRect(&client);
  m_btnClose.Create(_T(""), WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, 1, 1), this, kCloseId);
  m_btnClose.LoadBitmap(kCloseBitmap);
  m_btnClose.SetWindowPos(nullptr, client.right - 49, client.top + 3, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  if (m_btnBottomClose.SubclassDlgItem(kBottomCloseId, this)) {
    ApplyDarkTextButtonStyle(m_btnBottomClose);
    m_btnBottomClose.SetWindowText(Text(_T("IDS_CLOSE")));
    m_btnBottomClose.MoveWindow(&kBottomCloseRect);
  }

  if (m_list.SubclassDlgItem(kListId, this)) {
    m_list.MoveWindow(&kListRect);
    m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
    m_list.InsertImageColumn(0, &m_images, _T(""), 40);
    m_list.InsertColumn(1, Text(_T("IDS_TOOLNAME")), LVCFMT_LEFT, 130);
    m_list.InsertColumn(2, Text(_T("IDS_DATE")), LVCFMT_LEFT, 238);
    m_list.InsertColumn(3, Text(_T("IDS_EVENT")), LVCFMT_LEFT, 50);
    FillList();
  }
  return TRUE;
}

void CDlgViewAllSchedules::FillList() {
  const SchedulerTool product = CNewSchedulerApp::ProductTool();
  CScheduleManager jobs;
  CString nextRun = jobs.GetNextRunTimeText(product.strJobName);
  if (nextRun.IsEmpty()) nextRun = Text(_T("SCAN_NOT_SCHEDLUE"));
  const int row = m_list.InsertItem(0, _T(""), kProductRowData);
  m_list.SetItemData(row, kProductRowData);
  m_list.SetItemText(row, 1, product.strTitle);
  m_list.SetItemText(row, 2, nextRun);
  m_list.SetItemText(row, 3, _T("Edit"));
  // The row keeps the tool's job and index.
  m_list.SetItemFurtherText(row, 0, product.strJobName);
  m_list.SetItemValue(row, 0, CNewSchedulerApp::kProductToolIndex);
}

void CDlgViewAllSchedules::OnListClick(NMHDR* pNMHDR, LRESULT* pResult) {
  *pResult = 0;
  const auto* click = reinterpret_cast<const NMITEMACTIVATE*>(pNMHDR);
  if (click->iSubItem != CSchedulerListCtrl::kLinkColumn || click->iItem < 0 || click->iItem >= m_list.GetItemCount())
    return;
  const auto data = static_cast<int>(m_list.GetItemData(click->iItem));
  if (data >= 1 && data <= CDlgLeftDlgBase::kMaxButtons && m_pToolPane && m_pToolPane->GetSafeHwnd())
    m_pToolPane->PostMessage(WM_COMMAND, CDlgLeftDlgBase::kFirstButtonCommand + data - 1, 0);
  OnClose();
}

void CDlgViewAllSchedules::OnOK() {}

void CDlgViewAllSchedules::OnCancel() { OnClose(); }

void CDlgViewAllSchedules::OnClose() { CloseParentDialog(this); }
