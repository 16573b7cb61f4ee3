// The context menus of the results list and the exclusion list: their items take the
// language file's texts, and a menu is shown at the cursor for its page.
#pragma once
#include <afxwin.h>

// Sets the text of the item with the command id (by SetMenuItemInfoW); FALSE when the menu has
// no such item.
BOOL SetMenuItemText(CMenu& menu, UINT command, const CString& text);
// The results list's and the exclusion list's items present in the menu get their language
// texts (IDS_MENU_*).
void SetResultsMenuTexts(CMenu& menu);
// Loads the menu resource from the resource chain, gives its items their language texts and
// tracks its first popup at the cursor with the page as owner; FALSE when the menu is missing.
BOOL TrackPageContextMenu(CWnd& page, UINT menuId);
