// The driver restore program's stand-in: installs an INF for the devices of one hardware id
// through the device installer, older packages too (a restore puts the older driver back).
// Exit code 0 when installed, 1 when not, 2 for a bad command.
#include <cstdio>
#include <cstring>
#include <string>

#include "setupapi.h"
#include "stringapiset.h"

namespace {

std::u16string Wide(const char* text) {
  const int length = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
  if (length <= 1) return {};
  std::u16string wide(static_cast<std::size_t>(length), u'\0');
  MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), length);
  wide.resize(static_cast<std::size_t>(length) - 1);
  return wide;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 || std::strcmp(argv[1], "update") != 0) {
    std::fprintf(stderr, "usage: Ravolt update <INF path> <hardware id>\n");
    return 2;
  }
  const std::u16string infPath = Wide(argv[2]);
  const std::u16string hardwareId = Wide(argv[3]);
  BOOL reboot = FALSE;
  return UpdateDriverForPlugAndPlayDevicesW(nullptr, hardwareId.c_str(), infPath.c_str(), INSTALLFLAG_FORCE, &reboot) ? 0 : 1;
}
