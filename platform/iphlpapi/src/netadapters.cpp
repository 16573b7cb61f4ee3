// The machine's network adapters: from the machine profile, else from the host's interfaces.
#include "zx/netadapters.h"

#include <algorithm>
#include <charconv>

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

// A whole decimal number, or fallback (also for one too big for 64 bits).
ULONGLONG Number(const std::string& text, ULONGLONG fallback) {
  ULONGLONG value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
  return text.empty() || error != std::errc() || end != text.data() + text.size() ? fallback : value;
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

// The driver a device's "uevent" text names on its "DRIVER=" line.
std::string DriverName(const std::string& uevent) {
  const auto at = uevent.find("DRIVER=");
  if (at == std::string::npos || (at > 0 && uevent[at - 1] != '\n')) return {};
  const auto begin = at + 7;
  return uevent.substr(begin, uevent.find('\n', begin) - begin);
}

std::vector<Adapter> HostAdapters() {
  std::vector<Adapter> adapters;
  for (const std::string& name : host::ListFolder("/sys/class/net")) {
    const std::string folder = "/sys/class/net/" + name;
    HostAdapterFiles files;
    files.type = host::ReadLine(folder + "/type").value_or("");
    files.uevent = host::ReadText(folder + "/device/uevent").value_or("");
    files.address = host::ReadLine(folder + "/address").value_or("");
    files.ifindex = host::ReadLine(folder + "/ifindex").value_or("");
    files.operstate = host::ReadLine(folder + "/operstate").value_or("");
    files.speed = host::ReadLine(folder + "/speed").value_or("");
    files.device = host::Exists(folder + "/device");
    files.wireless = host::Exists(folder + "/wireless") || host::Exists(folder + "/phy80211");
    if (auto adapter = HostAdapterFrom(name, files)) adapters.push_back(std::move(*adapter));
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

std::optional<Adapter> HostAdapterFrom(const std::string& name, const HostAdapterFiles& files) {
  if (Number(files.type, 0) == kHostLoopbackType) return std::nullopt;
  Adapter adapter;
  adapter.name = name;
  const std::string driver = DriverName(files.uevent);
  adapter.description = driver.empty() ? name : driver;
  if (!ParseHardwareAddress(files.address, adapter.address) || AllZero(adapter.address)) adapter.address.clear();
  const ULONGLONG index = Number(files.ifindex, 0);
  adapter.index = index <= 0xFFFFFFFFull ? static_cast<DWORD>(index) : 0;
  adapter.physical = files.device;
  adapter.wireless = files.wireless;
  adapter.up = files.operstate == "up";
  adapter.connectionId = name;
  // The link speed is in Mbit/s; unknown links read -1 or cannot be read.
  const ULONGLONG megabits = Number(files.speed, 0);
  adapter.speed = megabits <= ~0ull / 1000000ull ? megabits * 1000000ull : 0;
  return adapter;
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
