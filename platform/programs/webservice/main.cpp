// zxwebservice: the loopback stand-in of the maker's web service. It answers the update
// service's operations from a catalogue folder, serves the catalogue's packages, keeps every
// upload of the misc service in a folder, and misbehaves on request for tests.
//
//   zxwebservice [--port N] [--catalogue DIR] [--uploads DIR] [--fault MODE [--fault-count N]]
//                [--hostile-answer MODE]
//
// It listens on 127.0.0.1 only; --port 0 (the default) takes a free port. The first line on
// standard output is the port; after it, one line per request as it arrives:
// "POST <operation> <HTTP version>" ("-" for an envelope that does not read) or
// "GET <path> <HTTP version>". It also takes requests sent to it as a proxy (absolute targets).
#include <httplib.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "catalogue.h"
#include "faults.h"
#include "hostile.h"
#include "service.h"

namespace {

struct Options {
  int port = 0;
  std::string catalogue;
  std::string uploads;
  std::optional<zx::webservice::FaultMode> fault;
  unsigned faultCount = 0;
  std::optional<zx::webservice::HostileAnswer> hostile;
};

constexpr const char* kUsage =
    "usage: zxwebservice [--port N] [--catalogue DIR] [--uploads DIR]\n"
    "                    [--fault garbage|http500|soapfault|truncated|slow|slowpackages|noanswer [--fault-count N]]\n"
    "                    [--hostile-answer wrongdigest|foreignids|malformed|hugetext|repeated|short]\n";

bool ParseNumber(const std::string& text, unsigned long limit, unsigned long& value) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 9) return false;
  value = std::stoul(text);
  return value <= limit;
}

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string name = argv[i];
    if (i + 1 >= argc) return false;
    const std::string value = argv[++i];
    unsigned long number = 0;
    if (name == "--port" && ParseNumber(value, 65535, number)) {
      options.port = static_cast<int>(number);
    } else if (name == "--catalogue") {
      options.catalogue = value;
    } else if (name == "--uploads") {
      options.uploads = value;
    } else if (name == "--fault" && (options.fault = zx::webservice::ParseFaultMode(value))) {
    } else if (name == "--hostile-answer" && (options.hostile = zx::webservice::ParseHostileAnswer(value))) {
    } else if (name == "--fault-count" && ParseNumber(value, 1000000, number)) {
      options.faultCount = static_cast<unsigned>(number);
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  std::string error;
  auto catalogue = zx::webservice::Catalogue::Load(options.catalogue, error);
  if (!catalogue) {
    std::cerr << "zxwebservice: " << error << "\n";
    return 2;
  }
  httplib::Server server;
  server.new_task_queue = [] { return new httplib::ThreadPool(64); };
  zx::webservice::Service service(std::move(*catalogue), options.uploads, options.fault, options.faultCount);
  service.SetHostileAnswer(options.hostile);
  service.Mount(server);

  const int port = options.port == 0 ? server.bind_to_any_port("127.0.0.1")
                                     : (server.bind_to_port("127.0.0.1", options.port) ? options.port : -1);
  if (port <= 0) {
    std::cerr << "zxwebservice: cannot listen on 127.0.0.1:" << options.port << "\n";
    return 1;
  }
  service.SetPort(port);
  std::printf("%d\n", port);
  std::fflush(stdout);
  return server.listen_after_bind() ? 0 : 1;
}
