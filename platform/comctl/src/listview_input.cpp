// List view mouse and keys: clicks select and focus rows and toggle check boxes, then tell
// the parent (NM_CLICK, NM_DBLCLK); a right click selects the row under it, tells the parent
// (NM_RCLICK, NM_RDBLCLK) and, unless the parent took it, asks for the context menu
// (WM_CONTEXTMENU); arrows, page keys and Space move the focus and toggle, Left and Right
// scroll sideways.
#include <algorithm>

#include "listview.h"

namespace zx::comctl::listview {
namespace {

DWORD Style(const ListView& lv) { return static_cast<DWORD>(GetWindowLongW(lv.window, GWL_STYLE)); }

void ToggleCheck(ListView& lv, int index) {
  const UINT image = (lv.rows[static_cast<std::size_t>(index)].state & LVIS_STATEIMAGEMASK) >> 12;
  ChangeState(lv, index, INDEXTOSTATEIMAGEMASK(image == 2 ? 1 : 2), LVIS_STATEIMAGEMASK);
}

// Selects and focuses one row, giving up every other selection.
void SelectOnly(ListView& lv, int index) {
  for (int i = 0; i < static_cast<int>(lv.rows.size()); ++i)
    if (i != index && (lv.rows[static_cast<std::size_t>(i)].state & LVIS_SELECTED))
      ChangeState(lv, i, 0, LVIS_SELECTED);
  if (index >= 0) ChangeState(lv, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

UINT KeyFlags(WPARAM keys) {
  return ((keys & MK_CONTROL) ? LVKF_CONTROL : 0u) | ((keys & MK_SHIFT) ? LVKF_SHIFT : 0u);
}

// Tells the parent of a click at a point of the row (index -1: of no row); the parent's answer.
LRESULT NotifyClick(ListView& lv, UINT code, int index, int subItem, POINT pt, WPARAM keys) {
  NMITEMACTIVATE nm{};
  nm.iItem = index;
  nm.iSubItem = index >= 0 ? subItem : -1;
  nm.ptAction = pt;
  nm.uKeyFlags = KeyFlags(keys);
  if (index >= 0 && ValidRow(lv, static_cast<WPARAM>(index))) nm.lParam = lv.rows[static_cast<std::size_t>(index)].param;
  return Notify(lv.window, code, &nm.hdr);
}

}  // namespace

void OnButtonDown(ListView& lv, POINT pt, WPARAM keys, bool doubleClick) {
  if (GetFocus() != lv.window) SetFocus(lv.window);
  LVHITTESTINFO hit{};
  hit.pt = pt;
  HitTest(lv, &hit, true);
  LVHITTESTINFO rowHit{};
  rowHit.pt = pt;
  const int index = static_cast<int>(HitTest(lv, &rowHit, false));
  if (index >= 0) {
    if ((rowHit.flags & LVHT_ONITEMSTATEICON) && (lv.exStyle & LVS_EX_CHECKBOXES)) ToggleCheck(lv, index);
    if (ValidRow(lv, static_cast<WPARAM>(index))) {
      if ((keys & MK_CONTROL) && !(Style(lv) & LVS_SINGLESEL))
        ChangeState(lv, index,
                    ((lv.rows[static_cast<std::size_t>(index)].state & LVIS_SELECTED) ^ LVIS_SELECTED) | LVIS_FOCUSED,
                    LVIS_SELECTED | LVIS_FOCUSED);
      else
        SelectOnly(lv, index);
    }
    // A row clicked at the bottom, partly shown, comes whole into view.
    if (ValidRow(lv, static_cast<WPARAM>(index))) EnsureVisible(lv, index, false);
  } else if (!(keys & MK_CONTROL)) {
    SelectOnly(lv, -1);
  }
  NotifyClick(lv, doubleClick ? NM_DBLCLK : NM_CLICK, index, hit.iSubItem, pt, keys);
}

void OnRightButtonDown(ListView& lv, POINT pt, WPARAM keys, bool doubleClick) {
  if (GetFocus() != lv.window) SetFocus(lv.window);
  LVHITTESTINFO hit{};
  hit.pt = pt;
  HitTest(lv, &hit, true);
  LVHITTESTINFO rowHit{};
  rowHit.pt = pt;
  const int index = static_cast<int>(HitTest(lv, &rowHit, false));
  // A selected row keeps the selection it belongs to and takes the focus; another row
  // becomes the only one selected; a click on no row gives every selection up.
  if (index < 0)
    SelectOnly(lv, -1);
  else if (lv.rows[static_cast<std::size_t>(index)].state & LVIS_SELECTED)
    ChangeState(lv, index, LVIS_FOCUSED, LVIS_FOCUSED);
  else
    SelectOnly(lv, index);
  HWND window = lv.window;  // the parent may destroy the list while told of the click
  const LRESULT taken = NotifyClick(lv, doubleClick ? NM_RDBLCLK : NM_RCLICK, index, hit.iSubItem, pt, keys);
  if (doubleClick || taken || !IsWindow(window)) return;
  POINT screen = pt;
  ClientToScreen(window, &screen);
  SendMessageW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), MAKELPARAM(screen.x, screen.y));
}

void OnKeyDown(ListView& lv, WPARAM key) {
  NMLVKEYDOWN nm{};
  nm.wVKey = static_cast<WORD>(key);
  Notify(lv.window, LVN_KEYDOWN, &nm.hdr);
  if (key == VK_LEFT || key == VK_RIGHT) {  // report rows have nothing sideways: the view moves
    OnHScroll(lv, key == VK_LEFT ? SB_LINELEFT : SB_LINERIGHT, 0);
    return;
  }
  const int count = static_cast<int>(lv.rows.size());
  if (count == 0) return;
  const int focus = static_cast<int>(GetNextItem(lv, -1, LVNI_FOCUSED));
  if (key == VK_SPACE) {
    if (focus >= 0 && (lv.exStyle & LVS_EX_CHECKBOXES)) ToggleCheck(lv, focus);
    return;
  }
  const int page = std::max(1, CountPerPage(lv));
  int target = -1;
  switch (key) {
    case VK_UP: target = focus < 0 ? 0 : focus - 1; break;
    case VK_DOWN: target = focus < 0 ? 0 : focus + 1; break;
    case VK_PRIOR: target = focus - page; break;
    case VK_NEXT: target = focus + page; break;
    case VK_HOME: target = 0; break;
    case VK_END: target = count - 1; break;
    default: return;
  }
  target = std::clamp(target, 0, count - 1);
  SelectOnly(lv, target);
  EnsureVisible(lv, target, false);
}

}  // namespace zx::comctl::listview
