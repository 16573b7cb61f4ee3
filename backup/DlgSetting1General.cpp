// CDlgSetting1General: the boxes read from and written to the settings key, Apply and Defaults,
// and the start-at-log-on registration that follows the run-at-start-up box.
#include "DlgSetting1General.h"

#include "RunAtStartup.h"
#include "SettingsPageLayout.h"
#include "SettingsStore.h"

IMPLEMENT_DYNAMIC(CDlgSetting1General, CDlgLeftSideChild)

BEGIN_MESSAGE_MAP(CDlgSetting1General, CDlgLeftSideChild)
  ON_COMMAND(CDlgSetting1General::kApplyId, &CDlgSetting1General::OnApply)
  ON_COMMAND(CDlgSetting1General::kDefaultsId, &CDlgSetting1General::OnDefaults)
  ON_COMMAND(CDlgSetting1General::kAutoScanId, &CDlgSetting1General::OnBoxClicked)
  ON_COMMAND(CDlgSetting1General::kRunAtStartUpId, &CDlgSetting1General::OnBoxClicked)
  ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

namespace {

constexpr LPCTSTR kSection = _T("IDD_SETTING1_GENERAL");
constexpr int kDefaultAutoScan = 0;
constexpr int kDefaultRunAtStartUp = 1;
// A stored switch as 0 or 1; a missing or empty value reads as its default.
int ReadSwitch(const CString& key, LPCTSTR name, int defaultValue) {
  CString text;
  GetHkcuValue(key, name, text, kSettingText);
  if (text.Trim().IsEmpty()) return defaultValue;
  return DecimalValue(text) != 0 ? 1 : 0;
}

constexpr POINT kDescription{84, 50};
constexpr POINT kAutoScanText{48, 118};
constexpr POINT kAutoScanNote{48, 140};
constexpr POINT kRunText{48, 210};

}  // namespace

CDlgSetting1General::CDlgSetting1General(CWnd* pParent) : CDlgLeftSideChild(kTemplateId, pParent) {}

CDlgSetting1General::~CDlgSetting1General() = default;

BOOL CDlgSetting1General::OnInitDialog() {
  CDlgLeftSideChild::OnInitDialog();
  SetWindowText(SettingsText(_T("SETTINGDLG1")));
  PlaceActionButton(*this, m_btnApply, kApplyId, kSection, _T("IDD_SETTINGTAB1_APPLY"), 141);
  PlaceActionButton(*this, m_btnDefaults, kDefaultsId, kSection, _T("IDD_SETTINGTAB1_DEFAULT"), 267);
  m_chkAutoScan.SubclassDlgItem(kAutoScanId, this);
  m_chkRunAtStartUp.SubclassDlgItem(kRunAtStartUpId, this);
  m_chkAutoScan.MoveWindow(24, kAutoScanText.y, 18, 18);
  m_chkRunAtStartUp.MoveWindow(24, kRunText.y, 18, 18);
  if (m_toolTip.GetSafeHwnd()) {
    m_toolTip.AddTool(&m_btnApply, SettingsText(_T("SETTINGTABTOOLTIP1")));
    m_toolTip.AddTool(&m_chkAutoScan, SettingsText(_T("IDS_SETTING_TOOLTIP")));
    m_toolTip.AddTool(&m_chkRunAtStartUp, SettingsText(_T("IDS_SETTING_TOOLTIP1")));
  }
  ReadStored();
  m_chkAutoScan.SetCheck(m_nStoredAutoScan != 0 ? BST_CHECKED : BST_UNCHECKED);
  m_chkRunAtStartUp.SetCheck(m_nStoredRunAtStartUp != 0 ? BST_CHECKED : BST_UNCHECKED);
  // The registration is made again at every opening, in case something removed it.
  if (m_nStoredRunAtStartUp != 0) SetRunAtStartup(true);
  UpdateApplyButton();
  return TRUE;
}

BOOL CDlgSetting1General::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_F4) return TRUE;
  return CDlgLeftSideChild::PreTranslateMessage(pMsg);
}

void CDlgSetting1General::ReadStored() {
  const CString key = BuildSettingsKeyPath();
  m_nStoredAutoScan = ReadSwitch(key, kSettingAutoScan, kDefaultAutoScan);
  m_nStoredRunAtStartUp = ReadSwitch(key, kSettingRunAtStartUp, kDefaultRunAtStartUp);
}

BOOL CDlgSetting1General::BoxChecked(const CTransparentCheckRadio& box) const {
  return box.GetCheck() == BST_CHECKED ? TRUE : FALSE;
}

void CDlgSetting1General::UpdateApplyButton() {
  if (m_btnApply.GetSafeHwnd() == nullptr) return;
  ReadStored();
  const int autoScan = BoxChecked(m_chkAutoScan);
  const int runAtStartUp = BoxChecked(m_chkRunAtStartUp);
  m_btnApply.EnableWindow(autoScan != m_nStoredAutoScan || runAtStartUp != m_nStoredRunAtStartUp);
  const bool allDefault = m_nStoredAutoScan == kDefaultAutoScan && autoScan == kDefaultAutoScan &&
                          m_nStoredRunAtStartUp == kDefaultRunAtStartUp && runAtStartUp == kDefaultRunAtStartUp;
  m_btnDefaults.EnableWindow(allDefault ? FALSE : TRUE);
}

void CDlgSetting1General::OnApply() {
  const CString key = BuildSettingsKeyPath();
  const BOOL runAtStartUp = BoxChecked(m_chkRunAtStartUp);
  const bool saved = WriteSettingSwitch(key, kSettingAutoScan, BoxChecked(m_chkAutoScan)) &&
                     WriteSettingSwitch(key, kSettingRunAtStartUp, runAtStartUp);
  SetRunAtStartup(runAtStartUp != FALSE);
  // Compared with what is stored now: a failed write leaves Apply enabled for another try.
  UpdateApplyButton();
  ReportSaved(this, saved, _T("IDS_SETT_APPLY_SUCCES"));
}

void CDlgSetting1General::OnDefaults() {
  const CString key = BuildSettingsKeyPath();
  const bool saved = WriteSettingSwitch(key, kSettingAutoScan, kDefaultAutoScan) &&
                     WriteSettingSwitch(key, kSettingRunAtStartUp, kDefaultRunAtStartUp);
  SetRunAtStartup(true);
  m_chkAutoScan.SetCheck(BST_UNCHECKED);
  m_chkRunAtStartUp.SetCheck(BST_CHECKED);
  if (saved) {
    UpdateApplyButton();
  } else {
    m_btnApply.EnableWindow(TRUE);
    m_btnDefaults.EnableWindow(TRUE);
  }
  ReportSaved(this, saved, _T("IDS_DEFSETTING_APPLSUCC"));
}

void CDlgSetting1General::OnBoxClicked() { UpdateApplyButton(); }

void CDlgSetting1General::OnShowWindow(BOOL bShow, UINT nStatus) {
  CDlgLeftSideChild::OnShowWindow(bShow, nStatus);
  if (bShow) UpdateApplyButton();
}

void CDlgSetting1General::PaintPage(CDC* pDC, const CRect& rect, BOOL bDrawIcon) {
  CDlgLeftSideChild::PaintPage(pDC, rect, bDrawIcon);
  DrawSettingsText(pDC, _T("SETTINGTABDESC"), kDescription);
  DrawSettingsText(pDC, _T("SETTINGTAB1DESC1"), kAutoScanText);
  DrawSettingsText(pDC, _T("SETTINGTAB1DESC2"), kAutoScanNote);
  DrawSettingsText(pDC, _T("IDS_RUNON_STARTUP"), kRunText);
}
