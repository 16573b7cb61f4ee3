// SHFileOperation on the kernel's file API: lists of sources (with wildcards) copied, moved,
// renamed or deleted, folders together with their contents, deletes into the recycle bin.
#include "shellapi.h"

#include <atomic>
#include <chrono>

#include "errhandlingapi.h"
#include "fileapi.h"
#include "shellpaths.h"
#include "zx/casefold.h"
#include "zx/winfolders.h"

namespace {

using zx::shell::Children;
using zx::shell::FolderOf;
using zx::shell::FullPath;
using zx::shell::IsFolder;
using zx::shell::Join;
using zx::shell::NameOf;
using zx::shell::Paths;

// Folders nested deeper than this are refused rather than followed (link loops).
constexpr int kMaxDepth = 128;

Paths SplitList(PCZZWSTR list) {
  Paths items;
  if (list != nullptr)
    for (const WCHAR* item = list; *item != u'\0'; item += items.back().size() + 1) items.emplace_back(item);
  return items;
}

DWORD Attributes(const std::u16string& path) { return GetFileAttributesW(path.c_str()); }

DWORD LastErrorOr(BOOL done) { return done ? ERROR_SUCCESS : GetLastError(); }

bool HasWildcard(std::u16string_view name) { return name.find_first_of(u"*?") != std::u16string_view::npos; }

bool StartsWithNoCase(std::u16string_view text, std::u16string_view head) {
  return text.size() >= head.size() && zx::CompareNoCase(text.data(), head.size(), head.data(), head.size()) == 0;
}

// Full paths of the sources; a wildcard in a last component stands for its matches.
bool ExpandSources(const Paths& items, bool filesOnly, Paths& sources, bool& wildcards) {
  wildcards = false;
  for (const std::u16string& item : items) {
    std::u16string full;
    if (!FullPath(item, full)) return false;
    if (!HasWildcard(NameOf(full))) {
      sources.push_back(full);
      continue;
    }
    wildcards = true;
    const Paths matches = Children(FolderOf(full), NameOf(full), filesOnly);
    sources.insert(sources.end(), matches.begin(), matches.end());
  }
  return true;
}

// Removes a file or a folder with everything in it. A link to a folder goes as the link.
DWORD DeleteTree(const std::u16string& path, int depth) {
  const DWORD attributes = Attributes(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return GetLastError();
  if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) SetFileAttributesW(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  if (!IsFolder(attributes)) return LastErrorOr(DeleteFileW(path.c_str()));
  if (RemoveDirectoryW(path.c_str())) return ERROR_SUCCESS;
  if (GetLastError() != ERROR_DIR_NOT_EMPTY) return GetLastError();
  if (depth >= kMaxDepth) return ERROR_FILENAME_EXCED_RANGE;
  for (const std::u16string& child : Children(path, u"*", false))
    if (const DWORD error = DeleteTree(child, depth + 1)) return error;
  return LastErrorOr(RemoveDirectoryW(path.c_str()));
}

// Moves the entry into a folder of its own in C:\$Recycle.Bin.
DWORD Recycle(const std::u16string& path) {
  static std::atomic<unsigned> next{static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count())};
  const std::u16string bin = zx::folders::kRecycleBin;
  CreateDirectoryW(bin.c_str(), nullptr);
  std::u16string slot;
  for (;;) {
    const unsigned number = next.fetch_add(1);
    slot = bin + u"\\$R";
    for (int shift = 28; shift >= 0; shift -= 4) slot += u"0123456789ABCDEF"[(number >> shift) & 0xF];
    if (CreateDirectoryW(slot.c_str(), nullptr)) break;
    if (GetLastError() != ERROR_ALREADY_EXISTS) return GetLastError();
  }
  if (MoveFileExW(path.c_str(), Join(slot, NameOf(path)).c_str(), 0)) return ERROR_SUCCESS;
  const DWORD error = GetLastError();
  RemoveDirectoryW(slot.c_str());
  return error;
}

DWORD Delete(const std::u16string& path, FILEOP_FLAGS flags) {
  if (Attributes(path) == INVALID_FILE_ATTRIBUTES) return GetLastError();
  if (path.size() <= 3) return ERROR_ACCESS_DENIED;  // a drive's root
  // Only drive C: has a recycle bin.
  if ((flags & FOF_ALLOWUNDO) != 0 && StartsWithNoCase(path, u"C:\\")) return Recycle(path);
  return DeleteTree(path, 0);
}

// "name (2).ext", "name (3).ext", ... : the first that does not exist.
std::u16string Unused(const std::u16string& path, bool folder) {
  const std::u16string name(NameOf(path));
  const std::size_t dot = folder ? std::u16string::npos : name.rfind(u'.');
  const std::u16string stem = name.substr(0, dot);
  const std::u16string extension = dot == std::u16string::npos ? u"" : name.substr(dot);
  for (unsigned n = 2;; ++n) {
    std::u16string digits;
    for (unsigned v = n; v != 0; v /= 10) digits.insert(digits.begin(), static_cast<char16_t>(u'0' + v % 10));
    const std::u16string candidate = Join(FolderOf(path), stem + u" (" + digits + u")" + extension);
    if (Attributes(candidate) == INVALID_FILE_ATTRIBUTES) return candidate;
  }
}

// Copies or moves one entry onto the path it is to have; folders go with their contents and
// merge into a folder of the same name. Confirmations are answered yes.
DWORD Transfer(const std::u16string& from, std::u16string to, bool move, FILEOP_FLAGS flags, int depth) {
  const DWORD source = Attributes(from);
  if (source == INVALID_FILE_ATTRIBUTES) return GetLastError();
  DWORD target = Attributes(to);
  if (target != INVALID_FILE_ATTRIBUTES && zx::CompareNoCase(from.c_str(), to.c_str()) != 0) {
    if ((flags & FOF_RENAMEONCOLLISION) != 0) {
      to = Unused(to, IsFolder(source));
      target = INVALID_FILE_ATTRIBUTES;
    } else if (IsFolder(source) != IsFolder(target)) {
      return ERROR_ALREADY_EXISTS;
    }
  }
  if (!IsFolder(source)) {
    if (target != INVALID_FILE_ATTRIBUTES && (target & FILE_ATTRIBUTE_READONLY) != 0)
      SetFileAttributesW(to.c_str(), target & ~FILE_ATTRIBUTE_READONLY);
    return LastErrorOr(move ? MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)
                            : CopyFileW(from.c_str(), to.c_str(), FALSE));
  }
  if (StartsWithNoCase(to, Join(from, u""))) return ERROR_INVALID_PARAMETER;  // into itself
  if (move && target == INVALID_FILE_ATTRIBUTES && MoveFileExW(from.c_str(), to.c_str(), 0)) return ERROR_SUCCESS;
  if (depth >= kMaxDepth) return ERROR_FILENAME_EXCED_RANGE;
  if (target == INVALID_FILE_ATTRIBUTES && !CreateDirectoryW(to.c_str(), nullptr)) return GetLastError();
  for (const std::u16string& child : Children(from, u"*", false))
    if (const DWORD error = Transfer(child, Join(to, NameOf(child)), move, flags & ~FOF_RENAMEONCOLLISION, depth + 1))
      return error;
  return move ? LastErrorOr(RemoveDirectoryW(from.c_str())) : ERROR_SUCCESS;
}

// One target per source with FOF_MULTIDESTFILES; else the target is the new name of a single
// source, or the folder (made when missing) that receives a list or a wildcard's matches.
DWORD Transfers(const Paths& sources, bool wildcards, const Paths& targets, bool move, FILEOP_FLAGS flags) {
  const bool paired = (flags & FOF_MULTIDESTFILES) != 0 && targets.size() > 1;
  if (targets.empty() || (paired ? targets.size() != sources.size() : targets.size() != 1))
    return ERROR_INVALID_PARAMETER;
  std::u16string destination;
  if (!paired && !FullPath(targets[0], destination)) return GetLastError();
  const bool into = !paired && (wildcards || sources.size() > 1 || IsFolder(Attributes(destination)));
  for (std::size_t i = 0; i < sources.size(); ++i) {
    std::u16string to;
    if (paired && !FullPath(targets[i], to)) return GetLastError();
    if (!paired) to = into ? Join(destination, NameOf(sources[i])) : destination;
    const std::u16string folder = FolderOf(to);
    if (!IsFolder(Attributes(folder)) && !zx::shell::MakeFolders(folder)) return ERROR_PATH_NOT_FOUND;
    if (const DWORD error = Transfer(sources[i], to, move, flags, 0)) return error;
  }
  return ERROR_SUCCESS;
}

DWORD Rename(const Paths& sources, const Paths& targets) {
  if (sources.size() != 1 || targets.size() != 1) return ERROR_INVALID_PARAMETER;
  // A bare name renames within the source's folder.
  const std::u16string& name = targets[0];
  std::u16string to;
  if (name.find_first_of(u"\\/:") == std::u16string::npos) to = Join(FolderOf(sources[0]), name);
  else if (!FullPath(name, to)) return GetLastError();
  return LastErrorOr(MoveFileW(sources[0].c_str(), to.c_str()));
}

DWORD Run(const SHFILEOPSTRUCTW& op) {
  const Paths items = SplitList(op.pFrom);
  if (items.empty()) return ERROR_INVALID_PARAMETER;
  Paths sources;
  bool wildcards = false;
  if (!ExpandSources(items, (op.fFlags & FOF_FILESONLY) != 0, sources, wildcards)) return GetLastError();
  switch (op.wFunc) {
    case FO_DELETE:
      for (const std::u16string& source : sources)
        if (const DWORD error = Delete(source, op.fFlags)) return error;
      return ERROR_SUCCESS;
    case FO_RENAME: return Rename(sources, SplitList(op.pTo));
    case FO_COPY:
    case FO_MOVE: return Transfers(sources, wildcards, SplitList(op.pTo), op.wFunc == FO_MOVE, op.fFlags);
    default: return ERROR_INVALID_PARAMETER;
  }
}

}  // namespace

int SHFileOperationW(LPSHFILEOPSTRUCTW fileOp) {
  if (fileOp == nullptr) return ERROR_INVALID_PARAMETER;
  fileOp->hNameMappings = nullptr;
  const DWORD error = Run(*fileOp);
  fileOp->fAnyOperationsAborted = error != ERROR_SUCCESS ? TRUE : FALSE;
  return static_cast<int>(error);
}
