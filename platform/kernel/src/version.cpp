// GetVersionEx: the Windows version the layer reports, read from the machine profile.
//
// The profile is <machine root>/machine.ini, UTF-8 text (a byte-order mark is skipped):
//
//   [Windows]
//   Major=6
//   Minor=1
//   Build=7601
//   Platform=2
//   ServicePack=Service Pack 1
//   ProductType=1
//
// Section and key names are matched without regard to case; blanks around names and values
// are dropped; lines starting with ';' or '#' are comments; other sections belong to other
// readers. Major, Minor, Build and Platform are decimal numbers up to 4294967295,
// ProductType up to 255 (1 workstation, 2 domain controller, 3 server); ServicePack is the
// text of szCSDVersion (127 characters at most, empty for none), and the number it ends with
// becomes wServicePackMajor. A missing file, section or key, or a value that is no valid
// number, keeps the default shown above (Windows 7 Service Pack 1).
#include <algorithm>
#include <charconv>
#include <string>

#include "errhandlingapi.h"
#include "kerneltext.h"
#include "sysinfoapi.h"
#include "zx/machine.h"

namespace {

struct WindowsVersion {
  DWORD major = 6;
  DWORD minor = 1;
  DWORD build = 7601;
  DWORD platform = VER_PLATFORM_WIN32_NT;
  std::u16string servicePack = u"Service Pack 1";
  BYTE productType = VER_NT_WORKSTATION;
};

// Parses a decimal number no larger than max into value; leaves value alone otherwise.
template <class T>
void ReadNumber(const std::string& text, std::uint64_t max, T& value) {
  std::uint64_t parsed = 0;
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, parsed);
  if (error == std::errc() && stop == end && !text.empty() && parsed <= max)
    value = static_cast<T>(parsed);
}

WindowsVersion ReadVersion() {
  WindowsVersion version;
  constexpr const char* kAbsent = "\x01";
  const auto value = [&](const char* key) { return zx::machine::ProfileValue("Windows", key, kAbsent); };
  ReadNumber(value("Major"), 0xFFFFFFFFu, version.major);
  ReadNumber(value("Minor"), 0xFFFFFFFFu, version.minor);
  ReadNumber(value("Build"), 0xFFFFFFFFu, version.build);
  ReadNumber(value("Platform"), 0xFFFFFFFFu, version.platform);
  ReadNumber(value("ProductType"), 0xFF, version.productType);
  const std::string servicePack = value("ServicePack");
  if (servicePack != kAbsent) version.servicePack = zx::text::FromUtf8(servicePack).substr(0, 127);
  return version;
}

// The number at the end of a service pack text ("Service Pack 2" -> 2).
WORD ServicePackMajor(const std::u16string& text) {
  std::size_t start = text.size();
  while (start > 0 && text[start - 1] >= u'0' && text[start - 1] <= u'9') --start;
  WORD number = 0;
  for (std::size_t i = start; i < text.size() && number < 1000; ++i)
    number = static_cast<WORD>(number * 10 + (text[i] - u'0'));
  return number;
}

// Fills the plain or EX structure, whichever dwOSVersionInfoSize names; csd is the service
// pack text in the structure's character type.
template <class Info, class InfoEx, class Text>
BOOL Fill(Info* info, const Text& csd, const WindowsVersion& version) {
  if (!info) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const DWORD size = info->dwOSVersionInfoSize;
  if (size != sizeof(Info) && size != sizeof(InfoEx)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  info->dwMajorVersion = version.major;
  info->dwMinorVersion = version.minor;
  info->dwBuildNumber = version.build;
  info->dwPlatformId = version.platform;
  const std::size_t length = std::min<std::size_t>(csd.size(), 127);
  std::copy_n(csd.begin(), length, info->szCSDVersion);
  std::fill(info->szCSDVersion + length, std::end(info->szCSDVersion), 0);
  if (size == sizeof(InfoEx)) {
    auto* ex = reinterpret_cast<InfoEx*>(info);
    ex->wServicePackMajor = ServicePackMajor(version.servicePack);
    ex->wServicePackMinor = 0;
    ex->wSuiteMask = 0;
    ex->wProductType = version.productType;
    ex->wReserved = 0;
  }
  return TRUE;
}

}  // namespace

BOOL GetVersionExW(LPOSVERSIONINFOW versionInfo) {
  const WindowsVersion version = ReadVersion();
  return Fill<OSVERSIONINFOW, OSVERSIONINFOEXW>(versionInfo, version.servicePack, version);
}

BOOL GetVersionExA(LPOSVERSIONINFOA versionInfo) {
  const WindowsVersion version = ReadVersion();
  return Fill<OSVERSIONINFOA, OSVERSIONINFOEXA>(versionInfo, zx::text::ToAnsi(version.servicePack),
                                                version);
}
