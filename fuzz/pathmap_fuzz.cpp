// Fuzzes the Windows-to-host path mapping: whatever the text, a path that does not name
// drive Z: either is refused or maps inside the C: folder, lexically clean, and maps back to
// a C: path.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "fileapi.h"
#include "zx/machine.h"
#include "zx/pathmap.h"

namespace {

std::string g_root;

void RemoveRoot() {
  std::error_code ec;
  std::filesystem::remove_all(g_root, ec);
}

// A fresh machine root whose current folder is C:\, so every relative form lands on C:.
bool Prepare() {
  std::random_device random;
  g_root = (std::filesystem::temp_directory_path() / ("zx-pathmap-fuzz-" + std::to_string(random()))).string();
  zx::machine::UseRoot(g_root);
  std::atexit(RemoveRoot);
  return SetCurrentDirectoryW(u"C:\\") != FALSE;
}

bool NamesDriveZ(std::u16string_view path) {
  if (path.size() >= 4 && path.substr(0, 4) == u"\\\\?\\") path.remove_prefix(4);
  return path.size() >= 2 && (path[0] == u'Z' || path[0] == u'z') && path[1] == u':';
}

bool EndsWith(const std::string& text, std::string_view tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool ready = Prepare();
  if (!ready) __builtin_trap();
  std::u16string path;
  for (std::size_t i = 0; i + 1 < size; i += 2) path += static_cast<char16_t>(data[i] | data[i + 1] << 8);

  std::string host;
  DWORD error = 0;
  if (!zx::path::WindowsToHost(path, host, &error)) {
    if (error == 0) __builtin_trap();
    return 0;
  }
  if (NamesDriveZ(path)) return 0;
  const std::string drive = zx::machine::DriveCFolder();
  if (host != drive && host.rfind(drive + "/", 0) != 0) __builtin_trap();
  if (host.find("/../") != std::string::npos || host.find("/./") != std::string::npos ||
      host.find("//") != std::string::npos || EndsWith(host, "/..") || EndsWith(host, "/."))
    __builtin_trap();
  if (zx::path::HostToWindows(host).rfind(u"C:\\", 0) != 0) __builtin_trap();
  return 0;
}
