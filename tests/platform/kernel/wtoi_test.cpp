// _wtoi: leading blanks and sign, digits up to the first other character, clamping.
#include <gtest/gtest.h>

#include <climits>

#include "wstdlib.h"

namespace {

TEST(Wtoi, ReadsTheLeadingInteger) {
  const struct {
    const char16_t* text;
    int value;
  } kCases[] = {
      {u"1", 1},          {u"0", 0},           {u"  42", 42},     {u"\t-7", -7},       {u"+15", 15},
      {u"12abc", 12},     {u"abc", 0},         {u"", 0},          {u"no", 0},          {u"- 5", 0},
      {u"0x10", 0},       {u"007", 7},         {u"2147483647", INT_MAX},             {u"2147483648", INT_MAX},
      {u"99999999999999999999", INT_MAX},      {u"-2147483648", INT_MIN},            {u"-99999999999", INT_MIN},
  };
  for (const auto& c : kCases) EXPECT_EQ(_wtoi(c.text), c.value) << std::u16string(c.text).size();
  EXPECT_EQ(_wtoi(nullptr), 0);
}

}  // namespace
