// The window procedure of the list view "SysListView32": its header child, fonts, focus,
// and the LVM_ messages, each handed to the operation that does it.
#include "listview.h"

namespace zx::comctl::listview {
namespace {

void Create(ListView& lv) {
  const DWORD style = static_cast<DWORD>(GetWindowLongW(lv.window, GWL_STYLE));
  const DWORD headerStyle = WS_CHILD | HDS_HORZ | HDS_BUTTONS | HDS_FULLDRAG |
                            ((style & LVS_NOCOLUMNHEADER) ? HDS_HIDDEN : WS_VISIBLE);
  lv.lineHeight = LineHeight(nullptr);
  lv.barSize = SIZE{GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYHSCROLL)};
  lv.header = CreateWindowExW(0, WC_HEADERW, nullptr, headerStyle, 0, 0, 0, 0, lv.window, nullptr,
                              nullptr, nullptr);
  LayoutHeader(lv);
  MeasureRows(lv);
  UpdateScrollBars(lv);
}

void Destroy(ListView& lv) {
  const DWORD style = static_cast<DWORD>(GetWindowLongW(lv.window, GWL_STYLE));
  if (!(style & LVS_SHAREIMAGELISTS)) {
    for (HIMAGELIST list : {lv.normalImages, lv.smallImages, lv.stateImages})
      if (list && list != lv.ownCheckImages) ImageList_Destroy(list);
  }
  if (lv.ownCheckImages) ImageList_Destroy(lv.ownCheckImages);
}

void SetFont(ListView& lv, HFONT font, bool redraw) {
  lv.font = font;
  lv.lineHeight = LineHeight(font);
  if (lv.header) SendMessageW(lv.header, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
  LayoutHeader(lv);
  MeasureRows(lv);
  UpdateScrollBars(lv);
  if (redraw) InvalidateRect(lv.window, nullptr, TRUE);
}

void SetFocusState(ListView& lv, bool focused) {
  lv.focused = focused;
  InvalidateRect(lv.window, nullptr, TRUE);
  NMHDR nm{};
  Notify(lv.window, focused ? NM_SETFOCUS : NM_KILLFOCUS, &nm);
}

// Notifications of the header go on to the list's parent, whose answer counts (a refused
// HDN_ITEMCHANGING keeps the width); a changed column redraws the rows and resizes the bars.
LRESULT FromHeader(ListView& lv, WPARAM wParam, NMHDR* nm) {
  HWND parent = GetParent(lv.window);
  const LRESULT answer =
      parent ? SendMessageW(parent, WM_NOTIFY, wParam, reinterpret_cast<LPARAM>(nm)) : 0;
  if (nm->code == HDN_ITEMCHANGEDW || nm->code == HDN_ENDTRACKW) ContentChanged(lv);
  // A double click on a divider fits the column to its widest text.
  if (nm->code == HDN_DIVIDERDBLCLICKW)
    SetColumnWidth(lv, static_cast<WPARAM>(reinterpret_cast<NMHEADERW*>(nm)->iItem), LVSCW_AUTOSIZE);
  // A click on a column's title is a column click of the list (sorting lists hear it).
  if (nm->code == HDN_ITEMCLICKW && !(GetWindowLongW(lv.window, GWL_STYLE) & LVS_NOSORTHEADER)) {
    NMLISTVIEW click{};
    click.iItem = -1;
    click.iSubItem = reinterpret_cast<NMHEADERW*>(nm)->iItem;
    Notify(lv.window, LVN_COLUMNCLICK, &click.hdr);
  }
  return answer;
}

LRESULT ItemState(const ListView& lv, WPARAM index, UINT mask) {
  return ValidRow(lv, index) ? static_cast<LRESULT>(lv.rows[index].state & mask) : 0;
}

LRESULT SelectedCount(const ListView& lv) {
  LRESULT n = 0;
  for (const Row& row : lv.rows) n += (row.state & LVIS_SELECTED) ? 1 : 0;
  return n;
}

COLORREF Swap(COLORREF& slot, LPARAM value) {
  const COLORREF old = slot;
  slot = static_cast<COLORREF>(value);
  return old;
}

LRESULT ListMessage(ListView& lv, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* item = reinterpret_cast<LVITEMW*>(lParam);
  auto* column = reinterpret_cast<LVCOLUMNW*>(lParam);
  auto* rect = reinterpret_cast<RECT*>(lParam);
  switch (message) {
    case LVM_INSERTCOLUMNW: return InsertColumn(lv, wParam, column);
    case LVM_SETCOLUMNW: return SetColumn(lv, wParam, column);
    case LVM_GETCOLUMNW: return GetColumn(lv, wParam, column);
    case LVM_DELETECOLUMN: return DeleteColumn(lv, wParam);
    case LVM_GETCOLUMNWIDTH: return ColumnWidth(lv, static_cast<int>(wParam));
    case LVM_SETCOLUMNWIDTH:
      return SetColumnWidth(lv, wParam, static_cast<int>(static_cast<short>(LOWORD(lParam))));
    case LVM_GETHEADER: return reinterpret_cast<LRESULT>(lv.header);
    case LVM_INSERTITEMW: return InsertItem(lv, item);
    case LVM_SETITEMW: return SetItem(lv, item);
    case LVM_GETITEMW: return GetItem(lv, item);
    case LVM_SETITEMTEXTW: return SetItemText(lv, wParam, item);
    case LVM_GETITEMTEXTW: return GetItemText(lv, wParam, item);
    case LVM_SETITEMSTATE: return SetItemState(lv, wParam, item);
    case LVM_GETITEMSTATE: return ItemState(lv, wParam, static_cast<UINT>(lParam));
    case LVM_DELETEITEM: return DeleteItem(lv, wParam);
    case LVM_DELETEALLITEMS: return DeleteAllItems(lv);
    case LVM_GETITEMCOUNT: return static_cast<LRESULT>(lv.rows.size());
    case LVM_GETSELECTEDCOUNT: return SelectedCount(lv);
    case LVM_SORTITEMS: return SortItems(lv, static_cast<LPARAM>(wParam), reinterpret_cast<PFNLVCOMPARE>(lParam));
    case LVM_GETNEXTITEM:
      return GetNextItem(lv, static_cast<int>(static_cast<INT_PTR>(wParam)), LOWORD(lParam));
    case LVM_SETEXTENDEDLISTVIEWSTYLE:
      return SetExtendedStyle(lv, static_cast<DWORD>(wParam), static_cast<DWORD>(lParam));
    case LVM_GETEXTENDEDLISTVIEWSTYLE: return lv.exStyle;
    case LVM_SETIMAGELIST:
      return reinterpret_cast<LRESULT>(SetImageList(lv, static_cast<int>(wParam), reinterpret_cast<HIMAGELIST>(lParam)));
    case LVM_GETIMAGELIST:
      return reinterpret_cast<LRESULT>(wParam == LVSIL_NORMAL  ? lv.normalImages
                                       : wParam == LVSIL_SMALL ? lv.smallImages
                                       : wParam == LVSIL_STATE ? lv.stateImages
                                                               : nullptr);
    case LVM_GETITEMRECT: return GetItemRect(lv, static_cast<int>(wParam), rect);
    case LVM_GETSUBITEMRECT: return GetSubItemRect(lv, static_cast<int>(wParam), rect);
    case LVM_HITTEST: return HitTest(lv, reinterpret_cast<LVHITTESTINFO*>(lParam), false);
    case LVM_SUBITEMHITTEST: return HitTest(lv, reinterpret_cast<LVHITTESTINFO*>(lParam), true);
    case LVM_ENSUREVISIBLE: return EnsureVisible(lv, static_cast<int>(wParam), lParam != 0);
    case LVM_SCROLL: return Scroll(lv, static_cast<int>(wParam), static_cast<int>(lParam));
    case LVM_GETTOPINDEX: return lv.top;
    case LVM_GETCOUNTPERPAGE: return CountPerPage(lv);
    case LVM_UPDATE:
      if (!ValidRow(lv, wParam)) return FALSE;
      InvalidateRow(lv, static_cast<int>(wParam));
      return TRUE;
    case LVM_REDRAWITEMS:
      for (int i = static_cast<int>(wParam); i <= static_cast<int>(lParam) && ValidRow(lv, static_cast<WPARAM>(i)); ++i)
        InvalidateRow(lv, i);
      return TRUE;
    case LVM_GETBKCOLOR: return lv.background == CLR_DEFAULT ? GetSysColor(COLOR_WINDOW) : lv.background;
    case LVM_SETBKCOLOR: Swap(lv.background, lParam); InvalidateRect(lv.window, nullptr, TRUE); return TRUE;
    case LVM_GETTEXTCOLOR: return lv.textColour == CLR_DEFAULT ? GetSysColor(COLOR_WINDOWTEXT) : lv.textColour;
    case LVM_SETTEXTCOLOR: Swap(lv.textColour, lParam); InvalidateRect(lv.window, nullptr, TRUE); return TRUE;
    case LVM_GETTEXTBKCOLOR: return lv.textBackground;
    case LVM_SETTEXTBKCOLOR: Swap(lv.textBackground, lParam); return TRUE;
    default: return DefWindowProcW(lv.window, message, wParam, lParam);
  }
}

LRESULT CALLBACK ListViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ListView* lv = StateOf<ListView>(window);
  if (message == WM_NCCREATE) {
    auto* state = new ListView;
    state->window = window;
    AttachState(window, state);
    return DefWindowProcW(window, message, wParam, lParam);
  }
  if (!lv) return DefWindowProcW(window, message, wParam, lParam);
  const POINT pt{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
  switch (message) {
    case WM_CREATE:
      Create(*lv);
      return 0;
    case WM_DESTROY:
      Destroy(*lv);
      return 0;
    case WM_NCDESTROY:
      AttachState<ListView>(window, nullptr);
      delete lv;
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_PAINT:
      Paint(*lv);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SETFONT:
      SetFont(*lv, reinterpret_cast<HFONT>(wParam), LOWORD(lParam) != 0);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(lv->font);
    case WM_WINDOWPOSCHANGED:
      // The owner of owner-drawn rows is asked their height again.
      MeasureRows(*lv);
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_SIZE:
    case WM_STYLECHANGED:
      LayoutHeader(*lv);
      ContentChanged(*lv);
      return 0;
    case WM_NOTIFY: {
      auto* nm = reinterpret_cast<NMHDR*>(lParam);
      if (nm && nm->hwndFrom == lv->header) return FromHeader(*lv, wParam, nm);
      return 0;
    }
    case WM_SETFOCUS:
      SetFocusState(*lv, true);
      return 0;
    case WM_KILLFOCUS:
      SetFocusState(*lv, false);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnButtonDown(*lv, pt, wParam, message == WM_LBUTTONDBLCLK);
      return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      OnRightButtonDown(*lv, pt, wParam, message == WM_RBUTTONDBLCLK);
      return 0;
    case WM_KEYDOWN:
      OnKeyDown(*lv, wParam);
      return 0;
    case WM_VSCROLL:
      OnVScroll(*lv, LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_HSCROLL:
      OnHScroll(*lv, LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_MOUSEWHEEL:
      OnMouseWheel(*lv, static_cast<SHORT>(HIWORD(wParam)));
      return 0;
    default:
      return ListMessage(*lv, message, wParam, lParam);
  }
}

}  // namespace
}  // namespace zx::comctl::listview

namespace zx::comctl {
bool RegisterListViewClass() {
  return RegisterControlClass(WC_LISTVIEWW, listview::ListViewProc, CS_DBLCLKS);
}
}  // namespace zx::comctl
