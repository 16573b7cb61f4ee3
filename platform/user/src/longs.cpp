// Values kept with a window: procedure, styles, id, user value, owner and the extra bytes of
// its class (a dialog's message result, procedure and user value).
#include <cstring>

#include "errhandlingapi.h"
#include "remote.h"
#include "window.h"

namespace zx::user {
namespace {

template <class T>
bool ExtraAt(Window& w, int index, T** at) {
  if (index < 0 || static_cast<std::size_t>(index) + sizeof(T) > w.extra.size()) {
    SetLastError(ERROR_INVALID_INDEX);
    return false;
  }
  *at = reinterpret_cast<T*>(w.extra.data() + index);
  return true;
}

template <class T>
bool ReadExtra(Window& w, int index, T* value) {
  T* at;
  if (!ExtraAt(w, index, &at)) return false;
  std::memcpy(value, at, sizeof(T));
  return true;
}

template <class T>
bool WriteExtra(Window& w, int index, T value, T* old) {
  T* at;
  if (!ExtraAt(w, index, &at)) return false;
  std::memcpy(old, at, sizeof(T));
  std::memcpy(at, &value, sizeof(T));
  return true;
}

template <class T>
T GetLong(HWND window, int index) {
  {
    std::lock_guard<std::mutex> guard(TableLock());
    if (Window* w = FindLocked(window)) {
      switch (index) {
        case GWLP_WNDPROC: return static_cast<T>(reinterpret_cast<LONG_PTR>(w->proc));
        case GWLP_HINSTANCE: return static_cast<T>(reinterpret_cast<LONG_PTR>(w->instance));
        case GWLP_HWNDPARENT:
          return static_cast<T>(reinterpret_cast<LONG_PTR>(w->parent ? w->parent : w->owner));
        case GWLP_ID: return static_cast<T>(w->id);
        case GWL_STYLE: return static_cast<T>(static_cast<LONG>(w->style));
        case GWL_EXSTYLE: return static_cast<T>(static_cast<LONG>(w->exStyle));
        case GWLP_USERDATA: return static_cast<T>(w->userData);
        default: {
          T value = 0;
          ReadExtra(*w, index, &value);
          return value;
        }
      }
    }
  }
  std::int64_t value = 0;
  remote::QueryValue(window, remote::Query::kLong, &value, static_cast<std::uint64_t>(index));
  return static_cast<T>(value);
}

// Styles change through WM_STYLECHANGING (which may alter the new value) and WM_STYLECHANGED.
LONG_PTR SetStyle(HWND window, int index, DWORD value) {
  STYLESTRUCT change{static_cast<DWORD>(GetLong<LONG_PTR>(window, index)), value};
  SendMessageW(window, WM_STYLECHANGING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&change));
  {
    std::lock_guard<std::mutex> guard(TableLock());
    Window* w = FindLocked(window);
    if (!w) return BadWindow();
    (index == GWL_STYLE ? w->style : w->exStyle) = change.styleNew;
  }
  SendMessageW(window, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&change));
  return static_cast<LONG>(change.styleOld);
}

template <class T>
T SetLong(HWND window, int index, T value) {
  if (index == GWL_STYLE || index == GWL_EXSTYLE) {
    if (!Find(window)) return static_cast<T>(BadWindow());
    return static_cast<T>(SetStyle(window, index, static_cast<DWORD>(value)));
  }
  std::lock_guard<std::mutex> guard(TableLock());
  Window* w = FindLocked(window);
  if (!w) {
    SetLastError(remote::IsForeign(window) ? ERROR_ACCESS_DENIED : ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  const auto asPointer = static_cast<LONG_PTR>(value);
  T old = 0;
  switch (index) {
    case GWLP_WNDPROC:
      old = static_cast<T>(reinterpret_cast<LONG_PTR>(w->proc));
      w->proc = reinterpret_cast<WNDPROC>(asPointer);
      return old;
    case GWLP_HINSTANCE:
      old = static_cast<T>(reinterpret_cast<LONG_PTR>(w->instance));
      w->instance = reinterpret_cast<HINSTANCE>(asPointer);
      return old;
    case GWLP_HWNDPARENT:
      old = static_cast<T>(reinterpret_cast<LONG_PTR>(w->owner));
      if (!w->parent) w->owner = reinterpret_cast<HWND>(asPointer);
      return old;
    case GWLP_ID:
      old = static_cast<T>(w->id);
      w->id = asPointer;
      return old;
    case GWLP_USERDATA:
      old = static_cast<T>(w->userData);
      w->userData = asPointer;
      return old;
    default:
      WriteExtra(*w, index, value, &old);
      return old;
  }
}

}  // namespace
}  // namespace zx::user

using namespace zx::user;

LONG_PTR GetWindowLongPtrW(HWND window, int index) { return GetLong<LONG_PTR>(window, index); }
LONG_PTR SetWindowLongPtrW(HWND window, int index, LONG_PTR value) {
  return SetLong<LONG_PTR>(window, index, value);
}
LONG GetWindowLongW(HWND window, int index) { return GetLong<LONG>(window, index); }
LONG SetWindowLongW(HWND window, int index, LONG value) { return SetLong<LONG>(window, index, value); }
