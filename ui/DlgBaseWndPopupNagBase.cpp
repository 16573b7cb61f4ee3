// CDlgBaseWndPopupNagBase: the nag popups' run-time class.
#include "DlgBaseWndPopupNagBase.h"

IMPLEMENT_DYNAMIC(CDlgBaseWndPopupNagBase, CDlgResultPopupBase)
