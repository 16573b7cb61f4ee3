// Laying out and painting a popup menu's window (menu_popup.cpp) for the popup loop
// (menu_track.cpp): owner-drawn items are measured with WM_MEASUREITEM and drawn with
// WM_DRAWITEM by the owner window; the others are drawn here.
#pragma once
#include <vector>

#include "winmenu.h"

namespace zx::user::menus {

// Item rectangles in the popup window's coordinates and the window's size.
struct PopupLayout {
  std::vector<RECT> items;
  SIZE size{};
};

PopupLayout MeasurePopup(HMENU menu, HWND owner);
void PaintPopup(HDC dc, HMENU menu, const PopupLayout& layout, int selected, HWND owner);

// Whether an item can be chosen or opened: not a separator, not grayed or disabled.
bool Selectable(HMENU menu, int position);

}  // namespace zx::user::menus
