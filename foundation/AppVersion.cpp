// The installation's version.
#include "AppVersion.h"

#include "PathHelpers.h"
#include "VersionBlock.h"

int GetAppVer(CString& text) {
  CString path;
  GetProgramFolder(path);
  AppendPathComponent(path, _T("zephrinkxhelper.dll"));
  text.Empty();
  tagVersionBlock block;
  if (ReadVersionBlock(path, block)) text = GetFileVersionString(block);
  FreeVersionBlock(block);
  text.Trim();
  return text.GetLength();
}
