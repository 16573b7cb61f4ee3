// The installation's version.
#include "AppVersion.h"

#include "HelperModule.h"
#include "ProcessControl.h"

int GetAppVer(CString& text) {
  // The file of the loaded library itself: beside the program, whatever its file name ends in.
  WCHAR path[MAX_PATH] = {};
  text.Empty();
  if (GetModuleFileNameW(GetHelperModuleHandle(), path, MAX_PATH)) text = GetFileVersionText(path);
  text.Trim();
  return text.GetLength();
}
