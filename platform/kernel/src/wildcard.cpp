// File-name wildcards as Windows matches them.
#include "zx/wildcard.h"

#include "zx/casefold.h"

namespace zx {
namespace {

// '*' and '?' without regard to case, backtracking to the last star only.
bool Match(std::u16string_view pattern, std::u16string_view name) {
  std::size_t p = 0;
  std::size_t n = 0;
  std::size_t star = std::u16string_view::npos;
  std::size_t resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == u'*') {
      star = p++;
      resume = n;
    } else if (p < pattern.size() && (pattern[p] == u'?' || FoldCase(pattern[p]) == FoldCase(name[n]))) {
      ++p;
      ++n;
    } else if (star != std::u16string_view::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == u'*') ++p;
  return p == pattern.size();
}

}  // namespace

bool MatchWildcard(std::u16string_view pattern, std::u16string_view name) {
  if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == u".*" &&
      Match(pattern.substr(0, pattern.size() - 2), name))
    return true;
  if (!pattern.empty() && pattern.back() == u'.')
    return name.find(u'.') == std::u16string_view::npos && Match(pattern.substr(0, pattern.size() - 1), name);
  return Match(pattern, name);
}

}  // namespace zx
