// MulDiv through a 64-bit product.
#include <climits>
#include <cstdint>

#include "winmuldiv.h"

int MulDiv(int number, int numerator, int denominator) {
  if (denominator == 0) return -1;
  const std::int64_t product = static_cast<std::int64_t>(number) * numerator;
  const std::int64_t magnitude = product < 0 ? -product : product;
  const std::int64_t divisor = denominator < 0 ? -static_cast<std::int64_t>(denominator) : denominator;
  std::int64_t quotient = (magnitude + divisor / 2) / divisor;
  if ((product < 0) != (denominator < 0)) quotient = -quotient;
  return quotient > INT_MAX || quotient < INT_MIN ? -1 : static_cast<int>(quotient);
}
