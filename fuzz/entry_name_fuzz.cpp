// Fuzz target: hostile archive entry names (UTF-16LE) through the cleaner every archive
// reader uses. A cleaned name holds no drive, stream or leading separator and no empty, "."
// or ".." step; cleaning it again changes nothing; and below any folder it stays inside that
// folder, both by the containment test and by where the path mapping puts it on the host.
// Links: zephrinkx_core
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "../install/ArchivePaths.h"
#include "fuzz_support.h"
#include "zx/pathmap.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zx::fuzz::ScratchRoot();
  const CString name = zx::fuzz::Utf16Units(data, size);
  const CString safe = MakeSafeEntryName(name);
  if (safe.IsEmpty()) return 0;
  if (safe.Find(_T(':')) >= 0 || safe.Find(_T('/')) >= 0 || safe[0] == _T('\\')) std::abort();
  const CString bounded = _T("\\") + safe + _T("\\");
  if (bounded.Find(_T("\\\\")) >= 0 || bounded.Find(_T("\\.\\")) >= 0 || bounded.Find(_T("\\..\\")) >= 0)
    std::abort();
  if (MakeSafeEntryName(safe) != safe) std::abort();

  const CString folder = _T("C:\\fuzz\\out");
  const CString target = WithTrailingBackslash(folder) + safe;
  if (!IsPathInsideFolder(folder, target)) std::abort();
  std::string host;
  DWORD error = 0;
  if (zx::path::WindowsToHost(std::u16string(target.GetString()), host, &error) &&
      host.rfind(zx::machine::DriveCFolder() + "/fuzz/out/", 0) != 0)
    std::abort();
  return 0;
}
