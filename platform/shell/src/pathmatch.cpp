// Comparing names: PathMatchSpec and StrCmpI.
#include "shlwapi.h"

#include <string_view>

#include "shelltext.h"
#include "zx/casefold.h"
#include "zx/wildcard.h"

BOOL PathMatchSpecW(LPCWSTR file, LPCWSTR patterns) {
  if (file == nullptr || patterns == nullptr) return FALSE;
  std::u16string_view rest = patterns;
  for (;;) {
    while (!rest.empty() && rest.front() == u' ') rest.remove_prefix(1);
    const std::size_t cut = rest.find(u';');
    if (zx::MatchWildcard(rest.substr(0, cut), file)) return TRUE;
    if (cut == std::u16string_view::npos) return FALSE;
    rest.remove_prefix(cut + 1);
  }
}

BOOL PathMatchSpecA(LPCSTR file, LPCSTR patterns) {
  if (file == nullptr || patterns == nullptr) return FALSE;
  return PathMatchSpecW(zx::shell::Widen(file).c_str(), zx::shell::Widen(patterns).c_str());
}

int StrCmpIW(LPCWSTR a, LPCWSTR b) { return zx::CompareNoCase(a, b); }
