// CListCtrl and CHeaderCtrl: the class library's list view and header, member by member
// over their messages.
#include "afxcmn.h"
#include "control.h"

IMPLEMENT_DYNAMIC(CHeaderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

int CHeaderCtrl::GetItemCount() const {
  return static_cast<int>(::SendMessageW(m_hWnd, HDM_GETITEMCOUNT, 0, 0));
}
BOOL CHeaderCtrl::GetItem(int nPos, HDITEM* pHeaderItem) const {
  return static_cast<BOOL>(::SendMessageW(m_hWnd, HDM_GETITEMW, static_cast<WPARAM>(nPos),
                                          reinterpret_cast<LPARAM>(pHeaderItem)));
}
BOOL CHeaderCtrl::SetItem(int nPos, HDITEM* pHeaderItem) {
  return static_cast<BOOL>(::SendMessageW(m_hWnd, HDM_SETITEMW, static_cast<WPARAM>(nPos),
                                          reinterpret_cast<LPARAM>(pHeaderItem)));
}
BOOL CHeaderCtrl::GetItemRect(int nIndex, LPRECT lpRect) const {
  return static_cast<BOOL>(::SendMessageW(m_hWnd, HDM_GETITEMRECT, static_cast<WPARAM>(nIndex),
                                          reinterpret_cast<LPARAM>(lpRect)));
}

LRESULT CListCtrl::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

namespace {
template <class T>
LPARAM P(T* pointer) {
  return reinterpret_cast<LPARAM>(pointer);
}
WPARAM W(int value) { return static_cast<WPARAM>(static_cast<INT_PTR>(value)); }
}  // namespace

BOOL CListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  InitCommonControls();
  return CWnd::Create(WC_LISTVIEWW, nullptr, dwStyle, rect, pParentWnd, nID);
}

int CListCtrl::InsertColumn(int nCol, const LVCOLUMN* pColumn) {
  return static_cast<int>(Send(LVM_INSERTCOLUMNW, W(nCol), P(pColumn)));
}
int CListCtrl::InsertColumn(int nCol, LPCTSTR lpszColumnHeading, int nFormat, int nWidth, int nSubItem) {
  LVCOLUMN column{};
  column.mask = LVCF_TEXT | LVCF_FMT;
  column.pszText = const_cast<LPWSTR>(lpszColumnHeading);
  column.fmt = nFormat;
  if (nWidth != -1) {
    column.mask |= LVCF_WIDTH;
    column.cx = nWidth;
  }
  if (nSubItem != -1) {
    column.mask |= LVCF_SUBITEM;
    column.iSubItem = nSubItem;
  }
  return InsertColumn(nCol, &column);
}
BOOL CListCtrl::DeleteColumn(int nCol) { return static_cast<BOOL>(Send(LVM_DELETECOLUMN, W(nCol))); }
BOOL CListCtrl::GetColumn(int nCol, LVCOLUMN* pColumn) const {
  return static_cast<BOOL>(Send(LVM_GETCOLUMNW, W(nCol), P(pColumn)));
}
BOOL CListCtrl::SetColumn(int nCol, const LVCOLUMN* pColumn) {
  return static_cast<BOOL>(Send(LVM_SETCOLUMNW, W(nCol), P(pColumn)));
}
int CListCtrl::GetColumnWidth(int nCol) const { return static_cast<int>(Send(LVM_GETCOLUMNWIDTH, W(nCol))); }
BOOL CListCtrl::SetColumnWidth(int nCol, int cx) {
  return static_cast<BOOL>(Send(LVM_SETCOLUMNWIDTH, W(nCol), MAKELPARAM(cx, 0)));
}
CHeaderCtrl* CListCtrl::GetHeaderCtrl() const {
  m_header.m_hWnd = reinterpret_cast<HWND>(Send(LVM_GETHEADER));
  return m_header.m_hWnd ? &m_header : nullptr;
}

int CListCtrl::InsertItem(const LVITEM* pItem) { return static_cast<int>(Send(LVM_INSERTITEMW, 0, P(pItem))); }
int CListCtrl::InsertItem(int nItem, LPCTSTR lpszItem) {
  LVITEM item{};
  item.mask = LVIF_TEXT;
  item.iItem = nItem;
  item.pszText = const_cast<LPWSTR>(lpszItem);
  return InsertItem(&item);
}
int CListCtrl::InsertItem(int nItem, LPCTSTR lpszItem, int nImage) {
  LVITEM item{};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = nItem;
  item.pszText = const_cast<LPWSTR>(lpszItem);
  item.iImage = nImage;
  return InsertItem(&item);
}
BOOL CListCtrl::SetItem(const LVITEM* pItem) { return static_cast<BOOL>(Send(LVM_SETITEMW, 0, P(pItem))); }
BOOL CListCtrl::GetItem(LVITEM* pItem) const { return static_cast<BOOL>(Send(LVM_GETITEMW, 0, P(pItem))); }
BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCTSTR lpszText) {
  LVITEM item{};
  item.iSubItem = nSubItem;
  item.pszText = const_cast<LPWSTR>(lpszText);
  return static_cast<BOOL>(Send(LVM_SETITEMTEXTW, W(nItem), P(&item)));
}
CString CListCtrl::GetItemText(int nItem, int nSubItem) const {
  // Grows the buffer until the text fits.
  CString text;
  for (int size = 256; size <= 2 * zx::comctl::kMaxText; size *= 2) {
    LVITEM item{};
    item.iSubItem = nSubItem;
    item.cchTextMax = size;
    item.pszText = text.GetBufferSetLength(size);
    const int copied = static_cast<int>(Send(LVM_GETITEMTEXTW, W(nItem), P(&item)));
    text.ReleaseBuffer(copied);
    if (copied < size - 1) break;
  }
  return text;
}
int CListCtrl::GetItemText(int nItem, int nSubItem, LPTSTR lpszText, int nLen) const {
  LVITEM item{};
  item.iSubItem = nSubItem;
  item.pszText = lpszText;
  item.cchTextMax = nLen;
  return static_cast<int>(Send(LVM_GETITEMTEXTW, W(nItem), P(&item)));
}
BOOL CListCtrl::SetItemData(int nItem, DWORD_PTR dwData) {
  LVITEM item{};
  item.mask = LVIF_PARAM;
  item.iItem = nItem;
  item.lParam = static_cast<LPARAM>(dwData);
  return SetItem(&item);
}
DWORD_PTR CListCtrl::GetItemData(int nItem) const {
  LVITEM item{};
  item.mask = LVIF_PARAM;
  item.iItem = nItem;
  return GetItem(&item) ? static_cast<DWORD_PTR>(item.lParam) : 0;
}
int CListCtrl::GetItemCount() const { return static_cast<int>(Send(LVM_GETITEMCOUNT)); }
BOOL CListCtrl::DeleteItem(int nItem) { return static_cast<BOOL>(Send(LVM_DELETEITEM, W(nItem))); }
BOOL CListCtrl::DeleteAllItems() { return static_cast<BOOL>(Send(LVM_DELETEALLITEMS)); }
BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask) {
  LVITEM item{};
  item.state = nState;
  item.stateMask = nMask;
  return static_cast<BOOL>(Send(LVM_SETITEMSTATE, W(nItem), P(&item)));
}
UINT CListCtrl::GetItemState(int nItem, UINT nMask) const {
  return static_cast<UINT>(Send(LVM_GETITEMSTATE, W(nItem), static_cast<LPARAM>(nMask)));
}
BOOL CListCtrl::SetCheck(int nItem, BOOL fCheck) {
  return SetItemState(nItem, INDEXTOSTATEIMAGEMASK(fCheck ? 2 : 1), LVIS_STATEIMAGEMASK);
}
BOOL CListCtrl::GetCheck(int nItem) const {
  return ((GetItemState(nItem, LVIS_STATEIMAGEMASK) >> 12) - 1) == 1;
}
int CListCtrl::GetNextItem(int nItem, int nFlags) const {
  return static_cast<int>(Send(LVM_GETNEXTITEM, W(nItem), MAKELPARAM(nFlags, 0)));
}
UINT CListCtrl::GetSelectedCount() const { return static_cast<UINT>(Send(LVM_GETSELECTEDCOUNT)); }
BOOL CListCtrl::SortItems(PFNLVCOMPARE pfnCompare, DWORD_PTR dwData) {
  return static_cast<BOOL>(Send(LVM_SORTITEMS, static_cast<WPARAM>(dwData), reinterpret_cast<LPARAM>(pfnCompare)));
}
BOOL CListCtrl::Update(int nItem) { return static_cast<BOOL>(Send(LVM_UPDATE, W(nItem))); }
BOOL CListCtrl::RedrawItems(int nFirst, int nLast) {
  return static_cast<BOOL>(Send(LVM_REDRAWITEMS, W(nFirst), static_cast<LPARAM>(nLast)));
}

DWORD CListCtrl::SetExtendedStyle(DWORD dwNewStyle) {
  return static_cast<DWORD>(Send(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(dwNewStyle)));
}
DWORD CListCtrl::GetExtendedStyle() const { return static_cast<DWORD>(Send(LVM_GETEXTENDEDLISTVIEWSTYLE)); }
CImageList* CListCtrl::SetImageList(CImageList* pImageList, int nImageListType) {
  return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(Send(
      LVM_SETIMAGELIST, W(nImageListType), P(pImageList ? pImageList->m_hImageList : nullptr))));
}
CImageList* CListCtrl::GetImageList(int nImageList) const {
  return CImageList::FromHandle(reinterpret_cast<HIMAGELIST>(Send(LVM_GETIMAGELIST, W(nImageList))));
}
BOOL CListCtrl::SetBkColor(COLORREF cr) { return static_cast<BOOL>(Send(LVM_SETBKCOLOR, 0, static_cast<LPARAM>(cr))); }
COLORREF CListCtrl::GetBkColor() const { return static_cast<COLORREF>(Send(LVM_GETBKCOLOR)); }
BOOL CListCtrl::SetTextColor(COLORREF cr) { return static_cast<BOOL>(Send(LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(cr))); }
COLORREF CListCtrl::GetTextColor() const { return static_cast<COLORREF>(Send(LVM_GETTEXTCOLOR)); }

BOOL CListCtrl::EnsureVisible(int nItem, BOOL bPartialOK) {
  return static_cast<BOOL>(Send(LVM_ENSUREVISIBLE, W(nItem), bPartialOK));
}
int CListCtrl::GetTopIndex() const { return static_cast<int>(Send(LVM_GETTOPINDEX)); }
int CListCtrl::GetCountPerPage() const { return static_cast<int>(Send(LVM_GETCOUNTPERPAGE)); }
BOOL CListCtrl::GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const {
  if (!lpRect) return FALSE;
  lpRect->left = static_cast<LONG>(nCode);
  return static_cast<BOOL>(Send(LVM_GETITEMRECT, W(nItem), P(lpRect)));
}
BOOL CListCtrl::GetSubItemRect(int iItem, int iSubItem, int nArea, CRect& ref) const {
  RECT rect{nArea, iSubItem, 0, 0};
  const BOOL found = static_cast<BOOL>(Send(LVM_GETSUBITEMRECT, W(iItem), P(&rect)));
  if (found) ref = rect;
  return found;
}
int CListCtrl::HitTest(CPoint pt, UINT* pFlags) const {
  LVHITTESTINFO info{};
  info.pt = pt;
  const int index = HitTest(&info);
  if (pFlags) *pFlags = info.flags;
  return index;
}
int CListCtrl::HitTest(LVHITTESTINFO* pHitTestInfo) const {
  return static_cast<int>(Send(LVM_HITTEST, 0, P(pHitTestInfo)));
}
int CListCtrl::SubItemHitTest(LPLVHITTESTINFO pInfo) {
  return static_cast<int>(Send(LVM_SUBITEMHITTEST, 0, P(pInfo)));
}
BOOL CListCtrl::Scroll(CSize size) {
  return static_cast<BOOL>(Send(LVM_SCROLL, W(size.cx), static_cast<LPARAM>(size.cy)));
}
