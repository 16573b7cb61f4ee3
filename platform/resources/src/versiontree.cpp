// Reading and checking version-resource trees.
#include "versiontree.h"

#include <algorithm>

#include "bytes.h"

namespace zx::res {
namespace {

constexpr int kMaxDepth = 8;

bool CheckChildren(const BYTE* block, const VersionNode& node, int depth, std::string& error) {
  if (depth > kMaxDepth) {
    error = "the version record nests deeper than " + std::to_string(kMaxDepth);
    return false;
  }
  bool good = true;
  const bool read = ForEachVersionChild(block, node, [&](const VersionNode& child) {
    good = CheckChildren(block, child, depth + 1, error);
    return good;
  });
  if (!read && good) error = "a block of the version record runs past its parent";
  return read && good;
}

}  // namespace

bool ReadVersionNode(const BYTE* block, std::size_t limit, std::size_t offset, VersionNode& node) {
  if (offset >= limit) return false;
  ByteReader header(block + offset, limit - offset);
  const WORD length = header.U16();
  node.valueLength = header.U16();
  node.type = header.U16();
  if (!header.ok() || length < 6 || length > limit - offset) return false;
  ByteReader r(block + offset, length);
  r.Skip(6);
  node.key = r.String();
  if (!r.ok()) return false;
  node.offset = offset;
  node.length = length;
  node.valueBytes = node.type == 1 ? std::size_t{node.valueLength} * 2 : node.valueLength;
  r.Align4();
  if (!r.ok()) {
    // The node ends inside the padding after its key: it has no value and no children.
    node.valueOffset = node.childrenOffset = node.end();
    return node.valueBytes == 0;
  }
  node.valueOffset = offset + r.offset();
  r.Skip(node.valueBytes);
  if (!r.ok()) return false;
  node.childrenOffset = std::min(node.end(), (offset + r.offset() + 3) & ~std::size_t{3});
  return true;
}

bool CheckVersionResource(const BYTE* block, std::size_t size, std::string& error) {
  VersionNode root;
  if (!ReadVersionNode(block, size, 0, root)) {
    error = "the version record runs past the end of the resource";
    return false;
  }
  if (root.key != u"VS_VERSION_INFO") {
    error = "the version record does not start with VS_VERSION_INFO";
    return false;
  }
  if (root.valueBytes != 0) {
    ByteReader r(block + root.valueOffset, root.valueBytes);
    if (root.valueBytes != kFixedFileInfoSize || r.U32() != kFixedFileInfoSignature) {
      error = "the fixed file information of the version record is malformed";
      return false;
    }
  }
  return CheckChildren(block, root, 1, error);
}

}  // namespace zx::res
