// Drives: C: (the machine root's drive folder) and Z: (the host's /), both fixed disks
// with an NTFS face. Free space and serial numbers come from the folder each maps to.
// machine.ini may name further drives without a folder under [Drives] ("D=cdrom",
// "N=remote", "E=removable"): they are listed and typed, hold no medium, and every reading of
// them answers ERROR_NOT_READY.
#include <sys/statvfs.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <string>

#include "fileapi.h"
#include "filetext.h"
#include "hostfiles.h"
#include "pathparse.h"
#include "zx/machine.h"

namespace {

using zx::file::Fail;


// The drive of a root name ("C:\", "c:", "Z:/"), or 0; null means the current folder's drive.
char16_t DriveOfRoot(LPCWSTR root) {
  if (root == nullptr) return zx::path::CurrentFolder().drive;
  const std::u16string_view text = root;
  if (text.size() < 2 || text[1] != u':' || text.size() > 3) return 0;
  if (text.size() == 3 && text[2] != u'\\' && text[2] != u'/') return 0;
  const char16_t drive = static_cast<char16_t>(text[0] & ~0x20);
  return drive == u'C' || drive == u'Z' ? drive : 0;
}

// The type machine.ini gives a drive letter other than C and Z, or 0.
UINT ProfileDriveType(char16_t drive) {
  if (drive < u'A' || drive > u'Z' || drive == u'C' || drive == u'Z') return 0;
  std::string kind = zx::machine::ProfileValue("Drives", std::string(1, static_cast<char>(drive)), "");
  std::transform(kind.begin(), kind.end(), kind.begin(), [](unsigned char c) { return std::tolower(c); });
  if (kind == "cdrom") return DRIVE_CDROM;
  if (kind == "remote") return DRIVE_REMOTE;
  if (kind == "removable") return DRIVE_REMOVABLE;
  return 0;
}

// The drive letter a path or root name starts with, upper case, or 0.
char16_t LetterOf(LPCWSTR path) {
  if (path == nullptr || path[0] == 0 || path[1] != u':') return 0;
  return static_cast<char16_t>(path[0] & ~0x20);
}

bool StatFolder(const std::u16string& windowsPath, struct statvfs& vfs) {
  std::string host;
  if (!zx::path::MapArgument(windowsPath.c_str(), host)) return false;
  if (::statvfs(host.c_str(), &vfs) != 0)
    return Fail(errno == ENOENT ? ERROR_PATH_NOT_FOUND : zx::file::ErrorFromErrno(errno));
  return true;
}

}  // namespace

DWORD GetLogicalDrives() {
  DWORD drives = (1u << (u'C' - u'A')) | (1u << (u'Z' - u'A'));
  for (char16_t drive = u'A'; drive <= u'Y'; ++drive)
    if (ProfileDriveType(drive) != 0) drives |= 1u << (drive - u'A');
  return drives;
}

DWORD GetLogicalDriveStringsW(DWORD bufferLength, LPWSTR buffer) {
  std::u16string strings;  // "X:\" and a terminator per drive
  const DWORD drives = GetLogicalDrives();
  for (char16_t drive = u'A'; drive <= u'Z'; ++drive)
    if (drives & (1u << (drive - u'A'))) strings += std::u16string{drive, u':', u'\\', u'\0'};
  const auto length = static_cast<DWORD>(strings.size());  // without the list's final terminator
  if (buffer == nullptr || bufferLength <= length) return length + 1;
  std::copy(strings.begin(), strings.end(), buffer);
  buffer[length] = 0;
  return length;
}

UINT GetDriveTypeW(LPCWSTR rootPathName) {
  if (DriveOfRoot(rootPathName) != 0) return DRIVE_FIXED;
  const std::u16string_view text = rootPathName != nullptr ? rootPathName : u"";
  const bool rootName = text.size() == 2 || (text.size() == 3 && (text[2] == u'\\' || text[2] == u'/'));
  const UINT type = rootName ? ProfileDriveType(LetterOf(rootPathName)) : 0;
  return type != 0 ? type : DRIVE_NO_ROOT_DIR;
}

UINT GetDriveTypeA(LPCSTR rootPathName) { return GetDriveTypeW(zx::file::WideArg(rootPathName).get()); }

BOOL GetDiskFreeSpaceExW(LPCWSTR directoryName, PULARGE_INTEGER freeBytesAvailableToCaller,
                         PULARGE_INTEGER totalNumberOfBytes, PULARGE_INTEGER totalNumberOfFreeBytes) {
  if (ProfileDriveType(LetterOf(directoryName)) != 0) return Fail(ERROR_NOT_READY);
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
  if (drive == 0) return Fail(ProfileDriveType(LetterOf(rootPathName)) != 0 ? ERROR_NOT_READY : ERROR_INVALID_NAME);
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
