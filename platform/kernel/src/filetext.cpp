// Answering strings into caller buffers by the Win32 rule.
#include "filetext.h"

#include <algorithm>

namespace zx::file {
namespace {

template <class C>
DWORD CopyInto(std::basic_string_view<C> text, C* buffer, DWORD size) {
  if (buffer == nullptr || text.size() >= size) return static_cast<DWORD>(text.size() + 1);
  std::copy(text.begin(), text.end(), buffer);
  buffer[text.size()] = C{};
  return static_cast<DWORD>(text.size());
}

}  // namespace

DWORD CopyOut(std::u16string_view text, LPWSTR buffer, DWORD size) {
  return CopyInto<WCHAR>(text, buffer, size);
}

DWORD CopyOut(std::u16string_view text, LPSTR buffer, DWORD size) {
  const std::string narrow = text::ToAnsi(text);
  return CopyInto<CHAR>(narrow, buffer, size);
}

}  // namespace zx::file
