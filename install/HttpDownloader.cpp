// CHttpDownloader: one transfer over WinINet into the partial file, with resume, credentials
// after 401/407, the rate limit and cancel; CDownloader closes the handles.
#include "HttpDownloader.h"

#include <winbase.h>

#include <mutex>
#include <vector>

#include "EngineCallbacks.h"
#include "HalvoranApp.h"
#include "HttpLengths.h"
#include "IniReader.h"

namespace {

std::mutex g_closeLock;
constexpr DWORD kMaxHostName = 256;
// The receive time-out the downloader sets for the whole process.
constexpr DWORD kReceiveTimeoutMs = 7200000;

void CloseOnce(HINTERNET& handle) {
  if (handle != nullptr) InternetCloseHandle(handle);
  handle = nullptr;
}

CString PartialPathOf(const CString& target) { return target + CHttpDownloader::kPartialSuffix; }

}  // namespace

void CDownloader::CloseHandles() {
  std::lock_guard<std::mutex> g(g_closeLock);
  CloseOnce(m_hRequest);
  CloseOnce(m_hConnection);
  CloseOnce(m_hSession);
}

int CHttpDownloader::StartHttpDownload() {
  m_strPartialPath = PartialPathOf(m_strTargetPath);
  const bool existed = GetFileAttributesW(m_strPartialPath) != INVALID_FILE_ATTRIBUTES;
  int result = kFailed;
  try {
    result = Transfer();
  } catch (CException* e) {
    e->Delete();
    result = kFailed;
  }
  m_handles.CloseHandles();
  ULONGLONG written = 0;
  if (m_file.m_hFile != CFile::hFileNull) {
    try {
      written = m_file.GetLength();
      m_file.Close();
    } catch (CException* e) {
      e->Delete();
      m_file.Abort();
    }
  }
  if (result == kDone) {
    if (!MoveFileExW(m_strPartialPath, m_strTargetPath, MOVEFILE_REPLACE_EXISTING)) {
      ReportError(_T("IDS_HTTPDOWNLOAD_FAIL_FILE_OPEN"), GetLastError());
      result = kWriteFailed;
    }
  } else if (!existed && written == 0 && !m_strTargetPath.IsEmpty()) {
    DeleteFileW(m_strPartialPath);
  }
  return result;
}

void CHttpDownloader::Cancel() {
  InterlockedExchange(&m_lAbort, 1);
  m_handles.CloseHandles();
}

int CHttpDownloader::Transfer() {
  InterlockedExchange(&m_lAbort, 0);
  m_handles.CloseHandles();
  m_strLastErrorKey.Empty();
  m_dwLastError = 0;
  if (!ParseUrl()) {
    ReportError(_T("IDS_HTTPDOWNLOAD_FAIL_PARSE_URL"), ERROR_INTERNET_INVALID_URL);
    return kFailed;
  }
  if (!m_strTargetPath.IsEmpty() && !OpenTargetFile()) return kFailed;
  if (!OpenSession() || !Connect() || !OpenRequest()) return IsAborted() ? kAborted : kFailed;
  if (m_bUseProxyCredentials) SetProxyCredentials();
  if (m_bUseServerCredentials) SetServerCredentials();
  SetBackoff(5000);

  DWORD status = 0;
  int sent = SendAndAnswer(status);
  for (int retries = 0; sent == kDone && (status == HTTP_STATUS_DENIED || status == HTTP_STATUS_PROXY_AUTH_REQ);
       ++retries) {
    if (retries == kMaxAuthenticationRetries) {
      ReportError(_T("IDS_HTTPDOWNLOAD_INVALID_HTTP_RESPONSE"), status);
      return kFailed;
    }
    DrainBody();
    // Without credentials to send, the user is asked first; nobody to ask ends the transfer.
    const bool server = status == HTTP_STATUS_DENIED;
    if ((server ? m_strUserName : m_strProxyUserName).IsEmpty() &&
        (server ? m_bPromptServerCredentials : m_bPromptProxyCredentials) &&
        ShowInetErrorDialog(ERROR_INTERNET_INCORRECT_PASSWORD) == ERROR_CANCELLED) {
      ReportError(_T("IDS_HTTPDOWNLOAD_INVALID_HTTP_RESPONSE"), status);
      return kFailed;
    }
    if (server)
      SetServerCredentials();
    else
      SetProxyCredentials();
    sent = SendAndAnswer(status);
  }
  if (sent != kDone) return sent;
  if (status != HTTP_STATUS_OK && status != HTTP_STATUS_PARTIAL_CONTENT) {
    ReportError(_T("IDS_HTTPDOWNLOAD_INVALID_HTTP_RESPONSE"), status);
    return kFailed;
  }
  // A server that ignores the range sends the whole file: what the file holds is dropped.
  if (status == HTTP_STATUS_OK && m_ullResumeOffset != 0 && !StartOver()) return kWriteFailed;
  OnStatusText(_T("IDS_HTTPDOWNLOAD_GETTING_FILE_INFORMATION"));
  WCHAR lengthText[32] = {};
  DWORD size = sizeof lengthText;
  // A length of more digits than 64 bits hold says nothing of the size.
  ULONGLONG length = 0;
  const BOOL sizeKnown =
      HttpQueryInfoW(m_handles.m_hRequest, HTTP_QUERY_CONTENT_LENGTH, lengthText, &size, nullptr) &&
      ParseLeadingLength(lengthText, length);
  if (!sizeKnown) length = 0;
  if (sizeKnown) OnFileSize(length);
  OnStatusText(_T("IDS_HTTPDOWNLOAD_RETRIEVING_FILE"));
  return ReadBody(length, sizeKnown);
}

bool CHttpDownloader::ParseUrl() {
  const auto crack = [this](const CString& url) {
    WCHAR host[kMaxHostName + 1] = {};
    std::vector<WCHAR> path(static_cast<size_t>(url.GetLength()) + 1);
    URL_COMPONENTSW parts{};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host;
    parts.dwHostNameLength = kMaxHostName + 1;
    parts.lpszUrlPath = path.data();
    parts.dwUrlPathLength = static_cast<DWORD>(path.size());
    if (!InternetCrackUrlW(url, 0, 0, &parts)) return false;
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) return false;
    m_nScheme = parts.nScheme;
    m_strServer = host;
    m_strObject = path.data();
    if (m_strObject.IsEmpty()) m_strObject = _T("/");
    m_nPort = parts.nPort;
    return !m_strServer.IsEmpty();
  };
  return m_strUrl.Find(_T("://")) >= 0 ? crack(m_strUrl) : crack(_T("http://") + m_strUrl);
}

bool CHttpDownloader::OpenTargetFile() {
  const bool resume = m_ullResumeOffset != 0 && GetFileAttributesW(m_strPartialPath) != INVALID_FILE_ATTRIBUTES;
  UINT flags = CFile::modeCreate | CFile::modeWrite | CFile::shareDenyWrite | CFile::typeBinary;
  if (resume) flags |= CFile::modeNoTruncate;
  if (!m_file.Open(m_strPartialPath, flags)) {
    ReportError(_T("IDS_HTTPDOWNLOAD_FAIL_FILE_OPEN"), GetLastError());
    return false;
  }
  if (!resume) m_ullResumeOffset = 0;
  try {
    // Resuming past what the file holds would leave a hole: resume from its end instead.
    if (m_ullResumeOffset > m_file.GetLength()) m_ullResumeOffset = m_file.GetLength();
    m_file.Seek(static_cast<LONGLONG>(m_ullResumeOffset), CFile::begin);
    m_file.SetLength(m_ullResumeOffset);
  } catch (CException* e) {
    e->Delete();
    ReportError(_T("IDS_HTTPDOWNLOAD_FAIL_FILE_SEEK"), GetLastError());
    return false;
  }
  return true;
}

bool CHttpDownloader::StartOver() {
  m_ullResumeOffset = 0;
  if (m_file.m_hFile == CFile::hFileNull) return true;
  try {
    m_file.SeekToBegin();
    m_file.SetLength(0);
  } catch (CException* e) {
    e->Delete();
    ReportError(_T("IDS_HTTPDOWNLOAD_FAIL_FILE_SEEK"), GetLastError());
    return false;
  }
  return true;
}

int CHttpDownloader::SendAndAnswer(DWORD& status) {
  const CString headers = GetExtraHeaders();
  bool certificateAsked = false;
  for (;;) {
    if (HttpSendRequestW(m_handles.m_hRequest, headers.IsEmpty() ? nullptr : headers.GetString(),
                         static_cast<DWORD>(headers.GetLength()), nullptr, 0))
      break;
    const DWORD error = GetLastError();
    if (IsAborted()) {
      OnStatusText(_T("IDS_HTTPDOWNLOAD_ABORTING_TRANSFER"));
      return kAborted;
    }
    if (error == ERROR_INTERNET_CLIENT_AUTH_CERT_NEEDED && !certificateAsked) {
      certificateAsked = true;
      // Without certificates to send, the request goes again without one.
      if (m_bSendClientCertificate ? OnClientCertificateNeeded()
                                   : InternetSetOptionW(m_handles.m_hRequest,
                                                        INTERNET_OPTION_SECURITY_SELECT_CLIENT_CERT, nullptr, 0))
        continue;
    }
    ReportError(_T("IDS_HTTPDOWNLOAD_FAIL_CONNECT_SERVER"), error);
    return kFailed;
  }
  DWORD size = sizeof status;
  if (!HttpQueryInfoW(m_handles.m_hRequest, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                      nullptr)) {
    ReportError(_T("IDS_HTTPDOWNLOAD_INVALID_SERVER_RESPONSE"), GetLastError());
    return kFailed;
  }
  return kDone;
}

void CHttpDownloader::DrainBody() {
  std::vector<BYTE> buffer(static_cast<size_t>(m_nReadBufferSize > 0 ? m_nReadBufferSize : 8192));
  DWORD read = 0;
  while (InternetReadFile(m_handles.m_hRequest, buffer.data(), static_cast<DWORD>(buffer.size()), &read) && read != 0) {
  }
}

int CHttpDownloader::ReadBody(ULONGLONG length, BOOL sizeKnown) {
  std::vector<BYTE> buffer(static_cast<size_t>(m_nReadBufferSize > 0 ? m_nReadBufferSize : 8192));
  const ULONGLONG total = m_ullResumeOffset + length;
  const ULONGLONG start = GetTickCount64();
  ULONGLONG received = 0;
  for (;;) {
    if (IsAborted()) {
      OnStatusText(_T("IDS_HTTPDOWNLOAD_ABORTING_TRANSFER"));
      return kAborted;
    }
    DWORD read = 0;
    if (!InternetReadFile(m_handles.m_hRequest, buffer.data(), static_cast<DWORD>(buffer.size()), &read)) {
      if (IsAborted()) return kAborted;
      ReportError(_T("IDS_HTTPDOWNLOAD_ERROR_READFILE"), GetLastError());
      return kFailed;
    }
    if (read == 0) break;
    if (!WriteBlock(buffer.data(), read)) {
      const DWORD error = GetLastError();
      const CEngineProgressView* view = GetEngineProgressView();
      if (view == nullptr || !view->bNotifyMode)
        MessageBoxW(nullptr, _T("Unable to save the download file. Download Aborted."), GetAppName(),
                    MB_OK | MB_ICONSTOP);
      ReportError(_T("IDS_HTTPDOWNLOAD_ERROR_READFILE"), error);
      return kWriteFailed;
    }
    received += read;
    if (m_dRateLimit > 0) {
      const double elapsed = static_cast<double>(GetTickCount64() - start);
      const double rate = elapsed > 0 ? static_cast<double>(received) / elapsed : static_cast<double>(received);
      if (rate > m_dRateLimit) {
        const double wait = (elapsed > 0 ? elapsed : 1.0) * (rate / m_dRateLimit) - elapsed;
        Sleep(static_cast<DWORD>(wait));
      }
    }
    OnProgress(m_ullResumeOffset + received, total, sizeKnown);
  }
  // A body shorter than announced was cut: the partial file keeps it for a later resume.
  if (sizeKnown && received != length) {
    ReportError(_T("IDS_HTTPDOWNLOAD_ERROR_READFILE"), ERROR_INTERNET_CONNECTION_ABORTED);
    return kFailed;
  }
  return kDone;
}

BOOL CHttpDownloader::OpenSession() {
  const bool named = !m_bUsePreconfiguredProxy && !m_strProxyServers.IsEmpty();
  const DWORD access = m_bUsePreconfiguredProxy ? INTERNET_OPEN_TYPE_PRECONFIG
                       : named                  ? INTERNET_OPEN_TYPE_PROXY
                                                : INTERNET_OPEN_TYPE_DIRECT;
  m_handles.m_hSession =
      InternetOpenW(m_strAgent, access, named ? m_strProxyServers.GetString() : nullptr, nullptr, 0);
  if (m_handles.m_hSession == nullptr) {
    ReportError(_T("IDS_HTTPDOWNLOAD_GENERAL_ERROR"), GetLastError());
    return FALSE;
  }
  InternetSetStatusCallbackW(m_handles.m_hSession, StatusRouter);
  return TRUE;
}

BOOL CHttpDownloader::Connect() {
  m_handles.m_hConnection =
      InternetConnectW(m_handles.m_hSession, m_strServer, m_nPort, m_strUserName.IsEmpty() ? nullptr : m_strUserName.GetString(),
                       m_strPassword.IsEmpty() ? nullptr : m_strPassword.GetString(), INTERNET_SERVICE_HTTP, 0,
                       reinterpret_cast<DWORD_PTR>(this));
  if (m_handles.m_hConnection == nullptr) {
    ReportError(_T("IDS_HTTPDOWNLOAD_FAIL_CONNECT_SERVER"), GetLastError());
    return FALSE;
  }
  return TRUE;
}

BOOL CHttpDownloader::OpenRequest() {
  LPCWSTR acceptTypes[] = {m_strAcceptType.GetString(), nullptr};
  m_handles.m_hRequest = HttpOpenRequestW(m_handles.m_hConnection, _T("GET"), m_strObject, nullptr, nullptr,
                                          acceptTypes, GetRequestFlags(), reinterpret_cast<DWORD_PTR>(this));
  if (m_handles.m_hRequest == nullptr) {
    ReportError(_T("IDS_HTTPDOWNLOAD_FAIL_CONNECT_SERVER"), GetLastError());
    return FALSE;
  }
  return TRUE;
}

BOOL CHttpDownloader::SetServerCredentials() {
  if (m_strUserName.IsEmpty()) return TRUE;
  return InternetSetOptionW(m_handles.m_hRequest, INTERNET_OPTION_USERNAME,
                            const_cast<WCHAR*>(m_strUserName.GetString()), static_cast<DWORD>(m_strUserName.GetLength())) &&
         InternetSetOptionW(m_handles.m_hRequest, INTERNET_OPTION_PASSWORD,
                            const_cast<WCHAR*>(m_strPassword.GetString()), static_cast<DWORD>(m_strPassword.GetLength()));
}

BOOL CHttpDownloader::SetProxyCredentials() {
  if (m_strProxyUserName.IsEmpty()) return TRUE;
  return InternetSetOptionW(m_handles.m_hRequest, INTERNET_OPTION_PROXY_USERNAME,
                            const_cast<WCHAR*>(m_strProxyUserName.GetString()),
                            static_cast<DWORD>(m_strProxyUserName.GetLength())) &&
         InternetSetOptionW(m_handles.m_hRequest, INTERNET_OPTION_PROXY_PASSWORD,
                            const_cast<WCHAR*>(m_strProxyPassword.GetString()),
                            static_cast<DWORD>(m_strProxyPassword.GetLength()));
}

BOOL CHttpDownloader::OnClientCertificateNeeded() { return TRUE; }

void CHttpDownloader::OnStatusCallback(DWORD, LPVOID, DWORD) {}

void CHttpDownloader::ReportError(LPCTSTR textKey, DWORD error) {
  m_strLastErrorKey = textKey;
  m_dwLastError = error;
  m_strLastErrorText = ErrorText(error);
  m_strLastErrorMessage = GetLangString(textKey, _T("QVX"));
}

CString CHttpDownloader::ReportNumber(DWORD number) const {
  CString text;
  text.Format(_T("%u"), number);
  return text;
}

DWORD CHttpDownloader::GetRequestFlags() const {
  DWORD flags = kHttpFlags;
  if (m_nScheme == INTERNET_SCHEME_HTTPS) flags |= INTERNET_FLAG_SECURE;
  if (m_bNoAutoRedirect) flags |= INTERNET_FLAG_NO_AUTO_REDIRECT;
  return flags;
}

CString CHttpDownloader::GetExtraHeaders() const {
  CString headers;
  if (m_ullResumeOffset != 0) headers.Format(_T("Range: bytes=%I64u-\r\n"), m_ullResumeOffset);
  return headers;
}

DWORD CHttpDownloader::ShowInetErrorDialog(DWORD error) {
  return InternetErrorDlg(nullptr, m_handles.m_hRequest, error, 0, nullptr);
}

BOOL CHttpDownloader::IsAborted() const {
  return InterlockedCompareExchange(const_cast<volatile LONG*>(&m_lAbort), 0, 0) != 0;
}

void CHttpDownloader::OnFileSize(ULONGLONG) {}

void CHttpDownloader::OnProgress(ULONGLONG, ULONGLONG, BOOL) {}

BOOL CHttpDownloader::WriteBlock(const BYTE* buffer, DWORD length) {
  try {
    m_file.Write(buffer, length);
  } catch (CException* e) {
    e->Delete();
    return FALSE;
  }
  return TRUE;
}

void CHttpDownloader::SetBackoff(DWORD) {
  DWORD backoff = 1000;
  InternetSetOptionW(m_handles.m_hRequest, INTERNET_OPTION_CONNECT_BACKOFF, &backoff, sizeof backoff);
}

void CHttpDownloader::SetReceiveTimeout() {
  DWORD timeout = kReceiveTimeoutMs;
  InternetSetOptionW(nullptr, INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof timeout);
}

void CHttpDownloader::OnStatusText(LPCTSTR) {}

CString CHttpDownloader::ErrorText(DWORD error) {
  WCHAR text[4096] = {};
  const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_FROM_SYSTEM |
                                          FORMAT_MESSAGE_IGNORE_INSERTS,
                                      GetModuleHandleW(_T("WININET.DLL")), error, 2048, text, 4096, nullptr);
  return CString(text, static_cast<int>(length));
}

void CALLBACK CHttpDownloader::StatusRouter(HINTERNET, DWORD_PTR context, DWORD status, LPVOID info,
                                            DWORD infoLength) {
  if (context != 0) reinterpret_cast<CHttpDownloader*>(context)->OnStatusCallback(status, info, infoLength);
}
