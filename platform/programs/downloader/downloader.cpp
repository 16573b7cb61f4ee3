// The stand-in of the download library: entry point 1 fetches each requested address into
// its target file over HTTP or HTTPS, reporting progress (with a status text that names the
// file) through the caller's callback; entry point 2 aborts the running transfer; entry point
// 3 answers whether the machine is connected; entry point 4 opens (1) or closes (0) a session
// that the following downloads share. A transfer that does not complete removes what it wrote.
#include <errhandlingapi.h>
#include <fileapi.h>
#include <handleapi.h>
#include <wininet.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

namespace {

// The caller's request block and progress record (see the binding in the main program).
struct Request {
  LPWSTR address;
  LPWSTR target;
  LPWSTR checksum;
  BYTE reserved1[5];
  BYTE byteFlag;
  BYTE reserved2[2];
  int flag;
  BYTE reserved3[28];
};
static_assert(sizeof(Request) == 64);

struct Progress {
  LPCWSTR status;
  ULONGLONG received;
  ULONGLONG total;
  DWORD reserved2;
  int percent;
};

using ProgressFn = BOOL (*)(LPVOID context, const Progress* progress);
using NoticeFn = BOOL (*)(LPVOID context, LPVOID first, LPVOID second);
using MessageFn = int (*)(LPVOID context, LPCWSTR text, int code, LPVOID first, LPVOID second);
using EndFn = int (*)(LPVOID context, LPVOID first);

constexpr DWORD kBlockSize = 16384;

std::atomic<bool> g_abort{false};
std::mutex g_handleLock;
HINTERNET g_request = nullptr;  // of the running transfer; an abort closes it
std::mutex g_sessionLock;
HINTERNET g_sharedSession = nullptr;  // opened by entry point 4

// Closes a WinINet handle when it goes out of scope.
struct InetHandle {
  explicit InetHandle(HINTERNET h) : handle(h) {}
  ~InetHandle() {
    if (handle != nullptr) InternetCloseHandle(handle);
  }
  InetHandle(const InetHandle&) = delete;
  InetHandle& operator=(const InetHandle&) = delete;
  HINTERNET handle;
};

// The running request, published so that an abort can close it (which ends a blocked read);
// closed here unless the abort already did.
struct ActiveRequest {
  explicit ActiveRequest(HINTERNET h) : handle(h) {
    std::lock_guard<std::mutex> g(g_handleLock);
    g_request = handle;
  }
  ~ActiveRequest() {
    std::lock_guard<std::mutex> g(g_handleLock);
    if (g_request == handle && handle != nullptr) InternetCloseHandle(handle);
    g_request = nullptr;
  }
  ActiveRequest(const ActiveRequest&) = delete;
  ActiveRequest& operator=(const ActiveRequest&) = delete;
  HINTERNET handle;
};

struct FileHandle {
  explicit FileHandle(HANDLE h) : handle(h) {}
  ~FileHandle() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  HANDLE handle;
};

HINTERNET OpenSession() {
  return InternetOpenW(u"Downloader", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
}

// Fetches one address into the file; the Win32 or WinINet error on failure, else 0.
DWORD Fetch(const Request& request, ProgressFn progress, LPVOID context) {
  WCHAR host[256] = {}, path[2048] = {};
  URL_COMPONENTSW parts{};
  parts.dwStructSize = sizeof parts;
  parts.lpszHostName = host;
  parts.dwHostNameLength = 256;
  parts.lpszUrlPath = path;
  parts.dwUrlPathLength = 2048;
  if (!InternetCrackUrlW(request.address, 0, 0, &parts)) return GetLastError();
  if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)
    return ERROR_INTERNET_UNRECOGNIZED_SCHEME;
  HINTERNET shared = nullptr;
  {
    std::lock_guard<std::mutex> g(g_sessionLock);
    shared = g_sharedSession;
  }
  InetHandle own(shared != nullptr ? nullptr : OpenSession());
  const HINTERNET session = shared != nullptr ? shared : own.handle;
  if (session == nullptr) return GetLastError();
  InetHandle connection(InternetConnectW(session, host, parts.nPort, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
  if (connection.handle == nullptr) return GetLastError();
  DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
  if (parts.nScheme == INTERNET_SCHEME_HTTPS) flags |= INTERNET_FLAG_SECURE;
  ActiveRequest file(HttpOpenRequestW(connection.handle, u"GET", path, nullptr, nullptr, nullptr, flags, 0));
  if (file.handle == nullptr) return GetLastError();
  if (g_abort.load()) return ERROR_INTERNET_OPERATION_CANCELLED;
  if (!HttpSendRequestW(file.handle, nullptr, 0, nullptr, 0)) return GetLastError();
  DWORD status = 0, size = sizeof status;
  if (!HttpQueryInfoW(file.handle, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr))
    return GetLastError();
  if (status != HTTP_STATUS_OK) return ERROR_HTTP_INVALID_SERVER_RESPONSE;
  DWORD length = 0;
  size = sizeof length;
  const bool known =
      HttpQueryInfoW(file.handle, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &length, &size, nullptr) != FALSE;

  FileHandle out(CreateFileW(request.target, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (out.handle == INVALID_HANDLE_VALUE) return GetLastError();
  std::vector<BYTE> buffer(kBlockSize);
  // Each report says which file is coming.
  const std::u16string target(request.target);
  const std::u16string saying = u"Receiving " + target.substr(target.find_last_of(u"\\/") + 1);
  Progress report{};
  report.status = saying.c_str();
  report.total = known ? length : 0;
  for (;;) {
    if (g_abort.load()) return ERROR_INTERNET_OPERATION_CANCELLED;
    DWORD read = 0;
    if (!InternetReadFile(file.handle, buffer.data(), kBlockSize, &read)) return GetLastError();
    if (read == 0) break;
    DWORD written = 0;
    if (!WriteFile(out.handle, buffer.data(), read, &written, nullptr) || written != read) return GetLastError();
    report.received += read;
    report.percent = report.total ? static_cast<int>(report.received * 100 / report.total) : 0;
    if (progress != nullptr && !progress(context, &report)) return ERROR_CANCELLED;
  }
  if (known && report.received != length) return ERROR_INTERNET_CONNECTION_ABORTED;
  return 0;
}

std::u16string Decimal(DWORD value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace

extern "C" {

// Download: fetches every request in order; non-zero when all of them arrived whole.
__attribute__((visibility("default"))) int zx_ordinal_1(Request* requests, int count, ProgressFn progress,
                                                        NoticeFn /*notice*/, MessageFn message, EndFn /*end*/) {
  if (requests == nullptr || count <= 0) return 0;
  g_abort.store(false);
  for (int i = 0; i < count; ++i) {
    const Request& request = requests[i];
    if (request.address == nullptr || request.target == nullptr || *request.address == 0 || *request.target == 0)
      return 0;
    const DWORD error = Fetch(request, progress, nullptr);
    if (error != 0) {
      DeleteFileW(request.target);
      // Said to the caller as a notice it acknowledges (kind 0: OK alone).
      if (message != nullptr) {
        const std::u16string text = u"The download of " + std::u16string(request.address) + u" failed (error " +
                                    Decimal(error) + u").";
        message(nullptr, text.c_str(), 0, nullptr, nullptr);
      }
      return 0;
    }
  }
  return 1;
}

// Abort: the running transfer stops at its next block, or at once when it waits on the network.
__attribute__((visibility("default"))) void zx_ordinal_2(int /*reserved*/) {
  g_abort.store(true);
  std::lock_guard<std::mutex> g(g_handleLock);
  if (g_request != nullptr) InternetCloseHandle(g_request);
  g_request = nullptr;
}

// Connection test: non-zero when the machine is connected.
__attribute__((visibility("default"))) int zx_ordinal_3() {
  DWORD flags = 0;
  return InternetGetConnectedState(&flags, 0) ? 1 : 0;
}

// Session switch: 1 opens the session the following downloads share, 0 closes it.
__attribute__((visibility("default"))) void zx_ordinal_4(int on) {
  std::lock_guard<std::mutex> g(g_sessionLock);
  if (g_sharedSession != nullptr) InternetCloseHandle(g_sharedSession);
  g_sharedSession = on != 0 ? OpenSession() : nullptr;
}

}  // extern "C"
