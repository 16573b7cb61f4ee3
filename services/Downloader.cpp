// The download manager's list, options and worker.
#include "Downloader.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "DownloadDialog.h"
#include "IniReader.h"
#include "HalvoranApp.h"
#include "HttpLengths.h"
#include "Locks.h"
#include "WinInetBinding.h"

namespace {

constexpr LPCTSTR kAgent = _T("VAD Oruvorad IVU");
constexpr LPCTSTR kPartSuffix = _T(".part");
constexpr DWORD kBlockSize = 1024;
constexpr DWORD kMaxLocation = 260;
constexpr LONGLONG kSizeUnknown = -1;

struct tagDownloadFile {
  CString strUrl;
  CString strTarget;
  LONGLONG llSize = 0;  // 0 not yet known, -1 not obtainable
  bool bDone = false;
};

struct tagDownloadOptions {
  CString strTitle, strLabel, strDescription, strLanguage;
  BOOL bHidden = FALSE, bDebug = FALSE, bNoFtpSize = FALSE, bSimple = FALSE, bResume = FALSE;
};

// The process-wide state. The list lock is held for a whole run; the handle lock guards only
// the open handles and the run under way, so a cancel never waits for the run.
struct DownloadState {
  DownloadState() {
    InitLock(&listLock);
    InitLock(&handleLock);
  }
  CRITICAL_SECTION listLock;
  CRITICAL_SECTION handleLock;
  std::vector<tagDownloadFile> files;
  tagDownloadOptions options;
  HINTERNET session = nullptr;
  HINTERNET connection = nullptr;
  HINTERNET request = nullptr;
  CDownload* active = nullptr;
};

DownloadState& State() {
  static DownloadState* state = new DownloadState;  // lives until the process ends
  return *state;
}

// A language text of the downloader, the key itself when no table has it.
CString Text(LPCTSTR key) {
  CString text;
  for (CIniReader* reader : {g_pClientIniReader, g_pLangIniReader})
    if (reader && reader->ReadString(key, _T("IDD_DOWNLOAD"), text)) return text;
  return key;
}

// The text of a failure's last error: for WinINet's extended error the server's own answer;
// otherwise the message tables' text as "Error N from <text>.", or "Error N." without one.
CString ErrorMessage(DWORD error) {
  CString text;
  CWinInet& inet = GetWinInet();
  if (error == ERROR_INTERNET_EXTENDED_ERROR && inet.IsBound()) {
    DWORD code = 0, length = 0;
    inet.pInternetGetLastResponseInfoW(&code, nullptr, &length);
    if (length > 0) {
      std::vector<WCHAR> answer(length + 1);
      DWORD size = length + 1;
      if (inet.pInternetGetLastResponseInfoW(&code, answer.data(), &size)) text = answer.data();
    }
    text.Trim();
    if (!text.IsEmpty()) return text;
  }
  WCHAR message[1024] = {};
  const DWORD plain = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
  const HMODULE module = GetModuleHandleW(_T("wininet.dll"));
  DWORD length = module ? FormatMessageW(plain | FORMAT_MESSAGE_FROM_HMODULE, module, error, 0, message, 1024, nullptr) : 0;
  if (length == 0) length = FormatMessageW(plain, nullptr, error, 0, message, 1024, nullptr);
  CString found(message);
  found.Trim();
  if (length > 0 && !found.IsEmpty()) {
    text.Format(_T("Error %d from %s."), error, static_cast<LPCTSTR>(found));
  } else {
    text.Format(_T("Error %d."), error);
  }
  return text;
}

// Hands a text to a control of the dialog; the dialog frees the copy.
void PostDialogText(HWND dialog, int control, const CString& text) {
  if (!dialog) return;
  LPTSTR copy = new WCHAR[text.GetLength() + 1];
  lstrcpynW(copy, text, text.GetLength() + 1);
  if (!PostMessageW(dialog, WM_DOWNLOAD_TEXT, control, reinterpret_cast<LPARAM>(copy))) delete[] copy;
}

// The scheme, host, port and path with query of an address.
struct tagUrlParts {
  INTERNET_SCHEME scheme = INTERNET_SCHEME_UNKNOWN;
  CString host, path;
  INTERNET_PORT port = 0;
  tagDownloadLogin login;
};

bool CrackUrl(CWinInet& inet, const CString& url, tagUrlParts& parts) {
  WCHAR host[256] = {}, path[2048] = {}, extra[2048] = {}, user[128] = {}, password[128] = {};
  URL_COMPONENTSW components{};
  components.dwStructSize = sizeof components;
  components.lpszHostName = host;
  components.dwHostNameLength = 256;
  components.lpszUserName = user;
  components.dwUserNameLength = 128;
  components.lpszPassword = password;
  components.dwPasswordLength = 128;
  components.lpszUrlPath = path;
  components.dwUrlPathLength = 2048;
  components.lpszExtraInfo = extra;
  components.dwExtraInfoLength = 2048;
  if (!inet.pInternetCrackUrlW(url, 0, 0, &components)) return false;
  parts.scheme = components.nScheme;
  parts.host = host;
  parts.port = components.nPort;
  parts.path = CString(path) + extra;
  if (parts.path.IsEmpty()) parts.path = _T("/");
  parts.login.strUser = user;
  parts.login.strPassword = password;
  return true;
}

LONGLONG QueryLength(CWinInet& inet, HINTERNET request) {
  WCHAR text[32] = {};
  DWORD size = sizeof text;
  if (!inet.pHttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr)) return kSizeUnknown;
  return ParseContentLength(text);
}

// The whole size a "bytes */N" or "bytes a-b/N" content range names, or -1.
LONGLONG QueryRangeTotal(CWinInet& inet, HINTERNET request) {
  WCHAR text[128] = {};
  DWORD size = sizeof text;
  if (!inet.pHttpQueryInfoW(request, HTTP_QUERY_CONTENT_RANGE, text, &size, nullptr)) return kSizeUnknown;
  return ParseRangeTotal(text);
}

DWORD QueryStatus(CWinInet& inet, HINTERNET request) {
  DWORD status = 0;
  DWORD size = sizeof status;
  return inet.pHttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr)
             ? status
             : 0;
}

// The redirect's target as an absolute address: a location starting with "/" keeps the
// scheme, host and port of the address that answered.
CString QueryLocation(CWinInet& inet, HINTERNET request, const CString& base) {
  WCHAR text[kMaxLocation + 1] = {};
  DWORD size = sizeof text;
  if (!inet.pHttpQueryInfoW(request, HTTP_QUERY_LOCATION, text, &size, nullptr)) return CString();
  const CString location = text;
  if (location.Left(1) != _T("/") || location.Left(2) == _T("//")) return location;
  const int schemeEnd = base.Find(_T("://"));
  if (schemeEnd < 0) return CString();
  const int pathStart = base.Find(_T('/'), schemeEnd + 3);
  return (pathStart < 0 ? base : base.Left(pathStart)) + location;
}

LONGLONG HostFileLength(const CString& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path, GetFileExInfoStandard, &data)) return -1;
  return (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

CString ElapsedText(DWORD seconds) {
  CString text;
  text.Format(_T("%d:%02d:%02d"), seconds / 3600, seconds / 60 % 60, seconds % 60);
  return text;
}

// Runs a call that may block with the handle lock (held by the caller) left, so that a cancel
// can close the handles it works below; the last error of the call is kept.
template <class Call>
auto Unlocked(Call call) {
  CRITICAL_SECTION* lock = &State().handleLock;
  LeaveCriticalSection(lock);
  auto result = call();
  const DWORD error = GetLastError();
  EnterCriticalSection(lock);
  SetLastError(error);
  return result;
}

// One exchange of the worker with a server: its connection and request (an HTTP request or an
// FTP file), published for a cancel.
class Exchange {
 public:
  explicit Exchange(CWinInet& inet) : inet_(inet) {}
  ~Exchange() { Close(); }
  Exchange(const Exchange&) = delete;
  Exchange& operator=(const Exchange&) = delete;

  // Opens the connection and sends the request; FALSE with the last error when it fails.
  BOOL Send(LPCTSTR verb, const tagUrlParts& parts, const CString& headers) {
    Close();
    DownloadState& state = State();
    EnterLock guard(&state.handleLock);
    if (!LiveSession(state)) return FALSE;
    state.connection = inet_.pInternetConnectW(state.session, parts.host, parts.port, nullptr, nullptr,
                                               INTERNET_SERVICE_HTTP, 0, 0);
    if (!state.connection) return FALSE;
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_KEEP_CONNECTION |
                  INTERNET_FLAG_NO_AUTO_REDIRECT;
    if (parts.scheme == INTERNET_SCHEME_HTTPS) flags |= INTERNET_FLAG_SECURE;
    state.request = inet_.pHttpOpenRequestW(state.connection, verb, parts.path, nullptr, nullptr, nullptr, flags, 0);
    request_ = state.request;
    if (!request_) return FALSE;
    return Unlocked([&] {
      return inet_.pHttpSendRequestW(request_, headers.IsEmpty() ? nullptr : static_cast<LPCTSTR>(headers),
                                     headers.IsEmpty() ? 0 : static_cast<DWORD>(-1), nullptr, 0);
    });
  }
  // Connects to an FTP server (passive) and logs in; FALSE with the last error when it fails.
  BOOL ConnectFtp(const tagUrlParts& parts, const tagDownloadLogin& login) {
    Close();
    DownloadState& state = State();
    EnterLock guard(&state.handleLock);
    if (!LiveSession(state)) return FALSE;
    const HINTERNET session = state.session;
    const HINTERNET connection = Unlocked([&] {
      return inet_.pInternetConnectW(session, parts.host, parts.port, login.strUser.IsEmpty() ? nullptr : static_cast<LPCTSTR>(login.strUser),
                                     login.strPassword.IsEmpty() ? nullptr : static_cast<LPCTSTR>(login.strPassword),
                                     INTERNET_SERVICE_FTP, INTERNET_FLAG_PASSIVE, 0);
    });
    state.connection = connection;
    return connection != nullptr;
  }
  // Opens the file of the FTP connection for reading; FALSE with the last error.
  BOOL OpenFtpFile(const CString& path) {
    request_ = OnConnection([&](HINTERNET connection) {
      return inet_.pFtpOpenFileW(connection, path, GENERIC_READ, FTP_TRANSFER_TYPE_BINARY | INTERNET_FLAG_RELOAD, 0);
    });
    EnterLock guard(&State().handleLock);
    State().request = request_;
    return request_ != nullptr;
  }
  // The size of the FTP connection's file from its directory entry; -1 when not obtainable.
  LONGLONG FtpFileSize(const CString& path) {
    WIN32_FIND_DATAW entry{};
    const HINTERNET find = OnConnection([&](HINTERNET connection) {
      return inet_.pFtpFindFirstFileW(connection, path, &entry, INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0);
    });
    if (!find) return kSizeUnknown;
    inet_.pInternetCloseHandle(find);
    return (static_cast<LONGLONG>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
  }
  void Close() {
    DownloadState& state = State();
    EnterLock guard(&state.handleLock);
    for (HINTERNET* handle : {&state.request, &state.connection})
      if (*handle) {
        inet_.pInternetCloseHandle(*handle);
        *handle = nullptr;
      }
    request_ = nullptr;
  }
  HINTERNET request() const { return request_; }

 private:
  // Runs a call on the open connection with the handle lock left; null with the cancel's error
  // when a cancel has closed the connection.
  template <class Call>
  static HINTERNET OnConnection(Call call) {
    EnterLock guard(&State().handleLock);
    const HINTERNET connection = State().connection;
    if (!connection) {
      SetLastError(ERROR_INTERNET_OPERATION_CANCELLED);
      return nullptr;
    }
    return Unlocked([&] { return call(connection); });
  }
  // The caller holds the handle lock. FALSE (the run was cancelled) once the session is gone.
  static BOOL LiveSession(const DownloadState& state) {
    if (state.session) return TRUE;
    SetLastError(ERROR_INTERNET_OPERATION_CANCELLED);
    return FALSE;
  }
  CWinInet& inet_;
  HINTERNET request_ = nullptr;
};

}  // namespace

BOOL AddDownloadFile(LPCTSTR address, LPCTSTR target) {
  if (!address || !target || !*address || !*target || lstrlenW(address) > kDownloadUrlLimit ||
      lstrlenW(target) > kDownloadPathLimit)
    return FALSE;
  DownloadState& state = State();
  EnterLock guard(&state.listLock);
  tagDownloadFile file;
  file.strUrl = address;
  file.strTarget = target;
  state.files.push_back(file);
  return TRUE;
}

void ClearDownloadFiles() {
  DownloadState& state = State();
  EnterLock guard(&state.listLock);
  state.files.clear();
}

int GetDownloadFileCount() {
  DownloadState& state = State();
  EnterLock guard(&state.listLock);
  return static_cast<int>(state.files.size());
}

BOOL ParseDownloadOptions(LPCTSTR name, LPCTSTR value) {
  DownloadState& state = State();
  EnterLock guard(&state.listLock);
  tagDownloadOptions& options = state.options;
  const CString key = name ? name : _T("");
  const CString text = value ? value : _T("");
  const BOOL flag = text == _T("true");
  if (key.CompareNoCase(_T("title")) == 0) options.strTitle = text;
  else if (key.CompareNoCase(_T("label")) == 0) options.strLabel = text;
  else if (key.CompareNoCase(_T("description")) == 0) options.strDescription = text;
  else if (key.CompareNoCase(_T("language")) == 0) options.strLanguage = text;
  else if (key.CompareNoCase(_T("hidden")) == 0) options.bHidden = text == _T("1");
  else if (key.CompareNoCase(_T("debug")) == 0) options.bDebug = flag;
  else if (key.CompareNoCase(_T("noftpsize")) == 0) options.bNoFtpSize = flag;
  else if (key.CompareNoCase(_T("simple")) == 0) {
    options.bSimple = flag;
    if (flag) options.strDescription.Empty();
  } else if (key.CompareNoCase(_T("resume")) == 0) options.bResume = flag;
  else return FALSE;
  return TRUE;
}

void ResetDownloadOptions() {
  DownloadState& state = State();
  EnterLock guard(&state.listLock);
  state.options = tagDownloadOptions{};
}

CString GetDownloadOptionText(LPCTSTR name) {
  DownloadState& state = State();
  EnterLock guard(&state.listLock);
  const tagDownloadOptions& options = state.options;
  const CString key = name ? name : _T("");
  if (key.CompareNoCase(_T("title")) == 0) return options.strTitle;
  if (key.CompareNoCase(_T("label")) == 0) return options.strLabel;
  if (key.CompareNoCase(_T("description")) == 0) return options.strDescription;
  if (key.CompareNoCase(_T("language")) == 0) return options.strLanguage;
  return CString();
}

static BOOL DownloadOptionHidden() {
  DownloadState& state = State();
  EnterLock guard(&state.listLock);
  return state.options.bHidden;
}

static BOOL DownloadOptionDebug() {
  DownloadState& state = State();
  EnterLock guard(&state.listLock);
  return state.options.bDebug;
}

// WinINet's progress of a request: the steps worth telling go to the status line of the
// dialog of the run under way.
static void CALLBACK ShowInternetStatus(HINTERNET, DWORD_PTR, DWORD status, LPVOID, DWORD) {
  LPCTSTR key = nullptr;
  switch (status) {
    case INTERNET_STATUS_RESOLVING_NAME: key = _T("IDS_STATUS_RESOLVING_NAME"); break;
    case INTERNET_STATUS_CONNECTING_TO_SERVER: key = _T("IDS_STATUS_CONNECTING"); break;
    case INTERNET_STATUS_CONNECTED_TO_SERVER: key = _T("IDS_STATUS_CONNECTED_TO_SERVER"); break;
    case INTERNET_STATUS_SENDING_REQUEST: key = _T("IDS_STATUS_SENDING_REQUEST"); break;
    case INTERNET_STATUS_REQUEST_SENT: key = _T("IDS_STATUS_RECEIVING"); break;
    default: return;
  }
  DownloadState& state = State();
  HWND dialog = nullptr;
  {
    EnterLock guard(&state.handleLock);
    if (state.active) dialog = state.active->m_hDialog;
  }
  PostDialogText(dialog, IDC_DOWNLOAD_STATUS, Text(key));
}

static BOOL DownloadListPending() {
  DownloadState& state = State();
  EnterLock guard(&state.listLock);
  for (const auto& file : state.files)
    if (!file.bDone) return TRUE;
  return FALSE;
}

// Closes the run's handles so that a blocked call returns; the caller holds the handle lock.
void CloseRunHandlesLocked(DownloadState& state) {
  CWinInet& inet = GetWinInet();
  if (!inet.IsBound()) return;
  for (HINTERNET* handle : {&state.request, &state.connection, &state.session})
    if (*handle) {
      inet.pInternetCloseHandle(*handle);
      *handle = nullptr;
    }
}

void CancelDownloadRun() {
  DownloadState& state = State();
  EnterLock guard(&state.handleLock);
  if (!state.active) return;
  state.active->m_bAbort = true;
  CloseRunHandlesLocked(state);
}

CDownload::CDownload() : m_hEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

CDownload::~CDownload() {
  DownloadState& state = State();
  {
    EnterLock guard(&state.handleLock);
    if (state.active == this) state.active = nullptr;
  }
  if (m_hEvent) CloseHandle(m_hEvent);
}

void CDownload::Abort() {
  m_bAbort = true;
  DownloadState& state = State();
  EnterLock guard(&state.handleLock);
  CloseRunHandlesLocked(state);
}

namespace {

// The worker's view of one run: posting to the dialog, failing with a text, fetching a file.
class RunContext {
 public:
  RunContext(CDownload& record, DownloadState& state, CWinInet& inet)
      : record_(record), state_(state), inet_(inet) {}

  void Post(UINT message, WPARAM wParam, LPARAM lParam) {
    if (record_.m_hDialog) PostMessageW(record_.m_hDialog, message, wParam, lParam);
  }
  void PostText(int control, const CString& text) {
    if (DownloadOptionDebug()) OutputDebugStringW(text + _T("\n"));
    PostDialogText(record_.m_hDialog, control, text);
  }
  // Fails the run with the key's text and the detail, which is "Cancelled." whenever a cancel
  // came, whatever the failed step saw of it. A text with "%1" (and "%2") takes the detail
  // (and the second detail) in place.
  BOOL Fail(LPCTSTR key, const CString& detail, const CString& secondDetail = CString()) {
    const CString shown = record_.m_bAbort ? CString(_T("Cancelled.")) : detail;
    CString text = Text(key);
    if (text.Find(_T("%1")) >= 0) {
      text.Replace(_T("%1"), shown);
      text.Replace(_T("%2"), secondDetail);
    } else {
      text += _T(" ") + shown;
    }
    record_.m_strError = text;
    PostText(IDC_DOWNLOAD_STATUS, text);
    return FALSE;
  }
  BOOL FailWithLastError(LPCTSTR key) { return Fail(key, ErrorMessage(GetLastError())); }

  BOOL OpenSession() {
    EnterLock guard(&state_.handleLock);
    if (state_.session) return TRUE;
    INTERNET_CONNECTED_INFO connected{INTERNET_STATE_CONNECTED, 0};
    inet_.pInternetSetOptionW(nullptr, INTERNET_OPTION_CONNECTED_STATE, &connected, sizeof connected);
    state_.session = inet_.pInternetOpenW(kAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (!state_.session) return FailWithLastError(_T("IDS_ERROR_CONNECT"));
    inet_.pInternetSetStatusCallback(state_.session, &ShowInternetStatus);
    return TRUE;
  }

  // The size of a file: over HTTP from a HEAD request following redirects, over FTP from its
  // directory entry unless FTP sizes are not to be asked; -1 when not obtainable.
  LONGLONG AskSize(const CString& url) {
    CString address = url;
    for (int hop = 0; hop <= kDownloadRedirectLimit && !record_.m_bAbort; ++hop) {
      tagUrlParts parts;
      if (!CrackUrl(inet_, address, parts)) return kSizeUnknown;
      if (parts.scheme == INTERNET_SCHEME_FTP) {
        if (state_.options.bNoFtpSize) return kSizeUnknown;
        Exchange exchange(inet_);
        return exchange.ConnectFtp(parts, parts.login) ? exchange.FtpFileSize(parts.path) : kSizeUnknown;
      }
      if (parts.scheme != INTERNET_SCHEME_HTTP && parts.scheme != INTERNET_SCHEME_HTTPS) return kSizeUnknown;
      Exchange exchange(inet_);
      if (!exchange.Send(_T("HEAD"), parts, CString())) return kSizeUnknown;
      const DWORD status = QueryStatus(inet_, exchange.request());
      if (status == HTTP_STATUS_OK) return QueryLength(inet_, exchange.request());
      if (status != HTTP_STATUS_MOVED && status != HTTP_STATUS_REDIRECT) return kSizeUnknown;
      address = QueryLocation(inet_, exchange.request(), address);
      if (address.IsEmpty()) return kSizeUnknown;
    }
    return kSizeUnknown;
  }

  BOOL Fetch(tagDownloadFile& file, LONGLONG& runBytes, LONGLONG runTotal);

 private:
  // Hands the dialog a question and waits for its answer; true when the user wants to try
  // again. Without a dialog nobody can be asked.
  bool AskDialog(UINT message, WPARAM wParam) {
    if (!record_.m_hDialog) return false;
    record_.m_bRetry = false;
    ResetEvent(record_.m_hEvent);
    Post(message, wParam, 0);
    WaitForSingleObject(record_.m_hEvent, INFINITE);
    return record_.m_bRetry && !record_.m_bAbort;
  }
  // A refused request: the body is read away and the dialog asked for credentials.
  bool AskToSendAgain(Exchange& exchange) {
    if (!record_.m_hDialog) return false;
    BYTE rest[100];
    DWORD read = 0;
    while (inet_.pInternetReadFile(exchange.request(), rest, sizeof rest, &read) && read) {
    }
    return AskDialog(WM_DOWNLOAD_AUTH, reinterpret_cast<WPARAM>(exchange.request()));
  }
  // Logs in to the FTP server of an address, asking the dialog for another login while the
  // server cannot be reached and the user wants to try again; FALSE with the last error.
  BOOL ConnectFtp(Exchange& exchange, tagUrlParts& parts) {
    for (;;) {
      if (exchange.ConnectFtp(parts, parts.login)) return TRUE;
      const DWORD error = GetLastError();
      if (record_.m_bAbort || !AskDialog(WM_DOWNLOAD_FTP_LOGIN, reinterpret_cast<WPARAM>(&parts.login))) {
        SetLastError(error);
        return FALSE;
      }
    }
  }
  BOOL FetchFtp(tagDownloadFile& file, tagUrlParts& parts, LONGLONG& runBytes, LONGLONG runTotal) {
    Exchange exchange(inet_);
    if (!ConnectFtp(exchange, parts)) return FailWithLastError(_T("IDS_ERROR_CONNECT_SERVER"));
    if (!exchange.OpenFtpFile(parts.path)) return FailWithLastError(_T("IDS_ERROR_URLOPEN"));
    // An FTP server is not asked for a part of a file, so a kept part is written afresh.
    return Receive(exchange, file, 0, file.llSize, runBytes, runTotal);
  }
  // Writes the body into "<target>.part" from the offset on and gives it the target's name
  // once whole.
  BOOL Receive(Exchange& exchange, tagDownloadFile& file, LONGLONG offset, LONGLONG fileSize, LONGLONG& runBytes,
               LONGLONG runTotal);
  BOOL Transfer(Exchange& exchange, HANDLE out, tagDownloadFile& file, LONGLONG fileBytes, LONGLONG fileSize,
                LONGLONG& runBytes, LONGLONG runTotal);
  void ShowProgress(LONGLONG fileBytes, LONGLONG fileSize, LONGLONG runBytes, LONGLONG runTotal);

  CDownload& record_;
  DownloadState& state_;
  CWinInet& inet_;
  DWORD lastShown_ = 0;
};

CString ByteCountText(LONGLONG done, LONGLONG size) {
  CString text;
  if (size > 0) {
    text = Text(_T("IDS_BYTECOUNT2"));
    CString number;
    number.Format(_T("%I64d"), done / 1024);
    text.Replace(_T("%1"), number);
    number.Format(_T("%I64d"), size / 1024);
    text.Replace(_T("%2"), number);
    number.Format(_T("%I64d"), done * 100 / size);
    text.Replace(_T("%3"), number);
  } else {
    text = Text(_T("IDS_BYTECOUNT1"));
    CString number;
    number.Format(_T("%I64d"), done / 1024);
    text.Replace(_T("%1"), number);
  }
  return text;
}

void RunContext::ShowProgress(LONGLONG fileBytes, LONGLONG fileSize, LONGLONG runBytes, LONGLONG runTotal) {
  const DWORD elapsedMs = GetTickCount() - record_.m_dwStart;
  const DWORD seconds = elapsedMs / 1000;
  if (seconds == lastShown_) return;
  lastShown_ = seconds;
  const DWORD elapsed = seconds ? seconds : 1;
  if (fileSize > 0) {
    // Bars count in kilobytes so that their range fits a message parameter.
    if (runTotal > 0) Post(WM_DOWNLOAD_RUN_PROGRESS, static_cast<WPARAM>(runBytes / 1024), static_cast<LPARAM>(runTotal / 1024));
    Post(WM_DOWNLOAD_FILE_PROGRESS, static_cast<WPARAM>(fileBytes / 1024), static_cast<LPARAM>(fileSize / 1024));
  }
  CString speed;
  speed.Format(_T("%I64d KB/s"), runBytes / 1024 / elapsed);
  PostText(IDC_DOWNLOAD_SPEED, speed);
  PostText(IDC_DOWNLOAD_FILE_BYTES, ByteCountText(fileBytes, fileSize));
  PostText(IDC_DOWNLOAD_RUN_BYTES, ByteCountText(runBytes, runTotal));
  PostText(IDC_DOWNLOAD_ELAPSED, ElapsedText(elapsed));
  if (runTotal > 0 && runBytes > 0)
    PostText(IDC_DOWNLOAD_REMAINING,
             ElapsedText(static_cast<DWORD>((runTotal - runBytes) * static_cast<LONGLONG>(elapsed) / runBytes)));
}

BOOL RunContext::Transfer(Exchange& exchange, HANDLE out, tagDownloadFile& file, LONGLONG fileBytes,
                          LONGLONG fileSize, LONGLONG& runBytes, LONGLONG runTotal) {
  Post(WM_DOWNLOAD_FILE_PROGRESS, 0, static_cast<LPARAM>(fileSize > 0 ? fileSize / 1024 : 0));
  BYTE block[kBlockSize];
  for (;;) {
    if (record_.m_bAbort) return Fail(_T("IDS_ERROR_READ"), _T("Cancelled."));
    DWORD read = 0;
    if (!inet_.pInternetReadFile(exchange.request(), block, kBlockSize, &read)) {
      // A transfer cut in the middle can go on from where it stopped.
      record_.m_bResumable = true;
      return FailWithLastError(_T("IDS_ERROR_READ"));
    }
    if (read == 0) break;
    DWORD written = 0;
    if (!WriteFile(out, block, read, &written, nullptr) || written != read)
      return Fail(_T("IDS_ERROR_WRITE"), file.strTarget, ErrorMessage(GetLastError()));
    fileBytes += read;
    runBytes += read;
    ShowProgress(fileBytes, fileSize, runBytes, runTotal);
  }
  return TRUE;
}

BOOL RunContext::Fetch(tagDownloadFile& file, LONGLONG& runBytes, LONGLONG runTotal) {
  const CString part = file.strTarget + kPartSuffix;
  LONGLONG offset = state_.options.bResume ? std::max<LONGLONG>(HostFileLength(part), 0) : 0;
  CString address = file.strUrl;
  for (int hop = 0;; ++hop) {
    if (record_.m_bAbort) return Fail(_T("IDS_ERROR_REQUEST"), _T("Cancelled."));
    if (hop > kDownloadRedirectLimit) return Fail(_T("IDS_ERROR_HTTPOPEN"), _T("Too many redirects."));
    tagUrlParts parts;
    if (!CrackUrl(inet_, address, parts)) return Fail(_T("IDS_ERROR_URL"), address);
    if (parts.scheme == INTERNET_SCHEME_FTP) return FetchFtp(file, parts, runBytes, runTotal);
    if (parts.scheme != INTERNET_SCHEME_HTTP && parts.scheme != INTERNET_SCHEME_HTTPS)
      return Fail(_T("IDS_ERROR_PROTOCOL"), address);
    CString headers;
    if (offset > 0) headers.Format(_T("Range: bytes=%I64d-\r\n"), offset);
    Exchange exchange(inet_);
    if (!exchange.Send(_T("GET"), parts, headers)) return FailWithLastError(_T("IDS_ERROR_CONNECT_SERVER"));
    const DWORD status = QueryStatus(inet_, exchange.request());
    if (status == 0) return Fail(_T("IDS_ERROR_STATUSCODE"), ErrorMessage(GetLastError()));
    if (status == HTTP_STATUS_MOVED || status == HTTP_STATUS_REDIRECT) {
      address = QueryLocation(inet_, exchange.request(), address);
      if (address.IsEmpty()) return Fail(_T("IDS_ERROR_HTTPOPEN"), _T("A redirect without a location."));
      CString text = Text(_T("IDS_STATUS_REDIRECT"));
      text.Replace(_T("%1"), address);
      PostText(IDC_DOWNLOAD_STATUS, text);
      continue;
    }
    if (status == HTTP_STATUS_RANGE_NOT_SATISFIABLE && offset > 0) {
      // The kept part is the whole file when the server names its size as the part's length;
      // otherwise the part is of no use and the next run starts afresh.
      if (QueryRangeTotal(inet_, exchange.request()) == offset)
        return MoveFileExW(part, file.strTarget, MOVEFILE_REPLACE_EXISTING) ? TRUE
                                                                              : FailWithLastError(_T("IDS_ERROR_FILEOPEN"));
      DeleteFileW(part);
      return Fail(_T("IDS_ERROR_HTTPOPEN"), _T("HTTP 416."));
    }
    if (status == HTTP_STATUS_DENIED || status == HTTP_STATUS_PROXY_AUTH_REQ) {
      if (AskToSendAgain(exchange)) continue;  // counts as a hop, so the asking ends
      return Fail(_T("IDS_ERROR_REQUESTFILE"), ErrorMessage(ERROR_INTERNET_INCORRECT_PASSWORD));
    }
    if (status == HTTP_STATUS_PARTIAL_CONTENT && offset == 0) return Fail(_T("IDS_ERROR_HTTPOPEN"), _T("206"));
    if (status != HTTP_STATUS_OK && status != HTTP_STATUS_PARTIAL_CONTENT) {
      CString code;
      code.Format(_T("HTTP %u."), status);
      return Fail(_T("IDS_ERROR_HTTPOPEN"), code);
    }
    if (status == HTTP_STATUS_OK) offset = 0;  // the server sends the whole file again
    const LONGLONG length = QueryLength(inet_, exchange.request());
    const LONGLONG fileSize = length >= 0 ? offset + length : file.llSize;
    return Receive(exchange, file, offset, fileSize, runBytes, runTotal);
  }
}

BOOL RunContext::Receive(Exchange& exchange, tagDownloadFile& file, LONGLONG offset, LONGLONG fileSize,
                         LONGLONG& runBytes, LONGLONG runTotal) {
  const CString part = file.strTarget + kPartSuffix;
  const HANDLE out = CreateFileW(part, GENERIC_WRITE, 0, nullptr, offset > 0 ? OPEN_ALWAYS : CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return FailWithLastError(_T("IDS_ERROR_FILEOPEN"));
  LARGE_INTEGER position{};
  position.QuadPart = offset;
  SetFilePointerEx(out, position, nullptr, FILE_BEGIN);
  SetEndOfFile(out);
  const BOOL done = Transfer(exchange, out, file, offset, fileSize, runBytes, runTotal);
  CloseHandle(out);
  if (!done) return FALSE;
  if (!MoveFileExW(part, file.strTarget, MOVEFILE_REPLACE_EXISTING)) return FailWithLastError(_T("IDS_ERROR_FILEOPEN"));
  return TRUE;
}

}  // namespace

BOOL CDownload::Run() {
  DownloadState& state = State();
  CWinInet& inet = GetWinInet();
  EnterLock guard(&state.listLock);
  m_strError.Empty();
  m_bResumable = false;
  if (!inet.IsBound()) {
    m_strError = Text(_T("IDS_ERROR_CONNECT"));
    return m_bResult = FALSE;
  }
  {
    EnterLock handles(&state.handleLock);
    state.active = this;
  }
  RunContext context(*this, state, inet);
  if (m_bAbort) return m_bResult = context.Fail(_T("IDS_ERROR_CONNECT"), CString());
  if (!context.OpenSession()) return m_bResult = FALSE;
  context.PostText(IDC_DOWNLOAD_STATUS, Text(_T("IDS_STATUS_FILEINFO")));
  LONGLONG total = 0;
  m_nFilesInRun = 0;
  for (auto& file : state.files) {
    if (file.bDone) continue;
    ++m_nFilesInRun;
    if (file.llSize == 0) file.llSize = context.AskSize(file.strUrl);
    if (m_bAbort) return m_bResult = context.Fail(_T("IDS_ERROR_REQUEST"), CString());
    total = (total < 0 || file.llSize <= 0) ? kSizeUnknown : total + file.llSize;
  }
  if (total > 0) context.Post(WM_DOWNLOAD_RUN_PROGRESS, 0, static_cast<LPARAM>(total / 1024));
  m_dwStart = GetTickCount();
  LONGLONG runBytes = 0;
  m_nFilesDone = 0;
  for (auto& file : state.files) {
    if (file.bDone) continue;
    CString count = Text(_T("IDS_FILECOUNT"));
    CString number;
    number.Format(_T("%d"), m_nFilesDone + 1);
    count.Replace(_T("%1"), number);
    number.Format(_T("%d"), m_nFilesInRun);
    count.Replace(_T("%2"), number);
    context.PostText(IDC_DOWNLOAD_STATUS, count);
    if (!context.Fetch(file, runBytes, total)) {
      if (!state.options.bResume) DeleteFileW(file.strTarget + kPartSuffix);
      return m_bResult = FALSE;
    }
    file.bDone = true;
    ++m_nFilesDone;
  }
  return m_bResult = TRUE;
}

DWORD WINAPI CDownload::ThreadProc(LPVOID self) {
  auto* record = static_cast<CDownload*>(self);
  record->Run();
  if (!record->m_bResult && !record->m_bAbort && !DownloadOptionHidden() && record->m_hDialog) {
    ResetEvent(record->m_hEvent);
    const UINT style = record->m_bResumable ? MB_RETRYCANCEL | MB_ICONERROR : MB_ICONERROR;
    PostMessageW(record->m_hDialog, WM_DOWNLOAD_FAILED, style, 0);
    WaitForSingleObject(record->m_hEvent, INFINITE);
  }
  if (record->m_hDialog) PostMessageW(record->m_hDialog, WM_DOWNLOAD_DONE, 0, 0);
  return 0;
}

BOOL RunDownloadDialog() {
  if (!DownloadListPending()) return TRUE;
  if (!DownloadOptionHidden()) {
    CDownloadDlg dialog(AfxGetMainWnd());
    const INT_PTR answer = dialog.DoModal();
    if (answer != -1) return dialog.m_bSuccess;
  }
  // Hidden, or no dialog template to show: the run goes on without a window.
  CDownload record;
  return record.Run();
}
