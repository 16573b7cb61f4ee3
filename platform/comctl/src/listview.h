// The state of a list view ("SysListView32") and the operations its window procedure is
// made of: rows and columns (listview_items.cpp), geometry and hit tests
// (listview_layout.cpp), scrolling and the scroll bars (listview_scroll.cpp), painting
// (listview_paint.cpp) and the mouse and keys (listview_input.cpp).
#pragma once
#include <map>
#include <string>
#include <vector>

#include "control.h"

namespace zx::comctl::listview {

struct Row {
  std::map<int, std::u16string> texts;  // by sub-item
  UINT state = 0;
  LPARAM param = 0;
  int image = I_IMAGENONE;
  int indent = 0;
};

struct Column {
  int subItem = 0;
  int fmt = LVCFMT_LEFT;
  int image = 0;
};

// What the list last set on one of its scroll bars (count -1: nothing yet).
struct BarValues {
  int count = -1;
  int page = 0;
  int position = 0;
};

struct ListView {
  HWND window = nullptr;
  HWND header = nullptr;
  std::vector<Row> rows;
  std::vector<Column> columns;  // widths and titles live in the header
  DWORD exStyle = 0;
  HFONT font = nullptr;
  int lineHeight = 0;  // of the font, measured when it is set
  HIMAGELIST normalImages = nullptr;
  HIMAGELIST smallImages = nullptr;
  HIMAGELIST stateImages = nullptr;
  HIMAGELIST ownCheckImages = nullptr;  // made for LVS_EX_CHECKBOXES, destroyed with the list
  COLORREF background = CLR_DEFAULT;
  COLORREF textColour = CLR_DEFAULT;
  COLORREF textBackground = CLR_DEFAULT;
  int top = 0;          // first row shown (the vertical bar's position)
  int scrollX = 0;      // horizontal scroll in pixels (the horizontal bar's position)
  int wheelRest = 0;    // wheel turns short of a notch
  bool settingBars = false;  // the scroll bars are being shown or hidden
  BarValues bars[2];         // by SB_HORZ, SB_VERT
  SIZE barSize{};            // width of the vertical bar, height of the horizontal one
  int measuredHeight = 0;  // the owner's answer to WM_MEASUREITEM (owner-drawn rows)
  bool focused = false;
};

// Rows and columns.
bool ValidRow(const ListView& lv, WPARAM index);
LRESULT InsertColumn(ListView& lv, WPARAM index, const LVCOLUMNW* column);
LRESULT SetColumn(ListView& lv, WPARAM index, const LVCOLUMNW* column);
LRESULT GetColumn(const ListView& lv, WPARAM index, LVCOLUMNW* column);
LRESULT DeleteColumn(ListView& lv, WPARAM index);
int ColumnWidth(const ListView& lv, int column);
LRESULT SetColumnWidth(ListView& lv, WPARAM index, int width);
LRESULT InsertItem(ListView& lv, const LVITEMW* item);
LRESULT SetItem(ListView& lv, const LVITEMW* item);
LRESULT GetItem(const ListView& lv, LVITEMW* item);
LRESULT SetItemText(ListView& lv, WPARAM index, const LVITEMW* item);
LRESULT GetItemText(const ListView& lv, WPARAM index, LVITEMW* item);
LRESULT SetItemState(ListView& lv, WPARAM index, const LVITEMW* item);
LRESULT DeleteItem(ListView& lv, WPARAM index);
LRESULT DeleteAllItems(ListView& lv);
LRESULT SortItems(ListView& lv, LPARAM sortParam, PFNLVCOMPARE compare);
LRESULT GetNextItem(const ListView& lv, int start, UINT flags);
// Changes a row's state bits (mask) with LVN_ITEMCHANGING first and LVN_ITEMCHANGED after;
// false when refused.
bool ChangeState(ListView& lv, int index, UINT state, UINT mask);
DWORD SetExtendedStyle(ListView& lv, DWORD mask, DWORD style);
HIMAGELIST SetImageList(ListView& lv, int which, HIMAGELIST list);

// Geometry.
int HeaderHeight(const ListView& lv);
int RowHeight(const ListView& lv);
int CountPerPage(const ListView& lv);
int TotalWidth(const ListView& lv);
// The columns' left edges in client coordinates (scrolled).
int ColumnLeft(const ListView& lv, int column);
LRESULT GetItemRect(const ListView& lv, int index, RECT* rect);
LRESULT GetSubItemRect(const ListView& lv, int index, RECT* rect);
LRESULT HitTest(const ListView& lv, LVHITTESTINFO* info, bool subItems);
// Places the header over the client area (HDM_LAYOUT).
void LayoutHeader(ListView& lv);
// Asks the owner for the row height of owner-drawn rows (WM_MEASUREITEM).
void MeasureRows(ListView& lv);
void InvalidateRow(const ListView& lv, int index);

// Scrolling. The bars follow the content: rows (vertical, in rows) and columns (horizontal,
// in pixels); each bar is shown only while its content outgrows the client area.
void UpdateScrollBars(ListView& lv);
// Rows, columns or their sizes changed: bars and positions follow, everything is redrawn.
void ContentChanged(ListView& lv);
void ScrollTo(ListView& lv, int top);
void ScrollXTo(ListView& lv, int x);
// Scrolls the row into view; a row partly shown is left where it is when partialOk.
LRESULT EnsureVisible(ListView& lv, int index, bool partialOk);
LRESULT Scroll(ListView& lv, int dx, int dy);
void OnVScroll(ListView& lv, int request, UINT position);
void OnHScroll(ListView& lv, int request, UINT position);
void OnMouseWheel(ListView& lv, int delta);

// Painting.
void Paint(ListView& lv);

// Mouse and keys.
void OnButtonDown(ListView& lv, POINT pt, WPARAM keys, bool doubleClick);
void OnRightButtonDown(ListView& lv, POINT pt, WPARAM keys, bool doubleClick);
void OnKeyDown(ListView& lv, WPARAM key);

}  // namespace zx::comctl::listview
