// File-name wildcards as Windows matches them (FindFirstFile, PathMatchSpec).
#pragma once
#include <string_view>

namespace zx {

// Matches name against pattern without regard to case: '*' is any run of characters, '?'
// exactly one. As on Windows, a pattern ending in ".*" also matches the names its stem
// matches ("*.*" matches every name, "readme.*" matches "readme"), and a pattern ending
// in a lone '.' matches only names without a dot ("*." lists the names without extension).
bool MatchWildcard(std::u16string_view pattern, std::u16string_view name);

}  // namespace zx
