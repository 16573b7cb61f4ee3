// Language texts of the context menus, and showing them at the cursor.
#include "ContextMenus.h"

#include "DlgDrvExclusion.h"
#include "DlgScan3Results.h"
#include "SettingsPageLayout.h"

namespace {

struct MenuText {
  UINT command;
  LPCTSTR key;
};

// The results list's menu and the exclusion list's.
constexpr MenuText kMenuTexts[] = {
    {CDlgScan3Results::kCheckAllCommand, _T("IDS_MENU_SELECT_ALL_TEXT")},
    {CDlgScan3Results::kUncheckAllCommand, _T("IDS_MENU_UNSELECT_ALL_TEXT")},
    {CDlgScan3Results::kExcludeCommand, _T("IDS_MENU_ADD_TO_EXCLUSION_TXT")},
    {CDlgScan3Results::kExclusionListCommand, _T("IDS_MENU_GO_TO_EXCLUSION_TXT")},
    {CDlgDrvExclusion::kMenuRemoveAll, _T("IDS_MENU_REMOVEALL_EXCLUSION_TXT")},
    {CDlgDrvExclusion::kMenuRemove, _T("IDS_MENU_REMOVE_EXCLUSION_TXT")},
};

}  // namespace

BOOL SetMenuItemText(CMenu& menu, UINT command, const CString& text) {
  CString copy = text;
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STRING;
  info.dwTypeData = copy.GetBuffer();
  const BOOL set = ::SetMenuItemInfoW(menu.GetSafeHmenu(), command, FALSE, &info);
  copy.ReleaseBuffer();
  return set;
}

void SetResultsMenuTexts(CMenu& menu) {
  for (const MenuText& item : kMenuTexts) {
    if (menu.GetMenuState(item.command, MF_BYCOMMAND) == static_cast<UINT>(-1)) continue;
    const CString text = SettingsText(item.key);
    if (!text.IsEmpty()) SetMenuItemText(menu, item.command, text);
  }
}

BOOL TrackPageContextMenu(CWnd& page, UINT menuId) {
  const LPCTSTR name = MAKEINTRESOURCEW(menuId);
  CMenu menu;
  if (!menu.Attach(::LoadMenuW(AfxFindResourceHandle(name, RT_MENU), name))) return FALSE;
  CMenu* popup = menu.GetSubMenu(0);
  if (popup == nullptr) return FALSE;
  SetResultsMenuTexts(*popup);
  if (CWnd* top = page.GetTopLevelParent()) top->SetForegroundWindow();
  page.SetActiveWindow();
  CPoint cursor;
  GetCursorPos(&cursor);
  popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_LEFTBUTTON, cursor.x, cursor.y, &page);
  return TRUE;
}
