// Small helpers of the main program.
#include "AppUtilities.h"

#include <algorithm>

int MinRankLevel(int a, int b) {
  const auto level = [](int n) { return n < 1 || n > 4 ? 4 : n; };
  return std::min(level(a), level(b));
}
