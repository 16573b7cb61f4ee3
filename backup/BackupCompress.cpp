// The backup's compression step: free space, archive name, packing, backup list, clean-up.
#include "BackupCompress.h"

#include "BackupArchive.h"
#include "CheckedFormat.h"
#include "HalvoranApp.h"
#include "IniReader.h"
#include "PackageInstall.h"
#include "PathHelpers.h"

namespace {

bool SystemFreeSpace(LPCTSTR volume, ULONGLONG& freeBytes) {
  ULARGE_INTEGER available{};
  if (!GetDiskFreeSpaceExW(volume, &available, nullptr, nullptr)) return false;
  freeBytes = available.QuadPart;
  return true;
}

void AddFolderSize(const CString& folder, double& size) {
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(folder + _T("\\*"), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const CString name = data.cFileName;
    if (name == _T(".") || name == _T("..")) continue;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      AddFolderSize(folder + _T("\\") + name, size);
    } else if (name.CompareNoCase(_T("desktop.ini")) != 0 && name.CompareNoCase(_T("index.dat")) != 0) {
      size += static_cast<double>(data.nFileSizeHigh) * 4294967296.0 + data.nFileSizeLow;
    }
  } while (FindNextFileW(find, &data));
  FindClose(find);
}

}  // namespace

double GetBackupFolderSize(LPCTSTR folder) {
  CString root = folder;
  TrimTrailingBackslash(root, FALSE);
  double size = 0;
  AddFolderSize(root, size);
  return size;
}

CString MakeBackupNamePrefix() {
  CString prefix;
  FormatChecked(prefix, GetLangString(_T("IDS_HYPHN_BCKUP"), _T("Tunevo")), {GetAppName()});
  prefix.Remove(_T(' '));
  return prefix;
}

int CompressBackup(const BackupCompressJob& job, CString* archivePath) {
  const int firstBackslash = job.backupFolder.Find(_T('\\'));
  const CString volume = (firstBackslash >= 0 ? job.backupFolder.Left(firstBackslash) : job.backupFolder) + _T("\\");
  ULONGLONG freeBytes = 0;
  const bool known = job.freeSpace ? job.freeSpace(volume, freeBytes) : SystemFreeSpace(volume, freeBytes);
  if (!known || static_cast<double>(freeBytes) < GetBackupFolderSize(job.staging)) return kCompressNoSpace;

  if (CreateDirectoryTree(job.backupFolder) != 1) return kCompressNoSpace;
  int result = kCompressWriteFailed;
  const CString path = MakeFreeBackupArchivePath(job.backupFolder, MakeBackupNamePrefix(), job.time);
  switch (CompressBackupFolder(job.staging, path)) {
    case kPacked: {
      result = kCompressDone;
      if (archivePath != nullptr) *archivePath = path;
      CString name = path.Mid(path.ReverseFind(_T('\\')) + 1), known;
      if (job.backupList != nullptr && !job.backupList->Lookup(name, known)) job.backupList->SetAt(name, path);
      break;
    }
    case kPackNotCreated: return kCompressNoSpace;
    case kPackNothing: result = kCompressNothing; break;
    case kPackStopped: result = kCompressStopped; break;
    default: result = kCompressWriteFailed; break;
  }
  if (job.removingStaging) job.removingStaging();
  DeleteFolderTree(job.staging);
  return result;
}
