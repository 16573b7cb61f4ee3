// Running the stand-in and talking to it.
#include "standin.h"

#include <httplib.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

extern char** environ;

namespace zx::test {
namespace {

constexpr int kStartMs = 10000;

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// Reads one line from fd into pending/line, waiting up to timeoutMs; false on time-out or end.
bool ReadLine(int fd, std::string& pending, std::string& line, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    const std::size_t newline = pending.find('\n');
    if (newline != std::string::npos) {
      line = pending.substr(0, newline);
      pending.erase(0, newline + 1);
      return true;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd entry{fd, POLLIN, 0};
    if (::poll(&entry, 1, static_cast<int>(left.count())) <= 0) return false;
    char buffer[512];
    const ssize_t got = ::read(fd, buffer, sizeof(buffer));
    if (got <= 0) return false;
    pending.append(buffer, static_cast<std::size_t>(got));
  }
}

HttpAnswer AnswerOf(const httplib::Result& result) {
  HttpAnswer answer;
  if (!result) return answer;
  answer.status = result->status;
  answer.body = result->body;
  answer.contentType = result->get_header_value("Content-Type");
  answer.contentLength = result->get_header_value("Content-Length");
  return answer;
}

}  // namespace

StandIn::StandIn(const StandInOptions& options) {
  std::vector<std::string> arguments = {ZX_WEBSERVICE_PROGRAM, "--port", "0"};
  if (!options.catalogue.empty()) arguments.insert(arguments.end(), {"--catalogue", options.catalogue});
  if (!options.uploads.empty()) arguments.insert(arguments.end(), {"--uploads", options.uploads});
  if (!options.fault.empty()) arguments.insert(arguments.end(), {"--fault", options.fault});
  if (options.faultCount > 0) arguments.insert(arguments.end(), {"--fault-count", std::to_string(options.faultCount)});
  arguments.insert(arguments.end(), options.extraArguments.begin(), options.extraArguments.end());
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);

  std::vector<std::string> environment;
  for (char** entry = environ; *entry; ++entry)
    if (std::strncmp(*entry, "ZX_MACHINE_ROOT=", 16) != 0) environment.emplace_back(*entry);
  environment.push_back("ZX_MACHINE_ROOT=" + machineRoot_.path());
  std::vector<char*> envp;
  for (std::string& entry : environment) envp.push_back(entry.data());
  envp.push_back(nullptr);

  int out[2];
  int err[2];
  if (::pipe(out) != 0) return;
  if (::pipe(err) != 0) {
    ::close(out[0]);
    ::close(out[1]);
    return;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  posix_spawn_file_actions_addclose(&actions, err[0]);
  pid_t pid = -1;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0) pid_ = pid;
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  ::close(err[1]);
  output_ = out[0];
  errors_ = err[0];
  std::string line;
  if (pid_ > 0 && ReadLine(output_, pending_, line, kStartMs)) port_ = std::atoi(line.c_str());
}

StandIn::~StandIn() {
  if (pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  if (output_ >= 0) ::close(output_);
  if (errors_ >= 0) ::close(errors_);
}

std::string StandIn::NextLine(int timeoutMs) {
  std::string line;
  return ReadLine(output_, pending_, line, timeoutMs) ? line : std::string();
}

std::string StandIn::NextLineStarting(const std::string& start, int timeoutMs) {
  std::string line;
  while (!(line = NextLine(timeoutMs)).empty() && line.rfind(start, 0) != 0) {
  }
  return line;
}

int StandIn::WaitExit(std::string& errors) {
  if (pid_ <= 0) return -1;
  int status = 0;
  const pid_t ended = ::waitpid(pid_, &status, 0);
  pid_ = -1;
  std::string pending;
  std::string line;
  while (ReadLine(errors_, pending, line, 1000)) errors += line + "\n";
  return ended > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

HttpAnswer Post(int port, const std::string& path, const std::string& soapAction, const std::string& body,
                const std::string& contentType) {
  httplib::Client client("127.0.0.1", port);
  client.set_read_timeout(5, 0);
  httplib::Headers headers;
  if (!soapAction.empty()) headers.emplace("SOAPAction", soapAction);
  return AnswerOf(client.Post(path.c_str(), headers, body, contentType.c_str()));
}

HttpAnswer Get(int port, const std::string& path) {
  httplib::Client client("127.0.0.1", port);
  client.set_read_timeout(5, 0);
  return AnswerOf(client.Get(path.c_str()));
}

std::string SoapRequest(const std::string& operation, const std::string& parts) {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
         "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><soap:Body><" +
         operation + " xmlns=\"http://update.zephrin-tunevo.example/webservices/\">" + parts + "</" + operation +
         "></soap:Body></soap:Envelope>";
}

std::string SoapAction(const std::string& operation) {
  return "\"http://update.zephrin-tunevo.example/webservices/" + operation + "\"";
}

std::string IntelPackage() { return std::string("MSCF\0\0\0\0\xff\x01intel", 15); }

void WriteSampleCatalogue(const std::string& folder) {
  std::filesystem::create_directories(folder);
  WriteFile(folder + "/realtek-hda.zip", kRealtekPackage);
  WriteFile(folder + "/intel lan.cab", IntelPackage());
  WriteFile(folder + "/catalogue.ini",
            "; two packages\n"
            "[realtek-hda]\n"
            "hardwareids = HDAUDIO\\FUNC_01&VEN_10EC&DEV_0662 | HDAUDIO\\FUNC_01&VEN_10EC\n"
            "version = 6.0.1.7541\n"
            "date = 2015-06-19\n"
            "inf = extract\\realtek\\hdart.inf\n"
            "package = realtek-hda.zip\n"
            "severity = 1\n"
            "\n"
            "[intel-lan]\n"
            "HardwareIds = PCI\\VEN_8086&DEV_15B8&SUBSYS_86721043\n"
            "version = 12.18.9.23\n"
            "date = 2019-08-22\n"
            "inf = extract\\intel\\e1d.inf\n"
            "package = intel lan.cab\n"
            "signer = 0\n");
}

}  // namespace zx::test
