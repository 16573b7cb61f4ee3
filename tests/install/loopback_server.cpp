// The loopback server of the download tests on cpp-httplib; the HTTPS variant makes a fresh
// self-signed certificate with OpenSSL.
#include "loopback_server.h"

#include <httplib.h>
#include <openssl/evp.h>
#include <openssl/x509.h>

#include <chrono>
#include <mutex>
#include <thread>

namespace zx::test {
namespace {

struct Certificate {
  Certificate() {
    key = EVP_RSA_gen(2048);
    cert = X509_new();
    ASN1_INTEGER_set(X509_get_serialNumber(cert), 1);
    X509_gmtime_adj(X509_getm_notBefore(cert), 0);
    X509_gmtime_adj(X509_getm_notAfter(cert), 3600);
    X509_set_pubkey(cert, key);
    X509_NAME* name = X509_get_subject_name(cert);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("127.0.0.1"), -1,
                               -1, 0);
    X509_set_issuer_name(cert, name);
    X509_sign(cert, key, EVP_sha256());
  }
  ~Certificate() {
    X509_free(cert);
    EVP_PKEY_free(key);
  }
  X509* cert = nullptr;
  EVP_PKEY* key = nullptr;
};

}  // namespace

struct LoopbackServer::Impl {
  std::unique_ptr<Certificate> certificate;
  std::unique_ptr<httplib::Server> server;
  std::thread thread;
  mutable std::mutex lock;
  std::string lastRange;
};

LoopbackServer::LoopbackServer(std::string body, bool https)
    : impl_(std::make_unique<Impl>()), body_(std::move(body)), https_(https) {
  if (https_) {
    impl_->certificate = std::make_unique<Certificate>();
    impl_->server = std::make_unique<httplib::SSLServer>(impl_->certificate->cert, impl_->certificate->key);
  } else {
    impl_->server = std::make_unique<httplib::Server>();
  }
  impl_->server->Get("/file", [this](const httplib::Request& request, httplib::Response& response) {
    ++requests_;
    const std::string range = request.get_header_value("Range");
    {
      std::lock_guard<std::mutex> g(impl_->lock);
      impl_->lastRange = range;
    }
    switch (mode_.load()) {
      case Mode::Ranges:
        // The library slices the body to the asked range; the status is set here.
        response.status = range.empty() ? 200 : 206;
        response.body = body_;
        response.set_header("Content-Type", "application/octet-stream");
        return;
      case Mode::IgnoreRange:
        // Forgetting the parsed range keeps the library from slicing the body.
        const_cast<httplib::Request&>(request).ranges.clear();
        response.status = 200;
        response.body = body_;
        response.set_header("Content-Type", "application/octet-stream");
        return;
      case Mode::CutHalfway:
        response.set_content_provider(body_.size(), "application/octet-stream",
                                      [this](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                        if (offset >= body_.size() / 2) return false;
                                        sink.write(body_.data(), body_.size() / 2);
                                        return true;
                                      });
        return;
      case Mode::Trickle:
        response.set_content_provider(body_.size(), "application/octet-stream",
                                      [this](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                        std::this_thread::sleep_for(std::chrono::milliseconds(20));
                                        sink.write(body_.data() + offset, 1);
                                        return true;
                                      });
        return;
    }
  });
  port_ = impl_->server->bind_to_any_port("127.0.0.1");
  impl_->thread = std::thread([this] { impl_->server->listen_after_bind(); });
}

LoopbackServer::~LoopbackServer() {
  impl_->server->stop();
  if (impl_->thread.joinable()) impl_->thread.join();
}

std::string LoopbackServer::Url(const std::string& path) const {
  return std::string(https_ ? "https" : "http") + "://127.0.0.1:" + std::to_string(port_) + path;
}

std::string LoopbackServer::LastRange() const {
  std::lock_guard<std::mutex> g(impl_->lock);
  return impl_->lastRange;
}

}  // namespace zx::test
