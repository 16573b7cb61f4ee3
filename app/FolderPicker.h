// The folder picker of the main program's settings: the system folder browser that offers OK
// only on a folder that may hold the program's files.
#pragma once
#include <afx.h>

// FALSE for network paths, for paths in a recycle bin or "System Volume Information" (in any
// case), and when the volume of the path's first three characters has no file-system name.
BOOL IsValidTargetFolder(LPCTSTR path);

// Creates the start folder when it is missing, shows the folder browser on it, and answers the
// chosen folder; empty when the user cancelled.
CString BrowseForFolder(HWND owner, LPCTSTR startFolder);
