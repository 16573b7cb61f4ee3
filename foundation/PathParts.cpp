// Splitting a path into its parts.
#include "PathParts.h"

#include <algorithm>

PathParts SplitPathParts(const CString& path) {
  PathParts parts;
  int start = 0;
  if (path.GetLength() >= 2 && path[1] == u':') {
    parts.drive = path.Left(2);
    start = 2;
  }
  const int lastSeparator = std::max(path.ReverseFind(u'\\'), path.ReverseFind(u'/'));
  const int nameStart = std::max(lastSeparator + 1, start);
  parts.folder = path.Mid(start, nameStart - start);
  const CString last = path.Mid(nameStart);
  const int dot = last.ReverseFind(u'.');
  parts.name = dot < 0 ? last : last.Left(dot);
  parts.extension = dot < 0 ? CString() : last.Mid(dot);
  return parts;
}
