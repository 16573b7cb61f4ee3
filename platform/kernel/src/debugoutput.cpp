// Debug output to the standard error stream, when ZX_DEBUG_OUTPUT asks for it.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "debugapi.h"
#include "stringapiset.h"

namespace {

bool Wanted() { return std::getenv("ZX_DEBUG_OUTPUT") != nullptr; }

void Write(LPCWSTR text) {
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (bytes <= 1) return;
  std::string utf8(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), bytes, nullptr, nullptr);
  std::fwrite(utf8.data(), 1, static_cast<std::size_t>(bytes - 1), stderr);
  std::fflush(stderr);
}

}  // namespace

void OutputDebugStringW(LPCWSTR text) {
  if (text && Wanted()) Write(text);
}

void OutputDebugStringA(LPCSTR text) {
  if (!text || !Wanted()) return;
  const int units = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
  if (units <= 1) return;
  std::u16string wide(static_cast<std::size_t>(units), u'\0');
  MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), units);
  Write(wide.c_str());
}

BOOL IsDebuggerPresent() { return FALSE; }
