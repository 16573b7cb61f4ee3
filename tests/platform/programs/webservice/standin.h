// Test support for the loopback stand-in of the maker's web service (zxwebservice): running it
// on a free port of 127.0.0.1 with its own machine root, reading what it prints, talking to it
// over plain HTTP, and a small sample catalogue.
#pragma once
#include <string>
#include <vector>

#include "machine_fixture.h"

namespace zx::test {

struct StandInOptions {
  StandInOptions(std::string catalogue, std::string uploads, std::string fault = {}, unsigned faultCount = 0,
                 std::vector<std::string> extraArguments = {})
      : catalogue(std::move(catalogue)), uploads(std::move(uploads)), fault(std::move(fault)),
        faultCount(faultCount), extraArguments(std::move(extraArguments)) {}
  std::string catalogue;
  std::string uploads;
  std::string fault;  // empty: none
  unsigned faultCount;
  std::vector<std::string> extraArguments;
};

class StandIn {
 public:
  explicit StandIn(const StandInOptions& options);
  ~StandIn();  // ends the process
  StandIn(const StandIn&) = delete;
  StandIn& operator=(const StandIn&) = delete;

  // The port it listens on; 0 when it did not start.
  int port() const { return port_; }
  // The next line it printed after the port ("POST GetUpdateInfo"), or "" when none came
  // within timeoutMs of host time.
  std::string NextLine(int timeoutMs = 5000);
  // The next line that starts with `start`, the lines before it passed over (a real program's
  // update checker asks beside its scan), or "" when none came within timeoutMs each.
  std::string NextLineStarting(const std::string& start, int timeoutMs = 5000);
  // Waits for the process to end by itself; its exit code, or -1. Its error output follows.
  int WaitExit(std::string& errors);

 private:
  TempFolder machineRoot_;
  int pid_ = -1;
  int output_ = -1;
  int errors_ = -1;
  std::string pending_;
  int port_ = 0;
};

struct HttpAnswer {
  int status = 0;  // 0: no answer (the connection failed or broke)
  std::string body;
  std::string contentType;
  std::string contentLength;
};
HttpAnswer Post(int port, const std::string& path, const std::string& soapAction, const std::string& body,
                const std::string& contentType = "text/xml; charset=utf-8");
HttpAnswer Get(int port, const std::string& path);

// A SOAP envelope calling the operation with the given part elements (written as they stand).
std::string SoapRequest(const std::string& operation, const std::string& parts);
// The SOAPAction header value of an operation.
std::string SoapAction(const std::string& operation);

// A catalogue of two packages: "realtek-hda" (ids HDAUDIO\FUNC_01&VEN_10EC&DEV_0662 and
// HDAUDIO\FUNC_01&VEN_10EC, package realtek-hda.zip) and "intel-lan"
// (PCI\VEN_8086&DEV_15B8&SUBSYS_86721043, package "intel lan.cab", signer 0).
void WriteSampleCatalogue(const std::string& folder);
inline constexpr const char* kRealtekPackage = "realtek package bytes";
std::string IntelPackage();

}  // namespace zx::test
