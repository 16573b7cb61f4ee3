// One HTTP or FTP exchange on libcurl, driven synchronously by the caller's thread: send and
// wait for the response headers (FTP: the data connection of a download, or the end of a
// login or size query), then read the body as it arrives. Every wait is measured on the
// layer's clock (zx/clock.h), so a test's ManualClock decides when a time-out passes.
// Inet-internal.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "wintypes.h"
#include "zx/ftpreplies.h"
#include "zx/httpheaders.h"

namespace zx::inet {

// What to send and how.
struct TransferSettings {
  std::string url;
  // HTTP: "GET", "POST", "HEAD" or another method. FTP: "RETR" downloads the address's file,
  // "SIZE" asks its size and time, "LOGIN" only logs in.
  std::string verb;
  bool ftp = false;
  std::vector<std::string> headers;  // "Name: value"
  std::string body;
  bool http10 = false;
  bool followRedirects = false;
  std::string proxy;      // "host:port"; empty for a direct connection
  std::string connectTo;  // a libcurl CONNECT_TO entry from the host routes; may be empty
  std::string agent;
  std::string userName, password;            // server credentials (basic)
  std::string proxyUserName, proxyPassword;  // proxy credentials (basic)
  bool verifyHostName = true;
  DWORD connectTimeoutMs = 0;  // 0 or INFINITE: no limit
  DWORD receiveTimeoutMs = 0;
};

// Called on the caller's thread between network steps with a WinINet status and its text.
using StatusSink = std::function<void(DWORD status, const std::string& info)>;

class Transfer {
 public:
  Transfer();
  ~Transfer();
  Transfer(const Transfer&) = delete;
  Transfer& operator=(const Transfer&) = delete;

  // Starts the exchange (dropping any earlier one) and waits for the final response headers.
  // Answers 0 or a WinINet error code.
  DWORD Send(const TransferSettings& settings, const std::atomic<bool>& cancelled, const StatusSink& status);
  // Copies up to size bytes of the body as soon as any are there, waiting at most
  // receiveTimeoutMs; 0 bytes once the body is complete. Answers 0 or a WinINet error code (a
  // cut transfer reports its error after the bytes that did arrive).
  DWORD Read(void* buffer, DWORD size, DWORD* got, const std::atomic<bool>& cancelled, DWORD receiveTimeoutMs);
  // From any thread: wakes a Send or Read blocked in this transfer so it sees `cancelled`.
  void Wake();

  bool responded() const { return headersDone_; }
  // The final response's status and header lines.
  const HttpHeaders& headers() const { return headers_; }
  // FTP: the server's replies so far.
  const FtpReplies& replies() const { return replies_; }
  // The size and modification time (seconds since 1970) the server gave; -1 when unknown.
  long long contentLength() const;
  long long fileTime() const;

 private:
  static std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* self);
  static std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* self);
  static int OnConnected(void* self, char* remoteAddress, char* localAddress, int remotePort,
                         int localPort);

  bool Configure(const TransferSettings& settings);
  bool ConfigureFtp(const TransferSettings& settings);
  // The header, body and connection callbacks of the exchange.
  void SetCallbacks();
  void OnFtpLine(const std::string& line);
  // The response is there: its body can be read, and the statuses of its arrival are due.
  void Respond();
  void Abandon();
  void Finish(DWORD error);
  // Drives the exchange until ready() holds or it ends; answers 0 or a WinINet error code
  // (time-out, cancel). phaseStart is when the current wait for the server began.
  DWORD Pump(const std::function<bool()>& ready, const std::atomic<bool>& cancelled,
             std::uint64_t phaseStart);
  void ReportPending();

  void* multi_ = nullptr;
  void* easy_ = nullptr;
  void* headerList_ = nullptr;
  void* connectToList_ = nullptr;
  bool followRedirects_ = false;
  bool ftp_ = false;
  FtpReplies replies_;
  DWORD connectTimeoutMs_ = 0;
  DWORD receiveTimeoutMs_ = 0;
  const StatusSink* status_ = nullptr;
  std::vector<std::pair<DWORD, std::string>> pendingStatus_;

  bool connected_ = false;
  std::uint64_t connectedAt_ = 0;
  bool headersDone_ = false;
  bool finished_ = false;
  DWORD finishError_ = 0;
  HttpHeaders headers_;
  std::string body_;
  std::size_t bodyOffset_ = 0;
};

}  // namespace zx::inet
