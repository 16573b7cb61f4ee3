// CTreeXCtrl: check states, the toggle through a branch and up its ancestors, and the mouse
// and keys.
#include "TreeXCtrl.h"

IMPLEMENT_DYNAMIC(CTreeXCtrl, CTreeCtrl)

BEGIN_MESSAGE_MAP(CTreeXCtrl, CTreeCtrl)
  ON_WM_LBUTTONDOWN()
  ON_WM_KEYDOWN()
  ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

namespace {

constexpr int kImageWidth = 15;
constexpr int kImageHeight = 16;
constexpr int kInitialImages = 5;
constexpr COLORREF kImageMask = RGB(255, 0, 255);

}  // namespace

CTreeXCtrl::CTreeXCtrl() = default;

CTreeXCtrl::~CTreeXCtrl() = default;

BOOL CTreeXCtrl::CreateCheckImages() {
  CBitmap pictures;
  const LPCTSTR name = MAKEINTRESOURCEW(kCheckImagesBitmap);
  const HINSTANCE module = AfxFindResourceHandle(name, RT_BITMAP);
  if (!module || !pictures.Attach(::LoadBitmapW(module, name))) return FALSE;
  m_checkImages.DeleteImageList();
  if (!m_checkImages.Create(kImageWidth, kImageHeight, ILC_COLOR32 | ILC_MASK, kInitialImages, 1) ||
      m_checkImages.Add(&pictures, kImageMask) < 0)
    return FALSE;
  SetImageList(&m_checkImages, TVSIL_STATE);
  return TRUE;
}

int CTreeXCtrl::GetCheckState(HTREEITEM hItem) const {
  if (!hItem) return kNoCheckBox;
  return static_cast<int>((GetItemState(hItem, TVIS_STATEIMAGEMASK) & TVIS_STATEIMAGEMASK) >> 12);
}

BOOL CTreeXCtrl::SetCheckStateIndex(HTREEITEM hItem, int nState) {
  if (!hItem || nState < kNoCheckBox || nState > kDisabled) return FALSE;
  return SetItemState(hItem, INDEXTOSTATEIMAGEMASK(static_cast<UINT>(nState)), TVIS_STATEIMAGEMASK);
}

BOOL CTreeXCtrl::SetCheckState(HTREEITEM hItem, BOOL bChecked) {
  return SetCheckStateIndex(hItem, bChecked ? kChecked : kUnchecked);
}

BOOL CTreeXCtrl::AnyItemChecked() const {
  for (HTREEITEM top = GetRootItem(); top; top = GetNextSiblingItem(top)) {
    if (!ItemHasChildren(top)) {
      if (GetCheckState(top) == kChecked) return TRUE;
      continue;
    }
    for (HTREEITEM child = GetChildItem(top); child; child = GetNextSiblingItem(child)) {
      const int state = GetCheckState(child);
      if (state == kChecked || state == kPartlyChecked) return TRUE;
    }
  }
  return FALSE;
}

BOOL CTreeXCtrl::AllItemsChecked() const {
  const auto counts = [this](HTREEITEM item) {
    const int state = GetCheckState(item);
    return state == kChecked || state == kDisabled;
  };
  for (HTREEITEM top = GetRootItem(); top; top = GetNextSiblingItem(top)) {
    if (!ItemHasChildren(top)) {
      if (!counts(top)) return FALSE;
      continue;
    }
    for (HTREEITEM child = GetChildItem(top); child; child = GetNextSiblingItem(child))
      if (!counts(child)) return FALSE;
  }
  return TRUE;
}

void CTreeXCtrl::SetBranch(HTREEITEM hItem, int nState) {
  for (HTREEITEM child = GetChildItem(hItem); child; child = GetNextSiblingItem(child)) {
    if (GetCheckState(child) != kDisabled) SetCheckStateIndex(child, nState);
    SetBranch(child, nState);
  }
}

void CTreeXCtrl::Recompute(HTREEITEM hItem) {
  bool anyUnchecked = false, anyChecked = false;
  for (HTREEITEM child = GetChildItem(hItem); child; child = GetNextSiblingItem(child)) {
    const int state = GetCheckState(child);
    anyUnchecked = anyUnchecked || state == kUnchecked;
    anyChecked = anyChecked || state == kChecked || state == kPartlyChecked;
  }
  SetCheckStateIndex(hItem, !anyUnchecked ? kChecked : anyChecked ? kPartlyChecked : kUnchecked);
}

void CTreeXCtrl::ToggleItem(HTREEITEM hItem) {
  const int state = GetCheckState(hItem);
  // Items without a box and disabled items are never toggled, and neither is their branch.
  if (state != kUnchecked && state != kChecked && state != kPartlyChecked) return;
  const int next = state == kUnchecked ? kChecked : kUnchecked;
  if (ItemHasChildren(hItem)) SetBranch(hItem, next);
  SetCheckStateIndex(hItem, next);
  // Disabled ancestors and those without a box keep their state; those above them are
  // recomputed still.
  for (HTREEITEM up = GetParentItem(hItem); up; up = GetParentItem(up)) {
    const int upState = GetCheckState(up);
    if (upState != kDisabled && upState != kNoCheckBox) Recompute(up);
  }
  if (CWnd* parent = GetParent())
    parent->SendMessage(kCheckChangedMessage, static_cast<WPARAM>(AnyItemChecked()),
                        static_cast<LPARAM>(AllItemsChecked()));
  if (m_pOwner) m_pOwner->UpdateBranchChecked();
}

void CTreeXCtrl::OnLButtonDown(UINT, CPoint point) {
  UINT flags = 0;
  const HTREEITEM item = HitTest(point, &flags);
  if (item && (flags & TVHT_ONITEMSTATEICON)) {
    ToggleItem(item);
    return;
  }
  if (item) {
    if ((flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL)) && GetItemData(item) != kCategoryData && m_pOwner)
      m_pOwner->OnTreeDriverClicked(item);
    if (ItemHasChildren(item)) Expand(item, TVE_TOGGLE);
    SelectItem(item);
  }
  SetFocus();
}

void CTreeXCtrl::OnKeyDown(UINT nChar, UINT, UINT) {
  if (nChar == VK_SPACE) {
    if (const HTREEITEM selected = GetSelectedItem()) ToggleItem(selected);
    return;
  }
  Default();
}

void CTreeXCtrl::OnLButtonDblClk(UINT, CPoint) {}

void CTreeXCtrl::CheckAllDrivers(BOOL bChecked) {
  for (HTREEITEM group = GetRootItem(); group; group = GetNextSiblingItem(group)) {
    SetCheckState(group, bChecked);
    Expand(group, TVE_EXPAND);
    for (HTREEITEM item = GetChildItem(group); item; item = GetNextSiblingItem(item)) SetCheckState(item, bChecked);
  }
}

std::vector<HTREEITEM> CTreeXCtrl::GetCheckedDrivers() const {
  std::vector<HTREEITEM> checked;
  for (HTREEITEM group = GetRootItem(); group; group = GetNextSiblingItem(group))
    for (HTREEITEM item = GetChildItem(group); item; item = GetNextSiblingItem(item))
      if (IsItemChecked(item)) checked.push_back(item);
  return checked;
}
