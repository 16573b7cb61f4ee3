// The stand-in of a driver package's setup program: installs every INF of its own folder
// through the driver package installation and exits with 0 when one of them installed, 1 when
// none did, 2 when its folder holds no INF. Switches on the command line are accepted and
// ignored, as a package's silent switches would be.
#include <difxapi.h>
#include <libloaderapi.h>

#include <filesystem>
#include <string>

#include "zx/pathmap.h"

int main() {
  WCHAR self[1024] = {};
  const DWORD length = GetModuleFileNameW(nullptr, self, 1024);
  std::u16string folder(self, length);
  folder.erase(folder.find_last_of(u'\\') + 1);
  std::string hostFolder;
  if (!zx::path::WindowsToHost(folder, hostFolder, nullptr)) return 2;
  bool anyInf = false, installed = false;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(hostFolder, ec)) {
    std::string name = entry.path().filename().string();
    if (name.size() < 4) continue;
    std::string extension = name.substr(name.size() - 4);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension != ".inf") continue;
    anyInf = true;
    const std::u16string inf = zx::path::HostToWindows(entry.path().string());
    installed = DriverPackageInstallW(inf.c_str(), 0, nullptr, nullptr) == 0 || installed;
  }
  if (!anyInf) return 2;
  return installed ? 0 : 1;
}
