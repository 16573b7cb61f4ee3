// The computer's name (GetComputerNameW/A): "ComputerName" under [Machine] of the machine
// profile, else the host's name; either is cut at its first dot and to 15 characters and
// upper-cased, as Windows keeps a NetBIOS name.
#include <unistd.h>

#include <cstring>
#include <string>

#include "errhandlingapi.h"
#include "kerneltext.h"
#include "sysinfoapi.h"
#include "zx/casefold.h"
#include "zx/machine.h"

namespace {

std::u16string ComputerName() {
  std::string name = zx::machine::ProfileValue("Machine", "ComputerName", "");
  if (name.empty()) {
    char host[256] = {};
    name = ::gethostname(host, sizeof host - 1) == 0 && host[0] != 0 ? host : "ZEPHRINKX-PC";
  }
  std::u16string wide = zx::text::FromUtf8(name.substr(0, name.find('.')));
  if (wide.size() > MAX_COMPUTERNAME_LENGTH) wide.resize(MAX_COMPUTERNAME_LENGTH);
  zx::MakeUpper(wide.data(), wide.size());
  return wide;
}

// Copies a terminated name into the caller's buffer of *size characters: on success *size is
// the length without the terminator; when it does not fit, ERROR_BUFFER_OVERFLOW and *size the
// characters needed with it.
template <typename Char, typename Text>
BOOL Answer(const Text& name, Char* buffer, LPDWORD size) {
  if (size == nullptr || (buffer == nullptr && *size != 0)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const DWORD needed = static_cast<DWORD>(name.size()) + 1;
  if (*size < needed) {
    *size = needed;
    SetLastError(ERROR_BUFFER_OVERFLOW);
    return FALSE;
  }
  std::memcpy(buffer, name.c_str(), needed * sizeof(Char));
  *size = needed - 1;
  return TRUE;
}

}  // namespace

BOOL GetComputerNameW(LPWSTR buffer, LPDWORD size) { return Answer(ComputerName(), buffer, size); }

BOOL GetComputerNameA(LPSTR buffer, LPDWORD size) {
  return Answer(zx::text::ToAnsi(ComputerName()), buffer, size);
}
