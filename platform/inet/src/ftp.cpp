// FTP over libcurl: the log-in of InternetConnect, FtpOpenFile, FtpFindFirstFile and the
// server's last reply (InternetGetLastResponseInfo).
#include "ftp.h"

#include <algorithm>

#include "connectedstate.h"
#include "fileapi.h"
#include "hostroutes.h"
#include "sysinfoapi.h"
#include "wininet.h"
#include "zx/percentescape.h"
#include "zx/utf8text.h"

using namespace zx::inet;

namespace {

// The last reply of an FTP server to this thread.
thread_local std::string t_lastReply;
thread_local DWORD t_lastReplyCode = 0;

HINTERNET Fail(DWORD error) {
  SetLastError(error);
  return nullptr;
}

// Whether a byte of a path stands as it is in an ftp:// address (libcurl takes the escapes back
// out).
bool KeptInPath(unsigned char c) { return IsUnreserved(c) || c == '/'; }

// The path of a file given to an FTP call; nullopt (ERROR_INVALID_PARAMETER set) when it is
// empty, not text, or holds a line break that would end the command early.
std::optional<std::string> FilePath(LPCWSTR fileName) {
  const auto path = fileName ? ToUtf8(fileName) : std::nullopt;
  if (!path || path->empty() || path->find_first_of("\r\n") != std::string::npos) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return std::nullopt;
  }
  return path;
}

TransferSettings FtpSettings(const Connection& connection, const char* verb, const std::string& path) {
  const Options options = connection.options();
  const INTERNET_PORT port =
      connection.port != INTERNET_INVALID_PORT_NUMBER ? connection.port : INTERNET_DEFAULT_FTP_PORT;
  const bool ipv6 = connection.server.find(':') != std::string::npos;
  TransferSettings settings;
  settings.ftp = true;
  settings.verb = verb;
  settings.url = "ftp://" + std::string(ipv6 ? "[" : "") + connection.server + (ipv6 ? "]" : "") + ":" +
                 std::to_string(port) + "/" + PercentEscaped(path, &KeptInPath);
  settings.connectTo = HostRoute(connection.server);
  settings.userName = ToUtf8(options.Text(INTERNET_OPTION_USERNAME)).value_or(std::string());
  settings.password = ToUtf8(options.Text(INTERNET_OPTION_PASSWORD)).value_or(std::string());
  settings.connectTimeoutMs = options.Number(INTERNET_OPTION_CONNECT_TIMEOUT);
  settings.receiveTimeoutMs = options.Number(INTERNET_OPTION_RECEIVE_TIMEOUT);
  return settings;
}

// Runs one exchange with the server for a handle and keeps the server's last reply for the
// thread; answers 0 or the error, which is ERROR_INTERNET_EXTENDED_ERROR when the server
// refused with a reply of its own.
DWORD RunFtp(InternetObject& owner, Transfer& transfer, const TransferSettings& settings,
             const std::string& server) {
  if (IsOffline()) return ERROR_INTERNET_DISCONNECTED;
  owner.ReportStatus(INTERNET_STATUS_RESOLVING_NAME, server);
  const StatusSink sink = [&](DWORD status, const std::string& info) { owner.ReportStatus(status, info); };
  DWORD error = transfer.Send(settings, owner.closedFlag(), sink);
  t_lastReply = transfer.replies().lastText();
  t_lastReplyCode = static_cast<DWORD>(transfer.replies().lastCode());
  if (error == 0) return 0;
  if (owner.closed()) return ERROR_INTERNET_OPERATION_CANCELLED;
  if (error != ERROR_INTERNET_LOGIN_FAILURE && error != ERROR_INTERNET_TIMEOUT && t_lastReplyCode >= 400)
    return ERROR_INTERNET_EXTENDED_ERROR;
  return error;
}

std::shared_ptr<Connection> FtpConnection(HINTERNET handle) {
  auto connection = LookupAs<Connection>(handle, Kind::Connection);
  if (connection && !connection->ftp()) {
    SetLastError(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
    return nullptr;
  }
  return connection;
}

FILETIME FileTimeOfUnix(long long seconds) {
  // 100-ns steps since 1601.
  const unsigned long long ticks = (static_cast<unsigned long long>(seconds) + 11644473600ULL) * 10000000ULL;
  return FILETIME{static_cast<DWORD>(ticks & 0xFFFFFFFFu), static_cast<DWORD>(ticks >> 32)};
}

}  // namespace

namespace zx::inet {

HINTERNET ConnectFtp(std::shared_ptr<Session> session, std::string server, INTERNET_PORT port,
                     std::u16string userName, std::u16string password, DWORD_PTR context) {
  auto connection = std::make_shared<Connection>(session, INTERNET_SERVICE_FTP, std::move(server), port,
                                                 std::move(userName), std::move(password), context);
  // Registered first, so that closing the session stops the log-in.
  const HINTERNET handle = Register(connection);
  if (!handle) return nullptr;
  DWORD error = 0;
  {
    std::lock_guard<std::mutex> busy(connection->busy);
    error = RunFtp(*connection, *connection->control, FtpSettings(*connection, "LOGIN", std::string()),
                   connection->server);
  }
  if (error == 0) return handle;
  connection->Close();
  return Fail(error);
}

}  // namespace zx::inet

HINTERNET FtpOpenFileW(HINTERNET connection, LPCWSTR fileName, DWORD access, DWORD flags, DWORD_PTR context) {
  auto owner = FtpConnection(connection);
  if (!owner) return nullptr;
  const auto path = FilePath(fileName);
  if (!path) return nullptr;
  if (access != GENERIC_READ) return Fail(ERROR_NOT_SUPPORTED);
  auto request = std::make_shared<Request>(owner, "RETR", *path, false, std::vector<std::string>(), flags, context);
  const HINTERNET handle = Register(request);
  if (!handle) return nullptr;
  DWORD error = 0;
  {
    std::lock_guard<std::mutex> busy(request->busy);
    error = RunFtp(*request, request->transfer, FtpSettings(*owner, "RETR", *path), owner->server);
  }
  if (error == 0) return handle;
  request->Close();
  return Fail(error);
}

HINTERNET FtpFindFirstFileW(HINTERNET connection, LPCWSTR searchFile, WIN32_FIND_DATAW* findData, DWORD /*flags*/,
                            DWORD_PTR context) {
  auto owner = FtpConnection(connection);
  if (!owner) return nullptr;
  const auto path = FilePath(searchFile);
  if (!path) return nullptr;
  if (path->find_first_of("*?") != std::string::npos) return Fail(ERROR_NOT_SUPPORTED);
  long long size = -1, time = -1;
  {
    std::lock_guard<std::mutex> busy(owner->busy);
    const DWORD error = RunFtp(*owner, *owner->control, FtpSettings(*owner, "SIZE", *path), owner->server);
    size = owner->control->contentLength();
    time = owner->control->fileTime();
    // A file the server does not have is no error of the find, only an empty answer.
    if (error == ERROR_INTERNET_EXTENDED_ERROR && t_lastReplyCode == 550) return Fail(ERROR_NO_MORE_FILES);
    if (error != 0) return Fail(error);
  }
  if (size < 0) return Fail(ERROR_NO_MORE_FILES);
  if (findData) {
    *findData = WIN32_FIND_DATAW{};
    findData->dwFileAttributes = FILE_ATTRIBUTE_NORMAL;
    findData->nFileSizeHigh = static_cast<DWORD>(static_cast<unsigned long long>(size) >> 32);
    findData->nFileSizeLow = static_cast<DWORD>(size & 0xFFFFFFFF);
    if (time >= 0) findData->ftLastWriteTime = FileTimeOfUnix(time);
    const std::u16string name = FromUtf8(path->substr(path->find_last_of('/') + 1)).value_or(std::u16string());
    std::copy_n(name.begin(), std::min<std::size_t>(name.size(), MAX_PATH - 1), findData->cFileName);
  }
  return Register(std::make_shared<FindResult>(owner, context));
}

BOOL InternetGetLastResponseInfoW(LPDWORD error, LPWSTR buffer, LPDWORD bufferLength) {
  if (!error || !bufferLength) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *error = t_lastReplyCode;
  const DWORD length = static_cast<DWORD>(t_lastReply.size());
  if (!buffer || *bufferLength <= length) {
    *bufferLength = length;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  // Reply bytes are taken as Latin-1, one character each.
  std::transform(t_lastReply.begin(), t_lastReply.end(), buffer, [](unsigned char c) { return static_cast<WCHAR>(c); });
  buffer[length] = 0;
  *bufferLength = length;
  return TRUE;
}
