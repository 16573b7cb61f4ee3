// Text helpers of the window system.
#include "usertext.h"

#include <algorithm>

#include "stringapiset.h"
#include "zx/casefold.h"

namespace zx::user {

std::string ToUtf8(std::u16string_view text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, text.data(), length, out.data(), n, nullptr, nullptr);
  return out;
}

std::u16string FromUtf8(std::string_view text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
  std::u16string out(static_cast<std::size_t>(n > 0 ? n : 0), u'\0');
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), length, out.data(), n);
  return out;
}

std::u16string FromAnsi(LPCSTR text) {
  if (!text) return {};
  const int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  std::u16string out(static_cast<std::size_t>(n > 0 ? n : 1), u'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, text, -1, out.data(), n);
  out.resize(out.size() - 1);
  return out;
}

std::u16string FoldedName(std::u16string_view name) {
  std::u16string out(name);
  MakeUpper(out.data(), out.size());
  return out;
}

int CopyOut(std::u16string_view text, LPWSTR buffer, int capacity) {
  if (!buffer || capacity <= 0) return 0;
  const std::size_t n = std::min(text.size(), static_cast<std::size_t>(capacity - 1));
  std::copy_n(text.data(), n, buffer);
  buffer[n] = u'\0';
  return static_cast<int>(n);
}

}  // namespace zx::user
