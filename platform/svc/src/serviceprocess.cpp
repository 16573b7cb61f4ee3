// Services that run as a program of ours: the stand-in program in the program folder, its
// process started by StartService and ended by a stop, and the process id kept in machine.ini
// ("[ServiceProcesses] <name>=<id>") so that every process of the machine sees it.
#include <signal.h>

#include <filesystem>
#include <string>

#include "handleapi.h"
#include "profileapi.h"
#include "servicetable.h"
#include "zx/casefold.h"
#include "zx/machine.h"
#include "zx/pathmap.h"
#include "zx/processes.h"

namespace zx::svc {
namespace {

struct HostedService {
  const char16_t* name;
  const char* program;
};
// The Task Scheduler's service runs the job runner of platform/programs/taskscheduler.
constexpr HostedService kHosted[] = {{u"Schedule", "zxtaskscheduler"}};

std::u16string MachineIni() { return path::HostToWindows(machine::Root() + "/machine.ini"); }

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  return std::filesystem::equivalent(a, b, error);
}

void RecordProcess(const std::u16string& name, DWORD processId) {
  const std::u16string text = processId ? process::Utf16(std::to_string(processId)) : u"";
  WritePrivateProfileStringW(u"ServiceProcesses", name.c_str(), processId ? text.c_str() : nullptr,
                             MachineIni().c_str());
}

}  // namespace

bool ServiceProgram(const std::u16string& name, std::string& hostPath) {
  for (const HostedService& hosted : kHosted) {
    if (!EqualNoCase(name.c_str(), hosted.name)) continue;
    const std::string program = machine::ProgramFolder() + "/" + hosted.program;
    std::error_code error;
    if (!std::filesystem::is_regular_file(program, error)) return false;
    hostPath = program;
    return true;
  }
  return false;
}

DWORD ServiceProcess(const std::u16string& name, const std::string& program) {
  const DWORD recorded = GetPrivateProfileIntW(u"ServiceProcesses", name.c_str(), 0, MachineIni().c_str());
  process::HostProcess running;
  // An id that another program has taken since is not the service's.
  return recorded != 0 && process::Describe(recorded, running) && SameFile(running.executable, program) ? recorded
                                                                                                      : 0;
}

DWORD StartServiceProcess(const std::u16string& name, const std::string& program) {
  DWORD processId = 0, error = 0;
  const HANDLE started = process::StartProgram(program, {program, "-service"}, "", &processId, error);
  if (!started) return error;
  CloseHandle(started);  // the process outlives this handle and is reaped when it ends
  RecordProcess(name, processId);
  return ERROR_SUCCESS;
}

void StopServiceProcess(const std::u16string& name, const std::string& program) {
  if (const DWORD processId = ServiceProcess(name, program); processId != 0) ::kill(static_cast<pid_t>(processId), SIGTERM);
  RecordProcess(name, 0);
}

}  // namespace zx::svc
