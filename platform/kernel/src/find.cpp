// Folder listings: FindFirstFile takes a snapshot of the matching entries (with "." and ".."
// below a drive's root, as Windows lists them), FindNextFile walks it, FindClose drops it.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

#include "fileapi.h"
#include "filetext.h"
#include "hostfiles.h"
#include "kerneltext.h"
#include "pathparse.h"
#include "zx/casefold.h"
#include "zx/handles.h"
#include "zx/wildcard.h"

namespace {

using zx::file::Fail;

struct FindObject : zx::KernelObject {
  std::vector<WIN32_FIND_DATAW> entries;
  std::size_t next = 0;
};

bool HasWildcard(std::u16string_view text) { return text.find_first_of(u"*?") != std::u16string_view::npos; }

// A character a pattern may not hold: the wildcards are allowed there.
bool IsBadPatternChar(char16_t c) { return c != u'*' && c != u'?' && zx::path::IsForbiddenInName(c); }

// A character no entry name may hold to be listed (separators included).
bool IsBadEntryChar(char16_t c) { return c == u'\\' || c == u'/' || zx::path::IsForbiddenInName(c); }

// "C:\dir\*.txt" -> "C:\dir\" and "*.txt"; "C:*.txt" -> "C:" and "*.txt"; "*.txt" -> "." and "*.txt".
void SplitPattern(std::u16string_view text, std::u16string& folder, std::u16string& pattern) {
  const std::size_t cut = text.find_last_of(u"\\/");
  if (cut != std::u16string_view::npos) {
    folder = text.substr(0, cut + 1);
    pattern = text.substr(cut + 1);
  } else if (text.size() >= 2 && text[1] == u':') {
    folder = text.substr(0, 2);
    pattern = text.substr(2);
  } else {
    folder = u".";
    pattern = text;
  }
}

int Order(const WIN32_FIND_DATAW& a, const WIN32_FIND_DATAW& b) {
  auto rank = [](const WIN32_FIND_DATAW& d) {
    return std::u16string_view(d.cFileName) == u"." ? 0 : std::u16string_view(d.cFileName) == u".." ? 1 : 2;
  };
  if (rank(a) != rank(b)) return rank(a) - rank(b);
  return zx::CompareNoCase(a.cFileName, b.cFileName);
}

// The matching entries of a host folder; false with the last error set.
bool List(const std::string& host, bool isRoot, std::u16string_view pattern, std::vector<WIN32_FIND_DATAW>& out) {
  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(host.c_str()), ::closedir);
  if (!dir) return Fail(zx::file::ErrorFromErrno(errno));
  while (dirent* entry = ::readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (isRoot && (name == "." || name == "..")) continue;
    const std::u16string wide = zx::text::FromUtf8(name);
    // Names Windows could not spell (or that would not map back) are left out.
    if (wide.size() >= MAX_PATH || zx::text::ToUtf8(wide) != name ||
        std::any_of(wide.begin(), wide.end(), IsBadEntryChar))
      continue;
    if (!zx::MatchWildcard(pattern, wide)) continue;
    WIN32_FILE_ATTRIBUTE_DATA info{};
    if (!zx::file::DescribeHostEntry(host + "/" + name, info)) continue;
    WIN32_FIND_DATAW data{};
    data.dwFileAttributes = info.dwFileAttributes;
    data.ftCreationTime = info.ftCreationTime;
    data.ftLastAccessTime = info.ftLastAccessTime;
    data.ftLastWriteTime = info.ftLastWriteTime;
    data.nFileSizeHigh = info.nFileSizeHigh;
    data.nFileSizeLow = info.nFileSizeLow;
    std::copy(wide.begin(), wide.end(), data.cFileName);
    out.push_back(data);
  }
  std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return Order(a, b) < 0; });
  return true;
}

HANDLE FailFind(DWORD error) {
  SetLastError(error);
  return INVALID_HANDLE_VALUE;
}

void Narrow(const WIN32_FIND_DATAW& wide, WIN32_FIND_DATAA& narrow) {
  narrow = WIN32_FIND_DATAA{};
  narrow.dwFileAttributes = wide.dwFileAttributes;
  narrow.ftCreationTime = wide.ftCreationTime;
  narrow.ftLastAccessTime = wide.ftLastAccessTime;
  narrow.ftLastWriteTime = wide.ftLastWriteTime;
  narrow.nFileSizeHigh = wide.nFileSizeHigh;
  narrow.nFileSizeLow = wide.nFileSizeLow;
  const std::string name = zx::text::ToAnsi(wide.cFileName);
  std::memcpy(narrow.cFileName, name.data(), std::min<std::size_t>(name.size(), MAX_PATH - 1));
}

}  // namespace

HANDLE FindFirstFileW(LPCWSTR fileName, LPWIN32_FIND_DATAW findData) {
  if (fileName == nullptr || findData == nullptr) return FailFind(ERROR_INVALID_PARAMETER);
  std::u16string folderText;
  std::u16string pattern;
  SplitPattern(fileName, folderText, pattern);
  if (pattern.empty()) return FailFind(ERROR_FILE_NOT_FOUND);
  if (std::any_of(pattern.begin(), pattern.end(), IsBadPatternChar)) return FailFind(ERROR_INVALID_NAME);
  if (!HasWildcard(pattern) && pattern != u"." && pattern != u"..") {
    while (!pattern.empty() && (pattern.back() == u'.' || pattern.back() == u' ')) pattern.pop_back();
    if (pattern.empty()) return FailFind(ERROR_FILE_NOT_FOUND);
  }

  zx::path::WindowsPath folder;
  std::string host;
  if (!zx::path::MapArgument(folderText.c_str(), host, &folder)) return INVALID_HANDLE_VALUE;
  struct stat st {};
  if (::stat(host.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return FailFind(ERROR_PATH_NOT_FOUND);

  auto find = std::make_shared<FindObject>();
  if (!List(host, folder.parts.empty(), pattern, find->entries)) return INVALID_HANDLE_VALUE;
  if (find->entries.empty()) return FailFind(ERROR_FILE_NOT_FOUND);
  *findData = find->entries[0];
  find->next = 1;
  SetLastError(ERROR_SUCCESS);
  return zx::InsertHandle(std::move(find));
}

HANDLE FindFirstFileA(LPCSTR fileName, LPWIN32_FIND_DATAA findData) {
  if (findData == nullptr) return FailFind(ERROR_INVALID_PARAMETER);
  WIN32_FIND_DATAW wide{};
  HANDLE find = FindFirstFileW(zx::file::WideArg(fileName).get(), &wide);
  if (find != INVALID_HANDLE_VALUE) Narrow(wide, *findData);
  return find;
}

BOOL FindNextFileW(HANDLE findFile, LPWIN32_FIND_DATAW findData) {
  auto find = zx::ReferenceHandleAs<FindObject>(findFile);
  if (!find) return Fail(ERROR_INVALID_HANDLE);
  if (findData == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  if (find->next >= find->entries.size()) return Fail(ERROR_NO_MORE_FILES);
  *findData = find->entries[find->next++];
  return TRUE;
}

BOOL FindNextFileA(HANDLE findFile, LPWIN32_FIND_DATAA findData) {
  WIN32_FIND_DATAW wide{};
  if (findData == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  if (!FindNextFileW(findFile, &wide)) return FALSE;
  Narrow(wide, *findData);
  return TRUE;
}

BOOL FindClose(HANDLE findFile) {
  if (!zx::ReferenceHandleAs<FindObject>(findFile) || !zx::RemoveHandle(findFile))
    return Fail(ERROR_INVALID_HANDLE);
  return TRUE;
}
