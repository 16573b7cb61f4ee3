// Small helpers the file functions share at the Win32 boundary: the "A" forms' arguments and
// the way Win32 answers strings into caller buffers. Kernel-internal.
#pragma once
#include <string>
#include <string_view>

#include "errhandlingapi.h"
#include "kerneltext.h"
#include "wintypes.h"

namespace zx::file {

// The wide form of an "A" function's Windows-1252 argument; a null argument stays null.
class WideArg {
 public:
  explicit WideArg(LPCSTR text) : null_(text == nullptr), text_(text ? text::FromAnsi(text) : u"") {}
  LPCWSTR get() const { return null_ ? nullptr : text_.c_str(); }

 private:
  bool null_;
  std::u16string text_;
};

// Copies text and its terminator when they fit and answers the length copied; otherwise
// leaves the buffer alone and answers the size needed, terminator included (the rule of
// GetCurrentDirectory, GetTempPath, GetFullPathName, GetEnvironmentVariable ...). The
// narrow form writes Windows-1252.
DWORD CopyOut(std::u16string_view text, LPWSTR buffer, DWORD size);
DWORD CopyOut(std::u16string_view text, LPSTR buffer, DWORD size);

// Sets the last error and answers FALSE.
inline BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

}  // namespace zx::file
