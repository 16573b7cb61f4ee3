// DragAcceptFiles: the window's WS_EX_ACCEPTFILES style; DragFinish of the drops that never
// come.
#include "shelldrop.h"

void DragAcceptFiles(HWND window, BOOL accept) {
  const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
  const DWORD wanted = accept ? exStyle | WS_EX_ACCEPTFILES : exStyle & ~WS_EX_ACCEPTFILES;
  if (wanted != exStyle) SetWindowLongPtrW(window, GWL_EXSTYLE, static_cast<LONG_PTR>(wanted));
}

void DragFinish(HDROP) {}
