// Host routes, the user's proxy settings and the connection state of the machine.
#include "hostroutes.h"
#include "zx/proxysettings.h"

#include <winreg.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>

#include "wininet.h"
#include "zx/machine.h"
#include "zx/utf8text.h"

namespace zx::inet {
namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool IsPort(const std::string& text) {
  return !text.empty() && text.size() <= 5 &&
         std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); }) &&
         std::stoul(text) > 0 && std::stoul(text) <= 65535;
}

bool ReadFlag(HKEY key, LPCWSTR name) {
  DWORD value = 0;
  DWORD type = 0;
  DWORD size = sizeof(value);
  return RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<LPBYTE>(&value), &size) ==
             ERROR_SUCCESS &&
         type == REG_DWORD && value != 0;
}

std::string ReadText(HKEY key, LPCWSTR name) {
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ)
    return {};
  std::u16string text(size / sizeof(char16_t) + 1, u'\0');
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<LPBYTE>(text.data()), &size) !=
      ERROR_SUCCESS)
    return {};
  text.resize(std::char_traits<char16_t>::length(text.c_str()));
  return ToUtf8(text).value_or(std::string());
}

// The proxy server of the user's settings; "" when there is none or onlyWhenEnabled asks
// for ProxyEnable and it is not set.
std::string UserProxySetting(bool onlyWhenEnabled) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
                    0, KEY_READ, &key) != ERROR_SUCCESS)
    return {};
  const bool wanted = !onlyWhenEnabled || ReadFlag(key, u"ProxyEnable");
  const std::string list = wanted ? ReadText(key, u"ProxyServer") : std::string();
  RegCloseKey(key);
  return Trimmed(list);
}

}  // namespace

std::string HostRoute(const std::string& host) {
  const std::string route = Trimmed(machine::ProfileValue("Hosts", host, ""));
  if (route.empty()) return {};
  std::string address = route;
  std::string port;
  const std::size_t bracket = route.rfind(']');
  const std::size_t colon = route.rfind(':');
  if (route.front() == '[' ? (bracket != std::string::npos && colon == bracket + 1)
                           : (colon != std::string::npos && route.find(':') == colon)) {
    address = route.substr(0, colon);
    port = route.substr(colon + 1);
    if (!IsPort(port)) return {};
  }
  if (address.empty() || address.find_first_of(" \t/") != std::string::npos) return {};
  return host + "::" + address + ":" + port;
}

std::string UserProxyServer() { return UserProxySetting(false); }

std::string PreconfiguredProxyList() { return UserProxySetting(true); }

std::string ProxyForScheme(const std::string& list, bool secure) {
  const std::string wanted = secure ? "https=" : "http=";
  std::string plain;
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find_first_of("; ", start);
    if (end == std::string::npos) end = list.size();
    const std::string entry = Trimmed(list.substr(start, end - start));
    if (Lower(entry).rfind(wanted, 0) == 0) return entry.substr(wanted.size());
    if (plain.empty() && !entry.empty() && entry.find('=') == std::string::npos) plain = entry;
    start = end + 1;
  }
  return plain;
}

DWORD MachineConnection() {
  const std::string setting = Lower(Trimmed(machine::ProfileValue("Network", "Connection", "")));
  if (setting == "lan") return INTERNET_CONNECTION_LAN;
  if (setting == "modem") return INTERNET_CONNECTION_MODEM;
  if (setting == "none") return 0;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/sys/class/net", error)) {
    if (entry.path().filename() == "lo") continue;
    std::ifstream state(entry.path() / "operstate");
    std::string word;
    if (state >> word && word == "up") return INTERNET_CONNECTION_LAN;
  }
  return 0;
}

}  // namespace zx::inet
