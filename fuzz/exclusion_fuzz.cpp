// Fuzz target: hostile bytes as the record of installed updates "exc.xml" (UTF-8), read
// through the program's own reader, from text and from the file. Reading must never crash;
// a record that reads writes back to a document that reads to the same entries and writes
// the same document again; a file that does not read is moved aside and the list is empty.
// Links: zephrinkx_core
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "ExclusionList.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zx::fuzz::ScratchRoot();
  // Lists read from text start empty: their folder holds no record.
  // XML carries no U+0000: only texts without one are compared once written.
  CExclusionList list(_T("C:\\empty"));
  const bool zero = std::find(data, data + size, 0) != data + size;
  if (list.Parse(zx::fuzz::Utf8Text(data, size)) && !zero) {
    const CString written = list.BuildXml();
    CExclusionList again(_T("C:\\empty"));
    if (!again.Parse(written) || again.GetCount() != list.GetCount() || again.BuildXml() != written) std::abort();
  }

  const std::string folder = zx::machine::DriveCFolder() + "/fuzz";
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  zx::fuzz::WriteHostFile(folder + "/exc.xml", data, size);
  CExclusionList stored(_T("C:\\fuzz"));
  stored.Reload();
  if (!stored.GetDamagedCopy().IsEmpty() && stored.GetCount() != 0) std::abort();
  return 0;
}
