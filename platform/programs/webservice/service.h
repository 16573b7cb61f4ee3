// The stand-in's routes: the update service and the misc service as SOAP endpoints at their
// paths, and the catalogue's packages under /packages/.
#pragma once
#include <httplib.h>

#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "answers.h"
#include "catalogue.h"
#include "encipheredenvelope.h"
#include "faults.h"
#include "hostile.h"
#include "soapmessages.h"
#include "uploads.h"

namespace zx::webservice {

class Service {
 public:
  Service(Catalogue catalogue, std::string uploadFolder, std::optional<FaultMode> fault, unsigned faultCount);
  // Every update answer damaged this way (none by default).
  void SetHostileAnswer(std::optional<HostileAnswer> mode) { hostile_ = mode; }
  void Mount(httplib::Server& server);
  // The port listened on, for package addresses when a request names no host.
  void SetPort(int port) { port_ = port; }

 private:
  // The answer to a call: an envelope and its HTTP status. An update answer enciphered as
  // asked goes out as it is enciphered instead.
  struct Answer {
    int status = 200;
    std::string envelope;
    std::shared_ptr<const EncipheredEnvelope> enciphered = nullptr;
  };
  void HandleSoap(const httplib::Request& request, httplib::Response& response,
                  std::span<const soap::OperationDescription* const> operations);
  void HandlePackage(const httplib::Request& request, httplib::Response& response);
  Answer Perform(const SoapCall& call, const httplib::Request& request);
  Answer UpdateCall(const SoapCall& call, const std::string& packageBase);
  Answer UploadCall(const SoapCall& call);
  void Log(const std::string& line);
  // The fault the next answer gets, if any: packages only for SlowPackages.
  std::optional<FaultMode> NextFault(bool package);

  const Catalogue catalogue_;
  const UpdateAnswers answers_;
  UploadStore uploads_;
  FaultPlan faults_;
  std::optional<HostileAnswer> hostile_;
  int port_ = 0;
  std::mutex logLock_;
};

}  // namespace zx::webservice
