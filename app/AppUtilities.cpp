// Small helpers of the main program.
#include "AppUtilities.h"

#include <shlwapi.h>
#include <sysinfoapi.h>

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
  return ShellDeletePath(target, target.GetLength(), FALSE) == 1;
}

BOOL AppendMemoryInfo(CMarkup& xml) {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof(status);
  if (!GlobalMemoryStatusEx(&status) || !xml.AppendElement(_T("memory_info"))) return FALSE;
  const struct {
    LPCTSTR name;
    ULONGLONG value;
  } kChildren[] = {{_T("total_phy"), status.ullTotalPhys},
                   {_T("avail_phy"), status.ullAvailPhys},
                   {_T("total_page_file"), status.ullTotalPageFile},
                   {_T("avail_page_file"), status.ullAvailPageFile}};
  for (const auto& child : kChildren) {
    CString text;
    text.Format(_T("%llu"), child.value);
    if (!xml.AppendElement(child.name, text, true)) return FALSE;
  }
  return TRUE;
}

CWnd* GetMainWindow() { return AfxGetMainWnd(); }

int ShowMessageBox(LPCTSTR text, UINT style, CWnd* owner, const CRect* boxRect) {
  return AppMessageBox(text, style, owner, boxRect, 1);
}
