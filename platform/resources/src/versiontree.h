// The tree of a version resource (VS_VERSIONINFO and its StringFileInfo and VarFileInfo
// blocks): each node is wLength, wValueLength, wType, a zero-terminated key, padding to four
// bytes, the value, padding, then the children. Reading is bounded by the block's size.
#pragma once
#include <cstddef>
#include <string>

#include "wintypes.h"

namespace zx::res {

struct VersionNode {
  std::size_t offset = 0;  // within the block
  std::size_t length = 0;
  std::u16string key;
  WORD type = 0;          // 1: text value, 0: binary
  WORD valueLength = 0;   // as stored: units for text, bytes for binary
  std::size_t valueOffset = 0;
  std::size_t valueBytes = 0;
  std::size_t childrenOffset = 0;
  std::size_t end() const { return offset + length; }
};

// The node at `offset`; false when it does not fit in its parent's end `limit`.
bool ReadVersionNode(const BYTE* block, std::size_t limit, std::size_t offset, VersionNode& node);

// Calls visit(child) for each child; false when a child is malformed (or visit says stop
// by answering false: then the answer is true).
template <class Visit>
bool ForEachVersionChild(const BYTE* block, const VersionNode& parent, Visit visit) {
  std::size_t at = parent.childrenOffset;
  while (at < parent.end()) {
    VersionNode child;
    if (!ReadVersionNode(block, parent.end(), at, child)) return false;
    if (!visit(child)) return true;
    at = (child.end() + 3) & ~std::size_t{3};
  }
  return true;
}

// The whole tree checked; a message says what is wrong.
bool CheckVersionResource(const BYTE* block, std::size_t size, std::string& error);

inline constexpr DWORD kFixedFileInfoSignature = 0xFEEF04BDu;
inline constexpr std::size_t kFixedFileInfoSize = 52;

}  // namespace zx::res
