// The backup archive: the staging folder's files handed to the zip writer one by one, links
// left out, a stop request honoured between files, and the archive renamed into place only
// when it was written whole.
#include "BackupArchive.h"

#include <vector>

#include "ArchivePaths.h"
#include "DriverInstallEngine.h"
#include "ZipWriter.h"

namespace {

// Every file below the folder, as names relative to it with backslashes. Links, to files or
// folders, are counted and left out.
void ListFiles(const CString& folder, const CString& relative, std::vector<CString>& files, int& links) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(folder + relative + _T("*"), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const CString name = data.cFileName;
    if (name == _T(".") || name == _T("..")) continue;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) ++links;
    else if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) ListFiles(folder, relative + name + _T("\\"), files, links);
    else files.push_back(relative + name);
  } while (FindNextFileW(find, &data));
  FindClose(find);
}

bool StopRequested() { return GetProcessEngine().GetStepCode() == kStepStopBackup; }

}  // namespace

int CompressBackupFolder(LPCTSTR folder, LPCTSTR zipPath, BackupPackReport* report) {
  BackupPackReport own;
  BackupPackReport& outcome = report != nullptr ? *report : own;
  outcome = BackupPackReport{};
  const CString base = WithTrailingBackslash(folder);
  std::vector<CString> files;
  ListFiles(base, CString(), files, outcome.skippedLinks);
  if (files.empty()) return kPackNothing;
  if (StopRequested()) {
    GetProcessEngine().AcknowledgeStep();
    return kPackStopped;
  }
  const CString temporary = CString(zipPath) + _T(".part");
  HZIP zip = ZipArchiveCreate(temporary);
  if (zip == nullptr) {
    outcome.zipResult = ZipLastError();
    return kPackFailed;
  }
  int result = kPacked;
  for (const CString& name : files) {
    if (StopRequested()) {
      result = kPackStopped;
      break;
    }
    const DWORD added = ZipArchiveAddFile(zip, base + name, name);
    if (added != kZipOk) {
      outcome.zipResult = added;
      result = kPackFailed;
      break;
    }
    ++outcome.files;
  }
  const DWORD closed = ZipArchiveCloseWriter(zip);
  if (result == kPacked && closed != kZipOk) {
    outcome.zipResult = closed;
    result = kPackFailed;
  }
  if (result == kPacked && !MoveFileExW(temporary, zipPath, MOVEFILE_REPLACE_EXISTING)) result = kPackFailed;
  if (result != kPacked) DeleteFileW(temporary);
  if (result == kPackStopped) GetProcessEngine().AcknowledgeStep();
  return result;
}

CString MakeBackupArchiveName(const CString& prefix, const SYSTEMTIME& time) {
  static const LPCTSTR kDays[] = {_T("Sunday"), _T("Monday"), _T("Tuesday"), _T("Wednesday"),
                                  _T("Thursday"), _T("Friday"), _T("Saturday")};
  static const LPCTSTR kMonths[] = {_T("Jan"), _T("Feb"), _T("Mar"), _T("Apr"), _T("May"), _T("Jun"),
                                    _T("Jul"), _T("Aug"), _T("Sep"), _T("Oct"), _T("Nov"), _T("Dec")};
  CString name;
  name.Format(_T("%s%s,%02u-%s-%04u_H%02u-M%02u-S%02u.zip"), prefix.GetString(), kDays[time.wDayOfWeek % 7],
              time.wDay, kMonths[(time.wMonth + 11) % 12], time.wYear, time.wHour, time.wMinute, time.wSecond);
  return name;
}
