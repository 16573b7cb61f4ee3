// Reading and writing the download and backup histories.
#include "FileHistory.h"

namespace {

constexpr int kArchiveBuffer = 4096;

// Moves a damaged history out of the way under a name no other file has.
void KeepAside(const CString& path) {
  CString aside = path + _T(".damaged");
  for (int copy = 1; GetFileAttributesW(aside) != INVALID_FILE_ATTRIBUTES; ++copy) {
    aside.Format(_T("%s.damaged.%d"), path.GetString(), copy);
  }
  MoveFileExW(path, aside, 0);
}

}  // namespace

LPCTSTR GetHistoryFileName(int kind) {
  return kind == kDownloadHistory ? _T("Download.dat") : _T("Backup.dat");
}

bool WriteHistory(CFile& file, CMapStringToString& map) {
  try {
    CArchive archive(&file, CArchive::store, kArchiveBuffer);
    archive << static_cast<DWORD>(map.GetCount());
    map.Serialize(archive);
    archive.Close();
    return true;
  } catch (CException* error) {
    error->Delete();
    return false;
  }
}

bool ReadHistory(CFile& file, CMapStringToString& map) {
  try {
    CArchive archive(&file, CArchive::load, kArchiveBuffer);
    DWORD count = 0;
    archive >> count;  // the map's own count is the one that counts
    map.Serialize(archive);
    archive.Close();
    return true;
  } catch (CException* error) {
    error->Delete();
    return false;
  }
}

bool LoadHistoryFile(LPCTSTR path, CMapStringToString& map) {
  CFile file;
  if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite)) {
    map.RemoveAll();
    return true;
  }
  const bool whole = ReadHistory(file, map);
  file.Close();
  if (!whole) KeepAside(path);
  return whole;
}

bool SaveHistoryFile(LPCTSTR path, CMapStringToString& map) {
  const CString temporary = CString(path) + _T(".tmp");
  bool written = false;
  {
    CFile file;
    if (!file.Open(temporary, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive)) return false;
    written = WriteHistory(file, map);
    try {
      file.Close();
    } catch (CException* error) {
      error->Delete();
      written = false;
    }
  }
  if (written && MoveFileExW(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
  DeleteFileW(temporary);
  return false;
}
