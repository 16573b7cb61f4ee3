// Fuzz target: hostile bytes as the menu template and the toolbar resource that the owner-drawn
// menu reads from a resource module. Reading must never crash or read past the bytes, and a
// toolbar that is accepted names no more items than its bytes hold.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "BCMenuTemplate.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<BYTE> bytes(data, data + size);  // exactly the input, so overreads are caught
  const DWORD length = static_cast<DWORD>(bytes.size());
  std::vector<BCMenuTemplateItem> items;
  ReadMenuTemplate(bytes.data(), length, items);
  BCMenuToolbar toolbar;
  if (ReadToolbarTemplate(bytes.data(), length, toolbar) && 8 + 2 * toolbar.ids.size() > size) std::abort();
  return 0;
}
