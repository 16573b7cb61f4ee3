// BSTR: length-prefixed UTF-16 text on the heap, laid out as Windows lays it out.
#include "oleauto.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr std::size_t kPrefix = sizeof(DWORD);
constexpr std::size_t kTerminator = sizeof(OLECHAR);
// The byte length must fit the DWORD prefix, with room for the prefix and terminator.
constexpr UINT kMaxBytes = 0xFFFFFFFFu - kPrefix - kTerminator;

DWORD* PrefixOf(BSTR text) {
  return reinterpret_cast<DWORD*>(reinterpret_cast<BYTE*>(text) - kPrefix);
}

// A new BSTR of byteLength bytes copied from source (zero-filled if source is null).
BSTR Allocate(const void* source, UINT byteLength) {
  if (byteLength > kMaxBytes) return nullptr;
  auto* block = static_cast<BYTE*>(std::malloc(kPrefix + byteLength + kTerminator + 1));
  if (!block) return nullptr;
  const DWORD prefix = byteLength;
  std::memcpy(block, &prefix, kPrefix);
  BYTE* body = block + kPrefix;
  if (source)
    std::memcpy(body, source, byteLength);
  else
    std::memset(body, 0, byteLength);
  // Zero both bytes after the text, and one more so that an odd byte length still ends in a
  // whole zero character.
  std::memset(body + byteLength, 0, kTerminator + 1);
  return reinterpret_cast<BSTR>(body);
}

UINT LengthOf(const OLECHAR* text) {
  UINT n = 0;
  while (text[n]) ++n;
  return n;
}

}  // namespace

BSTR SysAllocString(const OLECHAR* text) {
  if (!text) return nullptr;
  return SysAllocStringLen(text, LengthOf(text));
}

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) {
  if (length > kMaxBytes / sizeof(OLECHAR)) return nullptr;
  return Allocate(text, length * static_cast<UINT>(sizeof(OLECHAR)));
}

BSTR SysAllocStringByteLen(LPCSTR bytes, UINT byteLength) { return Allocate(bytes, byteLength); }

INT SysReAllocString(BSTR* target, const OLECHAR* text) {
  if (!target) return FALSE;
  return SysReAllocStringLen(target, text, text ? LengthOf(text) : 0);
}

INT SysReAllocStringLen(BSTR* target, const OLECHAR* text, UINT length) {
  if (!target) return FALSE;
  // The source may lie inside the old string, so copy before freeing it.
  BSTR fresh = SysAllocStringLen(text, length);
  if (!fresh) return FALSE;
  SysFreeString(*target);
  *target = fresh;
  return TRUE;
}

void SysFreeString(BSTR text) {
  if (text) std::free(PrefixOf(text));
}

UINT SysStringLen(BSTR text) {
  return text ? *PrefixOf(text) / static_cast<UINT>(sizeof(OLECHAR)) : 0;
}

UINT SysStringByteLen(BSTR text) { return text ? *PrefixOf(text) : 0; }
