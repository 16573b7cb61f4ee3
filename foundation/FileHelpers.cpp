// File helpers of the shared library.
#include "FileHelpers.h"

#include <vector>

#include "SystemHelpers.h"

namespace {

constexpr FILEOP_FLAGS kDeleteToBin = 0x4454;
constexpr FILEOP_FLAGS kDeleteForever = 0x4414;
constexpr FILEOP_FLAGS kMoveFlags = 0x4614;
constexpr FILEOP_FLAGS kMoveIntoFlags = 0x465C;
constexpr FILEOP_FLAGS kRecordFlags = 0x4654;

// A double-zero-terminated copy of the path, or empty when it does not fit.
std::vector<WCHAR> DoubleTerminated(const CString& path, int limit) {
  if (path.IsEmpty() || path.GetLength() > limit - 2) return {};
  std::vector<WCHAR> buffer(static_cast<std::size_t>(path.GetLength()) + 2, 0);
  for (int i = 0; i < path.GetLength(); ++i) buffer[static_cast<std::size_t>(i)] = path[i];
  return buffer;
}

int RunShellOperation(UINT function, const CString& from, const CString& to, FILEOP_FLAGS flags) {
  std::vector<WCHAR> source = DoubleTerminated(from, kShellPathLimit);
  std::vector<WCHAR> target = DoubleTerminated(to, kShellPathLimit);
  if (source.empty() || (function != FO_DELETE && target.empty())) return 0;
  SHFILEOPSTRUCTW op{};
  op.wFunc = function;
  op.pFrom = source.data();
  op.pTo = target.empty() ? nullptr : target.data();
  op.fFlags = flags;
  if (SHFileOperationW(&op) == 0 && !op.fAnyOperationsAborted) return 1;
  PumpPendingMessages();
  return 0;
}

}  // namespace

int ShellDeletePath(LPCTSTR path, int length, BOOL toRecycleBin) {
  const CString text = path ? path : _T("");
  // A shorter length would cut the path to one of its parents: refuse instead.
  if (length < text.GetLength()) return 0;
  return RunShellOperation(FO_DELETE, text, CString(), toRecycleBin ? kDeleteToBin : kDeleteForever);
}

int ShellDeleteWithFlags(LPCTSTR path, FILEOP_FLAGS flags) {
  return RunShellOperation(FO_DELETE, path ? path : _T(""), CString(), flags);
}

int MoveWithShell(LPCTSTR source, LPCTSTR target) {
  SetFileAttributesW(source, 0xA0);
  SetFileAttributesW(target, 0xA0);
  return RunShellOperation(FO_MOVE, source, target, kMoveFlags);
}

int MoveIntoFolder(LPCTSTR sourceFile, LPCTSTR targetFolder) {
  CString target = targetFolder ? targetFolder : _T("");
  if (target.IsEmpty() || target[target.GetLength() - 1] != _T('\\')) target += _T('\\');
  const CString source = sourceFile ? sourceFile : _T("");
  target += source.Mid(source.ReverseFind(_T('\\')) + 1);
  return RunShellOperation(FO_MOVE, source, target, kMoveIntoFlags);
}

int IsFileLocked(LPCTSTR path) {
  const DWORD attributes = GetFileAttributesW(path);
  if (attributes == INVALID_FILE_ATTRIBUTES || attributes == FILE_ATTRIBUTE_DIRECTORY) return -1;
  if (!SetFileAttributesW(path, attributes)) return -1;
  const bool readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
  if (readOnly && !SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL)) return -1;
  const CStringA narrow(path);
  const HFILE file = _lopen(narrow, OF_READWRITE | OF_SHARE_EXCLUSIVE);
  if (file != HFILE_ERROR) _lclose(file);
  if (readOnly) SetFileAttributesW(path, attributes);
  return file != HFILE_ERROR ? 0 : 1;
}

BOOL CopyToNewBuffer(LPCTSTR text, LPTSTR* copy) {
  if (!copy) return FALSE;
  const int length = text ? lstrlenW(text) : 0;
  *copy = new WCHAR[static_cast<std::size_t>(length) + 2]();
  for (int i = 0; i < length; ++i) (*copy)[i] = text[i];
  return TRUE;
}

CShellFileOperation::CShellFileOperation() : m_op{} { m_op.fFlags = kRecordFlags; }

int CShellFileOperation::Delete(LPCTSTR path, int length) {
  // A refusal answers an error code: 0 is the shell's success.
  if (length > MAX_PATH) return ERROR_FILENAME_EXCED_RANGE;
  std::vector<WCHAR> source = DoubleTerminated(path ? path : _T(""), MAX_PATH + 2);
  if (source.empty()) return ERROR_INVALID_PARAMETER;
  m_op.wFunc = FO_DELETE;
  m_op.pFrom = source.data();
  m_op.pTo = nullptr;
  const int result = SHFileOperationW(&m_op);
  m_op.pFrom = nullptr;
  return result;
}
