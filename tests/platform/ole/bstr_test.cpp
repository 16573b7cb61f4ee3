// BSTR layout (byte-length prefix, terminator, embedded zeros) and _bstr_t.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "comutil.h"
#include "oleauto.h"

namespace {

// The four bytes before the text, as they lie in memory.
std::string PrefixBytes(BSTR text) {
  return std::string(reinterpret_cast<const char*>(text) - 4, 4);
}

TEST(Bstr, PrefixHoldsTheByteLengthAndTextEndsInZero) {
  BSTR text = SysAllocString(u"abc");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(PrefixBytes(text), std::string("\x06\x00\x00\x00", 4));
  EXPECT_EQ(std::memcmp(text, "a\0b\0c\0\0\0", 8), 0);
  EXPECT_EQ(SysStringLen(text), 3u);
  EXPECT_EQ(SysStringByteLen(text), 6u);
  SysFreeString(text);
}

TEST(Bstr, EmbeddedZerosAreKeptAndCounted) {
  const OLECHAR source[] = {u'a', 0, u'b', 0, 0};
  BSTR text = SysAllocStringLen(source, 4);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(SysStringLen(text), 4u);
  EXPECT_EQ(PrefixBytes(text), std::string("\x08\x00\x00\x00", 4));
  EXPECT_EQ(std::memcmp(text, "a\0\0\0b\0\0\0\0\0", 10), 0);
  SysFreeString(text);
}

TEST(Bstr, NullSourceGivesZeroedTextOfThatLength) {
  BSTR text = SysAllocStringLen(nullptr, 3);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(SysStringLen(text), 3u);
  for (int i = 0; i <= 3; ++i) EXPECT_EQ(text[i], 0);
  SysFreeString(text);
}

TEST(Bstr, OddByteLengthEndsInAWholeZeroCharacter) {
  BSTR text = SysAllocStringByteLen("abc", 3);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(SysStringByteLen(text), 3u);
  EXPECT_EQ(SysStringLen(text), 1u);
  EXPECT_EQ(std::memcmp(text, "abc\0\0", 5), 0);
  SysFreeString(text);
}

TEST(Bstr, EmptyAndAbsentTexts) {
  EXPECT_EQ(SysAllocString(nullptr), nullptr);
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  EXPECT_EQ(SysStringByteLen(nullptr), 0u);
  SysFreeString(nullptr);
  BSTR empty = SysAllocString(u"");
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(SysStringLen(empty), 0u);
  EXPECT_EQ(PrefixBytes(empty), std::string(4, '\0'));
  SysFreeString(empty);
}

TEST(Bstr, LengthsBeyondThePrefixAreRefused) {
  EXPECT_EQ(SysAllocStringLen(nullptr, 0x80000000u), nullptr);
  EXPECT_EQ(SysAllocStringByteLen(nullptr, 0xFFFFFFFFu), nullptr);
}

TEST(Bstr, ReallocationMayCopyFromTheOldText) {
  BSTR text = SysAllocString(u"hello world");
  ASSERT_TRUE(SysReAllocStringLen(&text, text + 6, 5));
  EXPECT_EQ(std::u16string(text, SysStringLen(text)), u"world");
  ASSERT_TRUE(SysReAllocString(&text, u"x"));
  EXPECT_EQ(SysStringLen(text), 1u);
  EXPECT_FALSE(SysReAllocString(nullptr, u"x"));
  SysFreeString(text);
}

// Resizing a string into itself reads no further than the string goes: the characters
// beyond it come out zero, across the size at which a string becomes a mapping of its own.
TEST(Bstr, ResizingIntoItselfKeepsTheTextAndZeroesTheRest) {
  struct Case {
    UINT from, to, offset;
  };
  const Case cases[] = {{11, 40, 0},       {11, 3, 0},        {11, 40, 6},        {11, 5, 6},
                        {1000, 700000, 0}, {700000, 900, 0},  {600000, 900000, 2}, {900000, 600000, 7},
                        {700000, 700000, 0}, {5, 0, 5}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.from << " -> " << c.to << " from " << c.offset);
    BSTR text = SysAllocStringLen(nullptr, c.from);
    ASSERT_NE(text, nullptr);
    for (UINT i = 0; i < c.from; ++i) text[i] = static_cast<OLECHAR>(u'a' + i % 26);
    ASSERT_TRUE(SysReAllocStringLen(&text, text + c.offset, c.to));
    ASSERT_EQ(SysStringLen(text), c.to);
    const UINT kept = std::min(c.from - c.offset, c.to);
    UINT wrong = 0;
    for (UINT i = 0; i < kept; ++i) wrong += text[i] != static_cast<OLECHAR>(u'a' + (i + c.offset) % 26);
    for (UINT i = kept; i <= c.to; ++i) wrong += text[i] != 0;
    EXPECT_EQ(wrong, 0u);
    SysFreeString(text);
  }
}

TEST(Bstr, LargeStringsKeepTheLayout) {
  const std::u16string source(3u << 20, u'x');
  BSTR text = SysAllocStringLen(source.data(), static_cast<UINT>(source.size()));
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(PrefixBytes(text), std::string("\x00\x00\x60\x00", 4));
  EXPECT_EQ(std::u16string(text, SysStringLen(text)), source);
  EXPECT_EQ(text[source.size()], 0);
  ASSERT_TRUE(SysReAllocString(&text, u"short"));
  EXPECT_EQ(std::u16string(text, SysStringLen(text)), u"short");
  SysFreeString(text);
}

TEST(BstrT, CopiesKeepEmbeddedZerosAndDetachHandsOwnership) {
  const OLECHAR source[] = {u'x', 0, u'y'};
  _bstr_t attached(SysAllocStringLen(source, 3), false);
  _bstr_t copy;
  copy = attached;
  EXPECT_EQ(copy.length(), 3u);
  EXPECT_NE(static_cast<BSTR>(copy), static_cast<BSTR>(attached));
  EXPECT_EQ(std::u16string(static_cast<BSTR>(copy), copy.length()), std::u16string(source, 3));
  EXPECT_EQ(_bstr_t(u"x\0y").length(), 1u);  // from C text: up to the first zero
  BSTR detached = copy.Detach();
  EXPECT_EQ(static_cast<BSTR>(copy), nullptr);
  EXPECT_EQ(SysStringLen(detached), 3u);
  SysFreeString(detached);
}

}  // namespace
