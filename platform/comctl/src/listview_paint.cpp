// List view painting: owner-drawn rows through WM_DRAWITEM, or rows drawn here with the
// selection, state and small images, the texts of each column and grid lines.
#include <algorithm>

#include "listview.h"
#include "windraw.h"

namespace zx::comctl::listview {
namespace {

constexpr int kTextPadding = 6;

DWORD Style(const ListView& lv) { return static_cast<DWORD>(GetWindowLongW(lv.window, GWL_STYLE)); }

COLORREF Colour(COLORREF chosen, int system) {
  return chosen == CLR_DEFAULT || chosen == CLR_NONE ? GetSysColor(system) : chosen;
}

void Fill(HDC dc, const RECT& r, COLORREF colour) {
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

void DrawOwnerRow(ListView& lv, HDC dc, int index, const RECT& bounds) {
  const Row& row = lv.rows[static_cast<std::size_t>(index)];
  DRAWITEMSTRUCT draw{};
  draw.CtlType = ODT_LISTVIEW;
  draw.CtlID = static_cast<UINT>(GetDlgCtrlID(lv.window));
  draw.itemID = static_cast<UINT>(index);
  draw.itemAction = ODA_DRAWENTIRE;
  if (row.state & LVIS_SELECTED) draw.itemState |= ODS_SELECTED;
  if ((row.state & LVIS_FOCUSED) && lv.focused) draw.itemState |= ODS_FOCUS;
  draw.hwndItem = lv.window;
  draw.hDC = dc;
  draw.rcItem = bounds;
  draw.itemData = static_cast<ULONG_PTR>(row.param);
  HWND parent = GetParent(lv.window);
  const int saved = SaveDC(dc);
  if (parent) SendMessageW(parent, WM_DRAWITEM, draw.CtlID, reinterpret_cast<LPARAM>(&draw));
  RestoreDC(dc, saved);
}

void DrawRow(ListView& lv, HDC dc, int index) {
  const Row& row = lv.rows[static_cast<std::size_t>(index)];
  RECT bounds{LVIR_BOUNDS, 0, 0, 0};
  RECT label{LVIR_LABEL, 0, 0, 0};
  RECT icon{LVIR_ICON, 0, 0, 0};
  GetItemRect(lv, index, &bounds);
  GetItemRect(lv, index, &label);
  GetItemRect(lv, index, &icon);
  const bool fullRow = (lv.exStyle & LVS_EX_FULLROWSELECT) != 0;
  const bool showSelection =
      (row.state & LVIS_SELECTED) && (lv.focused || (Style(lv) & LVS_SHOWSELALWAYS));
  if (showSelection) {
    RECT band = fullRow ? bounds : label;
    Fill(dc, band, GetSysColor(lv.focused ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
  }
  const UINT stateImage = (row.state & LVIS_STATEIMAGEMASK) >> 12;
  if (lv.stateImages && stateImage > 0) {
    int cx = 0, cy = 0;
    ImageList_GetIconSize(lv.stateImages, &cx, &cy);
    ImageList_Draw(lv.stateImages, static_cast<int>(stateImage) - 1, dc, icon.left - cx,
                   bounds.top + (bounds.bottom - bounds.top - cy) / 2, ILD_NORMAL);
  }
  if (lv.smallImages && row.image >= 0) {
    int cx = 0, cy = 0;
    ImageList_GetIconSize(lv.smallImages, &cx, &cy);
    ImageList_Draw(lv.smallImages, row.image, dc, icon.left,
                   bounds.top + (bounds.bottom - bounds.top - cy) / 2,
                   showSelection && lv.focused ? ILD_SELECTED : ILD_NORMAL);
  }
  const COLORREF normalText = Colour(lv.textColour, COLOR_WINDOWTEXT);
  const COLORREF selectedText = GetSysColor(lv.focused ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT);
  for (int c = 0; c < static_cast<int>(lv.columns.size()); ++c) {
    RECT cell{LVIR_LABEL, c, 0, 0};
    GetSubItemRect(lv, index, &cell);
    if (c == 0) cell = label;
    const auto it = row.texts.find(lv.columns[static_cast<std::size_t>(c)].subItem);
    if (it == row.texts.end() || it->second.empty()) continue;
    SetTextColor(dc, showSelection && (fullRow || c == 0) ? selectedText : normalText);
    RECT text{cell.left + (c == 0 ? kTextPadding / 2 : kTextPadding), cell.top,
              cell.right - kTextPadding, cell.bottom};
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
    const int justify = lv.columns[static_cast<std::size_t>(c)].fmt & LVCFMT_JUSTIFYMASK;
    if (justify == LVCFMT_RIGHT) format |= DT_RIGHT;
    if (justify == LVCFMT_CENTER) format |= DT_CENTER;
    DrawTextW(dc, it->second.c_str(), static_cast<int>(it->second.size()), &text, format);
  }
  if ((row.state & LVIS_FOCUSED) && lv.focused) {
    RECT focus{LVIR_SELECTBOUNDS, 0, 0, 0};
    GetItemRect(lv, index, &focus);
    DrawFocusRect(dc, &focus);
  }
}

void DrawGridLines(ListView& lv, HDC dc, const RECT& client) {
  const COLORREF colour = GetSysColor(COLOR_3DLIGHT);
  const int top = HeaderHeight(lv);
  const int rowHeight = RowHeight(lv);
  const int right = std::min(static_cast<int>(client.right), ColumnLeft(lv, 0) + TotalWidth(lv));
  for (int y = top + rowHeight - 1; y < client.bottom; y += rowHeight) Fill(dc, RECT{0, y, right, y + 1}, colour);
  for (int c = 1; c <= static_cast<int>(lv.columns.size()); ++c) {
    const int x = ColumnLeft(lv, c) - 1;
    Fill(dc, RECT{x, top, x + 1, client.bottom}, colour);
  }
}

}  // namespace

void Paint(ListView& lv) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(lv.window, &ps);
  if (!dc) return;
  RECT client{};
  GetClientRect(lv.window, &client);
  const int top = HeaderHeight(lv);
  Fill(dc, RECT{client.left, top, client.right, client.bottom}, Colour(lv.background, COLOR_WINDOW));
  HGDIOBJ oldFont = SelectObject(dc, lv.font ? lv.font : DefaultFont());
  SetBkMode(dc, TRANSPARENT);
  const bool ownerDraw = (Style(lv) & LVS_OWNERDRAWFIXED) != 0;
  const int rowHeight = RowHeight(lv);
  for (int i = lv.top; i < static_cast<int>(lv.rows.size()); ++i) {
    const int y = top + (i - lv.top) * rowHeight;
    if (y >= client.bottom) break;
    if (ownerDraw) {
      RECT bounds{LVIR_BOUNDS, 0, 0, 0};
      GetItemRect(lv, i, &bounds);
      DrawOwnerRow(lv, dc, i, bounds);
    } else {
      DrawRow(lv, dc, i);
    }
    if (!ValidRow(lv, static_cast<WPARAM>(i))) break;  // the owner changed the rows
  }
  if (lv.exStyle & LVS_EX_GRIDLINES) DrawGridLines(lv, dc, client);
  SelectObject(dc, oldFont);
  EndPaint(lv.window, &ps);
}

}  // namespace zx::comctl::listview
