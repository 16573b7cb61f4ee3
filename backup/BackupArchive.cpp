// The backup archive: the staging folder's files handed to the zip writer one by one, links
// left out, a stop request honoured between files, and the archive renamed into place only
// when it was written whole; the archive's name, written and read back.
#include "BackupArchive.h"

#include <vector>

#include "ArchivePaths.h"
#include "DriverInstallEngine.h"
#include "DriverScanUpdate.h"
#include "PathHelpers.h"
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
    return kPackNotCreated;
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

namespace {

const LPCTSTR kMonths[] = {_T("Jan"), _T("Feb"), _T("Mar"), _T("Apr"), _T("May"), _T("Jun"),
                           _T("Jul"), _T("Aug"), _T("Sep"), _T("Oct"), _T("Nov"), _T("Dec")};

// Reads the whole text as a number of 1 to 4 digits; false for anything else.
bool ReadNumber(const CString& text, WORD& value) {
  if (text.IsEmpty() || text.GetLength() > 4) return false;
  value = 0;
  for (int i = 0; i < text.GetLength(); ++i) {
    if (text[i] < u'0' || text[i] > u'9') return false;
    value = static_cast<WORD>(value * 10 + (text[i] - u'0'));
  }
  return true;
}

// Splits the text at each separator into exactly three parts.
bool SplitThree(const CString& text, TCHAR separator, CString parts[3]) {
  int start = 0;
  for (int i = 0; i < 2; ++i) {
    const int at = text.Find(separator, start);
    if (at < 0) return false;
    parts[i] = text.Mid(start, at - start);
    start = at + 1;
  }
  parts[2] = text.Mid(start);
  return parts[2].Find(separator) < 0;
}

}  // namespace

CString CDriverScanUpdate::MakeBackupName(const CString& name, SYSTEMTIME* stamp) {
  CString text = name;
  if (text.GetLength() < 4 || text.Right(4).CompareNoCase(_T(".zip")) != 0) return CString();
  text = text.Left(text.GetLength() - 4);
  const int comma = text.Find(_T(','));
  if (comma < 0) return CString();
  text = text.Mid(comma + 1);
  const int underscore = text.Find(_T('_'));
  const int hours = text.Find(_T('H'), underscore + 1);
  if (underscore < 0 || hours != underscore + 1) return CString();
  CString date[3], time[3];
  CString clock = text.Mid(hours + 1);
  // A second backup of the same second carries a number after its time: "_2", "_3"...
  const int suffix = clock.Find(_T('_'));
  WORD number = 0;
  if (suffix >= 0 && !ReadNumber(clock.Mid(suffix + 1), number)) return CString();
  if (suffix >= 0) clock = clock.Left(suffix);
  clock.Remove(_T('M'));
  clock.Remove(_T('S'));
  if (!SplitThree(text.Left(underscore), _T('-'), date) || !SplitThree(clock, _T('-'), time)) return CString();
  SYSTEMTIME read{};
  for (WORD month = 0; month < 12; ++month)
    if (date[1].CompareNoCase(kMonths[month]) == 0) read.wMonth = static_cast<WORD>(month + 1);
  if (read.wMonth == 0 || !ReadNumber(date[0], read.wDay) || !ReadNumber(date[2], read.wYear) ||
      !ReadNumber(time[0], read.wHour) || !ReadNumber(time[1], read.wMinute) || !ReadNumber(time[2], read.wSecond))
    return CString();
  // The round trip through a file time refuses impossible dates and fills in the weekday.
  FILETIME file;
  if (read.wYear < 1601 || read.wHour > 23 || read.wMinute > 59 || read.wSecond > 59 ||
      !SystemTimeToFileTime(&read, &file) || !FileTimeToSystemTime(&file, &read))
    return CString();
  if (stamp != nullptr) *stamp = read;
  CString written;
  written.Format(_T("%04u%02u%02u_%02u%02u%02u"), read.wYear, read.wMonth, read.wDay, read.wHour, read.wMinute,
                 read.wSecond);
  return written;
}

CString MakeFreeBackupArchivePath(const CString& folder, const CString& prefix, const SYSTEMTIME& time) {
  const CString name = MakeBackupArchiveName(prefix, time);
  CString path = folder;
  AppendPathComponent(path, name);
  for (int number = 2; PathExists(path) == 1; ++number) {
    CString numbered;
    numbered.Format(_T("%s_%d.zip"), name.Left(name.GetLength() - 4).GetString(), number);
    path = folder;
    AppendPathComponent(path, numbered);
  }
  return path;
}

CString MakeBackupArchiveName(const CString& prefix, const SYSTEMTIME& time) {
  static const LPCTSTR kDays[] = {_T("Sunday"), _T("Monday"), _T("Tuesday"), _T("Wednesday"),
                                  _T("Thursday"), _T("Friday"), _T("Saturday")};
  CString name;
  name.Format(_T("%s%s,%02u-%s-%04u_H%02u-M%02u-S%02u.zip"), prefix.GetString(), kDays[time.wDayOfWeek % 7],
              time.wDay, kMonths[(time.wMonth + 11) % 12], time.wYear, time.wHour, time.wMinute, time.wSecond);
  return name;
}
