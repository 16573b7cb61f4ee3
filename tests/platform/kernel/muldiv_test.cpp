// MulDiv: rounding to the nearest, signs, a 64-bit product, and the -1 answers.
#include <gtest/gtest.h>

#include <climits>

#include "winmuldiv.h"

namespace {

TEST(MulDiv, RoundsToTheNearestWithHalvesAwayFromZero) {
  EXPECT_EQ(MulDiv(9, 96, 72), 12);
  EXPECT_EQ(MulDiv(10, 1, 4), 3);    // 2.5
  EXPECT_EQ(MulDiv(-10, 1, 4), -3);  // -2.5
  EXPECT_EQ(MulDiv(10, 1, -3), -3);
  EXPECT_EQ(MulDiv(7, 1, 3), 2);
  EXPECT_EQ(MulDiv(-7, -1, 3), 2);
}

TEST(MulDiv, TheProductMayExceed32Bits) {
  EXPECT_EQ(MulDiv(INT_MAX, INT_MAX, INT_MAX), INT_MAX);
  EXPECT_EQ(MulDiv(100000, 100000, 1000), 10000000);
}

TEST(MulDiv, ZeroDenominatorsAndOverflowsAnswerMinusOne) {
  EXPECT_EQ(MulDiv(5, 5, 0), -1);
  EXPECT_EQ(MulDiv(INT_MAX, 2, 1), -1);
  EXPECT_EQ(MulDiv(INT_MIN, 1, -1), -1);
}

}  // namespace
