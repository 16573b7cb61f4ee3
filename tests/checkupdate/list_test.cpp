// The update checker's list: where a click ticks a row, from the check column's edge, the
// header's height, the row height and the top visible row.
#include <gtest/gtest.h>

#include "CheckUpdateList.h"

namespace {

TEST(CheckUpdateList, TheBandWhereAClickTicksARow) {
  // Header 23 high, rows 33 high, the check column from x 0.
  const struct {
    int x, y, checkLeft, rowHeight, topRow;
    int row;
  } kCases[] = {
      {11, 35, 0, 33, 0, 0},    // 19 into the first row (after the 7 added)
      {6, 32, 0, 33, 0, 0},     // left edge + 6, 16 into the row
      {16, 42, 0, 33, 0, 0},    // left edge + 16, 26: the band's last line
      {11, 43, 0, 33, 0, -1},   // 27: below the band
      {5, 35, 0, 33, 0, -1},    // left of the band
      {17, 35, 0, 33, 0, -1},   // right of the band
      {11, 31, 0, 33, 0, -1},   // 15 into the row: above the band
      {11, 50, 0, 33, 0, -1},   // 34: one into the next row, above its band
      {11, 68, 0, 33, 0, 1},    // 19 into the second row
      {11, 68, 0, 33, 4, 5},    // counted from the top visible row
      {111, 35, 100, 33, 0, 0}, // a check column further right
      {11, 10, 0, 33, 0, -1},   // on the header
      {11, 35, 0, 0, 0, -1},    // rows without height
      {11, 35, 0, -5, 0, -1},
      {11, 16 + 19 + 22 * 1000, 0, 22, 0, 1000},  // far down in a long list
  };
  for (const auto& c : kCases)
    EXPECT_EQ(checkupdate::CheckClickRow(c.x, c.y, c.checkLeft, 23, c.rowHeight, c.topRow), c.row)
        << c.x << "," << c.y << " row height " << c.rowHeight << " top " << c.topRow;
}

}  // namespace
