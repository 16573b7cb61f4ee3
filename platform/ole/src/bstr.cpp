// BSTR: length-prefixed UTF-16 text, laid out as Windows lays it out. Small strings live on
// the heap; a string of 1 MiB or more is a mapping of its own, so that freeing it gives its
// pages back at once and resizing it in place moves no text.
#include "oleauto.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

constexpr std::size_t kPrefix = sizeof(DWORD);
constexpr std::size_t kTerminator = sizeof(OLECHAR);
// The byte length must fit the DWORD prefix, with room for the prefix and terminator.
constexpr UINT kMaxBytes = 0xFFFFFFFFu - kPrefix - kTerminator;
// Blocks from this size on are mappings of their own.
constexpr std::size_t kOwnMappingBytes = std::size_t{1} << 20;

DWORD* PrefixOf(BSTR text) {
  return reinterpret_cast<DWORD*>(reinterpret_cast<BYTE*>(text) - kPrefix);
}

// The block of a text of byteLength bytes: prefix, text, two zero bytes and one more, so that
// an odd byte length still ends in a whole zero character.
std::size_t BlockSize(std::size_t byteLength) { return kPrefix + byteLength + kTerminator + 1; }
bool IsOwnMapping(std::size_t blockSize) { return blockSize >= kOwnMappingBytes; }

BYTE* NewBlock(std::size_t size) {
  if (!IsOwnMapping(size)) return static_cast<BYTE*>(std::malloc(size));
  void* block = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  return block == MAP_FAILED ? nullptr : static_cast<BYTE*>(block);
}

void FreeBlock(BYTE* block, std::size_t size) {
  if (IsOwnMapping(size)) {
    ::munmap(block, size);
  } else {
    std::free(block);
  }
}

// The block resized, its first min(oldSize, newSize) bytes kept; null (the old block left
// as it was) when memory ran out.
BYTE* ResizeBlock(BYTE* block, std::size_t oldSize, std::size_t newSize) {
  if (IsOwnMapping(oldSize) && IsOwnMapping(newSize)) {
    void* moved = ::mremap(block, oldSize, newSize, MREMAP_MAYMOVE);
    return moved == MAP_FAILED ? nullptr : static_cast<BYTE*>(moved);
  }
  if (!IsOwnMapping(oldSize) && !IsOwnMapping(newSize)) return static_cast<BYTE*>(std::realloc(block, newSize));
  BYTE* fresh = NewBlock(newSize);
  if (!fresh) return nullptr;
  std::memcpy(fresh, block, std::min(oldSize, newSize));
  FreeBlock(block, oldSize);
  return fresh;
}

// Writes the prefix and zeroes the text from byte `kept` on, with the terminator.
BSTR Finish(BYTE* block, UINT byteLength, std::size_t kept) {
  const DWORD prefix = byteLength;
  std::memcpy(block, &prefix, kPrefix);
  BYTE* body = block + kPrefix;
  std::memset(body + kept, 0, byteLength - kept + kTerminator + 1);
  return reinterpret_cast<BSTR>(body);
}

// A new BSTR of byteLength bytes copied from source (zero-filled if source is null).
BSTR Allocate(const void* source, UINT byteLength) {
  if (byteLength > kMaxBytes) return nullptr;
  BYTE* block = NewBlock(BlockSize(byteLength));
  if (!block) return nullptr;
  if (source) std::memcpy(block + kPrefix, source, byteLength);
  return Finish(block, byteLength, source ? byteLength : 0);
}

UINT LengthOf(const OLECHAR* text) {
  UINT n = 0;
  while (text[n]) ++n;
  return n;
}

// `target` made `length` characters long from the `available` characters at `text`, which
// lie within it: they are moved to its start and the block resized, the characters beyond
// them zeroed. FALSE when memory ran out: the string keeps its length (a shrinking one with
// its kept text moved to its start).
INT ResizeInPlace(BSTR* target, const OLECHAR* text, UINT available, UINT length) {
  BSTR old = *target;
  const std::size_t oldSize = BlockSize(SysStringByteLen(old));
  const std::size_t offset = static_cast<std::size_t>(text - old);
  const std::size_t keptBytes = std::size_t{std::min(available, length)} * sizeof(OLECHAR);
  const UINT byteLength = length * static_cast<UINT>(sizeof(OLECHAR));
  const std::size_t newSize = BlockSize(byteLength);
  // A shrinking block gives up its end only once the kept text stands at its start.
  if (newSize < oldSize && offset != 0) std::memmove(old, text, keptBytes);
  BYTE* block = ResizeBlock(reinterpret_cast<BYTE*>(PrefixOf(old)), oldSize, newSize);
  if (!block) return FALSE;
  OLECHAR* body = reinterpret_cast<OLECHAR*>(block + kPrefix);
  if (newSize >= oldSize && offset != 0) std::memmove(body, body + offset, keptBytes);
  *target = Finish(block, byteLength, keptBytes);
  return TRUE;
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
  if (length > kMaxBytes / sizeof(OLECHAR)) return FALSE;
  // A source within the old string (its terminator included) is read only as far as the
  // string goes: it is resized where it stands, never read past its end.
  BSTR old = *target;
  const OLECHAR* const end = old + SysStringLen(old);
  if (old && text && text >= old && text <= end)
    return ResizeInPlace(target, text, static_cast<UINT>(end - text), length);
  BSTR fresh = SysAllocStringLen(text, length);
  if (!fresh) return FALSE;
  SysFreeString(old);
  *target = fresh;
  return TRUE;
}

void SysFreeString(BSTR text) {
  if (text) FreeBlock(reinterpret_cast<BYTE*>(PrefixOf(text)), BlockSize(SysStringByteLen(text)));
}

UINT SysStringLen(BSTR text) {
  return text ? *PrefixOf(text) / static_cast<UINT>(sizeof(OLECHAR)) : 0;
}

UINT SysStringByteLen(BSTR text) { return text ? *PrefixOf(text) : 0; }
