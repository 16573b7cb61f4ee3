// CTreeCtrl: the class library's tree view, member by member over its messages.
#include "afxcmn.h"
#include "control.h"

IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)

namespace {
template <class T>
LPARAM P(T* pointer) {
  return reinterpret_cast<LPARAM>(pointer);
}
HTREEITEM Item(LRESULT result) { return reinterpret_cast<HTREEITEM>(result); }
}  // namespace

LRESULT CTreeCtrl::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

BOOL CTreeCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  InitCommonControls();
  return CWnd::Create(WC_TREEVIEWW, nullptr, dwStyle, rect, pParentWnd, nID);
}

HTREEITEM CTreeCtrl::InsertItem(LPTVINSERTSTRUCT lpInsertStruct) {
  return Item(Send(TVM_INSERTITEMW, 0, P(lpInsertStruct)));
}
HTREEITEM CTreeCtrl::InsertItem(LPCTSTR lpszItem, HTREEITEM hParent, HTREEITEM hInsertAfter) {
  return InsertItem(TVIF_TEXT, lpszItem, 0, 0, 0, 0, 0, hParent, hInsertAfter);
}
HTREEITEM CTreeCtrl::InsertItem(LPCTSTR lpszItem, int nImage, int nSelectedImage, HTREEITEM hParent,
                                HTREEITEM hInsertAfter) {
  return InsertItem(TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE, lpszItem, nImage, nSelectedImage, 0, 0, 0,
                    hParent, hInsertAfter);
}
HTREEITEM CTreeCtrl::InsertItem(UINT nMask, LPCTSTR lpszItem, int nImage, int nSelectedImage, UINT nState,
                                UINT nStateMask, LPARAM lParam, HTREEITEM hParent, HTREEITEM hInsertAfter) {
  TVINSERTSTRUCT insert{};
  insert.hParent = hParent;
  insert.hInsertAfter = hInsertAfter;
  insert.item.mask = nMask;
  insert.item.pszText = const_cast<LPWSTR>(lpszItem);
  insert.item.iImage = nImage;
  insert.item.iSelectedImage = nSelectedImage;
  insert.item.state = nState;
  insert.item.stateMask = nStateMask;
  insert.item.lParam = lParam;
  return InsertItem(&insert);
}
BOOL CTreeCtrl::DeleteItem(HTREEITEM hItem) { return static_cast<BOOL>(Send(TVM_DELETEITEM, 0, P(hItem))); }
BOOL CTreeCtrl::DeleteAllItems() { return DeleteItem(TVI_ROOT); }

HTREEITEM CTreeCtrl::GetNextItem(HTREEITEM hItem, UINT nCode) const {
  return Item(Send(TVM_GETNEXTITEM, nCode, P(hItem)));
}
BOOL CTreeCtrl::ItemHasChildren(HTREEITEM hItem) const {
  TVITEM item{};
  item.mask = TVIF_CHILDREN | TVIF_HANDLE;
  item.hItem = hItem;
  return GetItem(&item) && item.cChildren > 0;
}
UINT CTreeCtrl::GetCount() const { return static_cast<UINT>(Send(TVM_GETCOUNT)); }
UINT CTreeCtrl::GetVisibleCount() const { return static_cast<UINT>(Send(TVM_GETVISIBLECOUNT)); }

BOOL CTreeCtrl::GetItem(TVITEM* pItem) const { return static_cast<BOOL>(Send(TVM_GETITEMW, 0, P(pItem))); }
BOOL CTreeCtrl::SetItem(TVITEM* pItem) { return static_cast<BOOL>(Send(TVM_SETITEMW, 0, P(pItem))); }
CString CTreeCtrl::GetItemText(HTREEITEM hItem) const {
  CString text;
  for (int size = 256; size <= 2 * zx::comctl::kMaxText; size *= 2) {
    TVITEM item{};
    item.mask = TVIF_TEXT | TVIF_HANDLE;
    item.hItem = hItem;
    item.cchTextMax = size;
    item.pszText = text.GetBufferSetLength(size);
    item.pszText[0] = 0;
    const BOOL found = GetItem(&item);
    text.ReleaseBuffer();
    if (!found || text.GetLength() < size - 1) break;
  }
  return text;
}
BOOL CTreeCtrl::SetItemText(HTREEITEM hItem, LPCTSTR lpszItem) {
  TVITEM item{};
  item.mask = TVIF_TEXT | TVIF_HANDLE;
  item.hItem = hItem;
  item.pszText = const_cast<LPWSTR>(lpszItem);
  return SetItem(&item);
}
DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM hItem) const {
  TVITEM item{};
  item.mask = TVIF_PARAM | TVIF_HANDLE;
  item.hItem = hItem;
  return GetItem(&item) ? static_cast<DWORD_PTR>(item.lParam) : 0;
}
BOOL CTreeCtrl::SetItemData(HTREEITEM hItem, DWORD_PTR dwData) {
  TVITEM item{};
  item.mask = TVIF_PARAM | TVIF_HANDLE;
  item.hItem = hItem;
  item.lParam = static_cast<LPARAM>(dwData);
  return SetItem(&item);
}
UINT CTreeCtrl::GetItemState(HTREEITEM hItem, UINT nStateMask) const {
  return static_cast<UINT>(Send(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(hItem), static_cast<LPARAM>(nStateMask)));
}
BOOL CTreeCtrl::SetItemState(HTREEITEM hItem, UINT nState, UINT nStateMask) {
  TVITEM item{};
  item.mask = TVIF_STATE | TVIF_HANDLE;
  item.hItem = hItem;
  item.state = nState;
  item.stateMask = nStateMask;
  return SetItem(&item);
}
BOOL CTreeCtrl::GetCheck(HTREEITEM hItem) const {
  return (GetItemState(hItem, TVIS_STATEIMAGEMASK) >> 12) == 2;
}
BOOL CTreeCtrl::SetCheck(HTREEITEM hItem, BOOL fCheck) {
  return SetItemState(hItem, INDEXTOSTATEIMAGEMASK(fCheck ? 2 : 1), TVIS_STATEIMAGEMASK);
}

BOOL CTreeCtrl::Expand(HTREEITEM hItem, UINT nCode) { return static_cast<BOOL>(Send(TVM_EXPAND, nCode, P(hItem))); }
BOOL CTreeCtrl::SelectItem(HTREEITEM hItem) { return static_cast<BOOL>(Send(TVM_SELECTITEM, TVGN_CARET, P(hItem))); }
BOOL CTreeCtrl::EnsureVisible(HTREEITEM hItem) { return static_cast<BOOL>(Send(TVM_ENSUREVISIBLE, 0, P(hItem))); }
HTREEITEM CTreeCtrl::HitTest(CPoint pt, UINT* pFlags) const {
  TVHITTESTINFO info{};
  info.pt = pt;
  const HTREEITEM item = HitTest(&info);
  if (pFlags) *pFlags = info.flags;
  return item;
}
HTREEITEM CTreeCtrl::HitTest(TVHITTESTINFO* pHitTestInfo) const {
  return Item(Send(TVM_HITTEST, 0, P(pHitTestInfo)));
}
BOOL CTreeCtrl::GetItemRect(HTREEITEM hItem, LPRECT lpRect, BOOL bTextOnly) const {
  if (!lpRect) return FALSE;
  *reinterpret_cast<HTREEITEM*>(lpRect) = hItem;
  return static_cast<BOOL>(Send(TVM_GETITEMRECT, static_cast<WPARAM>(bTextOnly), P(lpRect)));
}

CImageList* CTreeCtrl::SetImageList(CImageList* pImageList, int nImageListType) {
  return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(
      Send(TVM_SETIMAGELIST, static_cast<WPARAM>(nImageListType), P(pImageList ? pImageList->m_hImageList : nullptr))));
}
CImageList* CTreeCtrl::GetImageList(int nImageListType) const {
  return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(Send(TVM_GETIMAGELIST, static_cast<WPARAM>(nImageListType))));
}
SHORT CTreeCtrl::SetItemHeight(SHORT cyHeight) {
  return static_cast<SHORT>(Send(TVM_SETITEMHEIGHT, static_cast<WPARAM>(static_cast<WORD>(cyHeight))));
}
SHORT CTreeCtrl::GetItemHeight() const { return static_cast<SHORT>(Send(TVM_GETITEMHEIGHT)); }
UINT CTreeCtrl::GetIndent() const { return static_cast<UINT>(Send(TVM_GETINDENT)); }
void CTreeCtrl::SetIndent(UINT nIndent) { Send(TVM_SETINDENT, nIndent); }
COLORREF CTreeCtrl::SetBkColor(COLORREF clr) { return static_cast<COLORREF>(Send(TVM_SETBKCOLOR, 0, static_cast<LPARAM>(clr))); }
COLORREF CTreeCtrl::SetTextColor(COLORREF clr) { return static_cast<COLORREF>(Send(TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(clr))); }
