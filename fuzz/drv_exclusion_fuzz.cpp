// Fuzz target: hostile bytes read as the exclusion list "exclusion.xml" (ANSI text, as the
// file is read). Reading must not fail on any text; a list that was read, written back and read
// again must give the same entries.
// Links: zephrinkx_core
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include <windows.h>

#include "DrvExclusionFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > (1u << 16)) return 0;
  std::u16string wide(size, u'\0');
  const int length = MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(data), static_cast<int>(size),
                                         wide.data(), static_cast<int>(size));
  std::vector<tagExclusionItem> items;
  if (!CDrvExclusionFile::Parse(CString(wide.c_str(), length), items)) return 0;
  std::vector<tagExclusionItem> again;
  if (!CDrvExclusionFile::Parse(CDrvExclusionFile::BuildXml(items), again)) std::abort();
  if (again.size() != items.size()) std::abort();
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (again[i].nExclusionId != items[i].nExclusionId || again[i].strDriverName != items[i].strDriverName ||
        again[i].strHardwareId != items[i].strHardwareId) {
      std::abort();
    }
  }
  return 0;
}
