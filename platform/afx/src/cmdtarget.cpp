// Command targets: the end of every message map chain, and routing commands and
// notifications to their entries.
#include "afxwin.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr, nullptr}};
  static const AFX_MSGMAP map = {nullptr, entries};
  return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
  const UINT message = HIWORD(nCode) ? HIWORD(nCode) : WM_COMMAND;
  const WORD code = LOWORD(nCode);
  const bool notify = message == WM_NOTIFY || message == WM_REFLECT_BASE + WM_NOTIFY;
  for (const AFX_MSGMAP* map = GetMessageMap(); map;
       map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nMessage; ++e) {
      if (e->nMessage != message || static_cast<WORD>(e->nCode) != code || nID < e->nID ||
          nID > e->nLastID)
        continue;
      if (pHandlerInfo) return TRUE;
      LRESULT* result = notify ? static_cast<AFX_NOTIFY*>(pExtra)->pResult : nullptr;
      // An _EX handler answering FALSE lets the search go on.
      if (e->pfn(this, message, nID, reinterpret_cast<LPARAM>(pExtra), result)) return TRUE;
    }
  }
  return FALSE;
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT message) const {
  for (const AFX_MSGMAP* map = GetMessageMap(); map;
       map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nMessage; ++e) {
      const bool match = e->pnRegistered
                             ? *e->pnRegistered != 0 && *e->pnRegistered == message
                             : e->nMessage == message && e->nCode == 0 && e->nID == 0 && e->nLastID == 0;
      if (match) return e;
    }
  }
  return nullptr;
}
