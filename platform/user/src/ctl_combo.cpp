// The "ComboBox" class as a drop-down list: its items with their data, the selection (by
// CB_SETCURSEL, or by the keys, the mouse wheel and the dropped list with CBN_SELCHANGE),
// searching, sorted lists, and the selection field drawn (or owner-drawn) with the arrow
// button.
#include <algorithm>

#include "ctl_combo.h"
#include "usertext.h"

namespace zx::user::ctl {
namespace {

bool Valid(const ComboState& state, WPARAM index) {
  return static_cast<std::size_t>(index) < state.items.size();
}

void ShowSelection(HWND window, const ComboState& state) {
  const std::u16string text = state.selected >= 0 ? state.items[state.selected].text : u"";
  DefWindowProcW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  InvalidateRect(window, nullptr, FALSE);
}

LRESULT Insert(HWND window, ComboState& state, int index, LPCWSTR text) {
  ComboItem item{text ? text : u"", 0};
  if (StyleOf(window) & CBS_SORT) {
    const std::u16string key = FoldedName(item.text);
    index = static_cast<int>(std::find_if(state.items.begin(), state.items.end(),
                                          [&](const ComboItem& i) { return FoldedName(i.text) > key; }) -
                             state.items.begin());
  } else if (index < 0) {
    index = static_cast<int>(state.items.size());
  } else if (static_cast<std::size_t>(index) > state.items.size()) {
    return CB_ERR;
  }
  state.items.insert(state.items.begin() + index, std::move(item));
  if (state.selected >= index) ++state.selected;
  return index;
}

LRESULT Delete(HWND window, ComboState& state, WPARAM index) {
  if (!Valid(state, index)) return CB_ERR;
  const int at = static_cast<int>(index);
  state.items.erase(state.items.begin() + at);
  if (state.selected == at) {
    state.selected = CB_ERR;
    ShowSelection(window, state);
  } else if (state.selected > at) {
    --state.selected;
  }
  return static_cast<LRESULT>(state.items.size());
}

// The first item after `after` (wrapping; -1: from the start) whose text equals, or with
// `prefix` starts with, the text, without regard to case.
LRESULT Find(const ComboState& state, WPARAM after, LPCWSTR text, bool prefix) {
  if (!text || state.items.empty()) return CB_ERR;
  const std::u16string key = FoldedName(text);
  const int count = static_cast<int>(state.items.size());
  const int start = static_cast<int>(after) >= 0 && static_cast<int>(after) < count
                        ? static_cast<int>(after) + 1 : 0;
  for (int n = 0; n < count; ++n) {
    const int i = (start + n) % count;
    const std::u16string folded = FoldedName(state.items[i].text);
    if (prefix ? folded.compare(0, key.size(), key) == 0 : folded == key) return i;
  }
  return CB_ERR;
}

LRESULT Select(HWND window, ComboState& state, WPARAM index) {
  state.selected = Valid(state, index) ? static_cast<int>(index) : CB_ERR;
  ShowSelection(window, state);
  return state.selected;
}

void Key(HWND window, ComboState& state, WPARAM key) {
  const int last = static_cast<int>(state.items.size()) - 1;
  switch (key) {
    case VK_DOWN: case VK_RIGHT: UserSelect(window, state, state.selected + 1); break;
    case VK_UP: case VK_LEFT: UserSelect(window, state, state.selected < 0 ? 0 : state.selected - 1); break;
    case VK_HOME: case VK_PRIOR: UserSelect(window, state, 0); break;
    case VK_END: case VK_NEXT: UserSelect(window, state, last); break;
    case VK_F4: ShowList(window, state, !state.dropped); break;
    case VK_RETURN: case VK_ESCAPE: ShowList(window, state, false); break;
    default: break;
  }
}

void FitHeight(HWND window, const ComboState& state) {
  RECT rect{};
  GetWindowRect(window, &rect);
  SetWindowPos(window, nullptr, 0, 0, rect.right - rect.left, FieldHeight(window, state),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// An owner-drawn combo box asks its parent for the heights of its field and its items.
void MeasureItems(HWND window, ComboState& state) {
  const HWND parent = GetParent(window);
  if (!parent || !(StyleOf(window) & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE))) return;
  for (const UINT item : {static_cast<UINT>(-1), 0u}) {
    MEASUREITEMSTRUCT measure{ODT_COMBOBOX, static_cast<UINT>(GetDlgCtrlID(window)), item, 0,
                              static_cast<UINT>(ListItemHeight(window, state)), 0};
    SendMessageW(parent, WM_MEASUREITEM, measure.CtlID, reinterpret_cast<LPARAM>(&measure));
    (item == 0 ? state.itemHeight : state.fieldItemHeight) = static_cast<int>(measure.itemHeight);
  }
}

LRESULT SetItemHeight(HWND window, ComboState& state, WPARAM which, LPARAM height) {
  if (height <= 0 || height > 255) return CB_ERR;
  if (static_cast<int>(which) == -1) {
    state.fieldItemHeight = static_cast<int>(height);
    FitHeight(window, state);
  } else {
    state.itemHeight = static_cast<int>(height);
  }
  return 0;
}

void PaintArrow(HDC dc, RECT button) {
  DrawEdge(dc, &button, EDGE_RAISED, BF_RECT | BF_MIDDLE | BF_ADJUST);
  const int cx = (button.left + button.right) / 2;
  const int cy = (button.top + button.bottom) / 2 - 1;
  for (int row = 0; row < 4; ++row) {
    RECT line{cx - 3 + row, cy + row, cx + 4 - row, cy + row + 1};
    FillRect(dc, &line, GetSysColorBrush(COLOR_BTNTEXT));
  }
}

void Paint(HWND window, ComboState& state) {
  PaintWith(window, state.font, [&](HDC dc, RECT client) {
    const bool enabled = IsWindowEnabled(window) != FALSE;
    const HBRUSH brush = ParentColours(window, dc, enabled ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC);
    FrameRect(dc, &client, GetSysColorBrush(COLOR_3DSHADOW));
    RECT inner = client;
    InflateRect(&inner, -1, -1);
    const int arrow = std::min<int>(GetSystemMetrics(SM_CXVSCROLL), inner.right - inner.left);
    RECT field{inner.left, inner.top, inner.right - arrow, inner.bottom};
    PaintArrow(dc, RECT{field.right, inner.top, inner.right, inner.bottom});
    const DWORD style = StyleOf(window);
    if (style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) {
      const int saved = SaveDC(dc);
      IntersectClipRect(dc, field.left, field.top, field.right, field.bottom);
      UINT itemState = ODS_COMBOBOXEDIT | (state.focus ? ODS_SELECTED | ODS_FOCUS : 0u) |
                       (enabled ? 0u : ODS_DISABLED);
      const ULONG_PTR data = state.selected >= 0 ? state.items[state.selected].data : 0;
      DrawItem(window, dc, ODT_COMBOBOX, static_cast<UINT>(state.selected), ODA_DRAWENTIRE,
               itemState, data);
      RestoreDC(dc, saved);
      return;
    }
    if (brush) FillRect(dc, &field, brush);
    RECT text{field.left + 2, field.top + 1, field.right - 2, field.bottom - 1};
    if (state.focus && !state.dropped) {
      FillRect(dc, &text, GetSysColorBrush(COLOR_HIGHLIGHT));
      SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    } else if (!enabled) {
      SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    }
    SetBkMode(dc, TRANSPARENT);
    if (state.selected >= 0) {
      const std::u16string& caption = state.items[state.selected].text;
      RECT place{text.left + 1, text.top, text.right, text.bottom};
      DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &place,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    if (state.focus) DrawFocusRect(dc, &text);
  });
}

LRESULT ItemText(const ComboState& state, WPARAM index, LPWSTR buffer) {
  if (!Valid(state, index)) return CB_ERR;
  const std::u16string& text = state.items[index].text;
  if (buffer) std::copy(text.begin(), text.end(), buffer), buffer[text.size()] = 0;
  return static_cast<LRESULT>(text.size());
}

}  // namespace

int ListItemHeight(HWND combo, const ComboState& state) {
  if (state.itemHeight) return state.itemHeight;
  HDC dc = GetDC(combo);
  const HGDIOBJ old = SelectObject(dc, FontOrDefault(state.font));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(combo, dc);
  return metrics.tmHeight + 2;
}

// A drop-down list is as tall as its selection field whatever height it is given (that
// height is the list's): the field's item and a frame of three pixels above and below.
int FieldHeight(HWND combo, const ComboState& state) {
  return (state.fieldItemHeight ? state.fieldItemHeight : ListItemHeight(combo, state)) + 6;
}

void UserSelect(HWND window, ComboState& state, int index) {
  if (state.items.empty()) return;
  index = std::clamp(index, 0, static_cast<int>(state.items.size()) - 1);
  if (index == state.selected) return;
  Select(window, state, static_cast<WPARAM>(index));
  UpdateWindow(window);
  NotifyParent(window, CBN_SELCHANGE);
}

LRESULT CALLBACK ComboBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ComboState* state = Track<ComboState>(window, message);
  if (!state) return DefWindowProcW(window, message, wParam, lParam);
  LRESULT result = 0;
  if (HandleFont(window, state->font, message, wParam, lParam, &result)) {
    if (message == WM_SETFONT) FitHeight(window, *state);
    return result;
  }
  switch (message) {
    case WM_CREATE:
      MeasureItems(window, *state);
      FitHeight(window, *state);
      return 0;
    case WM_WINDOWPOSCHANGING: {
      auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
      if (pos && !(pos->flags & SWP_NOSIZE)) pos->cy = FieldHeight(window, *state);
      return 0;
    }
    case WM_PAINT: Paint(window, *state); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_GETDLGCODE:  // Enter and Escape close a dropped list
      return DLGC_WANTARROWS | DLGC_WANTCHARS | (state->dropped ? DLGC_WANTALLKEYS : 0u);
    case WM_SETTEXT: return CB_ERR;  // a drop-down list shows its selection only
    case WM_LBUTTONDOWN:
      if (GetFocus() != window) SetFocus(window);
      Key(window, *state, VK_F4);
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_MOUSEWHEEL:
      UserSelect(window, *state, state->selected + (static_cast<SHORT>(HIWORD(wParam)) > 0 ? -1 : 1));
      return 0;
    case WM_KEYDOWN: Key(window, *state, wParam); return 0;
    case WM_CHAR: {
      const WCHAR typed[2] = {static_cast<WCHAR>(wParam), 0};
      const LRESULT found = Find(*state, static_cast<WPARAM>(state->selected), typed, true);
      if (found != CB_ERR) UserSelect(window, *state, static_cast<int>(found));
      return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      state->focus = message == WM_SETFOCUS;
      if (!state->focus) ShowList(window, *state, false);
      InvalidateRect(window, nullptr, FALSE);
      NotifyParent(window, state->focus ? CBN_SETFOCUS : CBN_KILLFOCUS);
      return 0;
    case WM_ENABLE: InvalidateRect(window, nullptr, FALSE); return 0;
    case WM_DESTROY: ShowList(window, *state, false); return 0;
    case CB_ADDSTRING: return Insert(window, *state, -1, reinterpret_cast<LPCWSTR>(lParam));
    case CB_INSERTSTRING:
      return Insert(window, *state, static_cast<int>(wParam), reinterpret_cast<LPCWSTR>(lParam));
    case CB_DELETESTRING: return Delete(window, *state, wParam);
    case CB_RESETCONTENT:
      state->items.clear();
      Select(window, *state, static_cast<WPARAM>(CB_ERR));
      return 0;
    case CB_GETCOUNT: return static_cast<LRESULT>(state->items.size());
    case CB_SETCURSEL: return Select(window, *state, wParam);
    case CB_GETCURSEL: return state->selected;
    case CB_GETLBTEXT: return ItemText(*state, wParam, reinterpret_cast<LPWSTR>(lParam));
    case CB_GETLBTEXTLEN: return ItemText(*state, wParam, nullptr);
    case CB_SETITEMDATA:
      if (!Valid(*state, wParam)) return CB_ERR;
      state->items[wParam].data = static_cast<ULONG_PTR>(lParam);
      return TRUE;
    case CB_GETITEMDATA:
      return Valid(*state, wParam) ? static_cast<LRESULT>(state->items[wParam].data) : CB_ERR;
    case CB_FINDSTRING: return Find(*state, wParam, reinterpret_cast<LPCWSTR>(lParam), true);
    case CB_FINDSTRINGEXACT: return Find(*state, wParam, reinterpret_cast<LPCWSTR>(lParam), false);
    case CB_SELECTSTRING: {
      const LRESULT found = Find(*state, wParam, reinterpret_cast<LPCWSTR>(lParam), true);
      return found == CB_ERR ? CB_ERR : Select(window, *state, static_cast<WPARAM>(found));
    }
    case CB_SHOWDROPDOWN:
      ShowList(window, *state, wParam != 0);
      return TRUE;
    case CB_GETDROPPEDSTATE: return state->dropped;
    case CB_SETITEMHEIGHT: return SetItemHeight(window, *state, wParam, lParam);
    case CB_GETITEMHEIGHT:
      return static_cast<int>(wParam) == -1 ? FieldHeight(window, *state) - 6 : ListItemHeight(window, *state);
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace zx::user::ctl
