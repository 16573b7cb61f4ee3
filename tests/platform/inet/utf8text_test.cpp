// The strict UTF-8 conversions of the network layer.
#include <gtest/gtest.h>

#include "zx/utf8text.h"

namespace {

using zx::inet::FromUtf8;
using zx::inet::ToUtf8;

TEST(Utf8Text, RoundTripsEveryPlane) {
  const std::u16string text = u"A\u00e9\u20ac\U0001F600z";
  const auto utf8 = ToUtf8(text);
  ASSERT_TRUE(utf8);
  EXPECT_EQ(*utf8, "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z");
  EXPECT_EQ(FromUtf8(*utf8), text);
}

TEST(Utf8Text, UnpairedSurrogatesAreRefused) {
  EXPECT_FALSE(ToUtf8(std::u16string(1, u'\xD800')));
  EXPECT_FALSE(ToUtf8(std::u16string(1, u'\xDC00')));
  EXPECT_FALSE(ToUtf8(u"a" + std::u16string(1, u'\xD83D') + u"b"));
}

TEST(Utf8Text, MalformedUtf8IsRefused) {
  for (const char* bad : {"\x80", "\xC3", "\xC0\x80", "\xE0\x80\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                          "\xF8\x88\x80\x80\x80", "ab\xE2\x82"}) {
    EXPECT_FALSE(FromUtf8(bad)) << bad;
  }
  EXPECT_EQ(FromUtf8(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
}

// Runs of ASCII of every length around other characters and around bytes that are not UTF-8:
// read alike wherever a run starts or stops, and counted as they are converted.
TEST(Utf8Text, AsciiRunsOfEveryLengthReadAlike) {
  for (std::size_t before = 0; before < 18; ++before) {
    for (std::size_t after = 0; after < 18; after += 5) {
      const std::string ascii(before, 'a');
      const std::string tail(after, 'z');
      const std::string good = ascii + "\xC3\xA9\xF0\x9F\x98\x80" + tail;
      const std::u16string expected = std::u16string(before, u'a') + u"\u00e9\U0001F600" + std::u16string(after, u'z');
      EXPECT_EQ(FromUtf8(good), expected) << before << " " << after;
      EXPECT_EQ(zx::inet::Utf16Length(good), expected.size());
      EXPECT_FALSE(FromUtf8(ascii + "\xC3" + tail)) << before << " " << after;
      EXPECT_FALSE(zx::inet::Utf16Length(ascii + tail + "\x80"));
    }
  }
}

}  // namespace
