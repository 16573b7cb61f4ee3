// URLDownloadToFile on the WinINet layer: the body goes to a temporary file beside the target,
// which takes the target's name only once the whole body is there.
#include <string>
#include <vector>

#include "errhandlingapi.h"
#include "fileapi.h"
#include "handleapi.h"
#include "urlmon.h"
#include "wininet.h"
#include "zx/httptarget.h"
#include "zx/internethandle.h"

using zx::inet::InternetHandle;

namespace {

constexpr DWORD kReadBlock = 64 * 1024;

HRESULT ResultOfSendError(DWORD error) {
  switch (error) {
    case ERROR_INTERNET_NAME_NOT_RESOLVED:
      return INET_E_RESOURCE_NOT_FOUND;
    case ERROR_INTERNET_CANNOT_CONNECT:
      return INET_E_CANNOT_CONNECT;
    default:
      return INET_E_DOWNLOAD_FAILURE;
  }
}

// Copies the response body into a new file; S_OK or why not.
HRESULT SaveBody(HINTERNET request, LPCWSTR path) {
  HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return HRESULT_FROM_WIN32(GetLastError());
  std::vector<BYTE> block(kReadBlock);
  HRESULT result = S_OK;
  for (;;) {
    DWORD got = 0;
    if (!InternetReadFile(request, block.data(), kReadBlock, &got)) {
      result = INET_E_DOWNLOAD_FAILURE;
      break;
    }
    if (got == 0) break;
    DWORD written = 0;
    if (!WriteFile(file, block.data(), got, &written, nullptr) || written != got) {
      result = HRESULT_FROM_WIN32(GetLastError());
      break;
    }
  }
  CloseHandle(file);
  return result;
}

}  // namespace

HRESULT URLDownloadToFileW(LPUNKNOWN /*caller*/, LPCWSTR url, LPCWSTR fileName, DWORD /*reserved*/,
                           LPBINDSTATUSCALLBACK callback) {
  if (callback) return E_NOTIMPL;
  if (!url || !fileName || !*fileName) return E_INVALIDARG;

  zx::inet::HttpTarget target;
  if (!zx::inet::SplitHttpUrl(url, target)) return INET_E_INVALID_URL;

  InternetHandle session(InternetOpenW(u"urlmon", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session) return INET_E_NO_SESSION;
  InternetHandle connection(InternetConnectW(session.get(), target.host.c_str(), target.port, nullptr, nullptr,
                                             INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) return INET_E_INVALID_URL;
  const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                      (target.secure ? INTERNET_FLAG_SECURE : 0);
  InternetHandle request(HttpOpenRequestW(connection.get(), u"GET", target.object.c_str(), nullptr, nullptr,
                                          nullptr, flags, 0));
  if (!request) return INET_E_INVALID_URL;
  if (!HttpSendRequestW(request.get(), nullptr, 0, nullptr, 0)) return ResultOfSendError(GetLastError());

  DWORD status = 0;
  DWORD size = sizeof(status);
  if (!HttpQueryInfoW(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr))
    return INET_E_DOWNLOAD_FAILURE;
  if (status == HTTP_STATUS_NOT_FOUND) return INET_E_OBJECT_NOT_FOUND;
  if (status != HTTP_STATUS_OK) return INET_E_DOWNLOAD_FAILURE;

  const std::u16string partial = std::u16string(fileName) + u".zxpart";
  HRESULT result = SaveBody(request.get(), partial.c_str());
  if (SUCCEEDED(result) && !MoveFileExW(partial.c_str(), fileName, MOVEFILE_REPLACE_EXISTING))
    result = HRESULT_FROM_WIN32(GetLastError());
  if (FAILED(result)) DeleteFileW(partial.c_str());
  return result;
}
