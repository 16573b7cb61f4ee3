// Drives: C: (the machine root's drive folder) and Z: (the host's /), both fixed disks
// with an NTFS face. Free space and serial numbers come from the folder each maps to.
#include <sys/statvfs.h>

#include <algorithm>
#include <cerrno>

#include "fileapi.h"
#include "filetext.h"
#include "hostfiles.h"
#include "pathparse.h"

namespace {

using zx::file::Fail;

constexpr char16_t kDriveStrings[] = u"C:\\\0Z:\\\0";  // with the list's final terminator: 9 units

// The drive of a root name ("C:\", "c:", "Z:/"), or 0; null means the current folder's drive.
char16_t DriveOfRoot(LPCWSTR root) {
  if (root == nullptr) return zx::path::CurrentFolder().drive;
  const std::u16string_view text = root;
  if (text.size() < 2 || text[1] != u':' || text.size() > 3) return 0;
  if (text.size() == 3 && text[2] != u'\\' && text[2] != u'/') return 0;
  const char16_t drive = static_cast<char16_t>(text[0] & ~0x20);
  return drive == u'C' || drive == u'Z' ? drive : 0;
}

bool StatFolder(const std::u16string& windowsPath, struct statvfs& vfs) {
  std::string host;
  if (!zx::path::MapArgument(windowsPath.c_str(), host)) return false;
  if (::statvfs(host.c_str(), &vfs) != 0)
    return Fail(errno == ENOENT ? ERROR_PATH_NOT_FOUND : zx::file::ErrorFromErrno(errno));
  return true;
}

}  // namespace

DWORD GetLogicalDrives() { return (1u << (u'C' - u'A')) | (1u << (u'Z' - u'A')); }

DWORD GetLogicalDriveStringsW(DWORD bufferLength, LPWSTR buffer) {
  constexpr DWORD kLength = sizeof kDriveStrings / sizeof kDriveStrings[0] - 1;  // without the final terminator
  if (buffer == nullptr || bufferLength <= kLength) return kLength + 1;
  std::copy(kDriveStrings, kDriveStrings + kLength + 1, buffer);
  return kLength;
}

UINT GetDriveTypeW(LPCWSTR rootPathName) { return DriveOfRoot(rootPathName) != 0 ? DRIVE_FIXED : DRIVE_NO_ROOT_DIR; }

UINT GetDriveTypeA(LPCSTR rootPathName) { return GetDriveTypeW(zx::file::WideArg(rootPathName).get()); }

BOOL GetDiskFreeSpaceExW(LPCWSTR directoryName, PULARGE_INTEGER freeBytesAvailableToCaller,
                         PULARGE_INTEGER totalNumberOfBytes, PULARGE_INTEGER totalNumberOfFreeBytes) {
  struct statvfs vfs {};
  const std::u16string folder = directoryName != nullptr ? directoryName : u".";
  if (!StatFolder(folder, vfs)) return FALSE;
  const ULONGLONG unit = vfs.f_frsize != 0 ? vfs.f_frsize : vfs.f_bsize;
  if (freeBytesAvailableToCaller != nullptr) freeBytesAvailableToCaller->QuadPart = vfs.f_bavail * unit;
  if (totalNumberOfBytes != nullptr) totalNumberOfBytes->QuadPart = vfs.f_blocks * unit;
  if (totalNumberOfFreeBytes != nullptr) totalNumberOfFreeBytes->QuadPart = vfs.f_bfree * unit;
  return TRUE;
}

BOOL GetVolumeInformationW(LPCWSTR rootPathName, LPWSTR volumeNameBuffer, DWORD volumeNameSize,
                           LPDWORD volumeSerialNumber, LPDWORD maximumComponentLength,
                           LPDWORD fileSystemFlags, LPWSTR fileSystemNameBuffer, DWORD fileSystemNameSize) {
  const char16_t drive = DriveOfRoot(rootPathName);
  if (drive == 0) return Fail(ERROR_INVALID_NAME);
  struct statvfs vfs {};
  if (!StatFolder(std::u16string{drive, u':', u'\\'}, vfs)) return FALSE;
  const std::u16string_view label = drive == u'C' ? u"Windows" : u"Host";
  const std::u16string_view fileSystem = u"NTFS";
  if ((volumeNameBuffer != nullptr && zx::file::CopyOut(label, volumeNameBuffer, volumeNameSize) >= volumeNameSize) ||
      (fileSystemNameBuffer != nullptr &&
       zx::file::CopyOut(fileSystem, fileSystemNameBuffer, fileSystemNameSize) >= fileSystemNameSize))
    return Fail(ERROR_INSUFFICIENT_BUFFER);
  if (volumeSerialNumber != nullptr) *volumeSerialNumber = static_cast<DWORD>(vfs.f_fsid);
  if (maximumComponentLength != nullptr) *maximumComponentLength = 255;
  if (fileSystemFlags != nullptr)
    *fileSystemFlags = FILE_CASE_PRESERVED_NAMES | FILE_UNICODE_ON_DISK | FILE_PERSISTENT_ACLS;
  return TRUE;
}
