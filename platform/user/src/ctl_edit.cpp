// The "Edit" class and the rich edit class "RichEdit20W" as plain text: typing through
// WM_CHAR within the character limit, the selection, EM_REPLACESEL, read-only and password
// edits, single and multiple lines, and EN_CHANGE (for a rich edit only with ENM_CHANGE in
// its event mask).
#include <algorithm>

#include "ctl_common.h"
#include "richedit.h"
#include "wininput.h"

namespace zx::user::ctl {
namespace {

constexpr DWORD kEditDefaultLimit = 30000;
constexpr DWORD kRichDefaultLimit = 32767;
constexpr DWORD kRichExLimitDefault = 65536;
constexpr DWORD kNoLimit = 0x7FFFFFFE;

struct EditState {
  HFONT font = nullptr;
  bool rich = false;
  DWORD limit = kEditDefaultLimit;
  DWORD start = 0;  // the selection from its anchor to the caret (either may be the lower)
  DWORD end = 0;
  bool dragging = false;  // the left button went down in the edit and is not up yet
  bool modified = false;
  WCHAR passwordChar = 0;
  DWORD eventMask = 0;
  COLORREF background = CLR_INVALID;  // a rich edit's own background; CLR_INVALID: the system's
  bool focus = false;
};

void Notify(HWND window, const EditState& state, int code) {
  if (state.rich && code == EN_CHANGE && !(state.eventMask & ENM_CHANGE)) return;
  NotifyParent(window, code);
}

// The text is the window's own (so every reader sees it); edits go through the default
// handling of WM_SETTEXT.
void Store(HWND window, const std::u16string& text) {
  DefWindowProcW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// Replaces the selection with as much of `insert` as the limit allows; the caret goes after
// it. Answers false when nothing could be inserted because of the limit.
bool Replace(HWND window, EditState& state, std::u16string insert) {
  std::u16string text = TextOf(window);
  const DWORD size = static_cast<DWORD>(text.size());
  const DWORD from = std::min({state.start, state.end, size});
  const DWORD to = std::min(std::max(state.start, state.end), size);
  const DWORD kept = size - (to - from);
  const DWORD room = state.limit > kept ? state.limit - kept : 0;
  const bool fits = insert.size() <= room;
  if (!fits) insert.resize(room);
  if (insert.empty() && from == to) {
    if (!fits) Notify(window, state, EN_MAXTEXT);
    return fits;
  }
  text.replace(from, to - from, insert);
  Store(window, text);
  state.start = state.end = from + static_cast<DWORD>(insert.size());
  state.modified = true;
  InvalidateRect(window, nullptr, TRUE);
  Notify(window, state, EN_CHANGE);
  if (!fits) Notify(window, state, EN_MAXTEXT);
  return fits;
}

bool Accepts(HWND window, WCHAR c) {
  const DWORD style = StyleOf(window);
  if ((style & ES_NUMBER) && (c < u'0' || c > u'9')) return false;
  return c >= 0x20 || c == u'\t';
}

WCHAR Cased(DWORD style, WCHAR c) {
  if ((style & ES_UPPERCASE) && c >= u'a' && c <= u'z') return static_cast<WCHAR>(c - 32);
  if ((style & ES_LOWERCASE) && c >= u'A' && c <= u'Z') return static_cast<WCHAR>(c + 32);
  return c;
}

void Type(HWND window, EditState& state, WCHAR c) {
  const DWORD style = StyleOf(window);
  if (style & ES_READONLY) return;
  const bool multi = (style & ES_MULTILINE) != 0;
  if (c == VK_BACK) {
    if (state.start == state.end && state.start > 0) state.start = state.end - 1;  // one before the caret
    Replace(window, state, u"");
  } else if (c == u'\r' || c == u'\n') {
    if (multi) Replace(window, state, u"\r\n");
  } else if (c == u'\t' && !multi) {
    return;
  } else if (Accepts(window, c)) {
    Replace(window, state, std::u16string(1, Cased(style, c)));
  }
}

// The keys that move the caret; with Shift held the selection's anchor stays.
void MoveCaret(HWND window, EditState& state, WPARAM key) {
  const DWORD size = static_cast<DWORD>(GetWindowTextLengthW(window));
  const bool extend = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
  const DWORD low = std::min(state.start, state.end), high = std::max(state.start, state.end);
  DWORD caret = state.end;
  switch (key) {
    case VK_LEFT: caret = extend || low == high ? (caret ? caret - 1 : 0) : low; break;
    case VK_RIGHT: caret = extend || low == high ? std::min(caret + 1, size) : high; break;
    case VK_HOME: caret = 0; break;
    case VK_END: caret = size; break;
    case VK_DELETE:
      if (StyleOf(window) & ES_READONLY) return;
      if (state.start == state.end && state.end < size) ++state.end;
      Replace(window, state, u"");
      return;
    default: return;
  }
  state.end = caret;
  if (!extend) state.start = caret;
  InvalidateRect(window, nullptr, FALSE);
}

// The character boundary of a single line nearest a point of the client area.
DWORD CharacterAt(HWND window, const EditState& state, const std::u16string& shown, int x) {
  if (StyleOf(window) & (ES_MULTILINE | ES_CENTER | ES_RIGHT)) return static_cast<DWORD>(shown.size());
  HDC dc = GetDC(window);
  const HGDIOBJ old = SelectObject(dc, FontOrDefault(state.font));
  DWORD best = 0;
  int previous = 0;
  for (DWORD i = 1; i <= shown.size(); ++i) {
    SIZE extent{};
    GetTextExtentPoint32W(dc, shown.c_str(), static_cast<int>(i), &extent);
    const int edge = 1 + extent.cx;  // the text starts one pixel in
    if (x >= (1 + previous + edge) / 2) best = i;
    previous = extent.cx;
  }
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return best;
}

void SetSelection(HWND window, EditState& state, LONG_PTR start, LONG_PTR end) {
  const LONG_PTR size = GetWindowTextLengthW(window);
  if (start == -1) {
    state.start = state.end;  // no selection; the caret stays
  } else {
    if (start < 0 || start > size) start = size;
    if (end < 0 || end > size) end = size;
    state.start = static_cast<DWORD>(start);
    state.end = static_cast<DWORD>(end);
  }
  InvalidateRect(window, nullptr, FALSE);
}

std::u16string Shown(HWND window, const EditState& state) {
  std::u16string text = TextOf(window);
  if (state.passwordChar) std::fill(text.begin(), text.end(), state.passwordChar);
  return text;
}

void Paint(HWND window, EditState& state) {
  PaintWith(window, state.font, [&](HDC dc, RECT client) {
    const DWORD style = StyleOf(window);
    const bool enabled = IsWindowEnabled(window) != FALSE;
    HBRUSH brush = nullptr;
    HBRUSH own = nullptr;
    if (state.rich) {
      own = CreateSolidBrush(state.background == CLR_INVALID ? GetSysColor(COLOR_WINDOW)
                                                             : state.background);
      brush = own;
      SetTextColor(dc, GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    } else {
      const bool asStatic = (style & ES_READONLY) || !enabled;
      brush = ParentColours(window, dc, asStatic ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT);
      if (!enabled) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    }
    if (brush) FillRect(dc, &client, brush);
    if (own) DeleteObject(own);
    const std::u16string text = Shown(window, state);
    RECT area{client.left + 1, client.top + 1, client.right - 1, client.bottom};
    UINT format = DT_NOPREFIX | DT_EXPANDTABS;
    if (style & ES_MULTILINE) format |= DT_WORDBREAK | DT_EDITCONTROL;
    else format |= DT_SINGLELINE;
    if (style & ES_CENTER) format |= DT_CENTER;
    else if (style & ES_RIGHT) format |= DT_RIGHT;
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, format);
    // The selection of a focused single-line edit, drawn highlighted over the text.
    const DWORD from = std::min<DWORD>(std::min(state.start, state.end), static_cast<DWORD>(text.size()));
    const DWORD to = std::min<DWORD>(std::max(state.start, state.end), static_cast<DWORD>(text.size()));
    if (!state.focus || from == to || (style & (ES_MULTILINE | ES_CENTER | ES_RIGHT))) return;
    SIZE before{}, selected{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(from), &before);
    GetTextExtentPoint32W(dc, text.c_str() + from, static_cast<int>(to - from), &selected);
    RECT mark{area.left + before.cx, area.top, area.left + before.cx + selected.cx,
              area.top + selected.cy};
    FillRect(dc, &mark, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
    DrawTextW(dc, text.c_str() + from, static_cast<int>(to - from), &mark, format & ~DT_EXPANDTABS);
  });
}

LRESULT LineCount(HWND window) {
  const std::u16string text = TextOf(window);
  if (!(StyleOf(window) & ES_MULTILINE)) return 1;
  return 1 + std::count(text.begin(), text.end(), u'\n');
}

LRESULT Handle(HWND window, EditState& state, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (HandleFont(window, state.font, message, wParam, lParam, &result)) return result;
  switch (message) {
    case WM_CREATE:
      if (StyleOf(window) & ES_PASSWORD) state.passwordChar = u'*';
      return 0;
    case WM_PAINT: Paint(window, state); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_GETDLGCODE: {
      // A multi-line edit with ES_WANTRETURN keeps Enter; Tab and Escape stay the dialog's.
      LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
      const auto* key = reinterpret_cast<const MSG*>(lParam);
      const bool enter = !key || (key->message == WM_KEYDOWN && key->wParam == VK_RETURN);
      if (enter && (StyleOf(window) & (ES_MULTILINE | ES_WANTRETURN)) == (ES_MULTILINE | ES_WANTRETURN))
        code |= DLGC_WANTALLKEYS;
      return code;
    }
    case WM_CHAR: Type(window, state, static_cast<WCHAR>(wParam)); return 0;
    case WM_KEYDOWN: MoveCaret(window, state, wParam); return 0;
    case WM_LBUTTONDOWN: {
      if (GetFocus() != window) SetFocus(window);
      const DWORD at = CharacterAt(window, state, Shown(window, state), static_cast<SHORT>(LOWORD(lParam)));
      state.end = at;
      if (!(wParam & MK_SHIFT)) state.start = at;
      state.dragging = true;
      SetCapture(window);
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (!state.dragging) return 0;
      state.end = CharacterAt(window, state, Shown(window, state), static_cast<SHORT>(LOWORD(lParam)));
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_LBUTTONUP:
      if (state.dragging && GetCapture() == window) ReleaseCapture();
      state.dragging = false;
      return 0;
    case WM_CAPTURECHANGED:
      state.dragging = false;
      return 0;
    case WM_SETFOCUS:
      state.focus = true;
      InvalidateRect(window, nullptr, FALSE);
      NotifyParent(window, EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      state.focus = false;
      InvalidateRect(window, nullptr, FALSE);
      NotifyParent(window, EN_KILLFOCUS);
      return 0;
    case WM_ENABLE: InvalidateRect(window, nullptr, TRUE); return 0;
    case WM_SETTEXT: {
      Store(window, lParam ? reinterpret_cast<LPCWSTR>(lParam) : u"");
      state.start = state.end = 0;
      state.modified = false;
      InvalidateRect(window, nullptr, TRUE);
      Notify(window, state, EN_CHANGE);
      return TRUE;
    }
    case EM_GETSEL: {
      const DWORD low = std::min(state.start, state.end), high = std::max(state.start, state.end);
      if (wParam) *reinterpret_cast<DWORD*>(wParam) = low;
      if (lParam) *reinterpret_cast<DWORD*>(lParam) = high;
      return high > 0xFFFF ? -1 : MAKELRESULT(low, high);
    }
    case EM_SETSEL:
      SetSelection(window, state, static_cast<LONG_PTR>(static_cast<int>(wParam)),
                   static_cast<LONG_PTR>(static_cast<int>(lParam)));
      return 0;
    case EM_REPLACESEL:
      Replace(window, state, lParam ? reinterpret_cast<LPCWSTR>(lParam) : u"");
      return 0;
    case EM_LIMITTEXT:
      state.limit = wParam ? static_cast<DWORD>(std::min<WPARAM>(wParam, kNoLimit)) : kNoLimit;
      return 0;
    case EM_GETLIMITTEXT: return state.limit;
    case EM_SETREADONLY: {
      const DWORD style = StyleOf(window);
      SetWindowLongPtrW(window, GWL_STYLE, wParam ? style | ES_READONLY : style & ~ES_READONLY);
      InvalidateRect(window, nullptr, TRUE);
      return TRUE;
    }
    case EM_SETPASSWORDCHAR:
      state.passwordChar = static_cast<WCHAR>(wParam);
      InvalidateRect(window, nullptr, TRUE);
      return 0;
    case EM_GETPASSWORDCHAR: return state.passwordChar;
    case EM_GETMODIFY: return state.modified;
    case EM_SETMODIFY: state.modified = wParam != 0; return 0;
    case EM_GETLINECOUNT: return LineCount(window);
    case EM_CANUNDO: return FALSE;
    case EM_EMPTYUNDOBUFFER: return 0;
    default: break;
  }
  if (!state.rich) return DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case EM_EXLIMITTEXT:
      state.limit = lParam > 0 ? static_cast<DWORD>(std::min<LPARAM>(lParam, kNoLimit)) : kRichExLimitDefault;
      return 0;
    case EM_EXGETSEL:
      if (auto* range = reinterpret_cast<CHARRANGE*>(lParam))
        *range = CHARRANGE{static_cast<LONG>(std::min(state.start, state.end)),
                           static_cast<LONG>(std::max(state.start, state.end))};
      return 0;
    case EM_EXSETSEL: {
      const auto* range = reinterpret_cast<const CHARRANGE*>(lParam);
      if (range) SetSelection(window, state, range->cpMin, range->cpMax);
      return std::max(state.start, state.end);
    }
    case EM_SETEVENTMASK: {
      const DWORD old = state.eventMask;
      state.eventMask = static_cast<DWORD>(lParam);
      return old;
    }
    case EM_GETEVENTMASK: return state.eventMask;
    case EM_SETBKGNDCOLOR: {
      const COLORREF old = state.background == CLR_INVALID ? GetSysColor(COLOR_WINDOW) : state.background;
      state.background = wParam ? CLR_INVALID : static_cast<COLORREF>(lParam);
      InvalidateRect(window, nullptr, TRUE);
      return old;
    }
    case EM_SETTEXTMODE: return 0;
    case EM_GETTEXTMODE: return TM_PLAINTEXT;
    case EM_AUTOURLDETECT: return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

LRESULT Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool rich) {
  EditState* state = Track<EditState>(window, message);
  if (!state) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCCREATE && rich) {
    state->rich = true;
    state->limit = kRichDefaultLimit;
  }
  if (message == WM_NCCREATE) return DefWindowProcW(window, message, wParam, lParam);
  return Handle(window, *state, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return Procedure(window, message, wParam, lParam, false);
}

LRESULT CALLBACK RichEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return Procedure(window, message, wParam, lParam, true);
}

}  // namespace zx::user::ctl
