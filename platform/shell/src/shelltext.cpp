// Windows-1252 text of the shell's "A" functions, on the kernel's code-page functions.
#include "shelltext.h"

#include <algorithm>

#include "stringapiset.h"

namespace zx::shell {

std::u16string Widen(LPCSTR text) {
  if (text == nullptr || *text == '\0') return {};
  std::u16string wide(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0)), u'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), static_cast<int>(wide.size()));
  wide.pop_back();  // the converted terminator
  return wide;
}

void NarrowInto(const std::u16string& text, LPSTR out, int capacity) {
  if (out == nullptr || capacity <= 0) return;
  const int length = std::min(static_cast<int>(text.size()), capacity - 1);
  if (length > 0) WideCharToMultiByte(CP_ACP, 0, text.data(), length, out, length, nullptr, nullptr);
  out[length] = '\0';
}

}  // namespace zx::shell
