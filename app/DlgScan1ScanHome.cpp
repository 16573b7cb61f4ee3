// CDlgScan1ScanHome: the page's description and status rows, Scan now and what the page does
// each time it is shown.
#include "DlgScan1ScanHome.h"

#include <atltime.h>

#include "CheckedFormat.h"
#include "DlgBaseMessageBoxWndBase.h"
#include "DlgBaseShared.h"
#include "DlgScan2Scanning.h"
#include "HalvoranApp.h"
#include "LauncherLink.h"
#include "IniReader.h"
#include "PagePainters.h"
#include "PageLayout.h"
#include "SettingsPageLayout.h"
#include "StartSwitches.h"
#include "WinInetBinding.h"

IMPLEMENT_DYNAMIC(CDlgScan1ScanHome, CDlgLeftSideChild)

BEGIN_MESSAGE_MAP(CDlgScan1ScanHome, CDlgLeftSideChild)
  ON_COMMAND(CDlgScan1ScanHome::kScanNowId, &CDlgScan1ScanHome::OnScanNow)
  ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

namespace {

constexpr LPCTSTR kSection = _T("IDD_SCANTAB1_SCANHOME");
constexpr LPCTSTR kRowLabels[kLastScanValueCount] = {_T("SCANTAB1DESC3"), _T("SCANTAB1DESC4"), _T("SCANTAB1DESC5"),
                                                     _T("SCANTAB1DESC6")};
constexpr COLORREF kValueColour = 0x5D2A00;
// The description, the list of the last scan below it, and Scan now centred between them.
const CRect kDescription(22, 54, 561, 174);
constexpr int kListLeft = 22, kListTop = 319;
const CRect kScanNow(CPoint(186, (kDescription.bottom + kListTop) / 2 - 26), CSize(222, 52));
// The value labels on the list's rows, in its value column.
constexpr int kValueLeft = kListLeft + 237, kValueTop = kListTop + 37, kRowStep = 28;
constexpr int kValueWidth = 375, kValueHeight = 18;

}  // namespace

CDlgScan1ScanHome::CDlgScan1ScanHome(CScanPagesHost& host, CDlgScan2Scanning& scanning, CWnd* pParent)
    : CDlgLeftSideChild(kTemplateId, pParent), m_host(host), m_scanning(scanning) {}

CDlgScan1ScanHome::~CDlgScan1ScanHome() = default;

BOOL CDlgScan1ScanHome::OnInitDialog() {
  CDlgLeftSideChild::OnInitDialog();
  SetWindowText(SettingsText(_T("SCANDLG1")));
  m_btnScanNow.SubclassDlgItem(kScanNowId, this);
  CHoverButtonWithText::SetStyle(m_btnScanNow, TRUE, TRUE, TRUE);
  m_btnScanNow.SetWindowText(GetLangString(_T("IDC_SCANTAB_SCAN_NOW"), kSection));
  m_btnScanNow.MoveWindow(&kScanNow);
  for (int row = 0; row < kLastScanValueCount; ++row) {
    const CRect place(CPoint(kValueLeft, kValueTop + kRowStep * row), CSize(kValueWidth, kValueHeight));
    m_values[row].Make(this, kFirstValueId + row, place, GetSharedDialogFont(),
                       [this](CDC* pDC, const CRect& page) { PaintPage(pDC, page, FALSE); });
    m_values[row].SetColour(kValueColour);
  }
  if (m_toolTip.GetSafeHwnd()) m_toolTip.AddTool(&m_btnScanNow, SettingsText(_T("IDS_SCAN_TOOLTIP")));
  ReadValues();
  return TRUE;
}

void CDlgScan1ScanHome::ReadValues() {
  for (int value = 0; value < kLastScanValueCount; ++value) {
    m_strValues[value] = SettingsText(_T("IDS_NOTSCAN_YET"));
    ReadLastScanValue(value, m_strValues[value]);
    if (m_values[value].GetSafeHwnd()) m_values[value].SetWindowText(m_strValues[value]);
  }
  Invalidate();
}

CString CDlgScan1ScanHome::GetValueText(int row) const {
  CString text;
  if (row >= 0 && row < kLastScanValueCount && m_values[row].GetSafeHwnd()) m_values[row].GetWindowText(text);
  return text;
}


BOOL CDlgScan1ScanHome::PreTranslateMessage(MSG* pMsg) {
  if (SwallowScanPageKeys(pMsg)) return TRUE;
  return CDlgLeftSideChild::PreTranslateMessage(pMsg);
}

void CDlgScan1ScanHome::PaintPage(CDC* pDC, const CRect& rect, BOOL) {
  // The description stands where the other pages draw their icon.
  CDlgLeftSideChild::PaintPage(pDC, rect, FALSE);
  const CString app = GetAppName();
  CString description;
  FormatChecked(description, SettingsText(_T("SCANTAB1DESC1")), {app, app, app});
  DrawPageText(pDC, description, kDescription.left, kDescription.top, GetSharedDialogFont(), kDialogTextColour,
               DT_WORDBREAK | DT_NOPREFIX);
  // The values are the labels' own.
  CStringArray names, values;
  CDWordArray colours;
  for (int row = 0; row < kLastScanValueCount; ++row) {
    names.Add(SettingsText(kRowLabels[row]));
    values.Add(_T(""));
    colours.Add(kValueColour);
  }
  DrawListFrame(pDC, kListLeft, kListTop, kLastScanValueCount, SettingsText(_T("SCANTAB1DESC2")), names, values, colours);
}

void CDlgScan1ScanHome::OnShowWindow(BOOL bShow, UINT nStatus) {
  CDlgLeftSideChild::OnShowWindow(bShow, nStatus);
  if (!bShow) return;
  // Home is the scan's first step: the scan tab, asked again below, keeps this page.
  m_host.ScanState().nScanStep = 0;
  const int mode = m_host.GetStartMode();
  if (mode == kStartPageScanHome || mode == kStartPageSchedule) m_host.PostHostCommand(CScanPagesHost::kScanTab);
  m_host.SetBusy(FALSE);
  ReadValues();
  m_host.SetScanButtons(CScanPagesHost::ScanButton(1) |
                        (m_host.ScanState().bScanDone ? CScanPagesHost::ScanButton(3) : 0u));
}

void CDlgScan1ScanHome::OnScanNow() {
  tagScanState& state = m_host.ScanState();
  if (!IsInternetConnected()) {
    if (!m_host.IsOneClick()) AppMessageBox(SettingsText(_T("IDS_CHKNETCONN_FIREWALL")), MB_ICONSTOP, this);
    state.nOutOfDate = 0;
    if (m_host.IsOneClick() || m_host.IsLauncherNotify()) m_host.NotifyLauncher(kLauncherStopped, 0);
    m_host.BuildResultSummary();
    m_host.OnScanFinished();
    return;
  }
  m_host.SetBusy(TRUE);
  CString question;
  FormatChecked(question, SettingsText(_T("IDS_RECOMMEN_RESTART")), {GetAppName()});
  m_host.RelaunchAsAdmin(question, kStartPageSchedule);

  const CTime now = CTime::GetCurrentTime();
  m_strValues[kLastScanDate] = now.Format(_T("%B %d, %Y   %I:%M %p"));
  WriteLastScanValue(kLastScanDate, m_strValues[kLastScanDate]);
  m_values[kLastScanDate].SetWindowText(m_strValues[kLastScanDate]);
  state.strScanStart = now.Format(_T("%a. %B %d, %Y. %I:%M %p"));
  state.bScanRequested = true;
  if (m_host.IsOneClick() && m_host.IsAbortRequested()) {
    m_host.NotifyLauncher(kLauncherStopped, 0);
    m_host.EndNow();
    return;
  }
  state.nScanStep = 1;
  m_scanning.StartScanSoon();
  m_host.ShowScanPage(CScanPagesHost::kScanningPage);
}
