// CMenu: menu objects of the class library over the window system's menus, with the
// permanent (owning) and temporary handle maps of the calling thread.
#include "afxwin.h"

#include <memory>
#include <unordered_map>

IMPLEMENT_DYNAMIC(CMenu, CObject)

namespace {

thread_local std::unordered_map<HMENU, CMenu*> t_permanent;
thread_local std::unordered_map<HMENU, std::unique_ptr<CMenu>> t_temporary;

}  // namespace

CMenu::~CMenu() { DestroyMenu(); }

CMenu* CMenu::FromHandlePermanent(HMENU hMenu) {
  const auto found = t_permanent.find(hMenu);
  return found == t_permanent.end() ? nullptr : found->second;
}

CMenu* CMenu::FromHandle(HMENU hMenu) {
  if (!hMenu) return nullptr;
  if (CMenu* permanent = FromHandlePermanent(hMenu)) return permanent;
  std::unique_ptr<CMenu>& temporary = t_temporary[hMenu];
  if (!temporary) {
    temporary = std::make_unique<CMenu>();
    temporary->m_hMenu = hMenu;
  }
  return temporary.get();
}

BOOL CMenu::Attach(HMENU hMenu) {
  if (m_hMenu || !hMenu) return FALSE;
  m_hMenu = hMenu;
  t_permanent[hMenu] = this;
  return TRUE;
}

HMENU CMenu::Detach() {
  const HMENU hMenu = m_hMenu;
  if (hMenu && FromHandlePermanent(hMenu) == this) t_permanent.erase(hMenu);
  m_hMenu = nullptr;
  return hMenu;
}

BOOL CMenu::CreateMenu() { return Attach(::CreateMenu()); }

BOOL CMenu::CreatePopupMenu() { return Attach(::CreatePopupMenu()); }

BOOL CMenu::LoadMenu(LPCTSTR lpszResourceName) {
  return Attach(::LoadMenuW(AfxGetResourceHandle(), lpszResourceName));
}

BOOL CMenu::LoadMenu(UINT nIDResource) { return LoadMenu(MAKEINTRESOURCEW(nIDResource)); }

BOOL CMenu::DestroyMenu() {
  if (!m_hMenu) return FALSE;
  // Only a menu this object owns is destroyed; a temporary object just lets go.
  const bool owned = FromHandlePermanent(m_hMenu) == this;
  const HMENU hMenu = Detach();
  return owned ? ::DestroyMenu(hMenu) : TRUE;
}

CMenu* CMenu::GetSubMenu(int nPos) const { return FromHandle(::GetSubMenu(m_hMenu, nPos)); }

UINT CMenu::GetMenuItemCount() const { return static_cast<UINT>(::GetMenuItemCount(m_hMenu)); }

UINT CMenu::GetMenuItemID(int nPos) const { return ::GetMenuItemID(m_hMenu, nPos); }

UINT CMenu::GetMenuState(UINT nID, UINT nFlags) const { return ::GetMenuState(m_hMenu, nID, nFlags); }

int CMenu::GetMenuString(UINT nIDItem, LPTSTR lpString, int nMaxCount, UINT nFlags) const {
  return ::GetMenuStringW(m_hMenu, nIDItem, lpString, nMaxCount, nFlags);
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const {
  const int length = ::GetMenuStringW(m_hMenu, nIDItem, nullptr, 0, nFlags);
  const int copied = ::GetMenuStringW(m_hMenu, nIDItem, rString.GetBuffer(length + 1), length + 1, nFlags);
  rString.ReleaseBuffer(copied);
  return copied;
}

BOOL CMenu::GetMenuItemInfo(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos) {
  return ::GetMenuItemInfoW(m_hMenu, uItem, fByPos, lpMenuItemInfo);
}

BOOL CMenu::SetMenuItemInfo(UINT uItem, LPMENUITEMINFO lpMenuItemInfo, BOOL fByPos) {
  return ::SetMenuItemInfoW(m_hMenu, uItem, fByPos, lpMenuItemInfo);
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
  return ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
  return ::InsertMenuW(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
  return ::ModifyMenuW(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::RemoveMenu(UINT nPosition, UINT nFlags) { return ::RemoveMenu(m_hMenu, nPosition, nFlags); }

BOOL CMenu::DeleteMenu(UINT nPosition, UINT nFlags) { return ::DeleteMenu(m_hMenu, nPosition, nFlags); }

UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck) {
  return ::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck);
}

UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable) {
  return static_cast<UINT>(::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable));
}

BOOL CMenu::SetDefaultItem(UINT uItem, BOOL fByPos) { return ::SetMenuDefaultItem(m_hMenu, uItem, fByPos); }

UINT CMenu::GetDefaultItem(UINT gmdiFlags, BOOL fByPos) {
  return ::GetMenuDefaultItem(m_hMenu, fByPos, gmdiFlags);
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect) {
  return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd ? pWnd->GetSafeHwnd() : nullptr, lpRect);
}

void CMenu::DrawItem(LPDRAWITEMSTRUCT) {}

void CMenu::MeasureItem(LPMEASUREITEMSTRUCT) {}
