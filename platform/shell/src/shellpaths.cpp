// Path helpers of the shell's functions.
#include "shellpaths.h"

#include "fileapi.h"

namespace zx::shell {

std::u16string Join(std::u16string_view folder, std::u16string_view name) {
  std::u16string path(folder);
  if (!path.empty() && path.back() != u'\\' && path.back() != u'/') path += u'\\';
  return path += name;
}

std::u16string_view NameOf(std::u16string_view path) {
  const std::size_t cut = path.find_last_of(u"\\/");
  return cut == std::u16string_view::npos ? path : path.substr(cut + 1);
}

std::u16string FolderOf(std::u16string_view path) {
  const std::size_t cut = path.find_last_of(u"\\/");
  if (cut == std::u16string_view::npos) return {};
  return std::u16string(path.substr(0, cut == 2 && path[1] == u':' ? cut + 1 : cut));
}

bool FullPath(std::u16string_view path, std::u16string& full) {
  const std::u16string text(path);
  std::u16string buffer(MAX_PATH, u'\0');
  DWORD n = GetFullPathNameW(text.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
  if (n >= buffer.size()) {
    buffer.resize(n);
    n = GetFullPathNameW(text.c_str(), n, buffer.data(), nullptr);
  }
  if (n == 0 || n >= buffer.size()) return false;
  buffer.resize(n);
  if (buffer.size() > 3 && buffer.back() == u'\\') buffer.pop_back();
  full = std::move(buffer);
  return true;
}

bool IsFolder(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool MakeFolders(const std::u16string& path) {
  for (std::size_t cut = path.find(u'\\', 3);; cut = path.find(u'\\', cut + 1)) {
    CreateDirectoryW(path.substr(0, cut).c_str(), nullptr);
    if (cut == std::u16string::npos) break;
  }
  return IsFolder(GetFileAttributesW(path.c_str()));
}

Paths Children(const std::u16string& folder, std::u16string_view pattern, bool filesOnly) {
  Paths children;
  WIN32_FIND_DATAW data{};
  HANDLE find = FindFirstFileW(Join(folder, pattern).c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return children;
  do {
    const std::u16string_view name = data.cFileName;
    if (name == u"." || name == u".." || (filesOnly && IsFolder(data.dwFileAttributes))) continue;
    children.push_back(Join(folder, name));
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return children;
}

}  // namespace zx::shell
