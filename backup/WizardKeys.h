// The keyboard of the backup and restore pages: Enter, Escape, Space and F4 do nothing on a
// page. Their key code is made 0, so neither the page nor the main window behind it takes
// them as a dialog key, a click or a close; every key press then goes to its control without
// the page's dialog-key handling.
#pragma once
#include <afxwin.h>

// TRUE when the message is to be dispatched as it now is, without the page's own handling;
// FALSE when the page handles it as usual.
BOOL DispatchWizardKeyUnhandled(MSG* pMsg);
