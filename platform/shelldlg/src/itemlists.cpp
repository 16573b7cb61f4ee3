// Item lists of this layer: one item whose bytes are the folder's path (UTF-16, with its
// terminator), then the ending zero, in task memory.
#include <cstring>

#include "shlobj_browse.h"

namespace {

constexpr std::size_t kMaxPathChars = 260;

}  // namespace

PIDLIST_ABSOLUTE ILCreateFromPathW(LPCWSTR path) {
  if (!path || !*path) return nullptr;
  std::size_t length = 0;
  while (path[length]) ++length;
  if (length >= kMaxPathChars) return nullptr;
  const std::size_t item = sizeof(USHORT) + (length + 1) * sizeof(WCHAR);
  auto* bytes = static_cast<BYTE*>(CoTaskMemAlloc(item + sizeof(USHORT)));
  if (!bytes) return nullptr;
  const auto cb = static_cast<USHORT>(item);
  std::memcpy(bytes, &cb, sizeof cb);
  std::memcpy(bytes + sizeof cb, path, (length + 1) * sizeof(WCHAR));
  std::memset(bytes + item, 0, sizeof(USHORT));
  return reinterpret_cast<PIDLIST_ABSOLUTE>(bytes);
}

void ILFree(PIDLIST_ABSOLUTE list) { CoTaskMemFree(list); }

BOOL SHGetPathFromIDListW(PCIDLIST_ABSOLUTE list, LPWSTR path) {
  if (!list || !path) return FALSE;
  const auto* bytes = reinterpret_cast<const BYTE*>(list);
  USHORT cb = 0;
  std::memcpy(&cb, bytes, sizeof cb);
  const std::size_t chars = cb > sizeof cb ? (cb - sizeof cb) / sizeof(WCHAR) : 0;
  if (chars < 2 || chars > kMaxPathChars || (cb - sizeof cb) % sizeof(WCHAR) != 0) {
    *path = 0;
    return FALSE;
  }
  std::memcpy(path, bytes + sizeof cb, chars * sizeof(WCHAR));
  if (path[chars - 1] != 0) {
    *path = 0;
    return FALSE;
  }
  return TRUE;
}
