// Fuzz target: a host network interface's files (type, device "uevent", address, ifindex,
// operstate, speed; fields split at zero bytes) read into an adapter as the adapter list
// does, and MAC address text as the machine profile gives it. An address read is 1-8 bytes
// that read back from their hex text; a speed is whole megabits; the loopback is left out.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "zx/netadapters.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> fields;
  for (std::size_t at = 0; fields.size() < 6;) {
    const std::size_t end = std::min(text.find('\0', at), text.size());
    fields.emplace_back(at < text.size() ? text.substr(at, end - at) : std::string_view());
    at = end + 1;
  }
  zx::net::HostAdapterFiles files{fields[0], fields[1], fields[2], fields[3], fields[4], fields[5],
                                  size % 2 == 0, size % 3 == 0};
  const auto adapter = zx::net::HostAdapterFrom("eth0", files);
  if (adapter) {
    if (adapter->address.size() > 8 || adapter->speed % 1000000 != 0) std::abort();
    std::vector<BYTE> again;
    if (!adapter->address.empty() &&
        (!zx::net::ParseHardwareAddress(zx::net::HexAddress(adapter->address), again) || again != adapter->address))
      std::abort();
  } else if (fields[0].find_first_not_of('0') == std::string::npos ||
             fields[0].substr(fields[0].find_first_not_of('0')) != "772") {
    std::abort();  // only the loopback type (772, any leading zeros) is left out
  }
  std::vector<BYTE> bytes;
  if (zx::net::ParseHardwareAddress(std::string(text), bytes) != !bytes.empty() || bytes.size() > 8) std::abort();
  return 0;
}
