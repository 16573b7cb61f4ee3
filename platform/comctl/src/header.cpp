// The header control "SysHeader32": a row of column items with widths, texts and formats,
// laid out by its parent (HDM_LAYOUT), painted flat, and resized by dragging a divider with
// HDN_BEGINTRACK, HDN_TRACK, HDN_ENDTRACK and the refusable HDN_ITEMCHANGING before each
// change; a double click on a divider is told to the parent (HDN_DIVIDERDBLCLICK).
#include <algorithm>
#include <vector>

#include "control.h"
#include "windraw.h"

namespace zx::comctl {
namespace {

constexpr int kDividerSlack = 4;
constexpr int kTextPadding = 6;

struct HeaderItem {
  int width = 0;
  std::u16string text;
  int fmt = HDF_LEFT | HDF_STRING;
  LPARAM param = 0;
  int image = 0;
};

struct Header {
  std::vector<HeaderItem> items;
  HFONT font = nullptr;
  HIMAGELIST images = nullptr;
  int height = -1;    // measured from the font when first asked (-1: not yet)
  int tracking = -1;  // the item whose divider is dragged
  int pressed = -1;   // the item pressed as a button
};

bool ValidIndex(const Header& h, WPARAM index) {
  return static_cast<std::size_t>(index) < h.items.size();
}

int Height(Header& h) {
  if (h.height < 0) h.height = LineHeight(h.font) + 8;
  return h.height;
}

RECT ItemRect(HWND window, const Header& h, std::size_t index) {
  RECT client{};
  GetClientRect(window, &client);
  int left = 0;
  for (std::size_t i = 0; i < index; ++i) left += h.items[i].width;
  return RECT{left, 0, left + h.items[index].width, client.bottom};
}

// Copies the fields the mask names from a caller's item; false for a text refused.
bool TakeFields(HeaderItem& item, const HDITEMW& from) {
  if (from.mask & HDI_TEXT) {
    std::u16string text;
    if (from.pszText && !ReadText(from.pszText, text)) return false;
    item.text = std::move(text);
  }
  if (from.mask & HDI_WIDTH) item.width = std::max(0, from.cxy);
  if (from.mask & HDI_FORMAT) item.fmt = from.fmt;
  if (from.mask & HDI_LPARAM) item.param = from.lParam;
  if (from.mask & HDI_IMAGE) item.image = from.iImage;
  return true;
}

void GiveFields(const HeaderItem& item, int index, HDITEMW& to) {
  if (to.mask & HDI_WIDTH) to.cxy = item.width;
  if (to.mask & HDI_TEXT) CopyText(item.text, to.pszText, to.cchTextMax);
  if (to.mask & HDI_FORMAT) to.fmt = item.fmt;
  if (to.mask & HDI_LPARAM) to.lParam = item.param;
  if (to.mask & HDI_IMAGE) to.iImage = item.image;
  if (to.mask & HDI_ORDER) to.iOrder = index;
}

LRESULT SendHeaderNotify(HWND window, UINT code, int index, HDITEMW* item) {
  NMHEADERW nm{};
  nm.iItem = index;
  nm.pitem = item;
  return Notify(window, code, &nm.hdr);
}

// Changes an item after asking the parent (HDN_ITEMCHANGING); false when refused.
bool ChangeItem(HWND window, Header& h, int index, HDITEMW& change) {
  if (SendHeaderNotify(window, HDN_ITEMCHANGINGW, index, &change)) return false;
  if (!ValidIndex(h, static_cast<WPARAM>(index))) return false;  // removed meanwhile
  HeaderItem updated = h.items[static_cast<std::size_t>(index)];
  if (!TakeFields(updated, change)) return false;
  h.items[static_cast<std::size_t>(index)] = std::move(updated);
  InvalidateRect(window, nullptr, TRUE);
  SendHeaderNotify(window, HDN_ITEMCHANGEDW, index, &change);
  return true;
}

int HitTest(HWND window, const Header& h, POINT pt, UINT* flags) {
  RECT client{};
  GetClientRect(window, &client);
  UINT f = 0;
  int found = -1;
  if (pt.y < 0) f |= HHT_ABOVE;
  if (pt.y >= client.bottom) f |= HHT_BELOW;
  if (pt.x < 0) f |= HHT_TOLEFT;
  int left = 0;
  for (std::size_t i = 0; i < h.items.size() && !f; ++i) {
    const int right = left + h.items[i].width;
    // The divider belongs to the item on its left; the last divider that is near wins, so a
    // zero-width item can still be widened.
    if (pt.x >= right - kDividerSlack && pt.x <= right + kDividerSlack) {
      found = static_cast<int>(i);
      f = HHT_ONDIVIDER;
      for (std::size_t j = i + 1; j < h.items.size() && h.items[j].width == 0; ++j)
        found = static_cast<int>(j);
    } else if (pt.x >= left && pt.x < right) {
      found = static_cast<int>(i);
      f = HHT_ONHEADER;
    }
    left = right;
  }
  if (!f) f = pt.x >= left ? HHT_TORIGHT | HHT_NOWHERE : HHT_NOWHERE;
  if (flags) *flags = f;
  return found;
}

void Paint(HWND window, Header& h) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  if (!dc) return;
  RECT client{};
  GetClientRect(window, &client);
  FillRect(dc, &client, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)));
  HBRUSH line = GetSysColorBrush(COLOR_3DLIGHT);
  HGDIOBJ oldFont = SelectObject(dc, h.font ? h.font : DefaultFont());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
  for (std::size_t i = 0; i < h.items.size(); ++i) {
    const RECT r = ItemRect(window, h, i);
    const RECT divider{r.right - 1, r.top, r.right, r.bottom};
    FillRect(dc, &divider, line);
    RECT text{r.left + kTextPadding, r.top, r.right - kTextPadding, r.bottom};
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
    const int justify = h.items[i].fmt & HDF_JUSTIFYMASK;
    if (justify == HDF_RIGHT) format |= DT_RIGHT;
    if (justify == HDF_CENTER) format |= DT_CENTER;
    DrawTextW(dc, h.items[i].text.c_str(), static_cast<int>(h.items[i].text.size()), &text,
              format);
  }
  const RECT bottom{client.left, client.bottom - 1, client.right, client.bottom};
  FillRect(dc, &bottom, line);
  SelectObject(dc, oldFont);
  EndPaint(window, &ps);
}

void MouseDown(HWND window, Header& h, POINT pt) {
  UINT flags = 0;
  const int index = HitTest(window, h, pt, &flags);
  if (index < 0) return;
  if (flags & HHT_ONDIVIDER) {
    HDITEMW item{};
    item.mask = HDI_WIDTH;
    item.cxy = h.items[static_cast<std::size_t>(index)].width;
    if (!SendHeaderNotify(window, HDN_BEGINTRACKW, index, &item)) h.tracking = index;
    return;
  }
  h.pressed = index;
}

// A second press on a divider asks the parent to fit the column (HDN_DIVIDERDBLCLICK);
// elsewhere it is a press like the first.
void DoubleClick(HWND window, Header& h, POINT pt) {
  UINT flags = 0;
  const int index = HitTest(window, h, pt, &flags);
  if (index >= 0 && (flags & HHT_ONDIVIDER))
    SendHeaderNotify(window, HDN_DIVIDERDBLCLICKW, index, nullptr);
  else
    MouseDown(window, h, pt);
}

void MouseMove(HWND window, Header& h, POINT pt) {
  if (h.tracking < 0 || !ValidIndex(h, static_cast<WPARAM>(h.tracking))) return;
  const RECT r = ItemRect(window, h, static_cast<std::size_t>(h.tracking));
  HDITEMW item{};
  item.mask = HDI_WIDTH;
  item.cxy = std::max(0, static_cast<int>(pt.x - r.left));
  if (SendHeaderNotify(window, HDN_TRACKW, h.tracking, &item)) return;
  if (GetWindowLongW(window, GWL_STYLE) & HDS_FULLDRAG) ChangeItem(window, h, h.tracking, item);
}

void MouseUp(HWND window, Header& h, POINT pt) {
  if (h.tracking >= 0 && ValidIndex(h, static_cast<WPARAM>(h.tracking))) {
    const int index = h.tracking;
    h.tracking = -1;
    const RECT r = ItemRect(window, h, static_cast<std::size_t>(index));
    HDITEMW item{};
    item.mask = HDI_WIDTH;
    item.cxy = std::max(0, static_cast<int>(pt.x - r.left));
    SendHeaderNotify(window, HDN_ENDTRACKW, index, &item);
    if (item.cxy != h.items[static_cast<std::size_t>(index)].width)
      ChangeItem(window, h, index, item);
    return;
  }
  h.tracking = -1;
  const int pressed = h.pressed;
  h.pressed = -1;
  UINT flags = 0;
  if (pressed >= 0 && HitTest(window, h, pt, &flags) == pressed && (flags & HHT_ONHEADER) &&
      (GetWindowLongW(window, GWL_STYLE) & HDS_BUTTONS))
    SendHeaderNotify(window, HDN_ITEMCLICKW, pressed, nullptr);
}

LRESULT Insert(HWND window, Header& h, WPARAM index, const HDITEMW* from) {
  if (!from) return -1;
  HeaderItem item;
  if (!TakeFields(item, *from)) return -1;
  const std::size_t at = std::min(static_cast<std::size_t>(index), h.items.size());
  h.items.insert(h.items.begin() + static_cast<std::ptrdiff_t>(at), std::move(item));
  InvalidateRect(window, nullptr, TRUE);
  return static_cast<LRESULT>(at);
}

LRESULT Layout(Header& h, HWND window, HDLAYOUT* layout) {
  if (!layout || !layout->prc || !layout->pwpos) return FALSE;
  const int height = (GetWindowLongW(window, GWL_STYLE) & HDS_HIDDEN) ? 0 : Height(h);
  RECT& r = *layout->prc;
  *layout->pwpos = WINDOWPOS{window, nullptr, r.left, r.top, r.right - r.left, height, 0};
  r.top += height;
  return TRUE;
}

LRESULT CALLBACK HeaderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Header* h = StateOf<Header>(window);
  if (message == WM_NCCREATE) {
    AttachState(window, new Header);
    return DefWindowProcW(window, message, wParam, lParam);
  }
  if (!h) return DefWindowProcW(window, message, wParam, lParam);
  const POINT pt{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
  switch (message) {
    case WM_NCDESTROY:
      AttachState<Header>(window, nullptr);
      delete h;
      return DefWindowProcW(window, message, wParam, lParam);
    case WM_PAINT:
      Paint(window, *h);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SETFONT:
      h->font = reinterpret_cast<HFONT>(wParam);
      h->height = -1;
      if (LOWORD(lParam)) InvalidateRect(window, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(h->font);
    case WM_LBUTTONDOWN:
      MouseDown(window, *h, pt);
      return 0;
    case WM_LBUTTONDBLCLK:
      DoubleClick(window, *h, pt);
      return 0;
    case WM_MOUSEMOVE:
      MouseMove(window, *h, pt);
      return 0;
    case WM_LBUTTONUP:
      MouseUp(window, *h, pt);
      return 0;
    case HDM_GETITEMCOUNT:
      return static_cast<LRESULT>(h->items.size());
    case HDM_INSERTITEMW:
      return Insert(window, *h, wParam, reinterpret_cast<const HDITEMW*>(lParam));
    case HDM_DELETEITEM:
      if (!ValidIndex(*h, wParam)) return FALSE;
      h->items.erase(h->items.begin() + static_cast<std::ptrdiff_t>(wParam));
      InvalidateRect(window, nullptr, TRUE);
      return TRUE;
    case HDM_GETITEMW: {
      auto* item = reinterpret_cast<HDITEMW*>(lParam);
      if (!item || !ValidIndex(*h, wParam)) return FALSE;
      GiveFields(h->items[wParam], static_cast<int>(wParam), *item);
      return TRUE;
    }
    case HDM_SETITEMW: {
      auto* item = reinterpret_cast<HDITEMW*>(lParam);
      if (!item || !ValidIndex(*h, wParam)) return FALSE;
      return ChangeItem(window, *h, static_cast<int>(wParam), *item);
    }
    case HDM_GETITEMRECT: {
      auto* rect = reinterpret_cast<RECT*>(lParam);
      if (!rect || !ValidIndex(*h, wParam)) return FALSE;
      *rect = ItemRect(window, *h, wParam);
      return TRUE;
    }
    case HDM_HITTEST: {
      auto* info = reinterpret_cast<HDHITTESTINFO*>(lParam);
      if (!info) return -1;
      info->iItem = HitTest(window, *h, info->pt, &info->flags);
      return info->iItem;
    }
    case HDM_LAYOUT:
      return Layout(*h, window, reinterpret_cast<HDLAYOUT*>(lParam));
    case HDM_SETIMAGELIST: {
      HIMAGELIST old = h->images;
      h->images = reinterpret_cast<HIMAGELIST>(lParam);
      return reinterpret_cast<LRESULT>(old);
    }
    case HDM_GETIMAGELIST:
      return reinterpret_cast<LRESULT>(h->images);
    case HDM_ORDERTOINDEX:
      return static_cast<LRESULT>(wParam);
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

bool RegisterHeaderClass() { return RegisterControlClass(WC_HEADERW, HeaderProc, CS_DBLCLKS); }

}  // namespace zx::comctl
