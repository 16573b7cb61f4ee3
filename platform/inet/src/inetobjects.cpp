// HINTERNET objects: options, status callbacks, the handle tree and its closing.
#include "inetobjects.h"

#include "zx/utf8text.h"

namespace zx::inet {
namespace {

// Defaults as WinINet documents them: a minute to connect, half a minute for each answer.
Options StartingOptions() {
  Options options;
  options.numbers = {{INTERNET_OPTION_CONNECT_TIMEOUT, 60000},
                     {INTERNET_OPTION_CONNECT_RETRIES, 5},
                     {INTERNET_OPTION_CONNECT_BACKOFF, 0},
                     {INTERNET_OPTION_SEND_TIMEOUT, 30000},
                     {INTERNET_OPTION_RECEIVE_TIMEOUT, 30000},
                     {INTERNET_OPTION_DATA_SEND_TIMEOUT, 30000},
                     {INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, 30000}};
  return options;
}

std::mutex& ProcessLock() {
  static std::mutex lock;
  return lock;
}

Options& ProcessOptionsStore() {
  static Options options = StartingOptions();
  return options;
}

}  // namespace

DWORD Options::Number(DWORD option) const {
  const auto it = numbers.find(option);
  return it == numbers.end() ? 0 : it->second;
}

std::u16string Options::Text(DWORD option) const {
  const auto it = texts.find(option);
  return it == texts.end() ? std::u16string() : it->second;
}

Options ProcessOptions() {
  std::lock_guard<std::mutex> guard(ProcessLock());
  return ProcessOptionsStore();
}

void SetProcessNumber(DWORD option, DWORD value) {
  std::lock_guard<std::mutex> guard(ProcessLock());
  ProcessOptionsStore().numbers[option] = value;
}

InternetObject::InternetObject(Kind kind, std::shared_ptr<InternetObject> parent, DWORD_PTR context)
    : kind_(kind), parent_(std::move(parent)), context_(context) {
  if (parent_) {
    std::lock_guard<std::mutex> guard(parent_->lock_);
    options_ = parent_->options_;
    callback_ = parent_->callback_;
  } else {
    options_ = ProcessOptions();
  }
}

Options InternetObject::options() const {
  std::lock_guard<std::mutex> guard(lock_);
  return options_;
}

void InternetObject::SetNumber(DWORD option, DWORD value) {
  std::lock_guard<std::mutex> guard(lock_);
  options_.numbers[option] = value;
}

void InternetObject::SetText(DWORD option, std::u16string value) {
  std::lock_guard<std::mutex> guard(lock_);
  options_.texts[option] = std::move(value);
}

INTERNET_STATUS_CALLBACK InternetObject::SwapCallback(INTERNET_STATUS_CALLBACK callback) {
  std::lock_guard<std::mutex> guard(lock_);
  std::swap(callback_, callback);
  return callback;
}

void InternetObject::ReportStatus(DWORD status, const std::string& info) {
  INTERNET_STATUS_CALLBACK callback;
  {
    std::lock_guard<std::mutex> guard(lock_);
    callback = callback_;
  }
  if (!callback) return;
  std::u16string text = FromUtf8(info).value_or(std::u16string());
  const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(char16_t));
  callback(handle_, context_, status, text.data(), bytes);
}

void InternetObject::Close() {
  std::vector<std::weak_ptr<InternetObject>> children;
  {
    std::lock_guard<std::mutex> guard(lock_);
    if (closed_.exchange(true)) return;
    children.swap(children_);
  }
  for (const auto& weak : children)
    if (auto child = weak.lock()) child->Close();
  OnClosed();
  RemoveHandle(handle_);
}

Session::Session(std::string agent, DWORD accessType, std::string proxyList)
    : InternetObject(Kind::Session, nullptr, 0),
      agent(std::move(agent)),
      accessType(accessType),
      proxyList(std::move(proxyList)) {}

Connection::Connection(std::shared_ptr<Session> session, DWORD service, std::string server, INTERNET_PORT port,
                       std::u16string userName, std::u16string password, DWORD_PTR context)
    : InternetObject(Kind::Connection, session, context),
      session(session),
      service(service),
      server(std::move(server)),
      port(port),
      control(service == INTERNET_SERVICE_FTP ? std::make_unique<Transfer>() : nullptr) {
  if (!userName.empty()) SetText(INTERNET_OPTION_USERNAME, std::move(userName));
  if (!password.empty()) SetText(INTERNET_OPTION_PASSWORD, std::move(password));
}

Request::Request(std::shared_ptr<Connection> connection, std::string verb, std::string object,
                 bool http10, std::vector<std::string> headers, DWORD flags, DWORD_PTR context)
    : InternetObject(Kind::Request, connection, context),
      connection(connection),
      verb(std::move(verb)),
      object(std::move(object)),
      http10(http10),
      headers(std::move(headers)),
      flags(flags) {}

HINTERNET Register(std::shared_ptr<InternetObject> object) {
  const auto& parent = object->parent_;
  if (!parent) {
    object->handle_ = InsertHandle(object);
    return object->handle_;
  }
  std::lock_guard<std::mutex> guard(parent->lock_);
  if (parent->closed_.load()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  object->handle_ = InsertHandle(object);
  std::erase_if(parent->children_, [](const std::weak_ptr<InternetObject>& weak) { return weak.expired(); });
  parent->children_.push_back(object);
  return object->handle_;
}

std::shared_ptr<InternetObject> Lookup(HINTERNET handle) {
  auto object = ReferenceHandleAs<InternetObject>(handle);
  if (!object || object->closed()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return object;
}

}  // namespace zx::inet
