// The backup archive: a zip file written through minizip over a Win32 file handle, entries
// deflated at level 8 except those that are archives already.
#include "BackupArchive.h"

#include <minizip/zip.h>

#include <vector>

#include "ArchivePaths.h"

namespace {

struct Output {
  HANDLE file = INVALID_HANDLE_VALUE;
  bool failed = false;
};

voidpf OpenOutput(voidpf opaque, const void*, int) { return opaque; }
uLong ReadOutput(voidpf, voidpf stream, void* buffer, uLong size) {
  DWORD got = 0;
  return ReadFile(static_cast<Output*>(stream)->file, buffer, static_cast<DWORD>(size), &got, nullptr) ? got : 0;
}
uLong WriteOutput(voidpf, voidpf stream, const void* buffer, uLong size) {
  auto* output = static_cast<Output*>(stream);
  DWORD put = 0;
  if (!WriteFile(output->file, buffer, static_cast<DWORD>(size), &put, nullptr) || put != size) output->failed = true;
  return put;
}
ZPOS64_T TellOutput(voidpf, voidpf stream) {
  LARGE_INTEGER zero{}, position{};
  SetFilePointerEx(static_cast<Output*>(stream)->file, zero, &position, FILE_CURRENT);
  return static_cast<ZPOS64_T>(position.QuadPart);
}
long SeekOutput(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
  LARGE_INTEGER distance{};
  distance.QuadPart = static_cast<LONGLONG>(offset);
  const DWORD method = origin == ZLIB_FILEFUNC_SEEK_SET ? FILE_BEGIN : origin == ZLIB_FILEFUNC_SEEK_END ? FILE_END : FILE_CURRENT;
  return SetFilePointerEx(static_cast<Output*>(stream)->file, distance, nullptr, method) ? 0 : -1;
}
int CloseOutput(voidpf, voidpf) { return 0; }
int ErrorOutput(voidpf, voidpf stream) { return static_cast<Output*>(stream)->failed ? 1 : 0; }

// Every file below the folder, as names relative to it with backslashes.
void ListFiles(const CString& folder, const CString& relative, std::vector<CString>& files) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(folder + relative + _T("*"), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const CString name = data.cFileName;
    if (name == _T(".") || name == _T("..")) continue;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) ListFiles(folder, relative + name + _T("\\"), files);
    else files.push_back(relative + name);
  } while (FindNextFileW(find, &data));
  FindClose(find);
}

bool IsStoredKind(const CString& name) {
  static const LPCTSTR kStored[] = {_T(".Z"), _T(".zip"), _T(".zoo"), _T(".arc"), _T(".lzh"), _T(".arj"), _T(".gz"), _T(".tgz")};
  const int dot = name.ReverseFind(_T('.'));
  if (dot < 0) return false;
  const CString extension = name.Mid(dot);
  for (LPCTSTR stored : kStored) {
    if (extension.CompareNoCase(stored) == 0) return true;
  }
  return false;
}

std::string Utf8(const CString& text) {
  const int length = WideCharToMultiByte(CP_UTF8, 0, text, text.GetLength(), nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, text.GetLength(), bytes.data(), length, nullptr, nullptr);
  return bytes;
}

// Adds one file; false when reading it or writing the archive failed.
bool AddFile(zipFile zip, const CString& source, const CString& name) {
  HANDLE file = CreateFileW(source, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  zip_fileinfo info = {};
  FILETIME written{};
  SYSTEMTIME time{};
  if (GetFileTime(file, nullptr, nullptr, &written) && FileTimeToSystemTime(&written, &time)) {
    info.dosDate = static_cast<uLong>(((time.wYear - 1980) << 25) | (time.wMonth << 21) | (time.wDay << 16) |
                                      (time.wHour << 11) | (time.wMinute << 5) | (time.wSecond / 2));
  }
  info.external_fa = FILE_ATTRIBUTE_ARCHIVE;
  CString zipName = name;
  zipName.Replace(_T('\\'), _T('/'));
  const bool stored = IsStoredKind(name);
  bool ok = zipOpenNewFileInZip4(zip, Utf8(zipName).c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                 stored ? 0 : Z_DEFLATED, stored ? 0 : 8, 0, -MAX_WBITS, DEF_MEM_LEVEL,
                                 Z_DEFAULT_STRATEGY, nullptr, 0, 0x0B17, 1 << 11) == ZIP_OK;
  std::vector<char> buffer(16384);
  DWORD got = 0;
  while (ok && ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) && got != 0) {
    ok = zipWriteInFileInZip(zip, buffer.data(), got) == ZIP_OK;
  }
  CloseHandle(file);
  return zipCloseFileInZip(zip) == ZIP_OK && ok;
}

}  // namespace

int CompressBackupFolder(LPCTSTR folder, LPCTSTR zipPath) {
  const CString base = WithTrailingBackslash(folder);
  std::vector<CString> files;
  ListFiles(base, CString(), files);
  if (files.empty()) return 0;
  const CString temporary = CString(zipPath) + _T(".part");
  Output output;
  output.file = CreateFileW(temporary, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (output.file == INVALID_HANDLE_VALUE) return -1;
  zlib_filefunc64_def functions{};
  functions.zopen64_file = OpenOutput;
  functions.zread_file = ReadOutput;
  functions.zwrite_file = WriteOutput;
  functions.ztell64_file = TellOutput;
  functions.zseek64_file = SeekOutput;
  functions.zclose_file = CloseOutput;
  functions.zerror_file = ErrorOutput;
  functions.opaque = &output;
  zipFile zip = zipOpen2_64("backup", APPEND_STATUS_CREATE, nullptr, &functions);
  bool ok = zip != nullptr;
  for (const CString& name : files) {
    if (!ok) break;
    ok = AddFile(zip, base + name, name);
  }
  if (zip != nullptr && zipClose(zip, nullptr) != ZIP_OK) ok = false;
  ok = ok && !output.failed && FlushFileBuffers(output.file);
  CloseHandle(output.file);
  if (!ok || !MoveFileExW(temporary, zipPath, MOVEFILE_REPLACE_EXISTING)) {
    DeleteFileW(temporary);
    return -1;
  }
  return 1;
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
