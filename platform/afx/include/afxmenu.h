// CMenu: the class library's object of a menu. A CMenu made by CreateMenu, CreatePopupMenu,
// LoadMenu or Attach owns its menu (destroyed with the object unless detached) and is found
// from the handle by FromHandlePermanent; FromHandle gives any other menu a temporary object
// of the calling thread, kept per handle for the thread's life. Owner-drawn items reach the
// overridables DrawItem and MeasureItem through the owner window's handlers
// (CMenu::FromHandlePermanent((HMENU)lpDrawItemStruct->hwndItem)->DrawItem(...)).
#pragma once
#include "afx.h"
#include "afxmsgmap.h"
#include "winmenu.h"

class CWnd;

class CMenu : public CObject {
  DECLARE_DYNAMIC(CMenu)

 public:
  CMenu() = default;
  ~CMenu() override;

  HMENU m_hMenu = nullptr;
  operator HMENU() const { return m_hMenu; }
  HMENU GetSafeHmenu() const { return m_hMenu; }

  static CMenu* FromHandle(HMENU hMenu);
  static CMenu* FromHandlePermanent(HMENU hMenu);
  BOOL Attach(HMENU hMenu);
  HMENU Detach();

  BOOL CreateMenu();
  BOOL CreatePopupMenu();
  // From the resources of AfxGetResourceHandle().
  BOOL LoadMenu(LPCTSTR lpszResourceName);
  BOOL LoadMenu(UINT nIDResource);
  BOOL DestroyMenu();

  CMenu* GetSubMenu(int nPos) const;
  UINT GetMenuItemCount() const;
  UINT GetMenuItemID(int nPos) const;
  UINT GetMenuState(UINT nID, UINT nFlags) const;
  int GetMenuString(UINT nIDItem, LPTSTR lpString, int nMaxCount, UINT nFlags) const;
  int GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const;
  BOOL GetMenuItemInfo(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos = FALSE);
  BOOL SetMenuItemInfo(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos = FALSE);

  BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
  BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
  BOOL ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
  BOOL RemoveMenu(UINT nPosition, UINT nFlags);
  BOOL DeleteMenu(UINT nPosition, UINT nFlags);
  // Previous state (MF_CHECKED / MF_ENABLED, MF_GRAYED ...), 0xFFFFFFFF for no such item.
  UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck);
  UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable);
  BOOL SetDefaultItem(UINT uItem, BOOL fByPos = FALSE);
  UINT GetDefaultItem(UINT gmdiFlags, BOOL fByPos = FALSE);

  // The popup's own loop (TrackPopupMenu): commands go to pWnd as WM_COMMAND, or are
  // answered with TPM_RETURNCMD.
  BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = nullptr);

  // Owner-drawn items (nothing by default).
  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
  virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);
};

// WM_INITMENUPOPUP: afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu)
// in the handling class.
#define ON_WM_INITMENUPOPUP()                                                                  \
  ZX_ON(WM_INITMENUPOPUP, ZX_CALL(OnInitMenuPopup)(CMenu::FromHandle(reinterpret_cast<HMENU>(w)), \
                                                   LOWORD(l), static_cast<BOOL>(HIWORD(l))))
// WM_MENUSELECT: afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu).
#define ON_WM_MENUSELECT() \
  ZX_ON(WM_MENUSELECT, ZX_CALL(OnMenuSelect)(LOWORD(w), HIWORD(w), reinterpret_cast<HMENU>(l)))
