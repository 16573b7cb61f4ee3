// The dialog-item helpers (text, numbers and checks of items by id), moving through the
// items (tab stops and groups) and the dialog keys.
#include <string>
#include <vector>

#include "windlg.h"
#include "wininput.h"

namespace {

// The id Enter stands for: the dialog's default id, else IDOK.
int DefaultId(HWND dialog) {
  const LRESULT answer = SendMessageW(dialog, DM_GETDEFID, 0, 0);
  return HIWORD(answer) == DC_HASDEFID ? LOWORD(answer) : IDOK;
}

void Command(HWND dialog, int id) {
  SendMessageW(dialog, WM_COMMAND, MAKELONG(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

LONG_PTR StyleOf(HWND window) { return GetWindowLongPtrW(window, GWL_STYLE); }

// The items of a dialog in order. With `nested`, a visible, enabled child that holds
// controls of its own (WS_EX_CONTROLPARENT: a child dialog made with DS_CONTROL) stands for
// its items, so the keys walk into it.
void AddItems(HWND parent, bool nested, std::vector<HWND>& items) {
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const LONG_PTR style = StyleOf(child);
    const bool container = nested && (GetWindowLongPtrW(child, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) &&
                           (style & WS_VISIBLE) && !(style & WS_DISABLED);
    if (container) AddItems(child, true, items);
    else items.push_back(child);
  }
}

std::vector<HWND> Items(HWND dialog, bool nested = true) {
  std::vector<HWND> items;
  AddItems(dialog, nested, items);
  return items;
}

bool Usable(HWND item) {
  const LONG_PTR style = StyleOf(item);
  return (style & WS_VISIBLE) && !(style & WS_DISABLED);
}

// Walks the items from `from` (excluded) in the given direction, wrapping around, and
// answers the first that `wanted` accepts, or `control` when none does.
template <class Wanted>
HWND Walk(const std::vector<HWND>& items, std::size_t from, bool previous, HWND control,
          Wanted wanted) {
  const std::size_t n = items.size();
  for (std::size_t step = 1; step <= n; ++step) {
    const std::size_t at = previous ? (from + n * 2 - step) % n : (from + step) % n;
    if (wanted(items[at])) return items[at];
  }
  return control;
}

std::size_t IndexOf(const std::vector<HWND>& items, HWND control, bool previous) {
  for (std::size_t i = 0; i < items.size(); ++i)
    if (items[i] == control) return i;
  // No control: start so that the first step lands on the first (or last) item.
  return previous ? 0 : items.size() - 1;
}

// The key a dialog takes for itself, with what the focused control asked for.
bool DialogKey(HWND dialog, const MSG& msg) {
  const HWND focus = GetFocus();
  const LRESULT code =
      msg.hwnd != dialog
          ? SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg))
          : 0;
  if (code & DLGC_WANTALLKEYS) return false;
  switch (msg.wParam) {
    case VK_TAB: {
      if (code & DLGC_WANTTAB) return false;
      const HWND next = GetNextDlgTabItem(dialog, focus, (GetKeyState(VK_SHIFT) & 0x8000) != 0);
      if (next && next != focus) {
        SetFocus(next);
        if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
          SendMessageW(next, EM_SETSEL, 0, -1);
      }
      return true;
    }
    case VK_LEFT: case VK_UP: case VK_RIGHT: case VK_DOWN: {
      if (code & DLGC_WANTARROWS) return false;
      const HWND next = GetNextDlgGroupItem(dialog, focus, msg.wParam == VK_LEFT || msg.wParam == VK_UP);
      if (next && next != focus) {
        SetFocus(next);
        if (SendMessageW(next, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) SendMessageW(next, BM_CLICK, 0, 0);
      }
      return true;
    }
    case VK_RETURN: {
      const bool pushButton = focus && (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) &&
                              msg.hwnd == focus;
      const int id = pushButton ? GetDlgCtrlID(focus) : DefaultId(dialog);
      const HWND button = GetDlgItem(dialog, id);
      if (!button || IsWindowEnabled(button)) Command(dialog, id);
      return true;
    }
    case VK_ESCAPE:
      Command(dialog, IDCANCEL);
      return true;
    default:
      return false;
  }
}

}  // namespace

BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text) {
  const HWND item = GetDlgItem(dialog, id);
  return item ? SetWindowTextW(item, text) : FALSE;
}

UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR text, int capacity) {
  const HWND item = GetDlgItem(dialog, id);
  if (!item) {
    if (text && capacity > 0) text[0] = 0;
    return 0;
  }
  return static_cast<UINT>(GetWindowTextW(item, text, capacity));
}

BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
  const std::string digits =
      isSigned ? std::to_string(static_cast<int>(value)) : std::to_string(value);
  const std::u16string text(digits.begin(), digits.end());
  return SetDlgItemTextW(dialog, id, text.c_str());
}

UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned) {
  if (translated) *translated = FALSE;
  WCHAR text[32];
  const UINT length = GetDlgItemTextW(dialog, id, text, 32);
  std::size_t at = 0;
  while (at < length && (text[at] == u' ' || text[at] == u'\t')) ++at;
  const bool negative = isSigned && at < length && text[at] == u'-';
  if (negative || (at < length && text[at] == u'+')) ++at;
  if (at == length) return 0;
  unsigned long long magnitude = 0;
  for (; at < length; ++at) {
    if (text[at] < u'0' || text[at] > u'9') return 0;
    magnitude = magnitude * 10 + (text[at] - u'0');
    if (magnitude > 0xFFFFFFFFull) return 0;
  }
  const unsigned long long limit =
      isSigned ? (negative ? 0x80000000ull : 0x7FFFFFFFull) : 0xFFFFFFFFull;
  if (magnitude > limit) return 0;
  if (translated) *translated = TRUE;
  const UINT value = static_cast<UINT>(magnitude);
  return negative ? 0u - value : value;
}

LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
  const HWND item = GetDlgItem(dialog, id);
  return item ? SendMessageW(item, message, wParam, lParam) : 0;
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
  const HWND item = GetDlgItem(dialog, id);
  if (!item) return FALSE;
  SendMessageW(item, BM_SETCHECK, check, 0);
  return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
  return static_cast<UINT>(SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0));
}

BOOL CheckRadioButton(HWND dialog, int first, int last, int check) {
  if (!IsWindow(dialog)) return FALSE;
  for (HWND item : Items(dialog)) {
    const int id = GetDlgCtrlID(item);
    if (id >= first && id <= last)
      SendMessageW(item, BM_SETCHECK, id == check ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  return TRUE;
}

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous) {
  const std::vector<HWND> items = Items(dialog);
  if (items.empty()) return nullptr;
  return Walk(items, IndexOf(items, control, previous), previous != FALSE, control,
              [](HWND item) { return Usable(item) && (StyleOf(item) & WS_TABSTOP); });
}

HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous) {
  // A group lies within one parent: the control's (inside a child dialog) or the dialog.
  const HWND parent = control && IsChild(dialog, control) ? GetParent(control) : dialog;
  const std::vector<HWND> all = Items(parent, false);
  if (all.empty()) return nullptr;
  std::size_t at = IndexOf(all, control, false);
  if (at >= all.size() || all[at] != control) at = 0;
  // The group: from the nearest item at or before it with WS_GROUP to the next one's start.
  std::size_t first = at;
  while (first > 0 && !(StyleOf(all[first]) & WS_GROUP)) --first;
  std::size_t end = at + 1;
  while (end < all.size() && !(StyleOf(all[end]) & WS_GROUP)) ++end;
  const std::vector<HWND> group(all.begin() + static_cast<std::ptrdiff_t>(first),
                                all.begin() + static_cast<std::ptrdiff_t>(end));
  return Walk(group, at - first, previous != FALSE, control, Usable);
}

BOOL IsDialogMessageW(HWND dialog, LPMSG msg) {
  if (!msg || !dialog || (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd))) return FALSE;
  if (msg->message == WM_KEYDOWN && DialogKey(dialog, *msg)) return TRUE;
  TranslateMessage(msg);
  DispatchMessageW(msg);
  return TRUE;
}
