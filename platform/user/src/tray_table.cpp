// The notification area's table: Shell_NotifyIconW adding, changing and removing icons with
// their tips, states, balloons and versions, read within the record's cbSize; icons go with
// their windows. SHAppBarMessage answers the taskbar's place, DllGetVersion the shell's
// version.
#include <algorithm>
#include <mutex>

#include "errhandlingapi.h"
#include "geometry.h"
#include "tray.h"
#include "zx/windowstate.h"

namespace zx::user {
namespace {

constexpr DWORD kSecondVersionSize32 = 936;
constexpr std::size_t kFirstVersionTip = 64;
constexpr DWORD kAppBarSize32 = 36;

}  // namespace

Tray& TheTray() {
  static Tray* tray = [] {
    auto* t = new Tray;
    AddDestroyObserver([t](HWND window) {
      std::lock_guard<std::mutex> guard(t->lock);
      std::erase_if(t->icons, [window](const TrayIcon& icon) { return icon.window == window; });
    });
    return t;
  }();
  return *tray;
}

namespace {

// Text of a fixed array, to its terminator or the array's end, at most `limit` units.
std::u16string Bounded(const WCHAR* text, std::size_t size, std::size_t limit) {
  const std::size_t most = std::min(size, limit);
  std::size_t n = 0;
  while (n < most && text[n]) ++n;
  return std::u16string(text, n);
}

bool Refuse(DWORD error) {
  SetLastError(error);
  return false;
}

// Applies what uFlags names from a record of `size` bytes.
void Apply(TrayIcon& icon, const NOTIFYICONDATAW& data, DWORD size) {
  const bool second = size >= kSecondVersionSize32;
  if (data.uFlags & NIF_MESSAGE) icon.callbackMessage = data.uCallbackMessage;
  if (data.uFlags & NIF_ICON) icon.icon = data.hIcon;
  if (data.uFlags & NIF_TIP)
    icon.tip = Bounded(data.szTip, std::size(data.szTip), second ? std::size(data.szTip) - 1 : kFirstVersionTip - 1);
  if (!second) return;
  if (data.uFlags & NIF_STATE) icon.state = (icon.state & ~data.dwStateMask) | (data.dwState & data.dwStateMask);
  if (data.uFlags & NIF_INFO) {
    icon.balloonText = Bounded(data.szInfo, std::size(data.szInfo), std::size(data.szInfo) - 1);
    if (!icon.balloonText.empty()) {
      icon.balloonTitle = Bounded(data.szInfoTitle, std::size(data.szInfoTitle), std::size(data.szInfoTitle) - 1);
      icon.balloonTimeoutMs = data.uTimeout;
      icon.balloonFlags = data.dwInfoFlags;
      ++icon.balloons;
    }
  }
}

}  // namespace
}  // namespace zx::user

using namespace zx::user;

BOOL Shell_NotifyIconW(DWORD message, PNOTIFYICONDATAW data) {
  if (!data || data->cbSize < NOTIFYICONDATAW_V1_SIZE || data->cbSize > sizeof(NOTIFYICONDATAW))
    return Refuse(ERROR_INVALID_PARAMETER);
  Tray& tray = TheTray();
  {
    std::lock_guard<std::mutex> guard(tray.lock);
    if (!tray.available) return Refuse(ERROR_FILE_NOT_FOUND);
  }
  if (!IsWindow(data->hWnd)) return Refuse(ERROR_INVALID_WINDOW_HANDLE);
  std::lock_guard<std::mutex> guard(tray.lock);
  auto found = std::find_if(tray.icons.begin(), tray.icons.end(), [data](const TrayIcon& icon) {
    return icon.window == data->hWnd && icon.id == data->uID;
  });
  const bool exists = found != tray.icons.end();
  switch (message) {
    case NIM_ADD: {
      if (exists) return Refuse(ERROR_ALREADY_EXISTS);
      TrayIcon icon;
      icon.window = data->hWnd;
      icon.id = data->uID;
      Apply(icon, *data, data->cbSize);
      tray.icons.push_back(std::move(icon));
      return TRUE;
    }
    case NIM_MODIFY:
      if (!exists) return Refuse(ERROR_FILE_NOT_FOUND);
      Apply(*found, *data, data->cbSize);
      return TRUE;
    case NIM_DELETE:
      if (!exists) return Refuse(ERROR_FILE_NOT_FOUND);
      tray.icons.erase(found);
      return TRUE;
    case NIM_SETFOCUS:
      if (!exists) return Refuse(ERROR_FILE_NOT_FOUND);
      ++found->focusRequests;
      return TRUE;
    case NIM_SETVERSION:
      if (!exists) return Refuse(ERROR_FILE_NOT_FOUND);
      if (data->cbSize < kSecondVersionSize32 || data->uVersion > NOTIFYICON_VERSION_4)
        return Refuse(ERROR_INVALID_PARAMETER);
      found->version = data->uVersion;
      return TRUE;
    default:
      return Refuse(ERROR_INVALID_PARAMETER);
  }
}

UINT_PTR SHAppBarMessage(DWORD message, PAPPBARDATA data) {
  switch (message) {
    case ABM_GETSTATE:
      return ABS_ALWAYSONTOP;
    case ABM_GETTASKBARPOS: {
      // The record of 32-bit programs (36 bytes) or this layout's own.
      if (!data || (data->cbSize != kAppBarSize32 && data->cbSize != sizeof(APPBARDATA))) return FALSE;
      const RECT screen = ScreenRect();
      const RECT work = WorkArea();
      data->uEdge = ABE_BOTTOM;
      data->rc = RECT{screen.left, work.bottom, screen.right, screen.bottom};
      return TRUE;
    }
    default:
      return FALSE;
  }
}

HRESULT DllGetVersion(DLLVERSIONINFO* info) {
  if (!info) return E_POINTER;
  if (info->cbSize != sizeof(DLLVERSIONINFO)) return E_INVALIDARG;
  info->dwMajorVersion = 6;
  info->dwMinorVersion = 1;
  info->dwBuildNumber = 7601;
  info->dwPlatformID = DLLVER_PLATFORM_NT;
  return S_OK;
}
