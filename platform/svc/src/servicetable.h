// The machine's service table: a service's configuration from its Services key and its
// state from the machine profile, and the handles that name the manager and services.
#pragma once
#include <string>

#include "winsvc.h"
#include "zx/handles.h"

namespace zx::svc {

struct ServiceConfig {
  std::u16string name;  // as the caller spelled it
  DWORD type = SERVICE_WIN32_OWN_PROCESS;
  DWORD start = SERVICE_DEMAND_START;
  DWORD errorControl = 1;
  std::u16string imagePath;
  std::u16string group;
  std::u16string displayName;
};

// The service's configuration; false when the table has no such service.
bool ReadConfig(std::u16string_view name, ServiceConfig& config);
// Writes the fields of a configuration back; false when the key cannot be written.
bool WriteConfig(const ServiceConfig& config);

enum class StateRecord { None, Running, Stopped, Paused, Disabled };
StateRecord ReadStateRecord(const std::u16string& name);
bool WriteStateRecord(const std::u16string& name, StateRecord state);
// SERVICE_RUNNING, SERVICE_STOPPED or SERVICE_PAUSED, from the record or the default rule.
DWORD CurrentState(const ServiceConfig& config);
// Disabled by its start type or by its record.
bool IsDisabled(const ServiceConfig& config);

struct ManagerObject : KernelObject {
  DWORD access = 0;
};
struct ServiceObject : KernelObject {
  std::u16string name;
  DWORD access = 0;
};

// A pending failure of the service's next start (0: none), taken when read.
DWORD TakeStartFailure(const std::u16string& name);

// A service that runs as a program of ours (serviceprocess.cpp): the Task Scheduler's job
// runner. False when the service has none or it is not in the program folder; such a service
// is only a state record.
bool ServiceProgram(const std::u16string& name, std::string& hostPath);
// The id of the service's process while it runs, else 0.
DWORD ServiceProcess(const std::u16string& name, const std::string& program);
// Starts the program ("<program> -service") as the service's process; a Win32 error or 0.
DWORD StartServiceProcess(const std::u16string& name, const std::string& program);
// Asks the service's process to end and forgets it.
void StopServiceProcess(const std::u16string& name, const std::string& program);

}  // namespace zx::svc
