// The machine's network adapters: from the machine profile, else from the host's interfaces.
#include "zx/netadapters.h"

#include <algorithm>
#include <cstdlib>

#include "zx/hostinfo.h"
#include "zx/machine.h"

namespace zx::net {
namespace {

constexpr int kHostLoopbackType = 772;  // ARPHRD_LOOPBACK
constexpr std::size_t kMaxAddressBytes = 8;
constexpr int kMaxProfileAdapters = 64;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool AllZero(const std::vector<BYTE>& bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](BYTE b) { return b == 0; });
}

// A whole decimal number, or fallback.
ULONGLONG Number(const std::string& text, ULONGLONG fallback) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return fallback;
  return std::strtoull(text.c_str(), nullptr, 10);
}

std::vector<Adapter> ProfileAdapters(int count) {
  std::vector<Adapter> adapters;
  for (int i = 0; i < count; ++i) {
    const std::string section = "NetworkAdapter." + std::to_string(i);
    const auto value = [&](const char* key, const std::string& fallback) {
      return machine::ProfileValue(section, key, fallback);
    };
    Adapter adapter;
    adapter.index = static_cast<DWORD>(i + 1);
    adapter.name = value("Name", "Adapter " + std::to_string(i));
    adapter.description = value("Description", adapter.name);
    if (!ParseHardwareAddress(value("MACAddress", ""), adapter.address) || AllZero(adapter.address))
      adapter.address.clear();
    adapter.connectionId = value("NetConnectionID", "");
    adapter.physical = value("Physical", "1") != "0";
    adapter.up = value("Up", "1") != "0";
    adapter.speed = Number(value("Speed", ""), 0);
    adapters.push_back(std::move(adapter));
  }
  return adapters;
}

std::string DriverName(const std::string& folder) {
  const auto uevent = host::ReadText(folder + "/device/uevent");
  if (!uevent) return {};
  const auto at = uevent->find("DRIVER=");
  if (at == std::string::npos || (at > 0 && (*uevent)[at - 1] != '\n')) return {};
  const auto begin = at + 7;
  return uevent->substr(begin, uevent->find('\n', begin) - begin);
}

std::vector<Adapter> HostAdapters() {
  std::vector<Adapter> adapters;
  for (const std::string& name : host::ListFolder("/sys/class/net")) {
    const std::string folder = "/sys/class/net/" + name;
    if (Number(host::ReadLine(folder + "/type").value_or(""), 0) == kHostLoopbackType) continue;
    Adapter adapter;
    adapter.name = name;
    const std::string driver = DriverName(folder);
    adapter.description = driver.empty() ? name : driver;
    if (!ParseHardwareAddress(host::ReadLine(folder + "/address").value_or(""), adapter.address) ||
        AllZero(adapter.address))
      adapter.address.clear();
    adapter.index = static_cast<DWORD>(Number(host::ReadLine(folder + "/ifindex").value_or(""), 0));
    adapter.physical = host::Exists(folder + "/device");
    adapter.wireless = host::Exists(folder + "/wireless") || host::Exists(folder + "/phy80211");
    adapter.up = host::ReadLine(folder + "/operstate").value_or("") == "up";
    adapter.connectionId = name;
    // The link speed is in Mbit/s; unknown links read -1 or cannot be read.
    adapter.speed = Number(host::ReadLine(folder + "/speed").value_or(""), 0) * 1000000ull;
    adapters.push_back(std::move(adapter));
  }
  std::stable_sort(adapters.begin(), adapters.end(),
                   [](const Adapter& a, const Adapter& b) { return a.index < b.index; });
  return adapters;
}

}  // namespace

std::vector<Adapter> Adapters() {
  const std::string count = machine::ProfileValue("NetworkAdapters", "Count", "");
  if (count.empty()) return HostAdapters();
  return ProfileAdapters(static_cast<int>(std::min<ULONGLONG>(Number(count, 0), kMaxProfileAdapters)));
}

bool ParseHardwareAddress(const std::string& text, std::vector<BYTE>& bytes) {
  bytes.clear();
  std::vector<BYTE> parsed;
  char separator = 0;
  for (std::size_t i = 0; i < text.size(); i += 2) {
    // The character after the first pair decides whether pairs are separated, and by what.
    if (parsed.size() == 1 && (text[i] == ':' || text[i] == '-')) separator = text[i];
    if (!parsed.empty() && separator != 0 && text[i++] != separator) return false;
    if (i + 2 > text.size() || parsed.size() == kMaxAddressBytes) return false;
    const int high = HexDigit(text[i]);
    const int low = HexDigit(text[i + 1]);
    if (high < 0 || low < 0) return false;
    parsed.push_back(static_cast<BYTE>(high * 16 + low));
  }
  if (parsed.empty()) return false;
  bytes = std::move(parsed);
  return true;
}

std::string HexAddress(const std::vector<BYTE>& bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (BYTE b : bytes) {
    text += kDigits[b >> 4];
    text += kDigits[b & 0xF];
  }
  return text;
}

}  // namespace zx::net
