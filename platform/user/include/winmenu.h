// Menus of the window system: menu objects and their items, menus from resources, the
// system menu, and popup menus tracked in their own modal loop (TrackPopupMenu), with
// owner-drawn items measured and drawn by their owner window. Numeric values are those of
// Windows.
#pragma once
#include "winuser.h"

struct HBITMAP__;
using HBITMAP = HBITMAP__*;

// Menu item flags (AppendMenu, InsertMenu, ModifyMenu, and the state answers).
#define MF_INSERT 0x00000000u
#define MF_CHANGE 0x00000080u
#define MF_APPEND 0x00000100u
#define MF_DELETE 0x00000200u
#define MF_REMOVE 0x00001000u
#define MF_BYCOMMAND 0x00000000u
#define MF_BYPOSITION 0x00000400u
#define MF_SEPARATOR 0x00000800u
#define MF_ENABLED 0x00000000u
#define MF_GRAYED 0x00000001u
#define MF_DISABLED 0x00000002u
#define MF_UNCHECKED 0x00000000u
#define MF_CHECKED 0x00000008u
#define MF_USECHECKBITMAPS 0x00000200u
#define MF_STRING 0x00000000u
#define MF_BITMAP 0x00000004u
#define MF_OWNERDRAW 0x00000100u
#define MF_POPUP 0x00000010u
#define MF_MENUBARBREAK 0x00000020u
#define MF_MENUBREAK 0x00000040u
#define MF_UNHILITE 0x00000000u
#define MF_HILITE 0x00000080u
#define MF_DEFAULT 0x00001000u
#define MF_SYSMENU 0x00002000u
#define MF_HELP 0x00004000u
#define MF_RIGHTJUSTIFY 0x00004000u
#define MF_MOUSESELECT 0x00008000u
#define MF_END 0x00000080u

#define MFT_STRING MF_STRING
#define MFT_BITMAP MF_BITMAP
#define MFT_MENUBARBREAK MF_MENUBARBREAK
#define MFT_MENUBREAK MF_MENUBREAK
#define MFT_OWNERDRAW MF_OWNERDRAW
#define MFT_RADIOCHECK 0x00000200u
#define MFT_SEPARATOR MF_SEPARATOR
#define MFT_RIGHTORDER 0x00002000u
#define MFT_RIGHTJUSTIFY MF_RIGHTJUSTIFY

#define MFS_GRAYED 0x00000003u
#define MFS_DISABLED MFS_GRAYED
#define MFS_CHECKED MF_CHECKED
#define MFS_HILITE MF_HILITE
#define MFS_ENABLED MF_ENABLED
#define MFS_UNCHECKED MF_UNCHECKED
#define MFS_UNHILITE MF_UNHILITE
#define MFS_DEFAULT MF_DEFAULT

// MENUITEMINFOW's fMask.
#define MIIM_STATE 0x00000001u
#define MIIM_ID 0x00000002u
#define MIIM_SUBMENU 0x00000004u
#define MIIM_CHECKMARKS 0x00000008u
#define MIIM_TYPE 0x00000010u
#define MIIM_DATA 0x00000020u
#define MIIM_STRING 0x00000040u
#define MIIM_BITMAP 0x00000080u
#define MIIM_FTYPE 0x00000100u

// GetMenuDefaultItem.
#define GMDI_USEDISABLED 0x0001u
#define GMDI_GOINTOPOPUPS 0x0002u

// TrackPopupMenu(Ex).
#define TPM_LEFTBUTTON 0x0000u
#define TPM_RIGHTBUTTON 0x0002u
#define TPM_LEFTALIGN 0x0000u
#define TPM_CENTERALIGN 0x0004u
#define TPM_RIGHTALIGN 0x0008u
#define TPM_TOPALIGN 0x0000u
#define TPM_VCENTERALIGN 0x0010u
#define TPM_BOTTOMALIGN 0x0020u
#define TPM_HORIZONTAL 0x0000u
#define TPM_VERTICAL 0x0040u
#define TPM_NONOTIFY 0x0080u
#define TPM_RETURNCMD 0x0100u
#define TPM_RECURSE 0x0001u
#define TPM_HORPOSANIMATION 0x0400u
#define TPM_HORNEGANIMATION 0x0800u
#define TPM_VERPOSANIMATION 0x1000u
#define TPM_VERNEGANIMATION 0x2000u
#define TPM_NOANIMATION 0x4000u
#define TPM_LAYOUTRTL 0x8000u

// WM_MENUSELECT's flags word for a closed menu.
#define MENU_CLOSED_FLAGS 0xFFFFu

#ifndef ODS_CHECKED
#define ODS_CHECKED 0x0008u
#endif
#ifndef ODS_DISABLED
#define ODS_DISABLED 0x0004u
#endif
#ifndef ODS_DEFAULT
#define ODS_DEFAULT 0x0020u
#endif
#ifndef ODS_NOACCEL
#define ODS_NOACCEL 0x0100u
#endif

#ifndef ERROR_INVALID_MENU_HANDLE
#define ERROR_INVALID_MENU_HANDLE 1401L
#endif
#ifndef ERROR_MENU_ITEM_NOT_FOUND
#define ERROR_MENU_ITEM_NOT_FOUND 1456L
#endif
#ifndef ERROR_POPUP_ALREADY_ACTIVE
#define ERROR_POPUP_ALREADY_ACTIVE 1446L
#endif

struct MENUITEMINFOW {
  UINT cbSize;
  UINT fMask;
  UINT fType;
  UINT fState;
  UINT wID;
  HMENU hSubMenu;
  HBITMAP hbmpChecked;
  HBITMAP hbmpUnchecked;
  ULONG_PTR dwItemData;
  LPWSTR dwTypeData;
  UINT cch;
  HBITMAP hbmpItem;
};
using LPMENUITEMINFOW = MENUITEMINFOW*;
using LPCMENUITEMINFOW = const MENUITEMINFOW*;

struct TPMPARAMS {
  UINT cbSize;
  RECT rcExclude;
};
using LPTPMPARAMS = TPMPARAMS*;

// Menus and their items. Items are named by command id (MF_BYCOMMAND, searched through the
// submenus too) or by position (MF_BYPOSITION).
HMENU CreateMenu();
HMENU CreatePopupMenu();
BOOL DestroyMenu(HMENU menu);  // destroys its submenus too
BOOL IsMenu(HMENU menu);
BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR idOrSubmenu, LPCWSTR text);
BOOL InsertMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSubmenu, LPCWSTR text);
BOOL InsertMenuItemW(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOW info);
BOOL ModifyMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSubmenu, LPCWSTR text);
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);  // keeps the submenu alive
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);  // destroys the submenu
int GetMenuItemCount(HMENU menu);
UINT GetMenuItemID(HMENU menu, int position);  // 0xFFFFFFFF for a submenu or no item
HMENU GetSubMenu(HMENU menu, int position);
int GetMenuStringW(HMENU menu, UINT item, LPWSTR text, int capacity, UINT flags);
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
BOOL GetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, LPMENUITEMINFOW info);
BOOL SetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOW info);
DWORD CheckMenuItem(HMENU menu, UINT item, UINT check);    // previous MF_CHECKED, or -1
BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable);   // previous state, or -1
BOOL CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags);
BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition);
UINT GetMenuDefaultItem(HMENU menu, UINT byPosition, UINT flags);

// A menu from the resources (RT_MENU, the standard template); null when there is none, and
// null with ERROR_INVALID_DATA for a malformed template (no partial menu is left).
HMENU LoadMenuW(HINSTANCE instance, LPCWSTR name);

// A window's menu bar and system menu. GetSystemMenu(window, TRUE) puts back the standard
// system menu and answers null.
HMENU GetMenu(HWND window);
BOOL SetMenu(HWND window, HMENU menu);
BOOL DrawMenuBar(HWND window);
HMENU GetSystemMenu(HWND window, BOOL revert);

// Popup menus: shown at a screen point, tracked in their own modal loop until an item is
// chosen or the menu is dismissed (a click elsewhere, Escape, EndMenu, WM_QUIT). The owner
// gets WM_INITMENUPOPUP (unless TPM_NONOTIFY), WM_MEASUREITEM / WM_DRAWITEM (ODT_MENU) for
// owner-drawn items, WM_MENUSELECT, and the chosen command as WM_COMMAND, posted (with
// TPM_RETURNCMD the command is answered instead, 0 for none).
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                    const RECT* ignored);
BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params);
BOOL EndMenu();

inline BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR idOrSubmenu, LPCWSTR text) {
  return AppendMenuW(menu, flags, idOrSubmenu, text);
}
inline BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSubmenu, LPCWSTR text) {
  return InsertMenuW(menu, position, flags, idOrSubmenu, text);
}
inline BOOL InsertMenuItem(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOW info) {
  return InsertMenuItemW(menu, item, byPosition, info);
}
inline BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSubmenu, LPCWSTR text) {
  return ModifyMenuW(menu, position, flags, idOrSubmenu, text);
}
inline int GetMenuString(HMENU menu, UINT item, LPWSTR text, int capacity, UINT flags) {
  return GetMenuStringW(menu, item, text, capacity, flags);
}
inline BOOL GetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, LPMENUITEMINFOW info) {
  return GetMenuItemInfoW(menu, item, byPosition, info);
}
inline BOOL SetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOW info) {
  return SetMenuItemInfoW(menu, item, byPosition, info);
}
inline HMENU LoadMenu(HINSTANCE instance, LPCWSTR name) { return LoadMenuW(instance, name); }
using MENUITEMINFO = MENUITEMINFOW;
using LPMENUITEMINFO = MENUITEMINFOW*;
