// List view rows and columns: insertion, texts, item data, images and states with their
// notifications (LVN_INSERTITEM, LVN_DELETEITEM, LVN_ITEMCHANGING/LVN_ITEMCHANGED), sorting
// with the caller's comparator, and the extended styles and image lists.
#include <algorithm>

#include "errhandlingapi.h"
#include "listview.h"

namespace zx::comctl::listview {
namespace {

DWORD Style(const ListView& lv) { return static_cast<DWORD>(GetWindowLongW(lv.window, GWL_STYLE)); }

LRESULT SendListNotify(ListView& lv, UINT code, int index, UINT changed, UINT newState,
                       UINT oldState, LPARAM param) {
  NMLISTVIEW nm{};
  nm.iItem = index;
  nm.uChanged = changed;
  nm.uNewState = newState;
  nm.uOldState = oldState;
  nm.lParam = param;
  return Notify(lv.window, code, &nm.hdr);
}

// A text of an item given by pointer: null and the text callback count as empty; false for a
// text too long.
bool ItemText(LPCWSTR text, std::u16string& out) {
  out.clear();
  if (!text || text == LPSTR_TEXTCALLBACKW) return true;
  return ReadText(text, out);
}

const std::u16string& TextOf(const Row& row, int subItem) {
  static const std::u16string empty;
  const auto it = row.texts.find(subItem);
  return it == row.texts.end() ? empty : it->second;
}

bool StateMatches(const Row& row, UINT flags) {
  const UINT wanted = flags & (LVNI_FOCUSED | LVNI_SELECTED | LVNI_CUT | LVNI_DROPHILITED);
  return (row.state & wanted) == wanted;
}

// Sorts the order of rows by the comparator, merging runs bottom-up: a comparator that is
// not a strict order still ends in some order, never outside the rows.
void MergeSort(std::vector<std::size_t>& order, const std::vector<LPARAM>& params,
               PFNLVCOMPARE compare, LPARAM sortParam) {
  std::vector<std::size_t> merged(order.size());
  for (std::size_t width = 1; width < order.size(); width *= 2) {
    for (std::size_t lo = 0; lo < order.size(); lo += 2 * width) {
      const std::size_t mid = std::min(lo + width, order.size());
      const std::size_t hi = std::min(lo + 2 * width, order.size());
      std::size_t a = lo, b = mid, out = lo;
      while (a < mid && b < hi)
        merged[out++] = compare(params[order[b]], params[order[a]], sortParam) < 0 ? order[b++]
                                                                                   : order[a++];
      while (a < mid) merged[out++] = order[a++];
      while (b < hi) merged[out++] = order[b++];
    }
    order.swap(merged);
  }
}

HDITEMW HeaderFields(const LVCOLUMNW& column) {
  HDITEMW item{};
  if (column.mask & LVCF_FMT) {
    item.mask |= HDI_FORMAT;
    item.fmt = (column.fmt & LVCFMT_JUSTIFYMASK) | HDF_STRING;
  }
  if (column.mask & LVCF_WIDTH) {
    item.mask |= HDI_WIDTH;
    item.cxy = column.cx;
  }
  if (column.mask & LVCF_TEXT) {
    item.mask |= HDI_TEXT;
    item.pszText = column.pszText == LPSTR_TEXTCALLBACKW ? nullptr : column.pszText;
  }
  return item;
}

}  // namespace

bool ValidRow(const ListView& lv, WPARAM index) { return static_cast<std::size_t>(index) < lv.rows.size(); }

LRESULT InsertColumn(ListView& lv, WPARAM index, const LVCOLUMNW* column) {
  if (!column || static_cast<INT_PTR>(index) < 0) return -1;
  HDITEMW item = HeaderFields(*column);
  item.mask |= HDI_FORMAT;
  if (!(column->mask & LVCF_FMT)) item.fmt = HDF_LEFT | HDF_STRING;
  const LRESULT at = SendMessageW(lv.header, HDM_INSERTITEMW, index, reinterpret_cast<LPARAM>(&item));
  if (at < 0) return -1;
  Column c;
  c.subItem = (column->mask & LVCF_SUBITEM) ? column->iSubItem : static_cast<int>(at);
  c.fmt = item.fmt & LVCFMT_JUSTIFYMASK;
  if (column->mask & LVCF_IMAGE) c.image = column->iImage;
  lv.columns.insert(lv.columns.begin() + at, c);
  ContentChanged(lv);
  return at;
}

LRESULT SetColumn(ListView& lv, WPARAM index, const LVCOLUMNW* column) {
  if (!column || index >= lv.columns.size()) return FALSE;
  HDITEMW item = HeaderFields(*column);
  if (item.mask && !SendMessageW(lv.header, HDM_SETITEMW, index, reinterpret_cast<LPARAM>(&item)))
    return FALSE;
  if (index >= lv.columns.size()) return FALSE;  // removed by a notification's handler
  Column& c = lv.columns[index];
  if (column->mask & LVCF_SUBITEM) c.subItem = column->iSubItem;
  if (column->mask & LVCF_FMT) c.fmt = column->fmt & LVCFMT_JUSTIFYMASK;
  if (column->mask & LVCF_IMAGE) c.image = column->iImage;
  InvalidateRect(lv.window, nullptr, TRUE);
  return TRUE;
}

LRESULT GetColumn(const ListView& lv, WPARAM index, LVCOLUMNW* column) {
  if (!column || index >= lv.columns.size()) return FALSE;
  HDITEMW item{};
  item.mask = HDI_WIDTH | ((column->mask & LVCF_TEXT) ? HDI_TEXT : 0u);
  item.pszText = column->pszText;
  item.cchTextMax = column->cchTextMax;
  if (!SendMessageW(lv.header, HDM_GETITEMW, index, reinterpret_cast<LPARAM>(&item))) return FALSE;
  const Column& c = lv.columns[index];
  if (column->mask & LVCF_WIDTH) column->cx = item.cxy;
  if (column->mask & LVCF_FMT) column->fmt = c.fmt;
  if (column->mask & LVCF_SUBITEM) column->iSubItem = c.subItem;
  if (column->mask & LVCF_IMAGE) column->iImage = c.image;
  if (column->mask & LVCF_ORDER) column->iOrder = static_cast<int>(index);
  return TRUE;
}

LRESULT DeleteColumn(ListView& lv, WPARAM index) {
  if (index >= lv.columns.size() || !SendMessageW(lv.header, HDM_DELETEITEM, index, 0)) return FALSE;
  lv.columns.erase(lv.columns.begin() + static_cast<std::ptrdiff_t>(index));
  ContentChanged(lv);
  return TRUE;
}

int ColumnWidth(const ListView& lv, int column) {
  HDITEMW item{};
  item.mask = HDI_WIDTH;
  if (column < 0 ||
      !SendMessageW(lv.header, HDM_GETITEMW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item)))
    return 0;
  return item.cxy;
}

LRESULT SetColumnWidth(ListView& lv, WPARAM index, int width) {
  if (index >= lv.columns.size()) return FALSE;
  if (width == LVSCW_AUTOSIZE || width == LVSCW_AUTOSIZE_USEHEADER) {
    const int subItem = lv.columns[index].subItem;
    int widest = 0;
    for (const Row& row : lv.rows) widest = std::max(widest, TextWidth(lv.font, TextOf(row, subItem)));
    if (width == LVSCW_AUTOSIZE_USEHEADER) {
      WCHAR title[260] = {};
      HDITEMW item{};
      item.mask = HDI_TEXT;
      item.pszText = title;
      item.cchTextMax = 260;
      SendMessageW(lv.header, HDM_GETITEMW, index, reinterpret_cast<LPARAM>(&item));
      widest = std::max(widest, TextWidth(lv.font, title));
    }
    width = widest + 12;
  }
  HDITEMW item{};
  item.mask = HDI_WIDTH;
  item.cxy = std::max(0, width);
  return SendMessageW(lv.header, HDM_SETITEMW, index, reinterpret_cast<LPARAM>(&item)) ? TRUE : FALSE;
}

LRESULT InsertItem(ListView& lv, const LVITEMW* item) {
  if (!item || item->iItem < 0 || item->iSubItem != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  Row row;
  if (item->mask & LVIF_TEXT) {
    std::u16string text;
    if (!ItemText(item->pszText, text)) return -1;
    row.texts[0] = std::move(text);
  }
  if (item->mask & LVIF_PARAM) row.param = item->lParam;
  if (item->mask & LVIF_IMAGE) row.image = item->iImage;
  if (item->mask & LVIF_INDENT) row.indent = std::max(0, item->iIndent);
  UINT state = (item->mask & LVIF_STATE) ? item->state & item->stateMask : 0u;
  if ((lv.exStyle & LVS_EX_CHECKBOXES) && !(state & LVIS_STATEIMAGEMASK))
    state |= INDEXTOSTATEIMAGEMASK(1);
  // Selection and focus are taken by ChangeState below, so the other rows give them up.
  row.state = state & ~(LVIS_SELECTED | LVIS_FOCUSED);
  const int at = std::min(item->iItem, static_cast<int>(lv.rows.size()));
  const LPARAM param = row.param;
  lv.rows.insert(lv.rows.begin() + at, std::move(row));
  SendListNotify(lv, LVN_INSERTITEM, at, 0, 0, 0, param);
  if ((state & (LVIS_SELECTED | LVIS_FOCUSED)) && ValidRow(lv, static_cast<WPARAM>(at)))
    ChangeState(lv, at, state, LVIS_SELECTED | LVIS_FOCUSED);
  ContentChanged(lv);
  return at;
}

LRESULT SetItem(ListView& lv, const LVITEMW* item) {
  if (!item || item->iItem < 0 || !ValidRow(lv, static_cast<WPARAM>(item->iItem)) ||
      item->iSubItem < 0)
    return FALSE;
  std::u16string text;
  if ((item->mask & LVIF_TEXT) && !ItemText(item->pszText, text)) return FALSE;
  const int index = item->iItem;
  if (item->iSubItem > 0) {
    if (item->mask & LVIF_TEXT) lv.rows[static_cast<std::size_t>(index)].texts[item->iSubItem] = text;
    InvalidateRow(lv, index);
    return TRUE;
  }
  const Row& old = lv.rows[static_cast<std::size_t>(index)];
  UINT changed = 0;
  if ((item->mask & LVIF_TEXT) && TextOf(old, 0) != text) changed |= LVIF_TEXT;
  if ((item->mask & LVIF_PARAM) && old.param != item->lParam) changed |= LVIF_PARAM;
  if ((item->mask & LVIF_IMAGE) && old.image != item->iImage) changed |= LVIF_IMAGE;
  if (changed) {
    if (SendListNotify(lv, LVN_ITEMCHANGING, index, changed, old.state, old.state, old.param) ||
        !ValidRow(lv, static_cast<WPARAM>(index)))
      return FALSE;
    Row& row = lv.rows[static_cast<std::size_t>(index)];
    if (changed & LVIF_TEXT) row.texts[0] = text;
    if (changed & LVIF_PARAM) row.param = item->lParam;
    if (changed & LVIF_IMAGE) row.image = item->iImage;
    SendListNotify(lv, LVN_ITEMCHANGED, index, changed, row.state, row.state, row.param);
  }
  if ((item->mask & LVIF_INDENT) && ValidRow(lv, static_cast<WPARAM>(index)))
    lv.rows[static_cast<std::size_t>(index)].indent = std::max(0, item->iIndent);
  if ((item->mask & LVIF_STATE) && !ChangeState(lv, index, item->state, item->stateMask))
    return FALSE;
  InvalidateRow(lv, index);
  return TRUE;
}

LRESULT GetItem(const ListView& lv, LVITEMW* item) {
  if (!item || item->iItem < 0 || !ValidRow(lv, static_cast<WPARAM>(item->iItem)) ||
      item->iSubItem < 0)
    return FALSE;
  const Row& row = lv.rows[static_cast<std::size_t>(item->iItem)];
  if (item->mask & LVIF_TEXT) CopyText(TextOf(row, item->iSubItem), item->pszText, item->cchTextMax);
  if (item->mask & LVIF_STATE) item->state = row.state & item->stateMask;
  if (item->mask & LVIF_PARAM) item->lParam = row.param;
  if (item->mask & LVIF_IMAGE) item->iImage = row.image;
  if (item->mask & LVIF_INDENT) item->iIndent = row.indent;
  return TRUE;
}

LRESULT SetItemText(ListView& lv, WPARAM index, const LVITEMW* item) {
  if (!item || !ValidRow(lv, index)) return FALSE;
  LVITEMW change{};
  change.mask = LVIF_TEXT;
  change.iItem = static_cast<int>(index);
  change.iSubItem = item->iSubItem;
  change.pszText = item->pszText;
  return SetItem(lv, &change);
}

LRESULT GetItemText(const ListView& lv, WPARAM index, LVITEMW* item) {
  if (!item) return 0;
  if (!ValidRow(lv, index) || item->iSubItem < 0) return CopyText(std::u16string(), item->pszText, item->cchTextMax);
  return CopyText(TextOf(lv.rows[index], item->iSubItem), item->pszText, item->cchTextMax);
}

bool ChangeState(ListView& lv, int index, UINT state, UINT mask) {
  if (!ValidRow(lv, static_cast<WPARAM>(index))) return false;
  const UINT old = lv.rows[static_cast<std::size_t>(index)].state;
  const UINT wanted = (old & ~mask) | (state & mask);
  if (wanted == old) return true;
  // Only one row has the focus; with LVS_SINGLESEL only one is selected.
  UINT exclusive = (wanted & ~old) & LVIS_FOCUSED;
  if (Style(lv) & LVS_SINGLESEL) exclusive |= (wanted & ~old) & LVIS_SELECTED;
  if (exclusive)
    for (int i = 0; i < static_cast<int>(lv.rows.size()); ++i)
      if (i != index && (lv.rows[static_cast<std::size_t>(i)].state & exclusive))
        ChangeState(lv, i, 0, exclusive);
  if (!ValidRow(lv, static_cast<WPARAM>(index))) return false;
  const LPARAM param = lv.rows[static_cast<std::size_t>(index)].param;
  if (SendListNotify(lv, LVN_ITEMCHANGING, index, LVIF_STATE, wanted, old, param) ||
      !ValidRow(lv, static_cast<WPARAM>(index)))
    return false;
  lv.rows[static_cast<std::size_t>(index)].state = wanted;
  InvalidateRow(lv, index);
  SendListNotify(lv, LVN_ITEMCHANGED, index, LVIF_STATE, wanted, old, param);
  return true;
}

LRESULT SetItemState(ListView& lv, WPARAM index, const LVITEMW* item) {
  if (!item) return FALSE;
  if (static_cast<INT_PTR>(index) == -1) {
    bool all = true;
    for (int i = 0; i < static_cast<int>(lv.rows.size()); ++i)
      all = ChangeState(lv, i, item->state, item->stateMask) && all;
    return all;
  }
  return ValidRow(lv, index) && ChangeState(lv, static_cast<int>(index), item->state, item->stateMask);
}

LRESULT DeleteItem(ListView& lv, WPARAM index) {
  if (!ValidRow(lv, index)) return FALSE;
  SendListNotify(lv, LVN_DELETEITEM, static_cast<int>(index), 0, 0, 0, lv.rows[index].param);
  if (!ValidRow(lv, index)) return FALSE;
  lv.rows.erase(lv.rows.begin() + static_cast<std::ptrdiff_t>(index));
  ContentChanged(lv);
  return TRUE;
}

LRESULT DeleteAllItems(ListView& lv) {
  if (lv.rows.empty()) return TRUE;
  // An owner answering TRUE to LVN_DELETEALLITEMS wants no LVN_DELETEITEM per row.
  if (!SendListNotify(lv, LVN_DELETEALLITEMS, -1, 0, 0, 0, 0))
    for (std::size_t i = 0; i < lv.rows.size(); ++i)
      SendListNotify(lv, LVN_DELETEITEM, static_cast<int>(i), 0, 0, 0, lv.rows[i].param);
  lv.rows.clear();
  lv.top = 0;
  ContentChanged(lv);
  return TRUE;
}

LRESULT SortItems(ListView& lv, LPARAM sortParam, PFNLVCOMPARE compare) {
  if (!compare) return FALSE;
  std::vector<LPARAM> params;
  for (const Row& row : lv.rows) params.push_back(row.param);
  std::vector<std::size_t> order(lv.rows.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  MergeSort(order, params, compare, sortParam);
  // A comparator that added or removed rows leaves them as they are now.
  if (order.size() != lv.rows.size()) return FALSE;
  std::vector<Row> sorted;
  sorted.reserve(order.size());
  for (std::size_t i : order) sorted.push_back(std::move(lv.rows[i]));
  lv.rows.swap(sorted);
  InvalidateRect(lv.window, nullptr, TRUE);
  return TRUE;
}

LRESULT GetNextItem(const ListView& lv, int start, UINT flags) {
  const int count = static_cast<int>(lv.rows.size());
  if (start < -1 || start >= count) start = -1;
  if (flags & (LVNI_TOLEFT | LVNI_TORIGHT)) return -1;
  if (flags & LVNI_ABOVE) {
    for (int i = start - 1; i >= 0; --i)
      if (StateMatches(lv.rows[static_cast<std::size_t>(i)], flags)) return i;
    return -1;
  }
  for (int i = start + 1; i < count; ++i)
    if (StateMatches(lv.rows[static_cast<std::size_t>(i)], flags)) return i;
  return -1;
}

DWORD SetExtendedStyle(ListView& lv, DWORD mask, DWORD style) {
  const DWORD old = lv.exStyle;
  if (!mask) mask = 0xFFFFFFFFu;
  lv.exStyle = (old & ~mask) | (style & mask);
  const bool checksOn = (lv.exStyle & LVS_EX_CHECKBOXES) && !(old & LVS_EX_CHECKBOXES);
  const bool checksOff = !(lv.exStyle & LVS_EX_CHECKBOXES) && (old & LVS_EX_CHECKBOXES);
  if (checksOn) {
    if (!lv.ownCheckImages) lv.ownCheckImages = CreateCheckBoxImages();
    if (!lv.stateImages) lv.stateImages = lv.ownCheckImages;
    for (Row& row : lv.rows)
      if (!(row.state & LVIS_STATEIMAGEMASK)) row.state |= INDEXTOSTATEIMAGEMASK(1);
  }
  if (checksOff) {
    for (Row& row : lv.rows) row.state &= ~LVIS_STATEIMAGEMASK;
    if (lv.stateImages == lv.ownCheckImages) lv.stateImages = nullptr;
  }
  ContentChanged(lv);
  return old;
}

HIMAGELIST SetImageList(ListView& lv, int which, HIMAGELIST list) {
  HIMAGELIST* slot = which == LVSIL_NORMAL  ? &lv.normalImages
                     : which == LVSIL_SMALL ? &lv.smallImages
                     : which == LVSIL_STATE ? &lv.stateImages
                                            : nullptr;
  if (!slot) return nullptr;
  HIMAGELIST old = *slot;
  *slot = list;
  if (Style(lv) & LVS_OWNERDRAWFIXED) MeasureRows(lv);
  ContentChanged(lv);
  return old;
}

}  // namespace zx::comctl::listview
