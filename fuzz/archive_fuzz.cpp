// Fuzz target: hostile bytes loaded through CArchive as the collections the system keeps in
// the registry. Loading must fail only with a CException; whatever loads must store and load
// back to the same contents.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "afx.h"

namespace {

struct Collections {
  CStringArray strings;
  CMapStringToString map;
  CDWordArray dwords;
  CStringList list;
  CString wide;
  CStringA narrow;

  void Serialize(CArchive& ar) {
    strings.Serialize(ar);
    map.Serialize(ar);
    dwords.Serialize(ar);
    list.Serialize(ar);
    if (ar.IsStoring()) ar << wide << narrow;
    else ar >> wide >> narrow;
  }
};

bool Same(const Collections& a, const Collections& b) {
  if (a.strings.GetSize() != b.strings.GetSize() || a.map.GetCount() != b.map.GetCount() ||
      a.dwords.GetSize() != b.dwords.GetSize() || a.list.GetCount() != b.list.GetCount() ||
      a.wide != b.wide || a.narrow != b.narrow)
    return false;
  for (INT_PTR i = 0; i < a.strings.GetSize(); ++i)
    if (a.strings[i] != b.strings[i]) return false;
  for (INT_PTR i = 0; i < a.dwords.GetSize(); ++i)
    if (a.dwords[i] != b.dwords[i]) return false;
  CString key, value, other;
  for (POSITION pos = a.map.GetStartPosition(); pos != nullptr;) {
    a.map.GetNextAssoc(pos, key, value);
    if (!b.map.Lookup(key, other) || other != value) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<BYTE> bytes(data, data + size);
  Collections loaded;
  try {
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    loaded.Serialize(ar);
    ar.Close();
  } catch (CException* e) {
    e->Delete();
    return 0;
  }
  CMemFile copy(16);
  {
    CArchive ar(&copy, CArchive::store);
    loaded.Serialize(ar);
    ar.Close();
  }
  copy.SeekToBegin();
  Collections again;
  CArchive ar(&copy, CArchive::load);
  again.Serialize(ar);
  ar.Close();
  if (!Same(loaded, again)) __builtin_trap();
  return 0;
}
