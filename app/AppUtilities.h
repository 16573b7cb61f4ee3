// Small helpers of the main program shared by its pages and engines: the rank level, path
// clean-up and deletion, the memory record of reports, the main window and the message box.
#pragma once
#include <afxwin.h>


// The smaller of two severity levels, each outside 1..4 taken as 4.
int MinRankLevel(int a, int b);

// Removes one trailing backslash (not the one of a drive root "C:\").
void RemoveTrailingBackslash(CString& path);
// Removes the file or folder with everything below it, permanently and without questions.
// FALSE when it could not, and for an empty path, a drive root or a path with wildcards.
BOOL DeletePathTree(LPCTSTR path);


// The main window of the current thread, or null.
CWnd* GetMainWindow();

// The shared library's own message box with the text wrapped as HTML; the pressed button's id.
int ShowMessageBox(LPCTSTR text, UINT style, CWnd* owner = nullptr, const CRect* boxRect = nullptr);
