// An HTTP server inside the test process, on 127.0.0.1 and a free port: it answers each
// method and path as the test scripted it (404 otherwise) and records what it received.
#pragma once
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace zx::test {

struct ScriptedReply {
  enum class Delivery {
    Whole,          // status, headers and the whole body
    CutHalfway,     // the whole length announced, half the body sent, then the connection closed
    StallBeforeAnswer,  // nothing at all until the server goes
    StallHalfway,   // the whole length announced, half the body sent, then nothing more
  };
  using Headers = std::vector<std::pair<std::string, std::string>>;
  ScriptedReply(int status = 200, std::string body = {}, std::string contentType = "text/plain",
                Headers headers = {}, Delivery delivery = Delivery::Whole)
      : status(status), body(std::move(body)), contentType(std::move(contentType)),
        headers(std::move(headers)), delivery(delivery) {}
  int status;
  std::string body;
  std::string contentType;
  Headers headers;
  Delivery delivery;
};

struct ReceivedRequest {
  std::string method;
  std::string target;   // as the request line gave it (absolute through a proxy)
  std::string version;  // "HTTP/1.1", "HTTP/1.0"
  std::map<std::string, std::string> headers;  // names in lower case
  std::string body;
  std::string Header(const std::string& lowerCaseName) const;
};

class TestHttpServer {
 public:
  TestHttpServer();
  ~TestHttpServer();
  TestHttpServer(const TestHttpServer&) = delete;
  TestHttpServer& operator=(const TestHttpServer&) = delete;

  int port() const;
  std::string base() const;  // "http://127.0.0.1:<port>"
  // Method "GET" also answers HEAD. A target that is an absolute URL (a proxy request) is
  // matched by its path.
  void Script(const std::string& method, const std::string& path, ScriptedReply reply);
  std::vector<ReceivedRequest> received() const;
  // Waits up to 5 s of host time for at least count requests.
  bool AwaitRequests(std::size_t count) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace zx::test
