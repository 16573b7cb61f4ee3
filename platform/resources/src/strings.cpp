// LoadStringW over the string blocks: block n + 1 holds strings 16n to 16n + 15, each a
// 16-bit length and that many UTF-16 units.
#include <algorithm>

#include "bytes.h"
#include "errhandlingapi.h"
#include "lookup.h"

using namespace zx::res;

int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int size) {
  if (!buffer || size < 0 || id > 0xFFFF) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const auto* block = Lookup(instance, ResourceId::Number(kString),
                             ResourceId::Number(static_cast<WORD>(id / 16 + 1)));
  if (!block) {
    if (size > 0) buffer[0] = 0;
    return 0;
  }
  ByteReader r(block->data, block->size);
  for (UINT i = 0; i < id % 16; ++i) r.Skip(std::size_t{r.U16()} * 2);
  const WORD length = r.U16();
  const auto* text = reinterpret_cast<const WCHAR*>(r.here());
  if (!r.ok() || r.remaining() < std::size_t{length} * 2) {  // checked when the file was read
    if (size > 0) buffer[0] = 0;
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return 0;
  }
  if (length == 0) SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
  if (size == 0) {
    *reinterpret_cast<const WCHAR**>(buffer) = text;
    return length;
  }
  const int copied = std::min<int>(length, size - 1);
  std::copy_n(text, copied, buffer);
  buffer[copied] = 0;
  return copied;
}
