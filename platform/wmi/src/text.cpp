// UTF-8 / UTF-16 conversions over the kernel's code-page functions.
#include "text.h"

#include <climits>

#include "oleauto.h"
#include "stringapiset.h"

namespace zx::wmi {

std::string ToUtf8(const OLECHAR* text, std::size_t length) {
  if (!text || length == 0 || length > INT_MAX / 4) return {};
  const int n = static_cast<int>(length);
  std::string out(static_cast<std::size_t>(n) * 3, '\0');
  const int written = WideCharToMultiByte(CP_UTF8, 0, text, n, out.data(), static_cast<int>(out.size()),
                                          nullptr, nullptr);
  out.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
  return out;
}

std::u16string FromUtf8(const std::string& text) {
  if (text.empty() || text.size() > INT_MAX) return {};
  std::u16string out(text.size(), u'\0');
  const int written = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                          out.data(), static_cast<int>(out.size()));
  out.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
  return out;
}

BSTR AllocBstr(const std::string& utf8) {
  const std::u16string wide = FromUtf8(utf8);
  return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

}  // namespace zx::wmi
