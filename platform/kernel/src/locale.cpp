// The ANSI code page and locale facts.
#include <cstring>
#include <string_view>

#include "errhandlingapi.h"
#include "winnls.h"

namespace {
constexpr UINT kAnsiCodePage = 1252;
}

UINT GetACP() { return kAnsiCodePage; }

int GetLocaleInfoW(LCID, LCTYPE type, LPWSTR data, int size) {
  if (type != LOCALE_IDEFAULTANSICODEPAGE) {
    SetLastError(ERROR_INVALID_FLAGS);
    return 0;
  }
  if (size < 0 || (size > 0 && data == nullptr)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  constexpr std::u16string_view kText = u"1252";
  const int needed = static_cast<int>(kText.size()) + 1;
  if (size == 0) return needed;
  if (size < needed) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::memcpy(data, kText.data(), kText.size() * sizeof(WCHAR));
  data[kText.size()] = 0;
  return needed;
}
