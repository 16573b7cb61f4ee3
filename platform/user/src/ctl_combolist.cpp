// The dropped list of a drop-down combo box: a popup of class "ComboLBox" below the combo
// box, at most eight items tall, the selection highlighted; a click on an item selects it
// and closes the list, a click anywhere else closes it (the list holds the mouse capture).
// The focus stays on the combo box, whose keys move the selection.
#include <algorithm>

#include "ctl_combo.h"
#include "wininput.h"

namespace zx::user::ctl {
namespace {

constexpr int kVisibleItems = 8;

HWND ComboOf(HWND list) { return reinterpret_cast<HWND>(GetWindowLongPtrW(list, GWLP_USERDATA)); }

void PaintList(HWND list) {
  const HWND combo = ComboOf(list);
  ComboState* state = StateOf<ComboState>(combo);
  if (!state) return;
  const int height = ListItemHeight(combo, *state);
  PaintWith(list, state->font, [&](HDC dc, RECT client) {
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    SetBkMode(dc, TRANSPARENT);
    for (std::size_t i = 0; i < state->items.size(); ++i) {
      RECT row{client.left, static_cast<LONG>(i) * height, client.right,
               static_cast<LONG>(i + 1) * height};
      if (row.top >= client.bottom) break;
      const bool selected = static_cast<int>(i) == state->selected;
      if (selected) FillRect(dc, &row, GetSysColorBrush(COLOR_HIGHLIGHT));
      SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
      row.left += 3;
      const std::u16string& text = state->items[i].text;
      DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &row,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
  });
}

}  // namespace

void ShowList(HWND combo, ComboState& state, bool show) {
  if (show == state.dropped) return;
  state.dropped = show;
  if (show) {
    RECT field{};
    GetWindowRect(combo, &field);
    const int rows = std::clamp(static_cast<int>(state.items.size()), 1, kVisibleItems);
    state.list = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, u"ComboLBox", u"",
                                 WS_POPUP | WS_BORDER, field.left, field.bottom,
                                 field.right - field.left,
                                 rows * ListItemHeight(combo, state) + 2, combo, nullptr,
                                 nullptr, nullptr);
    if (state.list) {
      SetWindowLongPtrW(state.list, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(combo));
      ShowWindow(state.list, SW_SHOWNA);
      SetCapture(state.list);
    }
  } else if (state.list) {
    const HWND list = state.list;
    state.list = nullptr;
    DestroyWindow(list);
  }
  InvalidateRect(combo, nullptr, FALSE);
  NotifyParent(combo, show ? CBN_DROPDOWN : CBN_CLOSEUP);
}

LRESULT CALLBACK ComboListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: PaintList(window); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;  // the focus stays on the combo box
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP: {
      const HWND combo = ComboOf(window);
      ComboState* state = StateOf<ComboState>(combo);
      if (!state) return 0;
      RECT client{};
      GetClientRect(window, &client);
      const POINT at{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
      const bool inside = PtInRect(&client, at) != FALSE;
      // The release of the click that dropped the list lands outside it and is no choice.
      if (inside == (message == WM_LBUTTONDOWN)) return 0;
      const int row = at.y / ListItemHeight(combo, *state);
      if (inside && row < static_cast<int>(state->items.size())) UserSelect(combo, *state, row);
      ShowList(combo, *state, false);  // destroys this window
      return 0;
    }
    case WM_CAPTURECHANGED: {
      const HWND combo = ComboOf(window);
      if (ComboState* state = StateOf<ComboState>(combo); state && reinterpret_cast<HWND>(lParam) != window)
        ShowList(combo, *state, false);
      return 0;
    }
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace zx::user::ctl
