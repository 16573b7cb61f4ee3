// The file protection query over the machine's Windows folder.
#include <string>

#include "errhandlingapi.h"
#include "fileapi.h"
#include "sfc.h"
#include "zx/machine.h"
#include "zx/pathmap.h"

extern "C" BOOL SfcIsFileProtected(HANDLE, LPCWSTR protectedFileName) {
  if (zx::machine::ProfileValue("Machine", "FileProtection", "1") == "0") {
    SetLastError(ERROR_SERVICE_NOT_ACTIVE);
    return FALSE;
  }
  if (protectedFileName == nullptr || *protectedFileName == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  WCHAR windowsFolder[MAX_PATH];
  std::string host;
  std::string guarded;
  DWORD error = ERROR_INVALID_NAME;
  if (GetWindowsDirectoryW(windowsFolder, MAX_PATH) == 0 ||
      !zx::path::WindowsToHost(windowsFolder, guarded, &error) ||
      !zx::path::WindowsToHost(protectedFileName, host, &error)) {
    SetLastError(error);
    return FALSE;
  }
  guarded += '/';
  if (host.compare(0, guarded.size(), guarded) == 0) {
    SetLastError(ERROR_SUCCESS);
    return TRUE;
  }
  SetLastError(ERROR_FILE_NOT_FOUND);
  return FALSE;
}
