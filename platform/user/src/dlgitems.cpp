// The dialog-item helpers (text and numbers of items by id) and the dialog keys.
#include <string>

#include "windlg.h"

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

BOOL IsDialogMessageW(HWND dialog, LPMSG msg) {
  if (!msg || !dialog || (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd))) return FALSE;
  if (msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
    Command(dialog, DefaultId(dialog));
    return TRUE;
  }
  if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) {
    Command(dialog, IDCANCEL);
    return TRUE;
  }
  TranslateMessage(msg);
  DispatchMessageW(msg);
  return TRUE;
}
