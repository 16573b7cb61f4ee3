// The ANSI code page, the user's interface language and locale facts.
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "errhandlingapi.h"
#include "winnls.h"
#include "zx/machine.h"

namespace {
constexpr UINT kAnsiCodePage = 1252;
constexpr LANGID kEnglishUnitedStates = 0x0409;
}  // namespace

UINT GetACP() { return kAnsiCodePage; }

LANGID GetUserDefaultUILanguage() {
  const std::string text = zx::machine::ProfileValue("Locale", "UILanguage", "");
  char* end = nullptr;
  const unsigned long value = std::strtoul(text.c_str(), &end, 0);
  return !text.empty() && *end == 0 && value != 0 && value <= 0xFFFF ? static_cast<LANGID>(value)
                                                                     : kEnglishUnitedStates;
}

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
