// The lower-cased copy of a text: the same units as CString::MakeLower gives, whether the
// text fits on the stack or not.
#include <gtest/gtest.h>

#include <afx.h>

#include <string>

#include "LoweredText.h"

namespace {

std::u16string Repeated(std::u16string_view piece, std::size_t length) {
  std::u16string text;
  while (text.size() < length) text += piece;
  text.resize(length);
  return text;
}

TEST(LoweredText, MatchesMakeLowerOnEitherSideOfTheStackRoom) {
  // Lengths around the room kept on the stack, in ASCII and beyond it.
  const std::u16string texts[] = {
      u"",
      u"A",
      u"PCI\\VEN_8086&DEV_1502&SUBSYS_00000000&REV_04",
      u"\u0130\u00C0\u0416\u03A3\uFF21z_1",
      Repeated(u"Ab\u00C9", 159),
      Repeated(u"Ab\u00C9", 160),
      Repeated(u"Ab\u00C9", 161),
      Repeated(u"USB\\VID_", 1000),
  };
  for (const std::u16string& text : texts) {
    const CLoweredText lowered(text);
    CString expected(text.data(), static_cast<int>(text.size()));
    expected.MakeLower();
    EXPECT_EQ(lowered.View(), std::u16string_view(expected.GetString(), static_cast<std::size_t>(expected.GetLength())))
        << text.size();
  }
}

}  // namespace
