// The stand-in of the 64-bit install helper. Command line, each in quotes: hardware id, INF
// path, root name ("HKEY_CURRENT_USER" or "HKEY_LOCAL_MACHINE"), key path, then the names of
// the success value, the Plug and Play error value and the DIFx error value. It updates the
// devices with the hardware id from the INF, falls back to a DIFx install when the update
// fails, and writes the three values as decimal text. Exit code 0, or 2 for a bad command line
// or a result that could not be written.
#include <difxapi.h>
#include <errhandlingapi.h>
#include <setupapi.h>
#include <stringapiset.h>
#include <winreg.h>

#include <string>

namespace {

std::u16string Wide(const char* text) {
  const int length = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
  std::u16string wide(static_cast<std::size_t>(length > 0 ? length : 1), u'\0');
  MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), length);
  wide.resize(wide.size() - 1);
  return wide;
}

bool WriteNumber(HKEY key, const std::u16string& name, DWORD value) {
  const std::string digits = std::to_string(value);
  const std::u16string text(digits.begin(), digits.end());
  return RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>((text.size() + 1) * sizeof(char16_t))) == ERROR_SUCCESS;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 8) return 2;
  const std::u16string hardwareId = Wide(argv[1]), infPath = Wide(argv[2]), rootName = Wide(argv[3]),
                       keyPath = Wide(argv[4]), successName = Wide(argv[5]), pnpName = Wide(argv[6]),
                       difxName = Wide(argv[7]);
  const HKEY root = rootName == u"HKEY_CURRENT_USER"    ? HKEY_CURRENT_USER
                    : rootName == u"HKEY_LOCAL_MACHINE" ? HKEY_LOCAL_MACHINE
                                                        : nullptr;
  if (root == nullptr || hardwareId.empty() || infPath.empty()) return 2;

  BOOL reboot = FALSE;
  DWORD pnpError = 0, difxError = 0;
  bool installed = UpdateDriverForPlugAndPlayDevicesW(nullptr, hardwareId.c_str(), infPath.c_str(), 0, &reboot) != FALSE;
  if (!installed) {
    pnpError = GetLastError();
    difxError = DriverPackageInstallW(infPath.c_str(), 0, nullptr, &reboot);
    installed = difxError == 0;
  }

  HKEY key = nullptr;
  if (RegCreateKeyExW(root, keyPath.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS) return 2;
  const bool written = WriteNumber(key, pnpName, pnpError) && WriteNumber(key, difxName, difxError) &&
                       WriteNumber(key, successName, installed ? 1 : 0);
  RegCloseKey(key);
  return written ? 0 : 2;
}
