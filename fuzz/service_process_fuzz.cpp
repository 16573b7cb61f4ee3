// Fuzz target: the process id "machine.ini" keeps for a service ("[ServiceProcesses]
// Schedule=<id>"), any text, as the service layer reads it before stopping the service's
// process. The id answered is 0 or a process that runs the service's program: here the
// program is this target itself, so only its own id may come back.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "../platform/svc/src/servicetable.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zx::fuzz::ScratchRoot();
  static const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
  std::string ini = "[ServiceProcesses]\r\nSchedule=";
  ini.append(reinterpret_cast<const char*>(data), size);
  ini += "\r\n";
  zx::fuzz::WriteHostFile(zx::machine::Root() + "/machine.ini", ini.data(), ini.size());
  const DWORD id = zx::svc::ServiceProcess(u"Schedule", self);
  if (id != 0 && id != static_cast<DWORD>(::getpid())) std::abort();
  return 0;
}
