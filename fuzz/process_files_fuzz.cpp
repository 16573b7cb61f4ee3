// Fuzz target: what the process layer reads about other processes: "/proc/<pid>/stat",
// "cmdline" and "maps" as the host writes them, and a module's PE headers as another
// process's memory holds them (the first byte picks the reader). Nothing is read beyond the
// bytes; a module list names each mapped file once, from its lowest address, and never
// reaches past the end of the address space.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <string_view>

#include "../foundation/PeImageBase.h"
#include "zx/processes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  switch (data[0] % 4) {
    case 0: {
      zx::process::ProcessStat stat;
      if (zx::process::ParseProcessStat(bytes, stat) && stat.command.size() > bytes.size()) std::abort();
      break;
    }
    case 1: {
      const std::string first = zx::process::FirstCommandWord(bytes);
      if (first.size() > bytes.size() || first.find('\0') != std::string::npos || bytes.substr(0, first.size()) != first)
        std::abort();
      break;
    }
    case 2: {
      std::set<std::string> paths;
      for (const zx::process::Module& module : zx::process::ParseModuleMaps(bytes)) {
        if (module.path.empty() || module.path[0] != '/' || !paths.insert(module.path).second) std::abort();
        if (module.base + module.size < module.base) std::abort();
      }
      break;
    }
    default: {
      const ULONG_PTR base = PeImageBase([&](ULONG_PTR offset, BYTE* buffer, std::size_t length) {
        if (offset > bytes.size() || length > bytes.size() - offset) return false;
        std::memcpy(buffer, bytes.data() + offset, length);
        return true;
      });
      if (base != 0 && bytes.substr(0, 2) != "MZ") std::abort();
      break;
    }
  }
  return 0;
}
