// Conversions through the platform's code-page calls.
#include "text.h"

#include <stringapiset.h>

namespace zxsample {

std::string Utf8(const std::u16string& text) {
  const int length = static_cast<int>(text.size());
  const int size = length == 0 ? 0 : WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  std::string out(size > 0 ? size : 0, '\0');
  if (size > 0) WideCharToMultiByte(CP_UTF8, 0, text.data(), length, out.data(), size, nullptr, nullptr);
  return out;
}

std::u16string Utf16(const std::string& text) {
  const int length = static_cast<int>(text.size());
  const int size = length == 0 ? 0 : MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
  std::u16string out(size > 0 ? size : 0, u'\0');
  if (size > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), length, out.data(), size);
  return out;
}

}  // namespace zxsample
