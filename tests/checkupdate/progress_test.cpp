// The update checker's progress display: the overall percentage over the items being fetched
// (no items counts as one), the size texts of amounts of bytes, and the cut of a long line.
#include <gtest/gtest.h>

#include <string>

#include "CheckUpdateProgress.h"
#include "cstring_printer.h"

namespace zx::test {
namespace {

TEST(CheckerProgress, OverallPercentageOverTheItems) {
  const struct {
    int done, items, percent, overall;
  } kCases[] = {
      {0, 1, 0, 0}, {0, 1, 50, 50}, {0, 2, 50, 25}, {1, 2, 50, 75}, {1, 2, 100, 100},
      {0, 0, 40, 40},  // nothing counted to fetch: no division by zero, the file's own share
      {0, -1, 40, 40},
  };
  for (const auto& c : kCases)
    EXPECT_EQ(OverallProgressPercent(c.done, c.items, c.percent), c.overall) << c.done << "/" << c.items;
}

TEST(CheckerProgress, SizeTextsByUnit) {
  const auto texts = [](LPCTSTR id) {
    const CString name = id;
    if (name == _T("IDS_PHY_MEM_GB_1")) return CString(_T("%d GB"));
    if (name == _T("IDS_PHY_MEM_MB_1")) return CString(_T("%d MB"));
    if (name == _T("IDS_PHY_MEM_KB_1")) return CString(_T("%d KB"));
    return CString(_T("%s %n"));  // never used for bytes
  };
  const struct {
    LONGLONG amount;
    const char16_t* text;
  } kCases[] = {
      {0, u""},          {-5, u""},          {1, u"1"},          {1024, u"1024"},
      {1025, u"1 KB"},   {1048576, u"1024 KB"}, {1048577, u"1 MB"}, {1073741824, u"1024 MB"},
      {3LL << 30, u"3 GB"},
  };
  for (const auto& c : kCases) EXPECT_EQ(SizeText(c.amount, texts), CString(c.text)) << c.amount;
}

// The shared texts show the amount with its fraction.
TEST(CheckerProgress, SizeTextsWithFractions) {
  const auto texts = [](LPCTSTR id) {
    const CString name = id;
    if (name == _T("IDS_PHY_MEM_GB_1")) return CString(_T("%.2f GB"));
    if (name == _T("IDS_PHY_MEM_MB_1")) return CString(_T("%.2f MB"));
    return CString(_T("%.2f KB"));
  };
  const struct {
    LONGLONG amount;
    const char16_t* text;
  } kCases[] = {{1536, u"1.50 KB"}, {5LL << 19, u"2.50 MB"}, {(3LL << 30) + (1LL << 29), u"3.50 GB"}, {1000, u"1000"}};
  for (const auto& c : kCases) EXPECT_EQ(SizeText(c.amount, texts), CString(c.text)) << c.amount;
}

TEST(CheckerProgress, SizeTextWithADamagedUnitTextIsTheNumber) {
  const auto damaged = [](LPCTSTR) { return CString(_T("%s of %n")); };
  EXPECT_EQ(SizeText(5000, damaged), CString(_T("4")));
}

TEST(CheckerProgress, LongLinesAreCut) {
  const auto line = [](std::size_t length) { return CString(std::u16string(length, u'a').c_str()); };
  EXPECT_EQ(ShortenProgressLine(line(33)), line(33));
  EXPECT_EQ(ShortenProgressLine(line(34)), line(30) + _T("..."));
}

}  // namespace
}  // namespace zx::test
