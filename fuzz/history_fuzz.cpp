// Fuzz target: hostile bytes read as a download or backup history ("Download.dat",
// "Backup.dat"). Reading must stay within the bytes and answer whether they were whole; a
// whole history written back and read again must give the same pairs.
// Links: zephrinkx_core
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "FileHistory.h"

namespace {

bool SamePairs(const CMapStringToString& a, const CMapStringToString& b) {
  if (a.GetCount() != b.GetCount()) return false;
  for (POSITION at = a.GetStartPosition(); at != nullptr;) {
    CString key, value, other;
    a.GetNextAssoc(at, key, value);
    if (!b.Lookup(key, other) || other != value) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CMemFile file(const_cast<BYTE*>(data), static_cast<UINT>(size));
  CMapStringToString map;
  if (!ReadHistory(file, map)) return 0;
  CMemFile written;
  if (!WriteHistory(written, map)) std::abort();
  written.SeekToBegin();
  CMapStringToString again;
  if (!ReadHistory(written, again) || !SamePairs(map, again)) std::abort();
  return 0;
}
