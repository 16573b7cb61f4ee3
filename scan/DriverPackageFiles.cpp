// The driver package file list: INF sections read line by line, directory ids mapped to
// their folders, the folder search and the backup catalogue lookup.
#include "DriverPackageFiles.h"

#include <shlobj.h>
#include <windows.h>

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "BackupIndex.h"
#include "DriverInstallEngine.h"
#include "OsVersion.h"
#include "PathHelpers.h"
#include "StringFile.h"

namespace {

constexpr LPCTSTR kCatRoot = _T("\\system32\\CatRoot\\{F750E6C3-38EE-11D1-85E5-00C04FC295EE}\\");

// The lines of one section of an INF (trimmed, comments kept), found by its lower-cased
// header; `contains` takes every section whose header holds the text instead.
std::vector<CString> ReadSection(const CString& infPath, const CString& header, bool contains = false) {
  std::vector<CString> lines;
  CStringFile file;
  if (!file.Open(infPath)) return lines;
  CString wanted = header;
  wanted.MakeLower();
  CString line;
  bool inside = false;
  while (file.GetNextLine(line) != 0) {
    line.Trim();
    if (!line.IsEmpty() && line[0] == _T('[')) {
      CString lower = line;
      lower.MakeLower();
      inside = contains ? lower.Find(wanted) >= 0 : lower == wanted;
      continue;
    }
    if (inside && !line.IsEmpty()) lines.push_back(line);
  }
  return lines;
}

// The text before a ";" comment, trimmed.
CString WithoutComment(const CString& line) {
  const int semicolon = line.Find(_T(';'));
  CString text = semicolon >= 0 ? line.Left(semicolon) : line;
  return text.Trim();
}

void SplitKeyValue(const CString& line, CString& key, CString& value) {
  const int equals = line.Find(_T('='));
  key = equals >= 0 ? line.Left(equals) : line;
  value = equals >= 0 ? line.Mid(equals + 1) : CString();
  key.Trim();
  key.MakeLower();
  value.Trim();
}

std::vector<CString> SplitList(const CString& value) {
  std::vector<CString> items;
  int start = 0;
  for (int i = 0; i <= value.GetLength(); ++i) {
    if (i < value.GetLength() && value[i] != _T(',')) continue;
    CString item = value.Mid(start, i - start);
    item.Trim();
    if (!item.IsEmpty()) items.push_back(item);
    start = i + 1;
  }
  return items;
}

// A file name that stays in the folder it is put in: no separator, drive or ".." name.
bool IsPlainFileName(const CString& name) {
  if (name.IsEmpty() || name.FindOneOf(_T("\\/:")) >= 0) return false;
  CString bare = name;
  bare.TrimRight(_T(" ."));
  return !bare.IsEmpty();
}

// A sub-folder of a destination, relative and without ".." steps, as steps joined by
// backslashes with one at the end: either separator divides it, as on Windows, and empty steps
// are dropped. False, with `steps` untouched, for a rooted folder or one with a drive.
bool PlainSubFolder(const CString& folder, CString& steps) {
  if (!folder.IsEmpty() && (folder[0] == _T('\\') || folder[0] == _T('/') || folder.Find(_T(':')) >= 0)) return false;
  CString joined;
  int start = 0;
  for (int i = 0; i <= folder.GetLength(); ++i) {
    if (i < folder.GetLength() && folder[i] != _T('\\') && folder[i] != _T('/')) continue;
    if (i > start) {
      const CString step = folder.Mid(start, i - start);
      if (!IsPlainFileName(step)) return false;
      joined += step + _T("\\");
    }
    start = i + 1;
  }
  steps = joined;
  return true;
}

CString FileNamePart(const CString& path) { return path.Mid(path.ReverseFind(_T('\\')) + 1); }

bool Exists(const CString& path) { return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES; }

// The decimal number at the start of the text; -1 when there is none.
int DirectoryId(const CString& text) {
  int id = 0, digits = 0;
  for (; digits < text.GetLength() && digits < 9 && text[digits] >= '0' && text[digits] <= '9'; ++digits) {
    id = id * 10 + (text[digits] - '0');
  }
  return digits == 0 ? -1 : id;
}

constexpr int kDriverStoreId = 13;
constexpr DWORD kMaxInfBytes = 4u << 20;

// The bytes of a file of at most 4 MB; empty when it cannot be read.
std::string FileBytes(const CString& path) {
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  LARGE_INTEGER size{};
  std::string bytes;
  if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart <= kMaxInfBytes) {
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD got = 0;
    if (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) || got != bytes.size()) bytes.clear();
  }
  CloseHandle(file);
  return bytes;
}

// The driver store folder of an installed package (directory id 13): the folder of the
// store's repository that holds an INF of the same bytes as the package's INF in the INF
// folder. Empty when none does.
CString DriverStoreFolder(const CString& infPath) {
  const std::string bytes = FileBytes(infPath);
  CString system;
  if (bytes.empty() || !GetSpecialFolder(CSIDL_SYSTEM, system)) return CString();
  const CString repository = system + _T("\\DriverStore\\FileRepository\\");
  WIN32_FIND_DATAW folder{};
  HANDLE folders = FindFirstFileW(repository + _T("*"), &folder);
  if (folders == INVALID_HANDLE_VALUE) return CString();
  CString found;
  do {
    const CString name = folder.cFileName;
    if ((folder.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 || name == _T(".") || name == _T("..")) continue;
    WIN32_FIND_DATAW inf{};
    HANDLE infs = FindFirstFileW(repository + name + _T("\\*.inf"), &inf);
    if (infs == INVALID_HANDLE_VALUE) continue;
    do {
      if (FileBytes(repository + name + _T("\\") + inf.cFileName) == bytes) found = repository + name + _T("\\");
    } while (found.IsEmpty() && FindNextFileW(infs, &inf));
    FindClose(infs);
  } while (found.IsEmpty() && FindNextFileW(folders, &folder));
  FindClose(folders);
  return found;
}

}  // namespace

CInfPackageFiles::CInfPackageFiles(LPCTSTR windowsFolder) : m_windows(windowsFolder) {
  TrimTrailingBackslash(m_windows, FALSE);
}

CString CInfPackageFiles::DirectoryIdFolder(int id) {
  static std::mutex lock;
  static std::map<int, CString> cache;
  std::lock_guard<std::mutex> guard(lock);
  const auto cached = cache.find(id);
  if (cached != cache.end()) return cached->second;
  int csidl = -1;
  CString tail;
  switch (id) {
    case 10: case 25: csidl = CSIDL_WINDOWS; break;
    case 11: csidl = CSIDL_SYSTEM; break;
    case 12: csidl = CSIDL_SYSTEM; tail = _T("\\drivers"); break;
    case 17: csidl = CSIDL_WINDOWS; tail = _T("\\INF"); break;
    case 18: csidl = CSIDL_WINDOWS; tail = _T("\\Help"); break;
    case 20: csidl = CSIDL_FONTS; break;
    case 21: csidl = CSIDL_SYSTEM; tail = _T("\\viewers"); break;
    case 23: csidl = CSIDL_SYSTEM; tail = _T("\\spool\\drivers\\color"); break;
    case 24: case 30: case 54: csidl = CSIDL_WINDOWS; break;  // the root of the system drive
    case 50: csidl = CSIDL_WINDOWS; tail = _T("\\System"); break;
    case 16422: csidl = CSIDL_PROGRAM_FILES; break;
    case 51: csidl = CSIDL_SYSTEM; tail = _T("\\spool"); break;
    case 52: csidl = CSIDL_SYSTEM; tail = _T("\\spool\\drivers"); break;
    case 53: csidl = CSIDL_PROFILE; break;
    case 55: csidl = CSIDL_SYSTEM; tail = _T("\\spool\\prtprocs"); break;
    case 16406: case 16407: case 16408: case 16409: case 16415: case 16419: case 16427: case 16429: case 16430:
      csidl = id - 0x4000;
      break;
    default: return CString();
  }
  CString folder;
  if (!GetSpecialFolder(csidl, folder)) return CString();
  if (id == 24 || id == 30 || id == 54) folder = folder.Left(2);  // "C:"
  folder += tail;
  folder += _T('\\');
  cache[id] = folder;
  return folder;
}

bool CInfPackageFiles::HasFileNamed(const CString& name) const {
  for (INT_PTR i = 0; i < m_files.GetSize(); ++i) {
    if (FileNamePart(m_files[i]).CompareNoCase(name) == 0) return true;
  }
  return false;
}

void CInfPackageFiles::AddCopySection(const CString& infPath, const CString& sectionName) {
  // The destination: the section's own line of [DestinationDirs], else DefaultDestDir.
  CString lowerName = sectionName;
  lowerName.MakeLower();
  CString destination, fallback;
  for (const CString& line : ReadSection(infPath, _T("[DestinationDirs]"))) {
    CString key, value;
    SplitKeyValue(WithoutComment(line), key, value);
    if (key == lowerName) destination = value;
    else if (key == _T("defaultdestdir")) fallback = value;
  }
  if (destination.IsEmpty()) destination = fallback;
  const std::vector<CString> parts = SplitList(destination);
  const int id = parts.empty() ? -1 : DirectoryId(parts[0]);
  CString folder = id == kDriverStoreId ? DriverStoreFolder(infPath) : DirectoryIdFolder(id);
  if (parts.size() > 1) {
    CString steps;
    if (!PlainSubFolder(parts[1], steps)) return;
    folder += steps;
  }
  for (const CString& line : ReadSection(infPath, _T("[") + sectionName + _T("]"))) {
    // A line may carry a comment and further fields (destination name, source name, flags):
    // the file is the first field.
    const std::vector<CString> fields = SplitList(WithoutComment(line));
    if (fields.empty()) continue;
    CString name = fields[0];
    name.TrimLeft(_T('@'));
    if (!IsPlainFileName(name) || HasFileNamed(name)) continue;
    m_files.Add(folder + name);
  }
}

void CInfPackageFiles::AddSourceDisksFiles(const CString& infPath) {
  CString system = m_windows + _T("\\system32");
  GetSpecialFolder(CSIDL_SYSTEM, system);
  for (const CString& line : ReadSection(infPath, _T("sourcedisksfiles"), true)) {
    if (line[0] == _T(';')) continue;
    const int equals = line.Find(_T('='));
    CString name = equals >= 0 ? line.Left(equals) : line;
    name.Trim();
    if (!IsPlainFileName(name) || HasFileNamed(name)) continue;
    CString lower = name;
    lower.MakeLower();
    CString candidate = system + (lower.Find(_T(".sys")) >= 0 ? _T("\\drivers\\") : _T("\\")) + name;
    if (!Exists(candidate)) {
      for (INT_PTR i = 0; i < m_foundList.GetSize(); ++i) {
        if (FileNamePart(m_foundList[i]).CompareNoCase(name) == 0) {
          candidate = m_foundList[i];
          break;
        }
      }
    }
    if (Exists(candidate)) m_files.Add(candidate);
  }
}

void CInfPackageFiles::CollectInfPackageFiles(const CString& installSection, const CString& suffix,
                                              const CString& infName) {
  m_files.RemoveAll();
  m_copySections.RemoveAll();
  m_coInstallerSections.RemoveAll();
  m_includes.RemoveAll();
  m_needs.RemoveAll();
  if (!IsPlainFileName(infName)) return;
  const CString section = installSection + suffix;
  const CString infFolder = m_windows + _T("\\inf\\");
  const CString infPath = infFolder + infName;

  for (const CString& line : ReadSection(infPath, _T("[") + section + _T("]"))) {
    CString key, value;
    SplitKeyValue(WithoutComment(line), key, value);
    if (key == _T("copyfiles") || key == _T("copyfile")) {
      for (const CString& name : SplitList(value)) m_copySections.Add(name);
    } else if (key == _T("include") || key == _T("includes")) {
      for (const CString& name : SplitList(value)) {
        if (!IsPlainFileName(name)) continue;
        m_files.Add(infFolder + name);
        m_includes.Add(infFolder + name);
      }
    } else if (key == _T("needs") && m_includes.GetSize() > 0) {
      for (const CString& needed : SplitList(value)) {
        m_needs.Add(needed);
        for (INT_PTR i = 0; i < m_includes.GetSize(); ++i) {
          for (const CString& neededLine : ReadSection(m_includes[i], _T("[") + needed + _T("]"))) {
            CString neededKey, neededValue;
            SplitKeyValue(WithoutComment(neededLine), neededKey, neededValue);
            if (neededKey != _T("copyfiles") && neededKey != _T("copyfile")) continue;
            for (const CString& name : SplitList(neededValue)) AddCopySection(m_includes[i], name);
          }
        }
      }
    }
  }
  for (INT_PTR i = 0; i < m_copySections.GetSize(); ++i) AddCopySection(infPath, m_copySections[i]);

  for (const CString& line : ReadSection(infPath, _T("[") + section + _T(".CoInstallers]"))) {
    CString key, value;
    SplitKeyValue(WithoutComment(line), key, value);
    if (key != _T("copyfiles") && key != _T("copyfile")) continue;
    for (const CString& name : SplitList(value)) {
      m_coInstallerSections.Add(name);
      AddCopySection(infPath, name);
    }
  }

  for (const CString& line : ReadSection(infPath, _T("[Version]"))) {
    CString key, value;
    SplitKeyValue(WithoutComment(line), key, value);
    if (key == _T("catalogfile") && IsPlainFileName(value)) m_files.Add(m_windows + kCatRoot + value);
  }
  m_files.Add(infPath);

  DWORD major = 0, minor = 0, servicePack = 0, architecture = 0, build = 0;
  if (GetOsVersionParts(major, minor, servicePack, architecture, build) && major > 5) AddSourceDisksFiles(infPath);
}

int CInfPackageFiles::SearchFolderForFile(const CString& folder) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(folder + _T("*.*"), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const CString name = data.cFileName;
      if (name == _T(".") || name == _T("..")) continue;
      if (m_skipWindows && folder.Find(_T("WINDOWS")) >= 0) continue;
      if (GetProcessEngine().GetStepCode() == kStepStopBackup) {
        FindClose(find);
        return kStopped;
      }
      if (m_collectAll) m_foundList.Add(folder + name);
      // A link to a folder is listed but not entered.
      if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        const int result = SearchFolderForFile(folder + name + _T("\\"));
        if (result != kNotFound) {
          FindClose(find);
          return result;
        }
      }
    } while (FindNextFileW(find, &data));
    FindClose(find);
  }
  if (!m_sought.IsEmpty() && Exists(folder + m_sought)) {
    m_found = folder + m_sought;
    return kFound;
  }
  return kNotFound;
}

bool FindBackupIndexEntry(LPCTSTR indexPath, const CString& deviceName) {
  std::vector<BackupIndexRecord> records;
  DWORD declared = 0;
  ReadBackupIndexFile(indexPath, records, declared);
  for (const BackupIndexRecord& record : records) {
    if (record.texts[0] == deviceName) return true;
  }
  return false;
}
