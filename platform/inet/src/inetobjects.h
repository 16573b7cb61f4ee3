// The objects behind HINTERNET handles: a session, its connections (HTTP or FTP) and their
// requests (an FTP file open for reading is a request too) and FTP finds, with
// the options and status callback each inherits from its parent, and the closing of a handle
// together with everything opened below it. Inet-internal.
#pragma once
#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "errhandlingapi.h"
#include "transfer.h"
#include "wininet.h"
#include "zx/handles.h"

namespace zx::inet {

// Option values of one handle: numbers (time-outs, retries) and texts (user names, passwords).
struct Options {
  std::map<DWORD, DWORD> numbers;
  std::map<DWORD, std::u16string> texts;

  DWORD Number(DWORD option) const;
  std::u16string Text(DWORD option) const;
};

enum class Kind { Session, Connection, Request, Find };

class InternetObject : public KernelObject {
 public:
  InternetObject(Kind kind, std::shared_ptr<InternetObject> parent, DWORD_PTR context);

  Kind kind() const { return kind_; }
  HINTERNET handle() const { return handle_; }
  DWORD_PTR context() const { return context_; }
  bool closed() const { return closed_.load(); }
  const std::atomic<bool>& closedFlag() const { return closed_; }

  Options options() const;
  void SetNumber(DWORD option, DWORD value);
  void SetText(DWORD option, std::u16string value);
  INTERNET_STATUS_CALLBACK SwapCallback(INTERNET_STATUS_CALLBACK callback);
  // Calls the status callback, if any, with a UTF-16 copy of the info text.
  void ReportStatus(DWORD status, const std::string& info);

  // Marks this object and everything below it closed, wakes whatever waits in them and takes
  // their handles out of the table.
  void Close();

 protected:
  virtual void OnClosed() {}

 private:
  friend HINTERNET Register(std::shared_ptr<InternetObject> object);

  const Kind kind_;
  const std::shared_ptr<InternetObject> parent_;
  const DWORD_PTR context_;
  HINTERNET handle_ = nullptr;
  std::atomic<bool> closed_{false};
  mutable std::mutex lock_;
  Options options_;
  INTERNET_STATUS_CALLBACK callback_ = nullptr;
  std::vector<std::weak_ptr<InternetObject>> children_;
};

class Session : public InternetObject {
 public:
  Session(std::string agent, DWORD accessType, std::string proxyList);
  const std::string agent;
  const DWORD accessType;
  const std::string proxyList;  // as given to InternetOpen (INTERNET_OPEN_TYPE_PROXY)
};

class Connection : public InternetObject {
 public:
  Connection(std::shared_ptr<Session> session, DWORD service, std::string server, INTERNET_PORT port,
             std::u16string userName, std::u16string password, DWORD_PTR context);
  const std::shared_ptr<Session> session;
  const DWORD service;  // INTERNET_SERVICE_HTTP or INTERNET_SERVICE_FTP
  const std::string server;
  const INTERNET_PORT port;
  bool ftp() const { return service == INTERNET_SERVICE_FTP; }
  // FTP: one command at a time goes over the control exchange (the log-in, size queries).
  std::mutex busy;
  const std::unique_ptr<Transfer> control;

 protected:
  void OnClosed() override {
    if (control) control->Wake();
  }
};

class Request : public InternetObject {
 public:
  Request(std::shared_ptr<Connection> connection, std::string verb, std::string object,
          bool http10, std::vector<std::string> headers, DWORD flags, DWORD_PTR context);
  const std::shared_ptr<Connection> connection;
  const std::string verb;
  const std::string object;
  const bool http10;
  const std::vector<std::string> headers;  // from the referrer and the accept types
  const DWORD flags;
  // One caller at a time sends or reads.
  std::mutex busy;
  Transfer transfer;

 protected:
  void OnClosed() override { transfer.Wake(); }
};

// The answer of an FTP find: its one entry is handed over when it is made.
class FindResult : public InternetObject {
 public:
  explicit FindResult(std::shared_ptr<Connection> connection, DWORD_PTR context)
      : InternetObject(Kind::Find, connection, context) {}
};

// Gives the object a handle and hangs it below its parent; null with ERROR_INVALID_HANDLE when
// the parent has been closed meanwhile.
HINTERNET Register(std::shared_ptr<InternetObject> object);

// The open object a handle names, of the kind asked for; null with ERROR_INVALID_HANDLE or
// ERROR_INTERNET_INCORRECT_HANDLE_TYPE set otherwise.
std::shared_ptr<InternetObject> Lookup(HINTERNET handle);
template <class T>
std::shared_ptr<T> LookupAs(HINTERNET handle, Kind kind) {
  auto object = Lookup(handle);
  if (!object) return nullptr;
  if (object->kind() != kind) {
    SetLastError(ERROR_INTERNET_INCORRECT_HANDLE_TYPE);
    return nullptr;
  }
  return std::static_pointer_cast<T>(object);
}

// The null handle's options: what new sessions start with.
Options ProcessOptions();
void SetProcessNumber(DWORD option, DWORD value);

}  // namespace zx::inet
