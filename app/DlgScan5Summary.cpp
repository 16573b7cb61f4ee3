// CDlgScan5Summary: the five rows counted from the result rows and the exclusion list, their
// icons and colours, and the page's two buttons.
#include "DlgScan5Summary.h"

#include "CheckedFormat.h"
#include "DlgBaseShared.h"
#include "DriverScanUpdate.h"
#include "IniReader.h"
#include "PagePainters.h"
#include "SettingsPageLayout.h"

IMPLEMENT_DYNAMIC(CDlgScan5Summary, CDlgLeftSideChild)

BEGIN_MESSAGE_MAP(CDlgScan5Summary, CDlgLeftSideChild)
  ON_COMMAND(CDlgScan5Summary::kFinishId, &CDlgScan5Summary::OnFinish)
  ON_COMMAND(CDlgScan5Summary::kInstallMoreId, &CDlgScan5Summary::OnInstallMore)
  ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

namespace {

constexpr LPCTSTR kSection = _T("IDD_SCANTAB5_SUMMARY");
constexpr UINT kGoodIcon = 1314;
constexpr UINT kWarningIcon = 1300;
constexpr LPCTSTR kRowLabels[CDlgScan5Summary::kRowCount] = {
    _T("SCANTAB1DESC4"), _T("IDS_OUTOFDATE_DRIVER"), _T("IDS_DRIVERS_UPDATES"), _T("IDS_REMAINING_DRIVER"),
    _T("IDS_EXCLUDED_BYUSER")};
// Rows that warn while their count is above 0: out of date, remaining and excluded.
constexpr bool kWarnsWhenCounted[CDlgScan5Summary::kRowCount] = {false, true, false, true, true};
// The rows' panel, and its value column, where the value labels stand one row apart.
constexpr int kPanelLeft = 22, kPanelTop = 150, kPanelHeight = 190, kPanelWidth = 545;
constexpr int kValueLeft = kPanelLeft + 360, kValueTop = kPanelTop + 56, kRowStep = 30;
constexpr int kValueWidth = 200, kValueHeight = 20;

HICON LoadPageIcon(UINT id) {
  const HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCE(id), RT_GROUP_ICON);
  return static_cast<HICON>(::LoadImageW(module, MAKEINTRESOURCE(id), IMAGE_ICON, 16, 16, 0));
}

}  // namespace

CDlgScan5Summary::CDlgScan5Summary(CScanPagesHost& host, CWnd* pParent)
    : CDlgLeftSideChild(kTemplateId, pParent), m_host(host) {}

CDlgScan5Summary::~CDlgScan5Summary() {
  for (HICON icon : {m_hGood, m_hWarning})
    if (icon) ::DestroyIcon(icon);
}

BOOL CDlgScan5Summary::OnInitDialog() {
  CDlgLeftSideChild::OnInitDialog();
  SetWindowText(SettingsText(_T("SCANDLG5")));
  PlaceActionButton(*this, m_btnFinish, kFinishId, kSection, _T("IDC_BTN_SCANTAB5_FINISH"), 141);
  m_btnInstallMore.SubclassDlgItem(kInstallMoreId, this);
  CHoverButtonWithText::SetStyle(m_btnInstallMore, TRUE, FALSE, TRUE);
  m_btnInstallMore.SetWindowText(GetLangString(_T("IDC_BTN_INSTALL_MORE"), kSection));
  CRect client;
  GetClientRect(&client);
  m_btnInstallMore.MoveWindow(22, client.Height() - 40, 120, 28);
  if (m_toolTip.GetSafeHwnd()) {
    m_toolTip.AddTool(&m_btnFinish, SettingsText(_T("SCANTAB5TOOLTIPFINISH")));
    m_toolTip.AddTool(&m_btnInstallMore, SettingsText(_T("SCANTAB5TOOLTIPINSTALLMORE")));
  }
  for (int row = 0; row < kRowCount; ++row) {
    const CRect place(CPoint(kValueLeft, kValueTop + kRowStep * row), CSize(kValueWidth, kValueHeight));
    m_values[row].Make(this, kFirstValueId + row, place, GetSharedCaptionFont(),
                       [this](CDC* pDC, const CRect& page) { PaintPage(pDC, page, TRUE); });
  }
  m_hGood = LoadPageIcon(kGoodIcon);
  m_hWarning = LoadPageIcon(kWarningIcon);
  ShowSummary();
  return TRUE;
}

BOOL CDlgScan5Summary::PreTranslateMessage(MSG* pMsg) {
  if (SwallowScanPageKeys(pMsg)) return TRUE;
  return CDlgLeftSideChild::PreTranslateMessage(pMsg);
}

void CDlgScan5Summary::ShowSummary() {
  const CDriverScanUpdate& engine = m_host.ScanEngine();
  const CResultRowArray& rows = engine.GetResultRows();
  const int updated = rows.CountInState(kRowInstalled);
  const int remaining = rows.CountInState(kRowFound) + rows.CountInState(kRowDownloaded);
  const int counts[kRowCount] = {engine.GetDeviceCount(), remaining + updated, updated, remaining,
                                 m_host.ExclusionCount()};
  m_names.RemoveAll();
  m_colours.RemoveAll();
  m_icons.RemoveAll();
  for (int row = 0; row < kRowCount; ++row) {
    m_nCounts[row] = counts[row];
    CString value;
    FormatChecked(value, SettingsText(_T("IDS_DRIVERS_COUNT2")), {counts[row]});
    const bool warning = kWarnsWhenCounted[row] && counts[row] > 0;
    m_names.Add(SettingsText(kRowLabels[row]));
    if (m_values[row].GetSafeHwnd()) {
      m_values[row].SetWindowText(value);
      m_values[row].SetColour(warning ? kWarningColour : kGoodColour);
    }
    m_colours.Add(warning ? kWarningColour : kGoodColour);
    m_icons.Add(warning ? m_hWarning : m_hGood);
  }
  Invalidate();
}

void CDlgScan5Summary::PaintPage(CDC* pDC, const CRect& rect, BOOL bDrawIcon) {
  CDlgLeftSideChild::PaintPage(pDC, rect, bDrawIcon);
  DrawSettingsText(pDC, _T("HOMEDESC2"), POINT{84, 54});
  // The heading's text is the page's own: the program's section holds the backup page's
  // "not backed up" under the same name.
  DrawSettingsText(pDC, _T("IDS_DRIVER_UPDATE_STATUS"), POINT{22, 118}, _T("IDD_SCANTAB5_SUMMARY"));
  // The values are the labels' own.
  CStringArray blanks;
  blanks.SetSize(m_names.GetSize());
  DrawSectionPanel(pDC, kPanelLeft, kPanelTop, kPanelHeight, SettingsText(_T("IDS_SUMMARY")), 0, m_icons, m_names, blanks,
                   m_colours, kPanelWidth);
}

CString CDlgScan5Summary::GetValueText(int row) const {
  CString text;
  if (row >= 0 && row < kRowCount && m_values[row].GetSafeHwnd()) m_values[row].GetWindowText(text);
  return text;
}


void CDlgScan5Summary::OnShowWindow(BOOL bShow, UINT nStatus) {
  CDlgLeftSideChild::OnShowWindow(bShow, nStatus);
  if (!bShow) return;
  m_host.PostHostCommand(CScanPagesHost::kScanTab);
  m_host.SetBusy(FALSE);
  m_host.ScanState().nScanStep = 3;
  ShowSummary();
}

void CDlgScan5Summary::OnFinish() { m_host.ShowScanPage(CScanPagesHost::kHomePage); }

void CDlgScan5Summary::OnInstallMore() { m_host.ShowScanPage(CScanPagesHost::kResultsPage); }
