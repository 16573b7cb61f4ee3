// DispatchWizardKeyUnhandled: the key codes the backup and restore pages take away.
#include "WizardKeys.h"

BOOL DispatchWizardKeyUnhandled(MSG* pMsg) {
  if (pMsg->message == WM_KEYDOWN) {
    switch (pMsg->wParam) {
      case VK_RETURN:
      case VK_ESCAPE:
      case VK_SPACE:
      case VK_F4: pMsg->wParam = 0; break;
      default: break;
    }
    return TRUE;
  }
  if (pMsg->message == WM_SYSKEYDOWN || pMsg->message == WM_SYSKEYUP) {
    if (pMsg->wParam != VK_F4) return FALSE;
    pMsg->wParam = 0;
    return TRUE;
  }
  return pMsg->wParam == VK_SPACE;
}
