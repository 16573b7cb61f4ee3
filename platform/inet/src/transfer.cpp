// One HTTP or FTP exchange on libcurl's multi interface, pumped by the caller's thread.
#include "transfer.h"

#include <curl/curl.h>
#include <strings.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <mutex>

#include "wininet.h"
#include "zx/clock.h"

namespace zx::inet {
namespace {

// With a clock that moves only on request, re-check it this often (host milliseconds).
constexpr int kManualClockPollMs = 5;
// With the host clock, wake at least this often to look at the deadline again.
constexpr int kHostClockPollMs = 1000;
constexpr long kMaxRedirects = 10;

CURLM* Multi(void* handle) { return static_cast<CURLM*>(handle); }
CURL* Easy(void* handle) { return static_cast<CURL*>(handle); }
curl_slist* List(void* list) { return static_cast<curl_slist*>(list); }

void EnsureCurl() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::uint64_t NowMs() { return CurrentClock().MonotonicMs(); }

std::uint64_t After(std::uint64_t start, DWORD timeoutMs) {
  if (timeoutMs == 0 || timeoutMs == INFINITE) return std::numeric_limits<std::uint64_t>::max();
  return start + timeoutMs;
}

DWORD ErrorOf(CURLcode code) {
  switch (code) {
    case CURLE_OK:
      return 0;
    case CURLE_URL_MALFORMAT:
      return ERROR_INTERNET_INVALID_URL;
    case CURLE_UNSUPPORTED_PROTOCOL:
      return ERROR_INTERNET_UNRECOGNIZED_SCHEME;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
      return ERROR_INTERNET_NAME_NOT_RESOLVED;
    case CURLE_COULDNT_CONNECT:
      return ERROR_INTERNET_CANNOT_CONNECT;
    case CURLE_OPERATION_TIMEDOUT:
      return ERROR_INTERNET_TIMEOUT;
    case CURLE_TOO_MANY_REDIRECTS:
      return ERROR_HTTP_REDIRECT_FAILED;
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_BAD_CONTENT_ENCODING:
    case CURLE_HTTP2:
      return ERROR_HTTP_INVALID_SERVER_RESPONSE;
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
      return ERROR_INTERNET_CONNECTION_RESET;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
      return ERROR_INTERNET_SECURE_FAILURE;
    case CURLE_LOGIN_DENIED:
      return ERROR_INTERNET_LOGIN_FAILURE;
    case CURLE_ABORTED_BY_CALLBACK:
      return ERROR_INTERNET_OPERATION_CANCELLED;
    default:
      // Nothing, or less than announced, came back (CURLE_GOT_NOTHING, CURLE_PARTIAL_FILE...).
      return ERROR_INTERNET_CONNECTION_ABORTED;
  }
}

bool HasHeader(const std::vector<std::string>& lines, const char* name) {
  const std::size_t length = std::strlen(name);
  return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
    return line.size() > length && line[length] == ':' && strncasecmp(line.c_str(), name, length) == 0;
  });
}

}  // namespace

Transfer::Transfer() {
  EnsureCurl();
  multi_ = curl_multi_init();
}

Transfer::~Transfer() {
  Abandon();
  if (multi_) curl_multi_cleanup(Multi(multi_));
}

void Transfer::Wake() {
  if (multi_) curl_multi_wakeup(Multi(multi_));
}

void Transfer::Abandon() {
  if (easy_) {
    curl_multi_remove_handle(Multi(multi_), Easy(easy_));
    curl_easy_cleanup(Easy(easy_));
    easy_ = nullptr;
  }
  curl_slist_free_all(List(headerList_));
  curl_slist_free_all(List(connectToList_));
  headerList_ = connectToList_ = nullptr;
  connected_ = headersDone_ = finished_ = false;
  connectedAt_ = 0;
  finishError_ = 0;
  headers_.Clear();
  ftp_ = false;
  replies_.Clear();
  body_.clear();
  bodyOffset_ = 0;
  pendingStatus_.clear();
}

void Transfer::Finish(DWORD error) {
  if (finished_) return;
  finished_ = true;
  finishError_ = error;
  // An FTP query ends without a data connection; its whole answer is there.
  if (ftp_ && error == 0) headersDone_ = true;
  // Drops the connection at once when the exchange is given up half-way.
  curl_multi_remove_handle(Multi(multi_), Easy(easy_));
}

bool Transfer::Configure(const TransferSettings& settings) {
  easy_ = curl_easy_init();
  if (!easy_ || !multi_) return false;
  CURL* easy = Easy(easy_);
  followRedirects_ = settings.followRedirects;
  connectTimeoutMs_ = settings.connectTimeoutMs;
  receiveTimeoutMs_ = settings.receiveTimeoutMs;

  if (settings.ftp) return ConfigureFtp(settings);

  curl_slist* headers = nullptr;
  for (const std::string& header : settings.headers) headers = curl_slist_append(headers, header.c_str());
  // libcurl's own additions that WinINet would not send.
  headers = curl_slist_append(headers, "Expect:");
  if (!HasHeader(settings.headers, "Accept")) headers = curl_slist_append(headers, "Accept:");
  if (!HasHeader(settings.headers, "Content-Type")) headers = curl_slist_append(headers, "Content-Type:");
  headerList_ = headers;
  if (!settings.connectTo.empty()) connectToList_ = curl_slist_append(nullptr, settings.connectTo.c_str());

  bool ok = curl_easy_setopt(easy, CURLOPT_URL, settings.url.c_str()) == CURLE_OK;
  ok = ok && curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK;
  ok = ok && curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https") == CURLE_OK;
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  // An empty proxy also keeps libcurl from taking one from the environment.
  curl_easy_setopt(easy, CURLOPT_PROXY, settings.proxy.c_str());
  curl_easy_setopt(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
  if (connectToList_) curl_easy_setopt(easy, CURLOPT_CONNECT_TO, List(connectToList_));
  curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers);
  curl_easy_setopt(easy, CURLOPT_HTTP_VERSION,
                   settings.http10 ? CURL_HTTP_VERSION_1_0 : CURL_HTTP_VERSION_1_1);
  curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, settings.followRedirects ? 1L : 0L);
  curl_easy_setopt(easy, CURLOPT_MAXREDIRS, kMaxRedirects);
  if (!settings.agent.empty()) curl_easy_setopt(easy, CURLOPT_USERAGENT, settings.agent.c_str());

  if (settings.verb == "HEAD") {
    curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
  } else if (settings.verb == "POST" || !settings.body.empty()) {
    curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(settings.body.size()));
    curl_easy_setopt(easy, CURLOPT_COPYPOSTFIELDS, settings.body.data());
    if (settings.verb != "POST") curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, settings.verb.c_str());
  } else if (settings.verb == "GET") {
    curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
  } else {
    curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, settings.verb.c_str());
  }

  if (!settings.userName.empty()) {
    curl_easy_setopt(easy, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC));
    curl_easy_setopt(easy, CURLOPT_USERNAME, settings.userName.c_str());
    curl_easy_setopt(easy, CURLOPT_PASSWORD, settings.password.c_str());
  }
  if (!settings.proxyUserName.empty()) {
    curl_easy_setopt(easy, CURLOPT_PROXYAUTH, static_cast<long>(CURLAUTH_BASIC));
    curl_easy_setopt(easy, CURLOPT_PROXYUSERNAME, settings.proxyUserName.c_str());
    curl_easy_setopt(easy, CURLOPT_PROXYPASSWORD, settings.proxyPassword.c_str());
  }
  if (!settings.verifyHostName) curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 0L);

  SetCallbacks();
  return ok;
}

void Transfer::SetCallbacks() {
  CURL* easy = Easy(easy_);
  curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &Transfer::OnHeader);
  curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Transfer::OnBody);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
  curl_easy_setopt(easy, CURLOPT_PREREQFUNCTION, &Transfer::OnConnected);
  curl_easy_setopt(easy, CURLOPT_PREREQDATA, this);
}

bool Transfer::ConfigureFtp(const TransferSettings& settings) {
  CURL* easy = Easy(easy_);
  ftp_ = true;
  bool ok = curl_easy_setopt(easy, CURLOPT_URL, settings.url.c_str()) == CURLE_OK;
  ok = ok && curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "ftp") == CURLE_OK;
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy, CURLOPT_PROXY, "");
  if (!settings.connectTo.empty()) {
    connectToList_ = curl_slist_append(nullptr, settings.connectTo.c_str());
    curl_easy_setopt(easy, CURLOPT_CONNECT_TO, List(connectToList_));
  }
  // The path goes whole into one command, as WinINet sends it.
  curl_easy_setopt(easy, CURLOPT_FTP_FILEMETHOD, static_cast<long>(CURLFTPMETHOD_NOCWD));
  if (settings.verb != "RETR") curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
  if (settings.verb == "SIZE") curl_easy_setopt(easy, CURLOPT_FILETIME, 1L);
  if (!settings.userName.empty()) {
    curl_easy_setopt(easy, CURLOPT_USERNAME, settings.userName.c_str());
    curl_easy_setopt(easy, CURLOPT_PASSWORD, settings.password.c_str());
  }
  SetCallbacks();
  return ok;
}

long long Transfer::contentLength() const {
  curl_off_t value = -1;
  if (!easy_ || curl_easy_getinfo(Easy(easy_), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &value) != CURLE_OK) return -1;
  return value;
}

long long Transfer::fileTime() const {
  curl_off_t value = -1;
  if (!easy_ || curl_easy_getinfo(Easy(easy_), CURLINFO_FILETIME_T, &value) != CURLE_OK) return -1;
  return value;
}

void Transfer::Respond() {
  headersDone_ = true;
  pendingStatus_.emplace_back(INTERNET_STATUS_REQUEST_SENT, std::string());
  pendingStatus_.emplace_back(INTERNET_STATUS_RECEIVING_RESPONSE, std::string());
  pendingStatus_.emplace_back(INTERNET_STATUS_RESPONSE_RECEIVED, std::string());
}

void Transfer::OnFtpLine(const std::string& line) {
  replies_.Feed(line);
  const int code = replies_.lastCode();
  // 125 and 150 open the data connection of a download: its body can be read now.
  if (!headersDone_ && (code == 125 || code == 150)) {
    Respond();
  }
}

std::size_t Transfer::OnHeader(char* data, std::size_t size, std::size_t count, void* self) {
  auto* t = static_cast<Transfer*>(self);
  const std::size_t length = size * count;
  if (t->ftp_) {
    std::string line(data, length);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    t->OnFtpLine(line);
    return length;
  }
  if (t->headersDone_) return length;  // trailers of a chunked body
  switch (t->headers_.Feed(std::string_view(data, length), t->followRedirects_)) {
    case HttpHeaders::Step::kMore:
      break;
    case HttpHeaders::Step::kRedirect:
      t->pendingStatus_.emplace_back(INTERNET_STATUS_REDIRECT, t->headers_.Values("Location").front());
      break;
    case HttpHeaders::Step::kDone:
      t->Respond();
      break;
  }
  return length;
}

std::size_t Transfer::OnBody(char* data, std::size_t size, std::size_t count, void* self) {
  auto* t = static_cast<Transfer*>(self);
  t->body_.append(data, size * count);
  return size * count;
}

int Transfer::OnConnected(void* self, char* remoteAddress, char* /*localAddress*/,
                          int /*remotePort*/, int /*localPort*/) {
  auto* t = static_cast<Transfer*>(self);
  if (!t->connected_) {
    t->pendingStatus_.emplace_back(INTERNET_STATUS_NAME_RESOLVED, remoteAddress);
    t->pendingStatus_.emplace_back(INTERNET_STATUS_CONNECTING_TO_SERVER, remoteAddress);
    t->pendingStatus_.emplace_back(INTERNET_STATUS_CONNECTED_TO_SERVER, remoteAddress);
  }
  t->pendingStatus_.emplace_back(INTERNET_STATUS_SENDING_REQUEST, std::string());
  t->connected_ = true;
  t->connectedAt_ = NowMs();
  return CURL_PREREQFUNC_OK;
}

void Transfer::ReportPending() {
  std::vector<std::pair<DWORD, std::string>> pending;
  pending.swap(pendingStatus_);
  if (!status_ || !*status_) return;
  for (const auto& [code, info] : pending) (*status_)(code, info);
}

DWORD Transfer::Pump(const std::function<bool()>& ready, const std::atomic<bool>& cancelled,
                     std::uint64_t phaseStart) {
  Clock& clock = CurrentClock();
  for (;;) {
    int running = 0;
    if (curl_multi_perform(Multi(multi_), &running) != CURLM_OK) return ERROR_INTERNET_INTERNAL_ERROR;
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(Multi(multi_), &queued)) {
      if (message->msg == CURLMSG_DONE && message->easy_handle == easy_)
        Finish(ErrorOf(message->data.result));
    }
    ReportPending();
    if (ready() || finished_) return 0;
    if (cancelled.load()) return ERROR_INTERNET_OPERATION_CANCELLED;
    const std::uint64_t deadline = connected_
                                       ? After(std::max(phaseStart, connectedAt_), receiveTimeoutMs_)
                                       : After(phaseStart, connectTimeoutMs_);
    const std::uint64_t now = clock.MonotonicMs();
    if (now >= deadline) return ERROR_INTERNET_TIMEOUT;
    const int waitMs = clock.MovesByItself()
                           ? static_cast<int>(std::min<std::uint64_t>(deadline - now, kHostClockPollMs))
                           : kManualClockPollMs;
    curl_multi_poll(Multi(multi_), nullptr, 0, waitMs, nullptr);
  }
}

DWORD Transfer::Send(const TransferSettings& settings, const std::atomic<bool>& cancelled,
                     const StatusSink& status) {
  Abandon();
  if (!Configure(settings)) {
    Abandon();
    return ERROR_INTERNET_INTERNAL_ERROR;
  }
  if (curl_multi_add_handle(Multi(multi_), Easy(easy_)) != CURLM_OK) {
    Abandon();
    return ERROR_INTERNET_INTERNAL_ERROR;
  }
  status_ = &status;
  DWORD error = Pump([this] { return headersDone_; }, cancelled, NowMs());
  ReportPending();
  status_ = nullptr;
  if (error == 0 && !headersDone_)
    error = finishError_ != 0 ? finishError_ : ERROR_HTTP_INVALID_SERVER_RESPONSE;
  if (error != 0) Finish(error);
  return error;
}

DWORD Transfer::Read(void* buffer, DWORD size, DWORD* got, const std::atomic<bool>& cancelled,
                     DWORD receiveTimeoutMs) {
  *got = 0;
  if (!easy_ || !headersDone_) return ERROR_INTERNET_INCORRECT_HANDLE_STATE;
  receiveTimeoutMs_ = receiveTimeoutMs;
  auto available = [this] { return body_.size() - bodyOffset_; };
  if (size > 0 && available() == 0 && !finished_) {
    const DWORD error = Pump([&] { return available() > 0; }, cancelled, NowMs());
    pendingStatus_.clear();
    if (error != 0) {
      Finish(error);
      return error;
    }
  }
  const std::size_t count = std::min<std::size_t>(size, available());
  if (count > 0) std::memcpy(buffer, body_.data() + bodyOffset_, count);
  bodyOffset_ += count;
  if (bodyOffset_ == body_.size()) {
    body_.clear();
    bodyOffset_ = 0;
  }
  *got = static_cast<DWORD>(count);
  return count == 0 && size > 0 && finished_ ? finishError_ : 0;
}

}  // namespace zx::inet
