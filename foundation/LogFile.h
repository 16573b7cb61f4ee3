// The process's plain log: numbered UTF-16LE lines in a dated file of the program's data
// folder, written only while logging is on; the five newest logs of that folder are kept.
#pragma once
#include <afx.h>
#include <windows.h>

#include <vector>

#include "HelperApi.h"

// Logging switch of the process; off until the command line turns it on.
extern ZXHELPER_API BOOL g_bLogging;

// Writes one numbered line; the first line of the process (or the first after CloseLogFile)
// first opens today's "log_MM-DD-YYYY.log", then prunes the folder to its five newest logs.
ZXHELPER_API void WriteLog(LPCTSTR message);
// The same for a narrow text (the thread's code page).
ZXHELPER_API void WriteLogA(LPCSTR message);

// The writer's primitives. A name shorter than 4 characters or with a drive ("X:...") is a
// path; any other name is a file beside the program. Line numbers start at 1 on each open.
ZXHELPER_API BOOL OpenLogFile(LPCTSTR name);
// Writes "Closing Log" and closes; the next message chooses the dated file again.
ZXHELPER_API void CloseLogFile();
ZXHELPER_API void WriteLogLine(LPCTSTR text);
// The path of the open log, empty when none is open.
ZXHELPER_API CString GetLogFilePath();

// Keeps the newest logs ("*.log") of a folder and deletes the rest.
class ZXHELPER_API CKeepNumberofLogsLimited {
 public:
  static constexpr size_t kLimit = 5;
  explicit CKeepNumberofLogsLimited(LPCTSTR folder) : m_strFolder(folder) {}
  void Prune();

 private:
  struct tagLogRecord {
    CString strName;
    ULONGLONG ullLastWrite;
  };
  CString m_strFolder;
  std::vector<tagLogRecord> m_records;
};
