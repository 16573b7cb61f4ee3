// Fuzz target: what "machine.ini" says about the network, any text (split at the first zero
// byte): a host route ("[Hosts] host=address[:port]") as the WinINet stand-in turns it into a
// connection target, and an adapter's MAC address ("[NetworkAdapter.0] MACAddress") as the
// adapter list reads it. A route is none or "host::address:port" with an address of no
// blanks or slashes and a port of 1-65535 or none; an adapter has an address of 1-8 bytes or
// none.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "../platform/inet/src/hostroutes.h"
#include "fuzz_support.h"
#include "zx/netadapters.h"

namespace {

bool IsPort(const std::string& text) {
  if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos) return false;
  const unsigned long port = std::stoul(text);
  return port >= 1 && port <= 65535;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zx::fuzz::ScratchRoot();
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::size_t zero = text.find('\0');
  const std::string route(text.substr(0, zero));
  const std::string mac(zero == std::string_view::npos ? std::string_view() : text.substr(zero + 1));
  const std::string ini = "[Hosts]\r\nupdates.example.com=" + route + "\r\n[NetworkAdapters]\r\nCount=1\r\n"
                          "[NetworkAdapter.0]\r\nName=eth0\r\nMACAddress=" + mac + "\r\n";
  zx::fuzz::WriteHostFile(zx::machine::Root() + "/machine.ini", ini.data(), ini.size());

  const std::string target = zx::inet::HostRoute("updates.example.com");
  if (!target.empty()) {
    const std::string prefix = "updates.example.com::";
    const std::size_t colon = target.rfind(':');
    if (target.rfind(prefix, 0) != 0 || colon < prefix.size()) std::abort();
    const std::string address = target.substr(prefix.size(), colon - prefix.size());
    const std::string port = target.substr(colon + 1);
    if (address.empty() || address.find_first_of(" \t/") != std::string::npos || (!port.empty() && !IsPort(port)))
      std::abort();
  }
  const auto adapters = zx::net::Adapters();
  if (adapters.size() != 1 || adapters[0].address.size() > 8) std::abort();
  return 0;
}
