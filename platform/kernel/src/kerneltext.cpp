// Text conversions at the kernel's edges, on the layer's code-page functions.
#include "kerneltext.h"

#include "stringapiset.h"

namespace zx::text {
namespace {

std::u16string Widen(UINT codePage, std::string_view bytes) {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int needed = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
  std::u16string out(static_cast<std::size_t>(needed), u'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), size, out.data(), static_cast<int>(out.size()));
  return out;
}

std::string Narrow(UINT codePage, std::u16string_view wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int needed =
      WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(needed), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), size, out.data(), static_cast<int>(out.size()),
                      nullptr, nullptr);
  return out;
}

}  // namespace

std::u16string FromAnsi(std::string_view ansi) { return Widen(CP_ACP, ansi); }
std::string ToAnsi(std::u16string_view wide) { return Narrow(CP_ACP, wide); }
std::u16string FromUtf8(std::string_view utf8) { return Widen(CP_UTF8, utf8); }
std::string ToUtf8(std::u16string_view wide) { return Narrow(CP_UTF8, wide); }

}  // namespace zx::text
