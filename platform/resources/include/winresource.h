// Resources of modules: FindResource, LoadResource, LockResource, SizeofResource, and the
// window system's loaders LoadString, LoadBitmap, LoadImage, LoadIcon and LoadCursor.
// A module's resources live in its resource file (zx/resmodule.h). A missing resource
// answers null (0 for LoadString) with the last error set; the caller draws nothing.
#pragma once
#include "wingdi.h"
#include "wintypes.h"

struct HRSRC__;
using HRSRC = HRSRC__*;
using HGLOBAL = HANDLE;

#ifndef ERROR_RESOURCE_DATA_NOT_FOUND
#define ERROR_RESOURCE_DATA_NOT_FOUND 1812L
#endif
#ifndef ERROR_RESOURCE_TYPE_NOT_FOUND
#define ERROR_RESOURCE_TYPE_NOT_FOUND 1813L
#endif
#ifndef ERROR_RESOURCE_NAME_NOT_FOUND
#define ERROR_RESOURCE_NAME_NOT_FOUND 1814L
#endif

// Standard resource types.
#define RT_CURSOR MAKEINTRESOURCEW(1)
#define RT_BITMAP MAKEINTRESOURCEW(2)
#define RT_ICON MAKEINTRESOURCEW(3)
#define RT_MENU MAKEINTRESOURCEW(4)
#define RT_DIALOG MAKEINTRESOURCEW(5)
#define RT_STRING MAKEINTRESOURCEW(6)
#define RT_RCDATA MAKEINTRESOURCEW(10)
#define RT_GROUP_CURSOR MAKEINTRESOURCEW(12)
#define RT_GROUP_ICON MAKEINTRESOURCEW(14)
#define RT_VERSION MAKEINTRESOURCEW(16)
#define RT_HTML MAKEINTRESOURCEW(23)
#define RT_TOOLBAR MAKEINTRESOURCEW(241)

// Type and name are numbers (MAKEINTRESOURCE), "#123" for the number 123, or names
// (compared without regard to case). The handles stay valid for the process.
HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type);
HRSRC FindResourceExW(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language);
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
// The resource's bytes, read-only, 8-byte aligned.
LPVOID LockResource(HGLOBAL resource);
DWORD SizeofResource(HMODULE module, HRSRC resource);
BOOL FreeResource(HGLOBAL resource);

// Copies string `id` into the buffer (truncated to size - 1 units and terminated) and answers
// its length; with size 0 the buffer receives a pointer to the read-only text instead.
int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int size);

// Images.
#define IMAGE_BITMAP 0
#define IMAGE_ICON 1
#define IMAGE_CURSOR 2
#ifndef LR_DEFAULTCOLOR
#define LR_DEFAULTCOLOR 0x00000000u
#endif
#define LR_MONOCHROME 0x00000001u
#define LR_LOADFROMFILE 0x00000010u
#define LR_LOADTRANSPARENT 0x00000020u
#define LR_DEFAULTSIZE 0x00000040u
#define LR_VGACOLOR 0x00000080u
#define LR_LOADMAP3DCOLORS 0x00001000u
#define LR_CREATEDIBSECTION 0x00002000u
#define LR_SHARED 0x00008000u

// The system's icons and cursors (instance null): placeholders of distinct colours.
#define IDI_APPLICATION MAKEINTRESOURCEW(32512)
#define IDI_HAND MAKEINTRESOURCEW(32513)
#define IDI_QUESTION MAKEINTRESOURCEW(32514)
#define IDI_EXCLAMATION MAKEINTRESOURCEW(32515)
#define IDI_ASTERISK MAKEINTRESOURCEW(32516)
#define IDI_WINLOGO MAKEINTRESOURCEW(32517)
#define IDI_SHIELD MAKEINTRESOURCEW(32518)
#define IDI_WARNING IDI_EXCLAMATION
#define IDI_ERROR IDI_HAND
#define IDI_INFORMATION IDI_ASTERISK
#define IDC_ARROW MAKEINTRESOURCEW(32512)
#define IDC_IBEAM MAKEINTRESOURCEW(32513)
#define IDC_WAIT MAKEINTRESOURCEW(32514)
#define IDC_CROSS MAKEINTRESOURCEW(32515)
#define IDC_UPARROW MAKEINTRESOURCEW(32516)
#define IDC_SIZENWSE MAKEINTRESOURCEW(32642)
#define IDC_SIZENESW MAKEINTRESOURCEW(32643)
#define IDC_SIZEWE MAKEINTRESOURCEW(32644)
#define IDC_SIZENS MAKEINTRESOURCEW(32645)
#define IDC_SIZEALL MAKEINTRESOURCEW(32646)
#define IDC_NO MAKEINTRESOURCEW(32648)
#define IDC_HAND MAKEINTRESOURCEW(32649)
#define IDC_APPSTARTING MAKEINTRESOURCEW(32650)
#define IDC_HELP MAKEINTRESOURCEW(32651)

// A bitmap resource as a 32-bit bitmap (instance null: none of the system's bitmaps exist).
HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name);
// A bitmap, icon or cursor from the resources or, with LR_LOADFROMFILE, from a .bmp, .ico or
// .cur file by Windows path. Icons and cursors take the image closest to width x height
// (0 with LR_DEFAULTSIZE, or 0 alone: 32 x 32). LR_SHARED answers the same handle for the
// same image every time (it must not be destroyed).
HANDLE LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int width, int height, UINT flags);
// Shared icons and cursors at 32 x 32.
HICON LoadIconW(HINSTANCE instance, LPCWSTR name);
HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR name);

inline HRSRC FindResource(HMODULE module, LPCWSTR name, LPCWSTR type) {
  return FindResourceW(module, name, type);
}
inline int LoadString(HINSTANCE instance, UINT id, LPWSTR buffer, int size) {
  return LoadStringW(instance, id, buffer, size);
}
inline HBITMAP LoadBitmap(HINSTANCE instance, LPCWSTR name) { return LoadBitmapW(instance, name); }
inline HANDLE LoadImage(HINSTANCE instance, LPCWSTR name, UINT type, int width, int height,
                        UINT flags) {
  return LoadImageW(instance, name, type, width, height, flags);
}
inline HICON LoadIcon(HINSTANCE instance, LPCWSTR name) { return LoadIconW(instance, name); }
inline HCURSOR LoadCursor(HINSTANCE instance, LPCWSTR name) { return LoadCursorW(instance, name); }
