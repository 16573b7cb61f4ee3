// The enciphered exchange text: RC4 with the fixed key, the hexadecimal forms, the digest
// field, encoding and decoding with their edge cases. Expected texts were computed apart
// from this code (MD5 and a separate RC4 over the same key).
#include <gtest/gtest.h>

#include <cstring>
#include <string_view>
#include <vector>

#include "DigestsMd5.h"
#include "ExchangeEncoding.h"
#include "cstring_printer.h"

namespace {

CString Encode(LPCTSTR plain) {
  CString text = plain;
  CString encoded = _T("old");
  EXPECT_TRUE(EncipherTextToHex(text, encoded));
  return encoded;
}

CString Decode(LPCTSTR encoded, BOOL expected = TRUE) {
  CString text = encoded;
  EXPECT_EQ(getOutputStrFromHex(text), expected);
  return text;
}

TEST(Rc4, TheKeyStreamOfTheFixedKey) {
  BYTE bytes[16] = {};
  Rc4Transform(bytes, sizeof(bytes));
  const BYTE expected[16] = {0x5F, 0xDB, 0x0F, 0xA9, 0xBA, 0xF0, 0xA5, 0xD4,
                             0xFC, 0xE9, 0xC9, 0x9E, 0x95, 0x3F, 0x4A, 0xDF};
  EXPECT_EQ(std::memcmp(bytes, expected, sizeof(bytes)), 0);
}

TEST(Rc4, EveryCallStartsTheKeyStreamAfresh) {
  BYTE bytes[5] = {'h', 'e', 'l', 'l', 'o'};
  Rc4Transform(bytes, sizeof(bytes));
  EXPECT_NE(std::memcmp(bytes, "hello", 5), 0);
  Rc4Transform(bytes, sizeof(bytes));
  EXPECT_EQ(std::memcmp(bytes, "hello", 5), 0);
  Rc4Transform(bytes, 0);
  EXPECT_EQ(std::memcmp(bytes, "hello", 5), 0);
}

TEST(Hex, BytesToHexWritesUpperCasePairsAndATerminator) {
  const BYTE bytes[4] = {0x00, 0x0F, 0xA5, 0xFF};
  char text[10];
  std::memset(text, '#', sizeof(text));
  BytesToHex(bytes, text, 4);
  EXPECT_STREQ(text, "000FA5FF");
  EXPECT_EQ(text[9], '#');
}

TEST(Hex, HexToBytesReadsUpperCaseDigitsOnly) {
  BYTE bytes[6];
  HexToBytes("000FA5FF7E", bytes, 5);
  const BYTE expected[5] = {0x00, 0x0F, 0xA5, 0xFF, 0x7E};
  EXPECT_EQ(std::memcmp(bytes, expected, 5), 0);
  // A character that is not a digit ends its pair: the byte keeps what was read before it.
  HexToBytes("a55aG1 1Ff", bytes, 5);
  const BYTE cut[5] = {0x00, 0x05, 0x00, 0x00, 0x0F};
  EXPECT_EQ(std::memcmp(bytes, cut, 5), 0);
}

TEST(TextDigest, IsTheUpperCaseMd5OfTheAnsiBytes) {
  CString digest;
  EXPECT_TRUE(ComputeTextDigest(_T("abc"), digest));
  EXPECT_EQ(digest, CString(_T("900150983CD24FB0D6963F7D28E17F72")));
  EXPECT_TRUE(ComputeTextDigest(_T("\u00e9"), digest));  // one byte, 0xE9, in Windows-1252
  EXPECT_EQ(digest, CString(_T("3406877694691DDD1DFB0ACA54681407")));
  EXPECT_TRUE(ComputeTextDigest(_T(""), digest));
  EXPECT_EQ(digest, CString(_T("D41D8CD98F00B204E9800998ECF8427E")));
}

TEST(Encode, KnownTexts) {
  EXPECT_EQ(Encode(_T("abc")), CString(_T("900150983CD24FB0D6963F7D28E17F72") _T("3EDB6DA9D9F0")));
  EXPECT_EQ(Encode(_T("Hello, world!")),
            CString(_T("6CD3556DEB0DA54BCA060B4C39479839")
                    _T("17DB6AA9D6F0C9D493E9E59EB53F3DDFF3CC78A90D7DB6FCBB78")));
  EXPECT_EQ(Encode(_T("<a>b</a>")),
            CString(_T("001717E73BCA14E4FB2DF3CABD6EAC98") _T("63DB6EA984F0C7D4C0E9E69EF43F74DF")));
  // Letters outside ASCII: the digest covers their Windows-1252 bytes, the payload their
  // UTF-16 units.
  EXPECT_EQ(Encode(_T("Gr\u00fc\u00dfe \u20ac 5")),
            CString(_T("B5D26D101AB0CE3D7DC214D463493574") _T("18DB7DA946F07AD499E9E99E391F6ADFA9CC")));
  // A surrogate pair: two units in the payload, two "?" in the digested bytes.
  EXPECT_EQ(Encode(_T("x\U0001F600y")),
            CString(_T("457C60ECD32F04FF3C219A4C84CBD6DA") _T("27DB3271BA2EDCD4")));
}

TEST(Encode, TrimsTheCallersText) {
  CString text = _T("  \tabc\r\n ");
  CString encoded;
  EXPECT_TRUE(EncipherTextToHex(text, encoded));
  EXPECT_EQ(text, CString(_T("abc")));
  EXPECT_EQ(encoded, Encode(_T("abc")));
}

TEST(Encode, AnEmptyOrBlankTextEncodesAsNothing) {
  EXPECT_TRUE(Encode(_T("")).IsEmpty());
  EXPECT_TRUE(Encode(_T(" \t\r\n ")).IsEmpty());
}

TEST(Encode, LengthIs32PlusFourDigitsAUnit) {
  EXPECT_EQ(Encode(_T("a")), CString(_T("0CC175B9C0F1B6A831C399E269772661") _T("3EDB")));
  CString text;
  for (int n = 1; n < 40; ++n) {
    text += static_cast<WCHAR>(0x41 + n);
    const CString encoded = Encode(text);
    EXPECT_EQ(encoded.GetLength(), 32 + 4 * n);
    EXPECT_EQ(encoded.SpanIncluding(_T("0123456789ABCDEF")), encoded);
  }
}

TEST(Encode, TheSameTextAlwaysGivesTheSameMessage) {
  EXPECT_EQ(Encode(_T("same text")), Encode(_T("same text")));
}

TEST(Encode, TheCallersTextCanTakeItsOwnMessage) {
  CString text = _T(" same text ");
  EXPECT_TRUE(EncipherTextToHex(text, text));
  EXPECT_EQ(text, Encode(_T("same text")));
}

// Long texts are digested in pieces: the digest field must still be the MD5 of the whole
// text, across piece ends, and the payload must decode back to it.
TEST(Encode, LongTextsKeepTheirDigestAndRoundTrip) {
  for (const int units : {4095, 4096, 4097, 3 * 4096 + 17}) {
    CString text;
    std::vector<BYTE> narrow;
    for (int n = 0; n < units; ++n) {
      const char ch = static_cast<char>('!' + n * 7 % 90);
      text += static_cast<WCHAR>(ch);
      narrow.push_back(static_cast<BYTE>(ch));
    }
    CString expected = CMD5Checksum::DigestHex(narrow.data(), static_cast<UINT>(narrow.size()));
    expected.MakeUpper();
    CString plain = text;
    CString encoded;
    ASSERT_TRUE(EncipherTextToHex(plain, encoded));
    EXPECT_EQ(encoded.Left(32), expected) << units;
    EXPECT_EQ(Decode(encoded), text) << units;
  }
}

// The main program's encoder: the same messages, and a message even for an empty text.
TEST(MainProgramEncode, GivesTheSharedMessagesAndTrims) {
  CString text = _T("  abc\t ");
  CString encoded = _T("old");
  EXPECT_TRUE(getInputHexFromStr(text, encoded));
  EXPECT_EQ(text, CString(_T("abc")));
  EXPECT_EQ(encoded, CString(_T("900150983CD24FB0D6963F7D28E17F72") _T("3EDB6DA9D9F0")));
  EXPECT_EQ(encoded.GetLength(), 32 + 12);
  CString again = _T("abc");
  CString second;
  getInputHexFromStr(again, second);
  EXPECT_EQ(second, encoded);
}

TEST(MainProgramEncode, AnEmptyTextIsTheDigestOfNothingAndDecodesAsEmpty) {
  for (LPCTSTR blank : {_T(""), _T(" \r\n\t")}) {
    CString text = blank;
    CString encoded;
    EXPECT_TRUE(getInputHexFromStr(text, encoded));
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_EQ(encoded, CString(_T("D41D8CD98F00B204E9800998ECF8427E")));
    EXPECT_TRUE(Decode(encoded).IsEmpty());
  }
}

TEST(Decode, KnownMessages) {
  EXPECT_EQ(Decode(_T("900150983CD24FB0D6963F7D28E17F72") _T("3EDB6DA9D9F0")), CString(_T("abc")));
  EXPECT_EQ(Decode(_T("B5D26D101AB0CE3D7DC214D463493574") _T("18DB7DA946F07AD499E9E99E391F6ADFA9CC")),
            CString(_T("Gr\u00fc\u00dfe \u20ac 5")));
}

TEST(Decode, RoundTripsOfTextsWithoutZeroUnits) {
  for (LPCTSTR plain : {_T("a"), _T("abc"), _T("<Request><Os>6.1</Os></Request>"), _T("\u00e9\u00e8\u20ac\u4e2d"),
                        _T("x\U0001F600y"), _T("line one\r\nline two")}) {
    CString text = plain;
    CString encoded;
    EncipherTextToHex(text, encoded);
    EXPECT_EQ(Decode(encoded), CString(plain));
  }
}

TEST(Decode, TheDigestFieldIsNotChecked) {
  EXPECT_EQ(Decode(_T("00000000000000000000000000000000") _T("3EDB6DA9D9F0")), CString(_T("abc")));
  EXPECT_EQ(Decode(_T("not a digest at all, thirty-two!") _T("3EDB6DA9D9F0")), CString(_T("abc")));
}

TEST(Decode, ThirtyTwoCharactersAreAnEmptyAnswer) {
  EXPECT_TRUE(Decode(_T("900150983CD24FB0D6963F7D28E17F72")).IsEmpty());
  EXPECT_TRUE(Decode(_T("900150983CD24FB0D6963F7D28E17F7"), FALSE).IsEmpty());
  EXPECT_TRUE(Decode(_T(""), FALSE).IsEmpty());
}

TEST(Decode, AnOddLastDigitIsIgnored) {
  // Eleven digits give five bytes; the fifth forms a unit with a zero high byte.
  EXPECT_EQ(Decode(_T("900150983CD24FB0D6963F7D28E17F72") _T("3EDB6DA9D9F")), CString(_T("abc")));
  EXPECT_EQ(Decode(_T("900150983CD24FB0D6963F7D28E17F72") _T("3EDB6DA9D")), CString(_T("ab")));
}

TEST(Decode, LowerCaseDigitsDoNotSpellTheirBytes) {
  const CString decoded = Decode(_T("900150983CD24FB0D6963F7D28E17F72") _T("3edb6da9d9f0"));
  EXPECT_NE(decoded, CString(_T("abc")));
}

TEST(Decode, StopsAtTheFirstZeroUnit) {
  // "a", then a zero unit, then "b": only "a" comes back.
  BYTE bytes[6] = {'a', 0, 0, 0, 'b', 0};
  Rc4Transform(bytes, sizeof(bytes));
  char payload[13];
  BytesToHex(bytes, payload, sizeof(bytes));
  CString message = CString(_T("00000000000000000000000000000000")) + CString(payload);
  EXPECT_EQ(Decode(message), CString(_T("a")));
}

TEST(Decode, HostileCharactersDecodeWithoutHarm) {
  CString message = _T("00000000000000000000000000000000");
  for (int i = 0; i < 301; ++i) message += static_cast<WCHAR>(i * 2654435761u >> 17);
  CString text = message;
  EXPECT_TRUE(getOutputStrFromHex(text));
  EXPECT_LE(text.GetLength(), 76);
}

// The decoding rule spelled out step by step: the payload's ANSI form read as pairs, the bytes
// deciphered, the units taken up to the first zero one.
CString ReferenceDecode(const CString& message) {
  const CStringA payload(message.Mid(32));
  const DWORD count = static_cast<DWORD>(payload.GetLength() / 2);
  std::vector<BYTE> bytes(count + 2, 0);
  HexToBytes(payload.GetString(), bytes.data(), count);
  Rc4Transform(bytes.data(), count);
  CString plain;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const WCHAR unit = static_cast<WCHAR>(bytes[i] | bytes[i + 1] << 8);
    if (unit == 0) break;
    plain += unit;
  }
  return plain;
}

TEST(Decode, MixedPayloadsFollowTheStepByStepRule) {
  const CString digest = _T("00000000000000000000000000000000");
  const CString payload = _T("3EDB6DA9D9F018DB7DA946F07AD499E9E99E391F6ADFA9CC");
  // A digit replaced, at every place, by a lower-case digit, a letter past "F", a character
  // outside ASCII and a surrogate pair that the ANSI form folds into one character.
  for (LPCTSTR odd : {_T("d"), _T("G"), _T(":"), _T("\u00c4"), _T("\uff10"), _T("\U0001F600")}) {
    for (int at = 0; at < payload.GetLength(); ++at) {
      const CString message = digest + payload.Left(at) + odd + payload.Mid(at + 1);
      CString text = message;
      ASSERT_TRUE(getOutputStrFromHex(text));
      EXPECT_EQ(text, ReferenceDecode(message)) << "at " << at;
    }
  }
}

TEST(HexDigits, OnlyUpperCaseDigitsAtAnyPlace) {
  const std::u16string digits = u"0123456789ABCDEF0123456789ABCDEF012";
  for (std::size_t length = 0; length <= digits.size(); ++length) {
    EXPECT_TRUE(AreUpperHexDigits(std::u16string_view(digits).substr(0, length)));
  }
  for (const char16_t odd : {u'/', u':', u'@', u'G', u'a', u'f', u' ', u'\0', char16_t{0x8030}, char16_t{0xFF10},
                             char16_t{0x0130}}) {
    for (std::size_t at = 0; at < digits.size(); ++at) {
      std::u16string text = digits;
      text[at] = odd;
      EXPECT_FALSE(AreUpperHexDigits(text)) << "unit " << static_cast<int>(odd) << " at " << at;
    }
  }
}

// Every byte value's pair, narrow and wide, at every length to past two of the widest blocks
// read at once; a character that is no digit at any place makes the pairs false.
TEST(HexDigits, PairsToBytesAtEveryLengthAndPlace) {
  std::string narrow;
  for (int n = 0; n < 130; ++n) narrow += {"0123456789ABCDEF"[n * 7 % 256 >> 4], "0123456789ABCDEF"[n * 7 % 16]};
  const auto check = [](const auto& text, const auto& odd) {
    for (std::size_t count = 0; count <= 130; ++count) {
      std::vector<BYTE> bytes(count + 1, 0xEE);
      ASSERT_TRUE(ExchangeDigitPairsToBytes(text.data(), bytes.data(), count)) << count;
      for (std::size_t n = 0; n <= count; ++n) ASSERT_EQ(bytes[n], n < count ? n * 7 % 256 : 0xEE) << n << " of " << count;
      for (std::size_t at = 0; at < 2 * count; ++at)
        for (auto changed = text; const auto ch : odd) {
          changed[at] = ch;
          EXPECT_FALSE(ExchangeDigitPairsToBytes(changed.data(), bytes.data(), count)) << int(ch) << " at " << at;
        }
    }
  };
  check(narrow, std::string("/:@Gaf \0\x80\xC1\xFF", 11));
  check(std::u16string(narrow.begin(), narrow.end()), std::u16string(u"/:@Gaf \0\u8030\uFF10\u0130\u0141", 12));
}

}  // namespace
