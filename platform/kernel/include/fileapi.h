// Files, folders, drives and the environment: the kernel's file API over the machine root.
// Every path is a Windows path (C:\ is the machine's drive, Z:\ the host's /); file handles
// are kernel handles closed by CloseHandle, find handles are closed by FindClose.
#pragma once
#include "wintypes.h"

// Access rights and share modes.
#define GENERIC_READ 0x80000000u
#define GENERIC_WRITE 0x40000000u
#define GENERIC_EXECUTE 0x20000000u
#define GENERIC_ALL 0x10000000u
#define DELETE 0x00010000u
#define FILE_READ_DATA 0x0001u
#define FILE_WRITE_DATA 0x0002u
#define FILE_APPEND_DATA 0x0004u
#define FILE_READ_ATTRIBUTES 0x0080u
#define FILE_WRITE_ATTRIBUTES 0x0100u
#define FILE_GENERIC_READ 0x00120089u
#define FILE_GENERIC_WRITE 0x00120116u
#define FILE_SHARE_READ 0x00000001u
#define FILE_SHARE_WRITE 0x00000002u
#define FILE_SHARE_DELETE 0x00000004u

// Creation dispositions.
#define CREATE_NEW 1
#define CREATE_ALWAYS 2
#define OPEN_EXISTING 3
#define OPEN_ALWAYS 4
#define TRUNCATE_EXISTING 5

// Attributes and flags.
#define FILE_ATTRIBUTE_READONLY 0x00000001u
#define FILE_ATTRIBUTE_HIDDEN 0x00000002u
#define FILE_ATTRIBUTE_SYSTEM 0x00000004u
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010u
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020u
#define FILE_ATTRIBUTE_DEVICE 0x00000040u
#define FILE_ATTRIBUTE_NORMAL 0x00000080u
#define FILE_ATTRIBUTE_TEMPORARY 0x00000100u
#define FILE_ATTRIBUTE_REPARSE_POINT 0x00000400u
#define FILE_ATTRIBUTE_OFFLINE 0x00001000u
#define FILE_ATTRIBUTE_NOT_CONTENT_INDEXED 0x00002000u
#define INVALID_FILE_ATTRIBUTES 0xFFFFFFFFu
#define FILE_FLAG_WRITE_THROUGH 0x80000000u
#define FILE_FLAG_OVERLAPPED 0x40000000u
#define FILE_FLAG_NO_BUFFERING 0x20000000u
#define FILE_FLAG_RANDOM_ACCESS 0x10000000u
#define FILE_FLAG_SEQUENTIAL_SCAN 0x08000000u
#define FILE_FLAG_DELETE_ON_CLOSE 0x04000000u
#define FILE_FLAG_BACKUP_SEMANTICS 0x02000000u

// File pointer, size and type.
#define FILE_BEGIN 0
#define FILE_CURRENT 1
#define FILE_END 2
#define INVALID_SET_FILE_POINTER 0xFFFFFFFFu
#define INVALID_FILE_SIZE 0xFFFFFFFFu
#define FILE_TYPE_UNKNOWN 0x0000u
#define FILE_TYPE_DISK 0x0001u
#define FILE_TYPE_CHAR 0x0002u
#define FILE_TYPE_PIPE 0x0003u

// MoveFileEx.
#define MOVEFILE_REPLACE_EXISTING 0x00000001u
#define MOVEFILE_COPY_ALLOWED 0x00000002u
#define MOVEFILE_DELAY_UNTIL_REBOOT 0x00000004u
#define MOVEFILE_WRITE_THROUGH 0x00000008u

// Drives and volumes.
#define DRIVE_UNKNOWN 0
#define DRIVE_NO_ROOT_DIR 1
#define DRIVE_REMOVABLE 2
#define DRIVE_FIXED 3
#define DRIVE_REMOTE 4
#define DRIVE_CDROM 5
#define DRIVE_RAMDISK 6
#define FILE_CASE_SENSITIVE_SEARCH 0x00000001u
#define FILE_CASE_PRESERVED_NAMES 0x00000002u
#define FILE_UNICODE_ON_DISK 0x00000004u
#define FILE_PERSISTENT_ACLS 0x00000008u

// The 16-bit file functions.
using HFILE = int;
#define HFILE_ERROR (-1)
#define OF_READ 0x00000000
#define OF_WRITE 0x00000001
#define OF_READWRITE 0x00000002
#define OF_SHARE_COMPAT 0x00000000
#define OF_SHARE_EXCLUSIVE 0x00000010
#define OF_SHARE_DENY_WRITE 0x00000020
#define OF_SHARE_DENY_READ 0x00000030
#define OF_SHARE_DENY_NONE 0x00000040

// Asynchronous I/O is not offered: ReadFile and WriteFile take a null OVERLAPPED.
struct OVERLAPPED {
  ULONG_PTR Internal;
  ULONG_PTR InternalHigh;
  DWORD Offset;
  DWORD OffsetHigh;
  HANDLE hEvent;
};
using LPOVERLAPPED = OVERLAPPED*;

struct WIN32_FIND_DATAW {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwReserved0;
  DWORD dwReserved1;
  WCHAR cFileName[MAX_PATH];
  WCHAR cAlternateFileName[14];
};
using LPWIN32_FIND_DATAW = WIN32_FIND_DATAW*;
struct WIN32_FIND_DATAA {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwReserved0;
  DWORD dwReserved1;
  CHAR cFileName[MAX_PATH];
  CHAR cAlternateFileName[14];
};
using LPWIN32_FIND_DATAA = WIN32_FIND_DATAA*;
using WIN32_FIND_DATA = WIN32_FIND_DATAW;
using LPWIN32_FIND_DATA = LPWIN32_FIND_DATAW;

enum GET_FILEEX_INFO_LEVELS { GetFileExInfoStandard, GetFileExMaxInfoLevel };
struct WIN32_FILE_ATTRIBUTE_DATA {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
};
using LPWIN32_FILE_ATTRIBUTE_DATA = WIN32_FILE_ATTRIBUTE_DATA*;

struct BY_HANDLE_FILE_INFORMATION {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD dwVolumeSerialNumber;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD nNumberOfLinks;
  DWORD nFileIndexHigh;
  DWORD nFileIndexLow;
};
using LPBY_HANDLE_FILE_INFORMATION = BY_HANDLE_FILE_INFORMATION*;

// Opening, reading and writing.
HANDLE CreateFileW(LPCWSTR fileName, DWORD desiredAccess, DWORD shareMode,
                   LPSECURITY_ATTRIBUTES security, DWORD creationDisposition,
                   DWORD flagsAndAttributes, HANDLE templateFile);
HANDLE CreateFileA(LPCSTR fileName, DWORD desiredAccess, DWORD shareMode,
                   LPSECURITY_ATTRIBUTES security, DWORD creationDisposition,
                   DWORD flagsAndAttributes, HANDLE templateFile);
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead,
              LPOVERLAPPED overlapped);
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten,
               LPOVERLAPPED overlapped);
DWORD SetFilePointer(HANDLE file, LONG distanceToMove, PLONG distanceToMoveHigh, DWORD moveMethod);
BOOL SetFilePointerEx(HANDLE file, LARGE_INTEGER distanceToMove, PLARGE_INTEGER newFilePointer,
                      DWORD moveMethod);
BOOL SetEndOfFile(HANDLE file);
BOOL FlushFileBuffers(HANDLE file);
DWORD GetFileSize(HANDLE file, LPDWORD fileSizeHigh);
BOOL GetFileSizeEx(HANDLE file, PLARGE_INTEGER fileSize);
BOOL GetFileTime(HANDLE file, LPFILETIME creationTime, LPFILETIME lastAccessTime,
                 LPFILETIME lastWriteTime);
BOOL GetFileInformationByHandle(HANDLE file, LPBY_HANDLE_FILE_INFORMATION information);
BOOL SetFileTime(HANDLE file, const FILETIME* creationTime, const FILETIME* lastAccessTime,
                 const FILETIME* lastWriteTime);
DWORD GetFileType(HANDLE file);
HFILE _lopen(LPCSTR pathName, int readWrite);
HFILE _lclose(HFILE file);

// Attributes.
DWORD GetFileAttributesW(LPCWSTR fileName);
DWORD GetFileAttributesA(LPCSTR fileName);
BOOL GetFileAttributesExW(LPCWSTR fileName, GET_FILEEX_INFO_LEVELS infoLevel, LPVOID fileInformation);
BOOL SetFileAttributesW(LPCWSTR fileName, DWORD fileAttributes);
BOOL SetFileAttributesA(LPCSTR fileName, DWORD fileAttributes);

// Listing a folder.
HANDLE FindFirstFileW(LPCWSTR fileName, LPWIN32_FIND_DATAW findData);
HANDLE FindFirstFileA(LPCSTR fileName, LPWIN32_FIND_DATAA findData);
BOOL FindNextFileW(HANDLE findFile, LPWIN32_FIND_DATAW findData);
BOOL FindNextFileA(HANDLE findFile, LPWIN32_FIND_DATAA findData);
BOOL FindClose(HANDLE findFile);

// Folders, deleting, moving and copying.
BOOL CreateDirectoryW(LPCWSTR pathName, LPSECURITY_ATTRIBUTES security);
BOOL CreateDirectoryA(LPCSTR pathName, LPSECURITY_ATTRIBUTES security);
BOOL RemoveDirectoryW(LPCWSTR pathName);
BOOL RemoveDirectoryA(LPCSTR pathName);
BOOL DeleteFileW(LPCWSTR fileName);
BOOL DeleteFileA(LPCSTR fileName);
BOOL MoveFileW(LPCWSTR existingFileName, LPCWSTR newFileName);
BOOL MoveFileA(LPCSTR existingFileName, LPCSTR newFileName);
// MOVEFILE_DELAY_UNTIL_REBOOT records the operation in the machine root's pending-renames
// file (one "source<TAB>target" line each, UTF-8, empty target for a deletion).
BOOL MoveFileExW(LPCWSTR existingFileName, LPCWSTR newFileName, DWORD flags);
BOOL MoveFileExA(LPCSTR existingFileName, LPCSTR newFileName, DWORD flags);
BOOL CopyFileW(LPCWSTR existingFileName, LPCWSTR newFileName, BOOL failIfExists);
BOOL CopyFileA(LPCSTR existingFileName, LPCSTR newFileName, BOOL failIfExists);

// Path names and the current folder.
DWORD GetFullPathNameW(LPCWSTR fileName, DWORD bufferLength, LPWSTR buffer, LPWSTR* filePart);
DWORD GetFullPathNameA(LPCSTR fileName, DWORD bufferLength, LPSTR buffer, LPSTR* filePart);
DWORD GetLongPathNameW(LPCWSTR shortPath, LPWSTR longPath, DWORD bufferLength);
DWORD GetShortPathNameW(LPCWSTR longPath, LPWSTR shortPath, DWORD bufferLength);
DWORD GetCurrentDirectoryW(DWORD bufferLength, LPWSTR buffer);
DWORD GetCurrentDirectoryA(DWORD bufferLength, LPSTR buffer);
BOOL SetCurrentDirectoryW(LPCWSTR pathName);
BOOL SetCurrentDirectoryA(LPCSTR pathName);

// The machine's folders and temporary files.
UINT GetWindowsDirectoryW(LPWSTR buffer, UINT size);
UINT GetWindowsDirectoryA(LPSTR buffer, UINT size);
UINT GetSystemDirectoryW(LPWSTR buffer, UINT size);
UINT GetSystemDirectoryA(LPSTR buffer, UINT size);
// Found by name at run time by the system (GetProcAddress of "kernel32"): C linkage.
extern "C" UINT GetSystemWow64DirectoryW(LPWSTR buffer, UINT size);
DWORD GetTempPathW(DWORD bufferLength, LPWSTR buffer);
DWORD GetTempPathA(DWORD bufferLength, LPSTR buffer);
UINT GetTempFileNameW(LPCWSTR pathName, LPCWSTR prefixString, UINT unique, LPWSTR tempFileName);
UINT GetTempFileNameA(LPCSTR pathName, LPCSTR prefixString, UINT unique, LPSTR tempFileName);

// Drives: C: (the machine) and Z: (the host).
DWORD GetLogicalDrives();
DWORD GetLogicalDriveStringsW(DWORD bufferLength, LPWSTR buffer);
UINT GetDriveTypeW(LPCWSTR rootPathName);
UINT GetDriveTypeA(LPCSTR rootPathName);
BOOL GetDiskFreeSpaceExW(LPCWSTR directoryName, PULARGE_INTEGER freeBytesAvailableToCaller,
                         PULARGE_INTEGER totalNumberOfBytes, PULARGE_INTEGER totalNumberOfFreeBytes);
BOOL GetVolumeInformationW(LPCWSTR rootPathName, LPWSTR volumeNameBuffer, DWORD volumeNameSize,
                           LPDWORD volumeSerialNumber, LPDWORD maximumComponentLength,
                           LPDWORD fileSystemFlags, LPWSTR fileSystemNameBuffer,
                           DWORD fileSystemNameSize);

// The process's environment: a table of its own, seeded with the variables of a Windows
// session (SystemRoot, windir, ProgramFiles, APPDATA, TEMP, USERPROFILE, ...).
DWORD GetEnvironmentVariableW(LPCWSTR name, LPWSTR buffer, DWORD size);
DWORD GetEnvironmentVariableA(LPCSTR name, LPSTR buffer, DWORD size);
BOOL SetEnvironmentVariableW(LPCWSTR name, LPCWSTR value);
BOOL SetEnvironmentVariableA(LPCSTR name, LPCSTR value);
DWORD ExpandEnvironmentStringsW(LPCWSTR source, LPWSTR destination, DWORD size);
DWORD ExpandEnvironmentStringsA(LPCSTR source, LPSTR destination, DWORD size);

// The unsuffixed names are the wide forms.
inline HANDLE CreateFile(LPCWSTR fileName, DWORD desiredAccess, DWORD shareMode,
                         LPSECURITY_ATTRIBUTES security, DWORD creationDisposition,
                         DWORD flagsAndAttributes, HANDLE templateFile) {
  return CreateFileW(fileName, desiredAccess, shareMode, security, creationDisposition,
                     flagsAndAttributes, templateFile);
}
inline DWORD GetFileAttributes(LPCWSTR fileName) { return GetFileAttributesW(fileName); }
inline BOOL GetFileAttributesEx(LPCWSTR fileName, GET_FILEEX_INFO_LEVELS infoLevel, LPVOID info) {
  return GetFileAttributesExW(fileName, infoLevel, info);
}
inline BOOL SetFileAttributes(LPCWSTR fileName, DWORD attributes) {
  return SetFileAttributesW(fileName, attributes);
}
inline HANDLE FindFirstFile(LPCWSTR fileName, LPWIN32_FIND_DATAW findData) {
  return FindFirstFileW(fileName, findData);
}
inline BOOL FindNextFile(HANDLE findFile, LPWIN32_FIND_DATAW findData) {
  return FindNextFileW(findFile, findData);
}
inline BOOL CreateDirectory(LPCWSTR pathName, LPSECURITY_ATTRIBUTES security) {
  return CreateDirectoryW(pathName, security);
}
inline BOOL RemoveDirectory(LPCWSTR pathName) { return RemoveDirectoryW(pathName); }
inline BOOL DeleteFile(LPCWSTR fileName) { return DeleteFileW(fileName); }
inline BOOL MoveFile(LPCWSTR existing, LPCWSTR target) { return MoveFileW(existing, target); }
inline BOOL MoveFileEx(LPCWSTR existing, LPCWSTR target, DWORD flags) {
  return MoveFileExW(existing, target, flags);
}
inline BOOL CopyFile(LPCWSTR existing, LPCWSTR target, BOOL failIfExists) {
  return CopyFileW(existing, target, failIfExists);
}
inline DWORD GetFullPathName(LPCWSTR fileName, DWORD length, LPWSTR buffer, LPWSTR* filePart) {
  return GetFullPathNameW(fileName, length, buffer, filePart);
}
inline DWORD GetLongPathName(LPCWSTR shortPath, LPWSTR longPath, DWORD length) {
  return GetLongPathNameW(shortPath, longPath, length);
}
inline DWORD GetShortPathName(LPCWSTR longPath, LPWSTR shortPath, DWORD length) {
  return GetShortPathNameW(longPath, shortPath, length);
}
inline DWORD GetCurrentDirectory(DWORD length, LPWSTR buffer) {
  return GetCurrentDirectoryW(length, buffer);
}
inline BOOL SetCurrentDirectory(LPCWSTR pathName) { return SetCurrentDirectoryW(pathName); }
inline UINT GetWindowsDirectory(LPWSTR buffer, UINT size) { return GetWindowsDirectoryW(buffer, size); }
inline UINT GetSystemDirectory(LPWSTR buffer, UINT size) { return GetSystemDirectoryW(buffer, size); }
inline UINT GetSystemWow64Directory(LPWSTR buffer, UINT size) {
  return GetSystemWow64DirectoryW(buffer, size);
}
inline DWORD GetTempPath(DWORD length, LPWSTR buffer) { return GetTempPathW(length, buffer); }
inline UINT GetTempFileName(LPCWSTR path, LPCWSTR prefix, UINT unique, LPWSTR name) {
  return GetTempFileNameW(path, prefix, unique, name);
}
inline DWORD GetLogicalDriveStrings(DWORD length, LPWSTR buffer) {
  return GetLogicalDriveStringsW(length, buffer);
}
inline UINT GetDriveType(LPCWSTR rootPathName) { return GetDriveTypeW(rootPathName); }
inline BOOL GetDiskFreeSpaceEx(LPCWSTR directory, PULARGE_INTEGER freeToCaller,
                               PULARGE_INTEGER total, PULARGE_INTEGER totalFree) {
  return GetDiskFreeSpaceExW(directory, freeToCaller, total, totalFree);
}
inline BOOL GetVolumeInformation(LPCWSTR root, LPWSTR volumeName, DWORD volumeNameSize,
                                 LPDWORD serial, LPDWORD maximumComponentLength, LPDWORD flags,
                                 LPWSTR fileSystemName, DWORD fileSystemNameSize) {
  return GetVolumeInformationW(root, volumeName, volumeNameSize, serial, maximumComponentLength,
                               flags, fileSystemName, fileSystemNameSize);
}
inline DWORD GetEnvironmentVariable(LPCWSTR name, LPWSTR buffer, DWORD size) {
  return GetEnvironmentVariableW(name, buffer, size);
}
inline BOOL SetEnvironmentVariable(LPCWSTR name, LPCWSTR value) {
  return SetEnvironmentVariableW(name, value);
}
inline DWORD ExpandEnvironmentStrings(LPCWSTR source, LPWSTR destination, DWORD size) {
  return ExpandEnvironmentStringsW(source, destination, size);
}
