// The driver store folder named by the setup log for a published "oem" INF.
#include "SetupLogStore.h"

#include "ArchivePaths.h"
#include "StringFile.h"

CString PublishedStoreFolder(LPCTSTR logPath, const CString& infPath) {
  CString lowerPath = infPath;
  lowerPath.MakeLower();
  CStringFile log;
  CString line, last;
  if (log.Open(logPath)) {
    while (log.GetNextLine(line) != 0) {
      line.Trim();
      line.MakeLower();
      if (line.Find(_T("idb:")) >= 0 && line.Find(lowerPath) >= 0) last = line;
    }
  }
  const int quote = last.Find(_T('\''));
  if (quote < 0) return CString();
  CString store = last.Mid(quote + 1);
  const int slash = store.Find(_T('\\'));
  if (slash >= 0) store = store.Left(slash);
  // A drive ("c:"), "..", a blank text or one with a slash would stand for far more than one
  // published package.
  return MakeSafeEntryName(store) == store && store.Find(_T('\\')) < 0 ? store : CString();
}

bool IsInStoreFolder(const CString& entry, const CString& folder) {
  if (folder.IsEmpty()) return false;
  for (int start = 0; start <= entry.GetLength();) {
    int end = entry.Find(_T('\\'), start);
    if (end < 0) end = entry.GetLength();
    if (entry.Mid(start, end - start).CompareNoCase(folder) == 0) return true;
    start = end + 1;
  }
  return false;
}
