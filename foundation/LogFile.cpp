// The process's plain log. One lock, made once and kept for the life of the process, guards
// opening, closing, the line counter and every write, so the first messages of several
// threads cannot race and no thread ever takes a lock that another has deleted.
#include "LogFile.h"

#include <algorithm>

#include "Locks.h"
#include "PathHelpers.h"
#include "ProcessControl.h"

BOOL g_bLogging = FALSE;

namespace {

constexpr LPCTSTR kFirstLogName = _T("demo.log");
constexpr LPCTSTR kClosingLine = _T("Closing Log\r\n\r\n");
constexpr DWORD kReparsePoint = 0x400;  // FILE_ATTRIBUTE_REPARSE_POINT

struct LogWriter {
  LogWriter() { InitLock(&lock); }
  CRITICAL_SECTION lock;
  HANDLE file = INVALID_HANDLE_VALUE;
  CString path;
  DWORD lineNumber = 1;
  bool started = false;
  bool datedChosen = false;
};

LogWriter& Writer() {
  static LogWriter* writer = new LogWriter;  // lives until the process ends
  return *writer;
}

// The program's data folder, which holds the dated logs.
CString LogFolder() { return GetAppDataFolder(); }

CString DatedLogPath() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  CString path;
  path.Format(_T("%s\\log_%02i-%02i-%02i.log"), static_cast<LPCTSTR>(LogFolder()), now.wMonth, now.wDay, now.wYear);
  return path;
}

// The callers hold the writer's lock.
void WriteLocked(LogWriter& writer, LPCTSTR text) {
  if (writer.file == INVALID_HANDLE_VALUE || !text || !*text) return;
  CString line;
  line.Format(_T("%d   %s\r\n"), writer.lineNumber++, text);
  DWORD written = 0;
  // Another process may have appended since this one last wrote.
  SetFilePointer(writer.file, 0, nullptr, FILE_END);
  WriteFile(writer.file, static_cast<LPCTSTR>(line), static_cast<DWORD>(line.GetLength() * sizeof(WCHAR)), &written,
            nullptr);
}

void CloseLocked(LogWriter& writer) {
  if (writer.file != INVALID_HANDLE_VALUE) {
    WriteLocked(writer, kClosingLine);
    CloseHandle(writer.file);
    writer.file = INVALID_HANDLE_VALUE;
  }
  writer.path.Empty();
  writer.datedChosen = false;
}

BOOL OpenLocked(LogWriter& writer, LPCTSTR name) {
  CloseLocked(writer);
  CString path = name ? name : _T("");
  if (path.GetLength() >= 4 && path[1] != _T(':')) {
    CString folder;
    GetModuleFolder(nullptr, folder);
    AppendPathComponent(folder, path);
    path = folder;
  }
  CString parent = path.Left(std::max(path.ReverseFind(_T('\\')), 0));
  if (!parent.IsEmpty() && PathExists(parent) != 1) CreateDirectoryTree(parent);
  writer.file = CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  writer.lineNumber = 1;
  if (writer.file == INVALID_HANDLE_VALUE) return FALSE;
  SetFilePointer(writer.file, 0, nullptr, FILE_END);
  writer.path = path;
  return TRUE;
}

}  // namespace

void WriteLog(LPCTSTR message) {
  if (!g_bLogging) return;
  LogWriter& writer = Writer();
  EnterLock guard(&writer.lock);
  if (!writer.started) {
    writer.started = true;
    OpenLocked(writer, kFirstLogName);
  }
  if (!writer.datedChosen) {
    const CString dated = DatedLogPath();
    if (dated.CompareNoCase(writer.path) != 0) OpenLocked(writer, dated);
    writer.datedChosen = true;
    // Pruned once today's log exists, which is the newest, so the folder keeps five in all.
    CKeepNumberofLogsLimited(LogFolder()).Prune();
  }
  WriteLocked(writer, message);
}

void WriteLogA(LPCSTR message) {
  if (!g_bLogging || !message) return;
  WriteLog(CString(message));
}

BOOL OpenLogFile(LPCTSTR name) {
  LogWriter& writer = Writer();
  EnterLock guard(&writer.lock);
  return OpenLocked(writer, name);
}

void CloseLogFile() {
  LogWriter& writer = Writer();
  EnterLock guard(&writer.lock);
  CloseLocked(writer);
}

void WriteLogLine(LPCTSTR text) {
  LogWriter& writer = Writer();
  EnterLock guard(&writer.lock);
  WriteLocked(writer, text);
}

CString GetLogFilePath() {
  LogWriter& writer = Writer();
  EnterLock guard(&writer.lock);
  return writer.path;
}

void CKeepNumberofLogsLimited::Prune() {
  m_records.clear();
  CString pattern = m_strFolder;
  AppendPathComponent(pattern, _T("*.log"));
  WIN32_FIND_DATAW found{};
  const HANDLE search = FindFirstFileW(pattern, &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const CString name = found.cFileName;
    if (name == _T(".") || name == _T("..") ||
        (found.dwFileAttributes & (FILE_ATTRIBUTE_SYSTEM | kReparsePoint | FILE_ATTRIBUTE_DIRECTORY)))
      continue;
    const ULONGLONG time =
        (static_cast<ULONGLONG>(found.ftLastWriteTime.dwHighDateTime) << 32) | found.ftLastWriteTime.dwLowDateTime;
    m_records.push_back({name, time});
  } while (FindNextFileW(search, &found));
  FindClose(search);
  if (m_records.size() < kLimit) return;
  std::sort(m_records.begin(), m_records.end(),
            [](const tagLogRecord& a, const tagLogRecord& b) { return a.ullLastWrite > b.ullLastWrite; });
  for (size_t index = kLimit; index < m_records.size(); ++index) {
    CString path = m_strFolder;
    AppendPathComponent(path, m_records[index].strName);
    DeleteFileW(path);  // a log that cannot be deleted stays
  }
}
