// Test support of the download tests: an HTTP (or HTTPS, with a self-signed certificate)
// server on a free port of 127.0.0.1, run on its own thread, serving one body under a few
// behaviours, and counting what it was asked.
#pragma once
#include <atomic>
#include <memory>
#include <string>

namespace zx::test {

class LoopbackServer {
 public:
  // How /file answers.
  enum class Mode {
    Ranges,       // 206 with the asked part for a range request, else 200 with the whole body
    IgnoreRange,  // always 200 with the whole body
    CutHalfway,   // announces the whole body, sends half of it and drops the connection
    Trickle,      // sends one byte every 20 ms
  };
  explicit LoopbackServer(std::string body, bool https = false);
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  void SetMode(Mode mode) { mode_ = mode; }
  int port() const { return port_; }
  // "http://127.0.0.1:<port><path>" (https when the server speaks TLS).
  std::string Url(const std::string& path = "/file") const;
  // The Range header of the last request to /file ("" when none).
  std::string LastRange() const;
  int Requests() const { return requests_.load(); }

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  std::string body_;
  bool https_;
  std::atomic<Mode> mode_{Mode::Ranges};
  std::atomic<int> requests_{0};
  int port_ = 0;
};

}  // namespace zx::test
