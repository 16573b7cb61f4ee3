// The stand-in's SOAP endpoints and package downloads.
#include "service.h"

#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>

#include "answers.h"
#include "exchange.h"
#include "hold.h"

namespace zx::webservice {
namespace {

constexpr const char* kXmlType = "text/xml; charset=utf-8";
constexpr std::size_t kPieceBytes = 64 * 1024;

const soap::OperationDescription* const kUpdateOperations[] = {
    &soap::GetUpdateInfoOperation(), &soap::GetUpdateInfoWithEncryptOptionsOperation(),
    &soap::GetDownloadInformationWithEncryptOptionsOperation()};
const soap::OperationDescription* const kMiscOperations[] = {
    &soap::UploadFileOperation(), &soap::MsUploadFeedbackOperation(), &soap::UploadFeedbackOperation()};

}  // namespace

// The catalogue's self-update files (selfupdate.cpp).
void MountSelfUpdateFiles(httplib::Server& server, const std::string& folder,
                          const std::function<void(const std::string&)>& log);
// The update checker's answers and setup programs (checkupdate.cpp).
void MountUpdateCheckerFiles(httplib::Server& server, const std::string& folder, int& port,
                             const std::function<void(const std::string&)>& log);

Service::Service(Catalogue catalogue, std::string uploadFolder, std::optional<FaultMode> fault,
                 unsigned faultCount)
    : catalogue_(std::move(catalogue)), answers_(catalogue_), uploads_(std::move(uploadFolder)), faults_(fault, faultCount) {}

void Service::Mount(httplib::Server& server) {
  // A proxy is sent the whole address: the routes also take an absolute target.
  server.Post(R"((?:http://[^/]+)?/updateservice/updateservice\.asmx)", [this](const httplib::Request& request, httplib::Response& response) {
    HandleSoap(request, response, kUpdateOperations);
  });
  server.Post(R"((?:http://[^/]+)?/miscservice/miscservice\.asmx)", [this](const httplib::Request& request, httplib::Response& response) {
    HandleSoap(request, response, kMiscOperations);
  });
  server.Get(R"((?:http://[^/]+)?/packages/([^/]+))", [this](const httplib::Request& request, httplib::Response& response) {
    HandlePackage(request, response);
  });
  MountSelfUpdateFiles(server, catalogue_.folder(), [this](const std::string& line) { Log(line); });
  MountUpdateCheckerFiles(server, catalogue_.folder(), port_, [this](const std::string& line) { Log(line); });
}

void Service::Log(const std::string& line) {
  std::lock_guard<std::mutex> guard(logLock_);
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

std::optional<FaultMode> Service::NextFault(bool package) {
  auto fault = faults_.Take();
  if (fault == FaultMode::SlowPackages && !package) fault.reset();
  return fault;
}

void Service::HandleSoap(const httplib::Request& request, httplib::Response& response,
                         std::span<const soap::OperationDescription* const> operations) {
  std::string error;
  const auto call = ReadCall(request.body, operations, error);
  Log(std::string("POST ") + (call ? call->operation->name : "-") + " " + request.version);
  Answer answer;
  if (!call) {
    answer = {500, FaultEnvelope("soap:Client", error)};
  } else if (request.get_header_value("SOAPAction") !=
             "\"" + std::string(soap::kServiceNamespace) + call->operation->name + "\"") {
    answer = {500, FaultEnvelope("soap:Client", "SOAPAction does not name the operation")};
  } else if (request.get_header_value("Content-Type").rfind("text/xml", 0) != 0) {
    answer = {500, FaultEnvelope("soap:Client", "a SOAP 1.1 request is text/xml")};
  } else {
    WaitWhileHeld(catalogue_.folder() + "/" + call->operation->name + ".hold");
    answer = Perform(*call, request);
  }
  if (const auto fault = NextFault(false)) {
    AnswerWithFault(*fault, answer.enciphered ? answer.enciphered->Whole() : answer.envelope, kXmlType, response);
    return;
  }
  response.status = answer.status;
  if (!answer.enciphered) {
    response.set_content(answer.envelope, kXmlType);
    return;
  }
  auto piece = std::make_shared<std::vector<char>>(kPieceBytes);
  response.set_content_provider(answer.enciphered->size(), kXmlType,
                                [envelope = answer.enciphered, piece](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                                  return sink.write(piece->data(), envelope->Read(offset, piece->data(), piece->size()));
                                });
}

Service::Answer Service::Perform(const SoapCall& call, const httplib::Request& request) {
  if (call.operation == kMiscOperations[0] || call.operation == kMiscOperations[1] ||
      call.operation == kMiscOperations[2])
    return UploadCall(call);
  const std::string host = request.get_header_value("Host");
  const std::string packageBase =
      "http://" + (host.empty() ? "127.0.0.1:" + std::to_string(port_) : host) + "/packages/";
  return UpdateCall(call, packageBase);
}

Service::Answer Service::UpdateCall(const SoapCall& call, const std::string& packageBase) {
  const bool plain = call.operation == kUpdateOperations[0];
  const bool inputEnciphered = !plain && call.Flag(1);
  const bool outputEnciphered = !plain && call.Flag(2);
  std::string input = call.Text(0);
  if (inputEnciphered) {
    const auto plainText = DecipheredText(input);
    if (!plainText) return {500, FaultEnvelope("soap:Client", "the input is not an enciphered text")};
    input = *plainText;
  }
  const bool update = call.operation != kUpdateOperations[2];
  auto document = update ? answers_.Answer(input) : DownloadAnswer(catalogue_, input, packageBase);
  if (!document) return {500, FaultEnvelope("soap:Client", "the input is not an XML document")};
  if (update && hostile_) document = DamagedDocument(*hostile_, *document);
  if (update && outputEnciphered && !hostile_)
    return {200, {}, std::make_shared<const EncipheredEnvelope>(*call.operation, std::move(*document))};
  std::string text = outputEnciphered ? EncipheredText(*document) : *document;
  if (update && hostile_ && outputEnciphered) text = DamagedEncipheredText(*hostile_, std::move(text));
  return {200, ResultEnvelope(*call.operation, text)};
}

Service::Answer Service::UploadCall(const SoapCall& call) {
  if (!uploads_.enabled()) return {500, FaultEnvelope("soap:Server", "uploads are not kept here")};
  const bool file = call.operation == kMiscOperations[0];
  const std::string stored = file ? uploads_.Keep("", call.Text(0), "upload", "bin")
                                  : uploads_.Keep(call.Text(1), call.Text(0), "feedback", "xml");
  if (stored.empty()) return {500, FaultEnvelope("soap:Server", "the upload could not be kept")};
  return {200, ResultEnvelope(*call.operation, "1")};
}

void Service::HandlePackage(const httplib::Request& request, httplib::Response& response) {
  Log("GET " + request.path + " " + request.version);
  const CatalogueEntry* entry = catalogue_.FindPackage(request.matches[1]);
  std::string bytes;
  if (entry) {
    std::ifstream in(catalogue_.folder() + "/" + entry->packageFile, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    bytes = content.str();
  }
  if (const auto fault = NextFault(true)) {
    AnswerWithFault(*fault, bytes, "application/octet-stream", response);
    return;
  }
  if (!entry) {
    response.status = 404;
    return;
  }
  response.set_content(bytes, "application/octet-stream");
}

}  // namespace zx::webservice
