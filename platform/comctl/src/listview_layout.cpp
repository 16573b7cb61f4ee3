// List view geometry: the header's place, row heights (measured by the owner for owner-drawn
// rows), item and sub-item rectangles and hit tests, all following the scroll offsets.
#include <algorithm>

#include "listview.h"

namespace zx::comctl::listview {
namespace {

constexpr int kPadding = 2;
constexpr int kMaxRowHeight = 4096;

DWORD Style(const ListView& lv) { return static_cast<DWORD>(GetWindowLongW(lv.window, GWL_STYLE)); }

SIZE ImageSize(HIMAGELIST list) {
  int cx = 0, cy = 0;
  if (!list || !ImageList_GetIconSize(list, &cx, &cy)) return SIZE{0, 0};
  return SIZE{cx, cy};
}

RECT Client(const ListView& lv) {
  RECT r{};
  GetClientRect(lv.window, &r);
  return r;
}

int RowTop(const ListView& lv, int index) { return HeaderHeight(lv) + (index - lv.top) * RowHeight(lv); }

// The parts of the first column of a row: state image, small image and label.
struct FirstColumn {
  RECT state;
  RECT icon;
  RECT label;
};

FirstColumn FirstColumnParts(const ListView& lv, int index) {
  const int top = RowTop(lv, index);
  const int bottom = top + RowHeight(lv);
  const int left = ColumnLeft(lv, 0);
  const int right = left + ColumnWidth(lv, 0);
  const SIZE small = ImageSize(lv.smallImages);
  int x = left + kPadding + lv.rows[static_cast<std::size_t>(index)].indent * small.cx;
  FirstColumn parts{};
  const int stateWidth = lv.stateImages ? ImageSize(lv.stateImages).cx : 0;
  parts.state = RECT{x, top, x + stateWidth, bottom};
  x += stateWidth;
  parts.icon = RECT{x, top, x + small.cx, bottom};
  x += small.cx;
  parts.label = RECT{std::min(x, right), top, right, bottom};
  return parts;
}

bool Inside(const RECT& r, POINT pt) { return pt.x >= r.left && pt.x < r.right && pt.y >= r.top && pt.y < r.bottom; }

}  // namespace

int HeaderHeight(const ListView& lv) {
  if (!lv.header || (Style(lv) & LVS_NOCOLUMNHEADER)) return 0;
  RECT r{};
  GetWindowRect(lv.header, &r);
  return r.bottom - r.top;
}

int RowHeight(const ListView& lv) {
  if ((Style(lv) & LVS_OWNERDRAWFIXED) && lv.measuredHeight > 0) return lv.measuredHeight;
  int height = lv.lineHeight + 4;
  height = std::max(height, static_cast<int>(ImageSize(lv.smallImages).cy) + 1);
  height = std::max(height, static_cast<int>(ImageSize(lv.stateImages).cy) + 1);
  return height;
}

int CountPerPage(const ListView& lv) {
  const int area = Client(lv).bottom - HeaderHeight(lv);
  return std::max(0, area / RowHeight(lv));
}

int TotalWidth(const ListView& lv) {
  int width = 0;
  for (std::size_t i = 0; i < lv.columns.size(); ++i) width += ColumnWidth(lv, static_cast<int>(i));
  return width;
}

int ColumnLeft(const ListView& lv, int column) {
  int left = -lv.scrollX;
  for (int i = 0; i < column; ++i) left += ColumnWidth(lv, i);
  return left;
}

LRESULT GetItemRect(const ListView& lv, int index, RECT* rect) {
  if (!rect || index < 0 || !ValidRow(lv, static_cast<WPARAM>(index))) return FALSE;
  const int code = rect->left;
  const FirstColumn parts = FirstColumnParts(lv, index);
  const int top = RowTop(lv, index);
  const RECT bounds{ColumnLeft(lv, 0), top, ColumnLeft(lv, 0) + TotalWidth(lv), top + RowHeight(lv)};
  switch (code) {
    case LVIR_BOUNDS:
      *rect = bounds;
      return TRUE;
    case LVIR_ICON:
      *rect = parts.icon;
      return TRUE;
    case LVIR_LABEL:
      *rect = parts.label;
      return TRUE;
    case LVIR_SELECTBOUNDS:
      *rect = (lv.exStyle & LVS_EX_FULLROWSELECT) ? bounds
                                                  : RECT{parts.icon.left, top, parts.label.right, bounds.bottom};
      return TRUE;
    default:
      return FALSE;
  }
}

LRESULT GetSubItemRect(const ListView& lv, int index, RECT* rect) {
  if (!rect || index < 0 || !ValidRow(lv, static_cast<WPARAM>(index))) return FALSE;
  const int column = rect->top;
  const int code = rect->left;
  if (column < 0 || column >= static_cast<int>(lv.columns.size())) return FALSE;
  if (column == 0) {
    rect->left = code;
    return GetItemRect(lv, index, rect);
  }
  const int top = RowTop(lv, index);
  const int left = ColumnLeft(lv, column);
  const RECT cell{left, top, left + ColumnWidth(lv, column), top + RowHeight(lv)};
  if (code == LVIR_ICON) {
    *rect = RECT{cell.left, cell.top, cell.left, cell.bottom};
    return TRUE;
  }
  if (code != LVIR_BOUNDS && code != LVIR_LABEL && code != LVIR_SELECTBOUNDS) return FALSE;
  *rect = cell;
  return TRUE;
}

LRESULT HitTest(const ListView& lv, LVHITTESTINFO* info, bool subItems) {
  if (!info) return -1;
  const RECT client = Client(lv);
  const POINT pt = info->pt;
  info->iItem = -1;
  info->iSubItem = 0;
  info->flags = 0;
  if (pt.y < 0) info->flags |= LVHT_ABOVE;
  if (pt.y >= client.bottom) info->flags |= LVHT_BELOW;
  if (pt.x < 0) info->flags |= LVHT_TOLEFT;
  if (pt.x >= client.right) info->flags |= LVHT_TORIGHT;
  if (info->flags) return -1;
  info->flags = LVHT_NOWHERE;
  const int headerHeight = HeaderHeight(lv);
  if (pt.y < headerHeight) return -1;
  const int index = lv.top + (pt.y - headerHeight) / RowHeight(lv);
  if (index >= static_cast<int>(lv.rows.size())) return -1;
  int column = -1;
  for (int c = 0; c < static_cast<int>(lv.columns.size()); ++c) {
    const int left = ColumnLeft(lv, c);
    if (pt.x >= left && pt.x < left + ColumnWidth(lv, c)) column = c;
  }
  if (column < 0) return -1;
  if (column > 0) {
    if (!subItems && !(lv.exStyle & LVS_EX_FULLROWSELECT)) return -1;
    info->flags = LVHT_ONITEMLABEL;
  } else {
    const FirstColumn parts = FirstColumnParts(lv, index);
    info->flags = Inside(parts.state, pt)  ? LVHT_ONITEMSTATEICON
                  : Inside(parts.icon, pt) ? LVHT_ONITEMICON
                                           : LVHT_ONITEMLABEL;
  }
  info->iItem = index;
  info->iSubItem = subItems ? column : 0;
  return index;
}

void LayoutHeader(ListView& lv) {
  if (!lv.header) return;
  RECT client = Client(lv);
  WINDOWPOS pos{};
  HDLAYOUT layout{&client, &pos};
  if (Style(lv) & LVS_NOCOLUMNHEADER) {
    ShowWindow(lv.header, SW_HIDE);
    return;
  }
  if (!SendMessageW(lv.header, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout))) return;
  // The header lies left of the client area by the horizontal scroll, so that its items
  // stand over their columns.
  const RECT place{pos.x - lv.scrollX, pos.y, pos.x + pos.cx, pos.y + pos.cy};
  RECT now{};
  GetWindowRect(lv.header, &now);
  MapWindowPoints(nullptr, lv.window, reinterpret_cast<POINT*>(&now), 2);
  if (IsWindowVisible(lv.header) && EqualRect(&now, &place)) return;
  SetWindowPos(lv.header, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void MeasureRows(ListView& lv) {
  if (!(Style(lv) & LVS_OWNERDRAWFIXED)) return;
  const int id = GetDlgCtrlID(lv.window);
  MEASUREITEMSTRUCT measure{};
  measure.CtlType = ODT_LISTVIEW;
  measure.CtlID = static_cast<UINT>(id);
  measure.itemHeight = static_cast<UINT>(lv.measuredHeight > 0 ? lv.measuredHeight : RowHeight(lv));
  HWND parent = GetParent(lv.window);
  if (parent) SendMessageW(parent, WM_MEASUREITEM, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&measure));
  const int height = static_cast<int>(std::min<UINT>(measure.itemHeight, kMaxRowHeight));
  if (height > 0 && height != lv.measuredHeight) {
    lv.measuredHeight = height;
    ContentChanged(lv);
  }
}

void InvalidateRow(const ListView& lv, int index) {
  RECT r{LVIR_BOUNDS, 0, 0, 0};
  if (!GetItemRect(lv, index, &r)) return;
  r.left = 0;
  r.right = std::max(r.right, static_cast<LONG>(Client(lv).right));
  InvalidateRect(lv.window, &r, TRUE);
}

}  // namespace zx::comctl::listview
