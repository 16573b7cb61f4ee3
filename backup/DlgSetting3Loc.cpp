// CDlgSetting3Loc: the two folders read from and written to the settings key, browsing with a
// probe that the chosen folder takes new folders, Apply and Defaults.
#include "DlgSetting3Loc.h"

#include "FileHelpers.h"
#include "PathHelpers.h"
#include "SettingsPageLayout.h"
#include "SettingsStore.h"

IMPLEMENT_DYNAMIC(CDlgSetting3Loc, CDlgLeftSideChild)

BEGIN_MESSAGE_MAP(CDlgSetting3Loc, CDlgLeftSideChild)
  ON_COMMAND(CDlgSetting3Loc::kApplyId, &CDlgSetting3Loc::OnApply)
  ON_COMMAND(CDlgSetting3Loc::kDefaultsId, &CDlgSetting3Loc::OnDefaults)
  ON_COMMAND(CDlgSetting3Loc::kBrowseDownloadId, &CDlgSetting3Loc::OnBrowseDownload)
  ON_COMMAND(CDlgSetting3Loc::kBrowseBackupId, &CDlgSetting3Loc::OnBrowseBackup)
  ON_EN_CHANGE(CDlgSetting3Loc::kDownloadEditId, &CDlgSetting3Loc::OnFolderEdited)
  ON_EN_CHANGE(CDlgSetting3Loc::kBackupEditId, &CDlgSetting3Loc::OnFolderEdited)
  ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

namespace {

using Kind = CSettingsFolderHost::Kind;

constexpr LPCTSTR kSection = _T("IDD_SETTING3_LOCATION");
constexpr LPCTSTR kValueNames[] = {kSettingDownloadPath, kSettingBackupPath};
constexpr LPCTSTR kProbeWords[] = {_T("Download"), _T("Backup")};
constexpr UINT kEditIds[] = {CDlgSetting3Loc::kDownloadEditId, CDlgSetting3Loc::kBackupEditId};
constexpr Kind kKinds[] = {CSettingsFolderHost::kDownload, CSettingsFolderHost::kBackup};
constexpr POINT kDownloadText{22, 100};
constexpr POINT kDownloadNote{22, 150};
constexpr POINT kBackupText{22, 200};
constexpr POINT kBackupNote{22, 250};
constexpr POINT kDescription{84, 50};

bool FolderExists(const CString& folder) {
  const DWORD attributes = GetFileAttributesW(folder);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

CDlgSetting3Loc::CDlgSetting3Loc(CSettingsFolderHost& host, CWnd* pParent)
    : CDlgLeftSideChild(kTemplateId, pParent), m_host(host) {}

CDlgSetting3Loc::~CDlgSetting3Loc() = default;

BOOL CDlgSetting3Loc::OnInitDialog() {
  CDlgLeftSideChild::OnInitDialog();
  SetWindowText(SettingsText(_T("SETTINGDLG3")));
  PlaceActionButton(*this, m_btnApply, kApplyId, kSection, _T("IDD_SETTINGTAB3_APPLY"), 141);
  PlaceActionButton(*this, m_btnDefaults, kDefaultsId, kSection, _T("IDD_SETTINGTAB3_DEFAULT"), 267);
  const struct {
    UINT id;
    LPCTSTR key;
    int top;
  } browse[] = {{kBrowseDownloadId, _T("IDC_BTN_BROWSE_DOWNLOAD"), 120}, {kBrowseBackupId, _T("IDC_BTN_BROWSE_BACKUP"), 220}};
  for (int i = 0; i < 2; ++i) {
    PlaceActionButton(*this, m_btnBrowse[i], browse[i].id, kSection, browse[i].key, 141);
    CRect place;
    m_btnBrowse[i].GetWindowRect(&place);
    ScreenToClient(&place);
    m_btnBrowse[i].SetWindowPos(nullptr, place.left, browse[i].top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    GetDlgItem(kEditIds[i])->MoveWindow(22, browse[i].top, place.left - 32, 22);
  }
  if (m_toolTip.GetSafeHwnd()) m_toolTip.AddTool(&m_btnApply, SettingsText(_T("SETTINGTABTOOLTIP1")));
  ReadStored();
  for (int i = 0; i < 2; ++i) SetDlgItemText(kEditIds[i], m_strStored[i]);
  return TRUE;
}

BOOL CDlgSetting3Loc::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_F4) return TRUE;
  return CDlgLeftSideChild::PreTranslateMessage(pMsg);
}

void CDlgSetting3Loc::ReadStored() {
  const CString key = BuildSettingsKeyPath();
  for (int i = 0; i < 2; ++i) {
    m_strStored[i].Empty();
    GetHkcuValue(key, kValueNames[i], m_strStored[i], kSettingText);
  }
}

void CDlgSetting3Loc::UpdateDefaults() {
  bool allDefault = true;
  for (int i = 0; i < 2; ++i) {
    allDefault = allDefault && m_strStored[i].CompareNoCase(m_host.GetDefaultFolder(kKinds[i])) == 0;
  }
  m_btnDefaults.EnableWindow(allDefault ? FALSE : TRUE);
}

void CDlgSetting3Loc::OnShowWindow(BOOL bShow, UINT nStatus) {
  CDlgLeftSideChild::OnShowWindow(bShow, nStatus);
  if (!bShow) return;
  ReadStored();
  bool differs = false;
  for (int i = 0; i < 2; ++i) {
    const CString current = m_host.GetCurrentFolder(kKinds[i]);
    SetDlgItemText(kEditIds[i], current);
    differs = differs || m_strStored[i].CompareNoCase(current) != 0;
  }
  m_btnApply.EnableWindow(differs ? TRUE : FALSE);
  UpdateDefaults();
}

// A folder typed into a box enables Apply when it differs from the stored one; an emptied box
// keeps the stored folder and so counts as no change.
void CDlgSetting3Loc::OnFolderEdited() {
  if (m_btnApply.GetSafeHwnd() == nullptr) return;
  bool differs = false;
  for (int i = 0; i < 2; ++i) {
    CString text;
    GetDlgItemText(kEditIds[i], text);
    differs = differs || (!text.IsEmpty() && text.CompareNoCase(m_strStored[i]) != 0);
  }
  m_btnApply.EnableWindow(differs ? TRUE : FALSE);
}

void CDlgSetting3Loc::OnApply() {
  const CString key = BuildSettingsKeyPath();
  bool saved = true;
  for (int i = 0; i < 2; ++i) {
    CString text;
    GetDlgItemText(kEditIds[i], text);
    // An empty box keeps the folder in use and the stored one.
    if (text.IsEmpty()) continue;
    m_host.SetCurrentFolder(kKinds[i], text);
    saved = SetHkcuValue(key, kValueNames[i], text, kSettingText, true) && saved;
  }
  ReadStored();
  m_btnApply.EnableWindow(saved ? FALSE : TRUE);
  UpdateDefaults();
  ReportSaved(this, saved, _T("IDS_SETT_APPLY_SUCCES"));
}

void CDlgSetting3Loc::OnDefaults() {
  const CString key = BuildSettingsKeyPath();
  bool saved = true;
  for (int i = 0; i < 2; ++i) {
    const CString folder = m_host.GetDefaultFolder(kKinds[i]);
    saved = SetHkcuValue(key, kValueNames[i], folder, kSettingText, true) && saved;
    m_host.SetCurrentFolder(kKinds[i], folder);
    SetDlgItemText(kEditIds[i], folder);
  }
  ReadStored();
  m_btnApply.EnableWindow(saved ? FALSE : TRUE);
  m_btnDefaults.EnableWindow(saved ? FALSE : TRUE);
  ReportSaved(this, saved, _T("IDS_SETT_APPLY_SUCCES"));
}

void CDlgSetting3Loc::OnBrowseDownload() { Browse(CSettingsFolderHost::kDownload); }

void CDlgSetting3Loc::OnBrowseBackup() { Browse(CSettingsFolderHost::kBackup); }

CString CDlgSetting3Loc::StartFolder(Kind kind) {
  CString start;
  GetHkcuValue(BuildSettingsKeyPath(), kValueNames[kind], start, kSettingText);
  if (start.IsEmpty()) start = m_host.GetCurrentFolder(kind);
  if (!FolderExists(start)) {
    CreateDirectoryTree(m_host.GetBaseFolder());
    if (CreateDirectoryTree(start) != 1) {
      start = m_host.GetDefaultFolder(kind);
      CreateDirectoryTree(start);
    }
  }
  return start;
}

// Whether a new folder can be made inside: a probe folder named after the word, of a name not
// yet taken, is made there and removed again at once; a folder already there is left alone.
bool CDlgSetting3Loc::CanWriteInto(const CString& folder, LPCTSTR word) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    CString probe = folder;
    CString name = word;
    if (attempt > 0) name.AppendFormat(_T("%d"), attempt);
    AppendPathComponent(probe, name);
    if (GetFileAttributesW(probe) != INVALID_FILE_ATTRIBUTES) continue;
    if (!CreateDirectoryW(probe, nullptr)) return false;
    ShellDeletePath(probe, probe.GetLength(), TRUE);
    return true;
  }
  return false;
}

void CDlgSetting3Loc::Browse(Kind kind) {
  const CString key = BuildSettingsKeyPath();
  const CString start = StartFolder(kind);
  CString chosen = m_host.BrowseForFolder(this, FolderExists(start) ? start : m_host.GetDefaultFolder(kind));
  ReadStored();
  CString& stored = m_strStored[kind];
  if (chosen.IsEmpty()) {
    if (stored.IsEmpty()) {
      stored = m_host.GetCurrentFolder(kind);
      SetHkcuValue(key, kValueNames[kind], stored, kSettingText, true);
    }
    SetDlgItemText(kEditIds[kind], stored);
    return;
  }
  if (!CanWriteInto(chosen, kProbeWords[kind])) {
    chosen = stored;
    CreateDirectoryTree(chosen);
  }
  SetDlgItemText(kEditIds[kind], chosen);
  m_btnApply.EnableWindow(chosen.CompareNoCase(stored) != 0 ? TRUE : FALSE);
  UpdateDefaults();
}

void CDlgSetting3Loc::PaintPage(CDC* pDC, const CRect& rect, BOOL bDrawIcon) {
  CDlgLeftSideChild::PaintPage(pDC, rect, bDrawIcon);
  DrawSettingsText(pDC, _T("IDS_SELC_DOWN_LOCATION"), kDescription);
  DrawSettingsText(pDC, _T("SETTINGTAB3DESC1"), kDownloadText);
  DrawSettingsText(pDC, _T("SETTINGTAB3DESC2"), kDownloadNote);
  DrawSettingsText(pDC, _T("SETTINGTAB3DESC3"), kBackupText);
  DrawSettingsText(pDC, _T("SETTINGTAB3DESC4"), kBackupNote);
}
