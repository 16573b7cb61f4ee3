// Window text: through WM_SETTEXT, WM_GETTEXT and WM_GETTEXTLENGTH for this process's
// windows; another process's window text is read from its owner without a message, as
// Windows does.
#include "remote.h"
#include "usertext.h"
#include "window.h"

using namespace zx::user;

BOOL SetWindowTextW(HWND window, LPCWSTR text) {
  return SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : u"")) != 0;
}

int GetWindowTextW(HWND window, LPWSTR text, int capacity) {
  if (text && capacity > 0) *text = u'\0';
  if (Find(window))
    return static_cast<int>(
        SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(capacity), reinterpret_cast<LPARAM>(text)));
  std::u16string remoteText;
  if (!remote::QueryText(window, remote::Query::kText, &remoteText)) return 0;
  return CopyOut(remoteText, text, capacity);
}

int GetWindowTextLengthW(HWND window) {
  if (Find(window)) return static_cast<int>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
  std::u16string remoteText;
  if (!remote::QueryText(window, remote::Query::kText, &remoteText)) return 0;
  return static_cast<int>(remoteText.size());
}
