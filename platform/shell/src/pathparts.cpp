// Taking paths apart and putting them together: PathRemoveFileSpec, PathFindFileName,
// PathFindExtension, PathAddBackslash, PathRemoveBackslash, PathAppend, PathIsRelative and
// PathFileExists.
#include "shlwapi.h"

#include <string>
#include <vector>

#include "fileapi.h"

namespace {

bool IsSeparator(WCHAR c) { return c == u'\\' || c == u'/'; }

// "C:\" or "\\" or "\" at the start of a path: kept by ".." and by PathRemoveFileSpec.
std::size_t RootLength(std::u16string_view path) {
  if (path.size() >= 2 && path[1] == u':') return path.size() >= 3 && IsSeparator(path[2]) ? 3 : 2;
  if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) return 2;
  return !path.empty() && IsSeparator(path[0]) ? 1 : 0;
}

// Drops "." components and lets ".." take away the one before it, never the root.
std::u16string Canonical(std::u16string_view path) {
  const std::size_t root = RootLength(path);
  std::vector<std::u16string_view> parts;
  std::size_t start = root;
  while (start <= path.size()) {
    std::size_t end = start;
    while (end < path.size() && !IsSeparator(path[end])) ++end;
    const std::u16string_view part = path.substr(start, end - start);
    if (part == u"..") {
      if (!parts.empty()) parts.pop_back();
    } else if (part != u"." && !(part.empty() && end < path.size())) {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::u16string out(path.substr(0, root));
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i != 0) out += u'\\';
    out += parts[i];
  }
  return out;
}

}  // namespace

BOOL PathRemoveFileSpecW(LPWSTR path) {
  if (path == nullptr || *path == u'\0') return FALSE;
  const std::u16string_view text = path;
  const std::size_t root = RootLength(text);
  const std::size_t cut = text.find_last_of(u"\\/");
  std::size_t keep = cut;  // "C:\a\b" -> "C:\a", "C:\a\" -> "C:\a"
  if (cut == std::u16string_view::npos || cut < root) keep = root;  // "file" -> "", "C:file" -> "C:"
  else if (cut + 1 == root) keep = root;                            // "C:\file" -> "C:\"
  if (keep >= text.size()) return FALSE;
  path[keep] = u'\0';
  return TRUE;
}

BOOL PathFileExistsW(LPCWSTR path) {
  return path != nullptr && GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES ? TRUE : FALSE;
}

LPWSTR PathFindFileNameW(LPCWSTR path) {
  if (path == nullptr) return nullptr;
  LPCWSTR name = path;
  for (LPCWSTR p = path; *p != u'\0'; ++p)
    if ((IsSeparator(*p) || *p == u':') && p[1] != u'\0' && !IsSeparator(p[1])) name = p + 1;
  return const_cast<LPWSTR>(name);
}

LPWSTR PathFindExtensionW(LPCWSTR path) {
  if (path == nullptr) return nullptr;
  LPCWSTR dot = nullptr;
  LPCWSTR p = path;
  for (; *p != u'\0'; ++p) {
    if (*p == u'.') dot = p;
    else if (IsSeparator(*p) || *p == u' ') dot = nullptr;
  }
  return const_cast<LPWSTR>(dot != nullptr ? dot : p);
}

LPWSTR PathAddBackslashW(LPWSTR path) {
  if (path == nullptr) return nullptr;
  std::size_t length = std::char_traits<WCHAR>::length(path);
  if (length == 0 || path[length - 1] == u'\\') return path + length;
  if (length + 1 >= MAX_PATH) return nullptr;
  path[length++] = u'\\';
  path[length] = u'\0';
  return path + length;
}

LPWSTR PathRemoveBackslashW(LPWSTR path) {
  if (path == nullptr) return nullptr;
  const std::size_t length = std::char_traits<WCHAR>::length(path);
  if (length == 0) return path;
  if (path[length - 1] != u'\\' || RootLength(std::u16string_view(path, length)) == length)
    return path + length - 1;
  path[length - 1] = u'\0';
  return path + length - 1;
}

BOOL PathAppendW(LPWSTR path, LPCWSTR more) {
  if (path == nullptr || more == nullptr) return FALSE;
  std::u16string_view tail = more;
  while (!tail.empty() && IsSeparator(tail.front())) tail.remove_prefix(1);
  std::u16string joined = path;
  if (!joined.empty() && !tail.empty() && !IsSeparator(joined.back())) joined += u'\\';
  joined += tail;
  const std::u16string result = Canonical(joined);
  if (result.size() >= MAX_PATH) return FALSE;
  result.copy(path, result.size());
  path[result.size()] = u'\0';
  return TRUE;
}

BOOL PathIsRelativeW(LPCWSTR path) {
  if (path == nullptr || *path == u'\0') return TRUE;
  return IsSeparator(path[0]) || path[1] == u':' ? FALSE : TRUE;
}
