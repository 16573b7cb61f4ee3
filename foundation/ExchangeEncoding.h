// The enciphered exchange text of the update web service and the feedback uploads: one line
// of upper-case hexadecimal digits, the MD5 digest of the plain text (32 digits) followed by
// the plain text's UTF-16LE code units enciphered with RC4 under one fixed key (4 digits a
// unit). One implementation serves the shared library and the main program.
#pragma once
#include <afx.h>

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "HelperApi.h"

// Enciphers or deciphers `count` bytes in place with the fixed key; every call starts the key
// stream afresh, so the same call undoes itself.
ZXHELPER_API void Rc4Transform(BYTE* buffer, DWORD count);

// The key stream of the fixed key from its start, one byte at a time or over a block: for
// texts enciphered or deciphered piece by piece. The state is held in whole words, which the
// processor reads and writes without merging bytes.
class ZXHELPER_API CRc4KeyStream {
 public:
  CRc4KeyStream();
  BYTE Next() { return static_cast<BYTE>(Step(m_state, m_i, m_j)); }
  // Enciphers or deciphers `count` bytes in place with the stream's next bytes.
  void Apply(BYTE* bytes, std::size_t count);

 private:
  // One step of the stream on `state` at `i` and `j`: the next byte.
  static std::uint32_t Step(std::uint32_t* state, std::uint32_t& i, std::uint32_t& j) {
    i = (i + 1) & 0xFF;
    const std::uint32_t x = state[i];
    j = (j + x) & 0xFF;
    const std::uint32_t y = state[j];
    state[i] = y;
    state[j] = x;
    return state[(x + y) & 0xFF];
  }

  std::uint32_t m_state[256];
  std::uint32_t m_i = 0;
  std::uint32_t m_j = 0;
};

// The value of an exchange digit: 0-15 for "0"-"9" and "A"-"F", -1 for any other character.
constexpr int ExchangeDigitValue(WCHAR ch) {
  if (ch >= '0' && ch <= '9') return ch - '0';
  return ch >= 'A' && ch <= 'F' ? ch - 'A' + 10 : -1;
}

// The byte of two characters (wide or ASCII) known to be exchange digits, high digit first.
template <class Char>
constexpr BYTE ExchangeDigitPairValue(const Char* digits) {
  const auto digit = [](Char ch) { return (ch & 0x0F) + 9 * ((ch >> 6) & 1); };
  return static_cast<BYTE>(digit(digits[0]) << 4 | digit(digits[1]));
}

// The `count` bytes of 2 x count characters (wide or ASCII), high digit first; true when every
// character was an exchange digit, false when the bytes are not all those of digit pairs.
ZXHELPER_API bool ExchangeDigitPairsToBytes(const char* digits, BYTE* bytes, std::size_t count);
ZXHELPER_API bool ExchangeDigitPairsToBytes(const WCHAR* digits, BYTE* bytes, std::size_t count);

// The length of the plain text in deciphered units: up to the first zero unit, or all.
ZXHELPER_API std::size_t PlainUnitCount(std::u16string_view units);

// Writes `count` bytes as 2 x count upper-case digits, high nibble first, and a terminator;
// `text` holds 2 x count + 1 characters.
ZXHELPER_API void BytesToHex(const BYTE* bytes, LPSTR text, DWORD count);

// Reads `count` bytes from 2 x count characters. Only "0"-"9" and "A"-"F" are digits: any
// other character (lower case included) ends its pair, the byte keeping the value reached.
ZXHELPER_API void HexToBytes(LPCSTR text, BYTE* bytes, DWORD count);

// The digest field of a text: the MD5 of the first n bytes of its ANSI form, n being its count
// of UTF-16 code units (the ANSI form padded with zero bytes when it is shorter), as 32
// upper-case digits. Always TRUE.
ZXHELPER_API BOOL ComputeTextDigest(const CString& text, CString& digest);
// The same digest field of text standing anywhere.
ZXHELPER_API CString DigestOf(std::u16string_view text);

// Trims the text in place and gives its encoded form: digest field, then payload. A text that
// is empty after trimming encodes as an empty text. Always TRUE.
ZXHELPER_API BOOL EncipherTextToHex(CString& text, CString& encoded);

// The payload of an exchange text: the units enciphered, four digits a unit, written to `out`
// (4 x units.size() characters).
ZXHELPER_API void EncipherUnitsToHex(std::u16string_view units, WCHAR* out);
// The same payload as narrow digits.
ZXHELPER_API void EncipherUnitsToHex(std::u16string_view units, char* out);

// The main program's encoder of its scan requests and reports: as EncipherTextToHex, except
// that a text empty after trimming gives the digest field of the empty text alone, which
// getOutputStrFromHex reads back as an empty text. FALSE only when memory ran out; the
// encoded text is then left as it was.
ZXHELPER_API BOOL getInputHexFromStr(CString& text, CString& encoded);

// Replaces an encoded text by its plain text. The digest field is not checked. Shorter than
// 32 characters: FALSE and the text emptied; exactly 32: TRUE and the text emptied; longer:
// TRUE and the text becomes the deciphered units up to the first zero unit.
ZXHELPER_API BOOL getOutputStrFromHex(CString& text);
// The same decoding of a received text that stays where it is: `plain` gets the plain text
// (emptied when the text is 32 characters or fewer).
ZXHELPER_API BOOL getOutputStrFromHex(std::u16string_view received, CString& plain);

// Whether every unit is one of "0"-"9" and "A"-"F".
ZXHELPER_API bool AreUpperHexDigits(std::u16string_view text);

// The deciphering step of getOutputStrFromHex on the digits behind the digest field: the
// deciphered units up to the first zero unit.
ZXHELPER_API void DecipherHexPayload(std::u16string_view digits, CString& plain);
