// Popup menu windows' layout and pixels: a raised frame, items of the menu font (the default
// item bold) with their accelerator text right-aligned after a tab, check marks and radio
// dots, submenu arrows, separators as etched lines, the selected item in the highlight
// colours, grayed items in the gray text colour; owner-drawn items by their owner.
#include <algorithm>

#include "menu_popup.h"
#include "menu_table.h"
#include "windraw.h"
#include "wingdi.h"

namespace zx::user::menus {
namespace {

constexpr LONG kFrame = 3;
constexpr LONG kCheckColumn = 22;
constexpr LONG kArrowColumn = 20;
constexpr LONG kAcceleratorGap = 24;
constexpr LONG kItemHeight = 22;
constexpr LONG kSeparatorHeight = 9;
constexpr LONG kMinWidth = 100;
constexpr int kFontHeight = -12;

std::vector<Item> ItemsOf(HMENU menu) {
  std::lock_guard<std::mutex> guard(MenuLock());
  const Menu* m = FindMenuLocked(menu);
  return m ? m->items : std::vector<Item>{};
}

HFONT MenuFont(bool bold) {
  return CreateFontW(kFontHeight, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                     DEFAULT_CHARSET, 0, 0, 0, 0, u"Segoe UI");
}

// The label and the accelerator text after a tab.
std::pair<std::u16string, std::u16string> Split(const std::u16string& text) {
  const auto tab = text.find(u'\t');
  if (tab == std::u16string::npos) return {text, u""};
  return {text.substr(0, tab), text.substr(tab + 1)};
}

LONG TextWidth(HDC dc, const std::u16string& text) {
  RECT r{0, 0, 0, 0};
  if (text.empty()) return 0;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_CALCRECT);
  return r.right - r.left;
}

bool Disabled(const Item& item) { return (item.state & (MF_GRAYED | MF_DISABLED)) != 0; }

UINT OwnerDrawState(const Item& item, bool selected) {
  UINT state = selected ? ODS_SELECTED : 0u;
  if (item.state & MF_GRAYED) state |= ODS_GRAYED;
  if (item.state & MF_DISABLED) state |= ODS_DISABLED;
  if (item.state & MF_CHECKED) state |= ODS_CHECKED;
  if (item.state & MFS_DEFAULT) state |= ODS_DEFAULT;
  return state;
}

void DrawCheck(HDC dc, const RECT& r, bool radio, COLORREF colour) {
  const LONG cx = r.left + kCheckColumn / 2;
  const LONG cy = (r.top + r.bottom) / 2;
  HPEN pen = CreatePen(PS_SOLID, 2, colour);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  if (radio) {
    HBRUSH brush = CreateSolidBrush(colour);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    Ellipse(dc, cx - 3, cy - 3, cx + 3, cy + 3);
    SelectObject(dc, oldBrush);
    DeleteObject(brush);
  } else {
    const POINT mark[] = {{cx - 4, cy}, {cx - 1, cy + 3}, {cx + 4, cy - 3}};
    Polyline(dc, mark, 3);
  }
  SelectObject(dc, oldPen);
  DeleteObject(pen);
}

void DrawArrow(HDC dc, const RECT& r, COLORREF colour) {
  const LONG x = r.right - kArrowColumn / 2 - 2;
  const LONG cy = (r.top + r.bottom) / 2;
  const POINT arrow[] = {{x, cy - 4}, {x + 4, cy}, {x, cy + 4}};
  HBRUSH brush = CreateSolidBrush(colour);
  HPEN pen = CreatePen(PS_SOLID, 1, colour);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  Polygon(dc, arrow, 3);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(brush);
  DeleteObject(pen);
}

void DrawSeparator(HDC dc, const RECT& r) {
  RECT line{r.left + 1, (r.top + r.bottom) / 2 - 1, r.right - 1, (r.top + r.bottom) / 2 + 1};
  DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
}

void DrawTextItem(HDC dc, const Item& item, const RECT& r, bool selected) {
  if (selected && !Disabled(item)) FillRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
  const COLORREF colour = Disabled(item) ? GetSysColor(COLOR_GRAYTEXT)
                          : selected     ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                         : GetSysColor(COLOR_MENUTEXT);
  SetTextColor(dc, colour);
  HFONT font = MenuFont(item.state & MFS_DEFAULT);
  HGDIOBJ oldFont = SelectObject(dc, font);
  const auto [label, accelerator] = Split(item.text);
  RECT text{r.left + kCheckColumn, r.top, r.right - kArrowColumn, r.bottom};
  DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  if (!accelerator.empty())
    DrawTextW(dc, accelerator.c_str(), static_cast<int>(accelerator.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
  SelectObject(dc, oldFont);
  DeleteObject(font);
  if (item.state & MF_CHECKED) DrawCheck(dc, r, item.type & MFT_RADIOCHECK, colour);
  if (item.submenu) DrawArrow(dc, r, colour);
}

}  // namespace

bool Selectable(HMENU menu, int position) {
  std::lock_guard<std::mutex> guard(MenuLock());
  const Menu* m = FindMenuLocked(menu);
  if (!m || position < 0 || static_cast<std::size_t>(position) >= m->items.size()) return false;
  const Item& item = m->items[static_cast<std::size_t>(position)];
  return !(item.type & MFT_SEPARATOR) && !Disabled(item);
}

PopupLayout MeasurePopup(HMENU menu, HWND owner) {
  const std::vector<Item> items = ItemsOf(menu);
  HDC dc = CreateCompatibleDC(nullptr);
  std::vector<SIZE> sizes;
  LONG width = kMinWidth;
  for (const Item& item : items) {
    SIZE size{0, kItemHeight};
    if (item.type & MFT_SEPARATOR) {
      size.cy = kSeparatorHeight;
    } else if (item.type & MFT_OWNERDRAW) {
      MEASUREITEMSTRUCT measure{ODT_MENU, 0, item.id, 0, 0, item.data};
      SendMessageW(owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
      size = SIZE{static_cast<LONG>(measure.itemWidth), static_cast<LONG>(measure.itemHeight)};
    } else {
      HFONT font = MenuFont(item.state & MFS_DEFAULT);
      HGDIOBJ old = SelectObject(dc, font);
      const auto [label, accelerator] = Split(item.text);
      size.cx = kCheckColumn + TextWidth(dc, label) + kArrowColumn;
      if (!accelerator.empty()) size.cx += kAcceleratorGap + TextWidth(dc, accelerator);
      SelectObject(dc, old);
      DeleteObject(font);
    }
    width = std::max(width, size.cx);
    sizes.push_back(size);
  }
  DeleteDC(dc);
  PopupLayout layout;
  LONG y = kFrame;
  for (const SIZE& size : sizes) {
    layout.items.push_back(RECT{kFrame, y, kFrame + width, y + size.cy});
    y += size.cy;
  }
  layout.size = SIZE{width + 2 * kFrame, y + kFrame};
  return layout;
}

void PaintPopup(HDC dc, HMENU menu, const PopupLayout& layout, int selected, HWND owner) {
  const std::vector<Item> items = ItemsOf(menu);
  RECT all{0, 0, layout.size.cx, layout.size.cy};
  FillRect(dc, &all, GetSysColorBrush(COLOR_MENU));
  DrawEdge(dc, &all, EDGE_RAISED, BF_RECT);
  SetBkMode(dc, TRANSPARENT);
  for (std::size_t i = 0; i < items.size() && i < layout.items.size(); ++i) {
    const Item& item = items[i];
    const RECT& r = layout.items[i];
    const bool isSelected = static_cast<int>(i) == selected;
    if (item.type & MFT_SEPARATOR) {
      DrawSeparator(dc, r);
    } else if (item.type & MFT_OWNERDRAW) {
      DRAWITEMSTRUCT draw{ODT_MENU, 0, item.id, ODA_DRAWENTIRE, OwnerDrawState(item, isSelected),
                          reinterpret_cast<HWND>(menu), dc, r, item.data};
      SendMessageW(owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
    } else {
      DrawTextItem(dc, item, r, isSelected);
    }
  }
}

}  // namespace zx::user::menus
