// The test process's own HTTP server, on cpp-httplib.
#include "test_http_server.h"

#include <httplib.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace zx::test {

struct TestHttpServer::Impl {
  httplib::Server server;
  std::thread thread;
  int port = 0;
  mutable std::mutex lock;
  mutable std::condition_variable changed;
  bool stopping = false;
  std::map<std::string, ScriptedReply> scripts;  // "METHOD path"
  std::vector<ReceivedRequest> received;

  void Handle(const httplib::Request& request, httplib::Response& response);
  // Blocks the handler until the server goes or the client has gone (when sink is given).
  void Hold(httplib::DataSink* sink);
};

std::string ReceivedRequest::Header(const std::string& lowerCaseName) const {
  const auto it = headers.find(lowerCaseName);
  return it == headers.end() ? std::string() : it->second;
}

void TestHttpServer::Impl::Hold(httplib::DataSink* sink) {
  std::unique_lock<std::mutex> guard(lock);
  while (!stopping && (!sink || sink->is_writable())) changed.wait_for(guard, std::chrono::milliseconds(20));
}

void TestHttpServer::Impl::Handle(const httplib::Request& request, httplib::Response& response) {
  ReceivedRequest record;
  record.method = request.method;
  record.target = request.target;
  record.version = request.version;
  record.body = request.body;
  for (const auto& [name, value] : request.headers) {
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    record.headers[lower] = value;
  }
  std::string path = request.target;
  if (path.rfind("http://", 0) == 0) {
    const std::size_t slash = path.find('/', 7);
    path = slash == std::string::npos ? "/" : path.substr(slash);
  }
  path = path.substr(0, path.find('?'));
  const std::string method = request.method == "HEAD" ? "GET" : request.method;

  ScriptedReply reply;
  bool scripted = false;
  {
    std::lock_guard<std::mutex> guard(lock);
    received.push_back(record);
    const auto it = scripts.find(method + " " + path);
    if (it != scripts.end()) {
      reply = it->second;
      scripted = true;
    }
  }
  changed.notify_all();
  if (!scripted) {
    response.status = 404;
    return;
  }
  response.status = reply.status;
  for (const auto& [name, value] : reply.headers) response.set_header(name, value);
  auto body = std::make_shared<std::string>(reply.body);
  auto sent = std::make_shared<bool>(false);
  switch (reply.delivery) {
    case ScriptedReply::Delivery::Whole:
      response.set_content(reply.body, reply.contentType);
      return;
    case ScriptedReply::Delivery::StallBeforeAnswer:
      Hold(nullptr);
      return;
    case ScriptedReply::Delivery::CutHalfway:
    case ScriptedReply::Delivery::StallHalfway: {
      const bool stall = reply.delivery == ScriptedReply::Delivery::StallHalfway;
      response.set_content_provider(body->size(), reply.contentType,
                                    [this, body, sent, stall](std::size_t, std::size_t, httplib::DataSink& sink) {
                                      if (*sent) {
                                        if (stall) Hold(&sink);
                                        return false;
                                      }
                                      *sent = true;
                                      sink.write(body->data(), body->size() / 2);
                                      return true;
                                    });
      return;
    }
  }
}

TestHttpServer::TestHttpServer() : impl_(std::make_unique<Impl>()) {
  auto handler = [this](const httplib::Request& request, httplib::Response& response) {
    impl_->Handle(request, response);
  };
  impl_->server.Get(".*", handler);
  impl_->server.Post(".*", handler);
  impl_->server.Put(".*", handler);
  impl_->port = impl_->server.bind_to_any_port("127.0.0.1");
  impl_->thread = std::thread([this] { impl_->server.listen_after_bind(); });
  // Stopping works only once the server runs.
  while (!impl_->server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

TestHttpServer::~TestHttpServer() {
  {
    std::lock_guard<std::mutex> guard(impl_->lock);
    impl_->stopping = true;
  }
  impl_->changed.notify_all();
  impl_->server.stop();
  impl_->thread.join();
}

int TestHttpServer::port() const { return impl_->port; }

std::string TestHttpServer::base() const { return "http://127.0.0.1:" + std::to_string(impl_->port); }

void TestHttpServer::Script(const std::string& method, const std::string& path, ScriptedReply reply) {
  std::lock_guard<std::mutex> guard(impl_->lock);
  impl_->scripts[method + " " + path] = std::move(reply);
}

std::vector<ReceivedRequest> TestHttpServer::received() const {
  std::lock_guard<std::mutex> guard(impl_->lock);
  return impl_->received;
}

bool TestHttpServer::AwaitRequests(std::size_t count) const {
  std::unique_lock<std::mutex> guard(impl_->lock);
  return impl_->changed.wait_for(guard, std::chrono::seconds(5), [&] { return impl_->received.size() >= count; });
}

}  // namespace zx::test
