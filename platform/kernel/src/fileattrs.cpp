// File attributes by path: GetFileAttributes, GetFileAttributesEx and SetFileAttributes.
#include <sys/stat.h>

#include <cerrno>

#include "fileapi.h"
#include "filetext.h"
#include "hostfiles.h"
#include "pathparse.h"

namespace {

using zx::file::Fail;

bool Describe(LPCWSTR fileName, std::string& host, WIN32_FILE_ATTRIBUTE_DATA& data) {
  if (!zx::path::MapArgument(fileName, host)) return FALSE;
  if (!zx::file::DescribeHostEntry(host, data))
    return Fail(errno == ENOENT ? zx::file::MissingError(host) : zx::file::ErrorFromErrno(errno));
  return TRUE;
}

}  // namespace

DWORD GetFileAttributesW(LPCWSTR fileName) {
  std::string host;
  WIN32_FILE_ATTRIBUTE_DATA data{};
  return Describe(fileName, host, data) ? data.dwFileAttributes : INVALID_FILE_ATTRIBUTES;
}

DWORD GetFileAttributesA(LPCSTR fileName) {
  return GetFileAttributesW(zx::file::WideArg(fileName).get());
}

BOOL GetFileAttributesExW(LPCWSTR fileName, GET_FILEEX_INFO_LEVELS infoLevel, LPVOID fileInformation) {
  if (infoLevel != GetFileExInfoStandard || fileInformation == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  std::string host;
  return Describe(fileName, host, *static_cast<WIN32_FILE_ATTRIBUTE_DATA*>(fileInformation));
}

BOOL SetFileAttributesW(LPCWSTR fileName, DWORD fileAttributes) {
  std::string host;
  DWORD error = 0;
  if (!zx::path::MapArgument(fileName, host)) return FALSE;
  struct stat st {};
  if (::stat(host.c_str(), &st) != 0)
    return Fail(errno == ENOENT ? zx::file::MissingError(host) : zx::file::ErrorFromErrno(errno));
  return zx::file::ApplyAttributes(host, st.st_mode, fileAttributes, &error) ? TRUE : Fail(error);
}

BOOL SetFileAttributesA(LPCSTR fileName, DWORD fileAttributes) {
  return SetFileAttributesW(zx::file::WideArg(fileName).get(), fileAttributes);
}
