// CDlgDrvExclusion: opening, the list and its buttons, removal with a question, the context
// menu and the page's description text.
#include "DlgDrvExclusion.h"

#include "ContextMenus.h"
#include "DlgBaseMessageBoxWndBase.h"
#include "DriverScanUpdate.h"
#include "PageLayout.h"
#include "SettingsPageLayout.h"

IMPLEMENT_DYNAMIC(CDlgDrvExclusion, CDlgLeftSideChild)

BEGIN_MESSAGE_MAP(CDlgDrvExclusion, CDlgLeftSideChild)
  ON_COMMAND(CDlgDrvExclusion::kRemoveAllId, &CDlgDrvExclusion::OnRemoveAll)
  ON_COMMAND(CDlgDrvExclusion::kRemoveId, &CDlgDrvExclusion::OnRemove)
  ON_COMMAND(CDlgDrvExclusion::kMenuRemoveAll, &CDlgDrvExclusion::OnRemoveAll)
  ON_COMMAND(CDlgDrvExclusion::kMenuRemove, &CDlgDrvExclusion::OnRemove)
  ON_NOTIFY(NM_CLICK, CDlgDrvExclusion::kListId, &CDlgDrvExclusion::OnListClick)
  ON_NOTIFY(NM_RCLICK, CDlgDrvExclusion::kListId, &CDlgDrvExclusion::OnListRightClick)
  ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

namespace {

constexpr LPCTSTR kSection = _T("Tunevo");
constexpr int kColumnMargin = 76;
constexpr RECT kListRect{22, 100, 570, 424};
constexpr POINT kDescriptionAt{84, 50};

}  // namespace

CDlgDrvExclusion::CDlgDrvExclusion(CDriverScanUpdate& engine, LPCTSTR dataFolder, CWnd* pParent)
    : CDlgLeftSideChild(kTemplateId, pParent), m_engine(engine), m_file(dataFolder) {
  m_file.SetMarker([this](const CString& hardwareId, BOOL mark) { m_engine.SetKeyMarked(hardwareId, mark); });
}

CDlgDrvExclusion::~CDlgDrvExclusion() = default;

BOOL CDlgDrvExclusion::OnInitDialog() {
  CDlgLeftSideChild::OnInitDialog();
  SetWindowText(SettingsText(_T("SETTINGDLG4")));
  // The page is made at the pages' default size, larger than the other pages of the group.
  const CRect& page = DefaultPageGeometry().rcPage[0];
  SetWindowPos(nullptr, 0, 0, page.Width(), page.Height(), SWP_NOZORDER | SWP_NOACTIVATE);

  PlaceActionButton(*this, m_btnRemoveAll, kRemoveAllId, kSection, _T("IDS_REMOVE_ALL_ITEM"), 267);
  PlaceActionButton(*this, m_btnRemove, kRemoveId, kSection, _T("IDS_REMOVE_ITEMS"), 141);
  m_btnRemoveAll.EnableWindow(FALSE);
  m_btnRemove.EnableWindow(FALSE);

  m_list.SubclassDlgItem(kListId, this);
  m_list.MoveWindow(&kListRect);
  m_list.ModifyStyle(0, LVS_SHOWSELALWAYS);
  m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
  CRect listRect;
  m_list.GetClientRect(&listRect);
  m_list.InsertColumn(0, SettingsText(_T("IDS_DRIVER_NAME")), LVCFMT_LEFT, listRect.Width() - kColumnMargin);
  if (m_toolTip.GetSafeHwnd()) {
    m_toolTip.AddTool(&m_btnRemoveAll, SettingsText(_T("IDS_EXCLUS_TOOLTIP1")));
    m_toolTip.AddTool(&m_btnRemove, SettingsText(_T("IDS_EXCLUS_TOOLTIP2")));
  }

  m_engine.GetExcludedIds().RemoveAll();
  LoadList();
  SelectFirstRow();
  return TRUE;
}

BOOL CDlgDrvExclusion::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_F4) return TRUE;
  return CDlgLeftSideChild::PreTranslateMessage(pMsg);
}

void CDlgDrvExclusion::LoadList() {
  m_file.Load();
  FillList();
}

void CDlgDrvExclusion::FillList() {
  m_list.DeleteAllItems();
  for (const tagExclusionItem& item : m_file.GetItems()) {
    m_list.InsertItem(m_list.GetItemCount(), item.strDriverName);
  }
  UpdateButtons();
}

void CDlgDrvExclusion::UpdateButtons() {
  const bool any = m_list.GetItemCount() > 0;
  m_btnRemoveAll.EnableWindow(any ? TRUE : FALSE);
  m_btnRemove.EnableWindow(any && SelectedRow() >= 0 ? TRUE : FALSE);
}

void CDlgDrvExclusion::SelectFirstRow() {
  if (m_list.GetItemCount() > 0) m_list.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  UpdateButtons();
}

int CDlgDrvExclusion::SelectedRow() const { return m_list.GetNextItem(-1, LVNI_SELECTED); }

int CDlgDrvExclusion::AddExclusion(LPCTSTR driverName, LPCTSTR hardwareId) {
  const int id = m_file.Add(driverName, hardwareId);
  if (id == 0 || m_list.GetSafeHwnd() == nullptr) return id;
  m_list.InsertItem(m_list.GetItemCount(), driverName);
  UpdateButtons();
  return id;
}

bool CDlgDrvExclusion::AskToRemove() {
  return AppMessageBox(SettingsText(_T("IDS_DRIVER_EXCLU_DESC2")), MB_YESNO | MB_ICONQUESTION, this) == IDYES;
}

void CDlgDrvExclusion::OnRemove() {
  const int row = SelectedRow();
  if (row < 0) {
    AppMessageBox(SettingsText(_T("IDS_NOSELC_EXCLU_ITEM")), MB_OK | MB_ICONINFORMATION, this);
    return;
  }
  if (!AskToRemove()) return;
  // The row's own entry goes, also when another entry shows the same driver name.
  m_file.RemoveAt(row);
  FillList();
}

void CDlgDrvExclusion::OnRemoveAll() {
  if (!AskToRemove()) return;
  m_file.RemoveAll();
  FillList();
  m_engine.GetExcludedIds().RemoveAll();
}

void CDlgDrvExclusion::OnListClick(NMHDR*, LRESULT* pResult) {
  UpdateButtons();
  *pResult = 0;
}

void CDlgDrvExclusion::OnListRightClick(NMHDR* pNMHDR, LRESULT* pResult) {
  *pResult = 0;
  const auto* item = reinterpret_cast<const NMITEMACTIVATE*>(pNMHDR);
  if (item->iItem < 0 || item->iItem >= m_list.GetItemCount() || SelectedRow() < 0) return;
  TrackPageContextMenu(*this, kContextMenu);
}

void CDlgDrvExclusion::OnShowWindow(BOOL bShow, UINT nStatus) {
  CDlgLeftSideChild::OnShowWindow(bShow, nStatus);
  if (bShow) SelectFirstRow();
}

void CDlgDrvExclusion::PaintPage(CDC* pDC, const CRect& rect, BOOL bDrawIcon) {
  CDlgLeftSideChild::PaintPage(pDC, rect, bDrawIcon);
  DrawSettingsText(pDC, _T("IDS_DRIVER_EXCLU_DESC"), kDescriptionAt);
}
