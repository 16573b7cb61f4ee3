// The shell's notification area: icons that windows put there (Shell_NotifyIconW) with their
// tips, states and balloons, and the taskbar's place (SHAppBarMessage). Numeric values and
// the record's layout are those of Windows. The record's layout version is judged by
// cbSize: below 936 the first version (a tip of 64 characters, no state or balloon); from
// 936 (the second version's size in the 32-bit layout the system's code writes) the fields
// up to dwInfoFlags; sizeof(NOTIFYICONDATAW) everything.
#pragma once
#include <cstddef>

#include "winuser.h"

#define NIM_ADD 0x00000000u
#define NIM_MODIFY 0x00000001u
#define NIM_DELETE 0x00000002u
#define NIM_SETFOCUS 0x00000003u
#define NIM_SETVERSION 0x00000004u

#define NIF_MESSAGE 0x00000001u
#define NIF_ICON 0x00000002u
#define NIF_TIP 0x00000004u
#define NIF_STATE 0x00000008u
#define NIF_INFO 0x00000010u
#define NIF_GUID 0x00000020u
#define NIF_REALTIME 0x00000040u
#define NIF_SHOWTIP 0x00000080u

#define NIS_HIDDEN 0x00000001u
#define NIS_SHAREDICON 0x00000002u

#define NIIF_NONE 0x00000000u
#define NIIF_INFO 0x00000001u
#define NIIF_WARNING 0x00000002u
#define NIIF_ERROR 0x00000003u
#define NIIF_USER 0x00000004u
#define NIIF_ICON_MASK 0x0000000Fu
#define NIIF_NOSOUND 0x00000010u

#define NOTIFYICON_VERSION 3
#define NOTIFYICON_VERSION_4 4

// What the icon's window gets beside mouse messages.
#define NIN_SELECT (WM_USER + 0)
#define NINF_KEY 0x1
#define NIN_KEYSELECT (NIN_SELECT | NINF_KEY)
#define NIN_BALLOONSHOW (WM_USER + 2)
#define NIN_BALLOONHIDE (WM_USER + 3)
#define NIN_BALLOONTIMEOUT (WM_USER + 4)
#define NIN_BALLOONUSERCLICK (WM_USER + 5)

struct NOTIFYICONDATAW {
  DWORD cbSize;
  HWND hWnd;
  UINT uID;
  UINT uFlags;
  UINT uCallbackMessage;
  HICON hIcon;
  WCHAR szTip[128];
  DWORD dwState;
  DWORD dwStateMask;
  WCHAR szInfo[256];
  union {
    UINT uTimeout;
    UINT uVersion;
  };
  WCHAR szInfoTitle[64];
  DWORD dwInfoFlags;
  GUID guidItem;
  HICON hBalloonIcon;
};
using PNOTIFYICONDATAW = NOTIFYICONDATAW*;
using NOTIFYICONDATA = NOTIFYICONDATAW;
using PNOTIFYICONDATA = NOTIFYICONDATAW*;

#define NOTIFYICONDATAW_V1_SIZE (offsetof(NOTIFYICONDATAW, szTip) + 64 * sizeof(WCHAR))
#define NOTIFYICONDATAW_V2_SIZE offsetof(NOTIFYICONDATAW, guidItem)
#define NOTIFYICONDATAW_V3_SIZE offsetof(NOTIFYICONDATAW, hBalloonIcon)

// Adds, changes or removes the icon (hWnd, uID); FALSE when the shell refuses (an icon that
// exists already or not at all, a dead window, a bad record).
BOOL Shell_NotifyIconW(DWORD message, PNOTIFYICONDATAW data);
inline BOOL Shell_NotifyIcon(DWORD message, PNOTIFYICONDATAW data) { return Shell_NotifyIconW(message, data); }

// Windows animated into and out of the notification area.
#include "winanimate.h"

// The version of the shell's library (shell32.dll; comctl32.dll is the same module here and
// answers the same): 6.1, build 7601, of the NT platform. Looked up by name
// (GetProcAddress(module, "DllGetVersion")), so it has C linkage.
struct DLLVERSIONINFO {
  DWORD cbSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformID;
};
#define DLLVER_PLATFORM_WINDOWS 0x00000001u
#define DLLVER_PLATFORM_NT 0x00000002u
extern "C" HRESULT DllGetVersion(DLLVERSIONINFO* info);

// The taskbar: along the bottom of the screen, the work area's height below it.
#define ABM_GETSTATE 0x00000004u
#define ABM_GETTASKBARPOS 0x00000005u
#define ABE_LEFT 0
#define ABE_TOP 1
#define ABE_RIGHT 2
#define ABE_BOTTOM 3
#define ABS_AUTOHIDE 0x0000001u
#define ABS_ALWAYSONTOP 0x0000002u

struct APPBARDATA {
  DWORD cbSize;
  HWND hWnd;
  UINT uCallbackMessage;
  UINT uEdge;
  RECT rc;
  LPARAM lParam;
};
using PAPPBARDATA = APPBARDATA*;

UINT_PTR SHAppBarMessage(DWORD message, PAPPBARDATA data);
