// Small helpers of the main program.
#include "AppUtilities.h"

#include <shlwapi.h>

#include <algorithm>

#include "DlgBaseMessageBoxWndBase.h"
#include "FileHelpers.h"
#include "Markup.h"

int MinRankLevel(int a, int b) {
  const auto level = [](int n) { return n < 1 || n > 4 ? 4 : n; };
  return std::min(level(a), level(b));
}

void RemoveTrailingBackslash(CString& path) {
  PathRemoveBackslashW(path.GetBuffer());
  path.ReleaseBuffer();
}

BOOL DeletePathTree(LPCTSTR path) {
  CString target = path ? path : _T("");
  RemoveTrailingBackslash(target);
  // Wildcards would widen the deletion to whatever matches; a drive root is never a tree of ours.
  if (target.IsEmpty() || target.FindOneOf(_T("*?")) >= 0 || (target.GetLength() == 2 && target[1] == _T(':')) ||
      target.Right(2) == _T(":\\"))
    return FALSE;
  return ShellDeleteWithFlags(target, FOF_SILENT | FOF_NOCONFIRMATION) == 1;
}

CWnd* GetMainWindow() { return AfxGetMainWnd(); }

int ShowMessageBox(LPCTSTR text, UINT style, CWnd* owner, const CRect* boxRect) {
  return AppMessageBox(text, style, owner, boxRect, 1);
}
