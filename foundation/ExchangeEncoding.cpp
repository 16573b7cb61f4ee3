// The enciphered exchange text: MD5 digest field, then the RC4-enciphered UTF-16LE text, both
// as upper-case hexadecimal digits.
#include "ExchangeEncoding.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "DigestsMd5.h"
#include "zx/cpufeatures.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// 23 printable bytes, the byte 0x0B, 25 printable bytes.
constexpr char kKey[] = "<mossfernlichenbarks>ab\voxy_%s<quietmeadowlarkss>";
constexpr int kKeyLength = sizeof(kKey) - 1;
static_assert(kKeyLength == 49);

constexpr int kDigestLength = 32;

// The two digits of every byte, high nibble first.
constexpr auto kDigitPairs = [] {
  constexpr char kDigits[] = "0123456789ABCDEF";
  std::array<std::array<char, 2>, 256> pairs{};
  for (std::size_t b = 0; b < 256; ++b) pairs[b] = {kDigits[b >> 4], kDigits[b & 0x0F]};
  return pairs;
}();

template <class Char>
void WriteHex(const BYTE* bytes, Char* out, DWORD count) {
  for (DWORD i = 0; i < count; ++i) {
    const std::array<char, 2>& pair = kDigitPairs[bytes[i]];
    *out++ = static_cast<Char>(pair[0]);
    *out++ = static_cast<Char>(pair[1]);
  }
}

// Value of every narrow character as a digit.
constexpr auto kDigitValues = [] {
  std::array<signed char, 256> values{};
  for (int c = 0; c < 256; ++c) values[static_cast<std::size_t>(c)] = static_cast<signed char>(ExchangeDigitValue(static_cast<WCHAR>(c)));
  return values;
}();

int DigitValue(char ch) { return kDigitValues[static_cast<unsigned char>(ch)]; }
int DigitValue(WCHAR ch) { return ch < 0x80 ? kDigitValues[ch] : -1; }

// The byte of the digit pair at `text`: a character that is no digit ends the pair, the byte
// keeping the value reached.
template <class Char>
BYTE PairValue(const Char* text) {
  const int high = DigitValue(text[0]);
  const int low = high < 0 ? -1 : DigitValue(text[1]);
  return static_cast<BYTE>(high < 0 ? 0 : low < 0 ? high : high * 16 + low);
}

// Deciphers the `count` bytes that `byteAt(n)` reads into units at `out`, up to the first
// zero unit; an odd last byte gets a zero high byte. Answers the number of units.
template <class ByteAt>
int DecipherUnits(DWORD count, ByteAt byteAt, WCHAR* out) {
  CRc4KeyStream stream;
  int units = 0;
  for (DWORD n = 0; n < count; n += 2) {
    const BYTE low = static_cast<BYTE>(byteAt(n) ^ stream.Next());
    const BYTE high = n + 1 < count ? static_cast<BYTE>(byteAt(n + 1) ^ stream.Next()) : 0;
    const WCHAR unit = static_cast<WCHAR>(low | high << 8);
    if (unit == 0) break;
    out[units++] = unit;
  }
  return units;
}

// Each unit enciphered low byte first and written as its four digits.
template <class Char>
void EncipherUnits(std::u16string_view units, Char* out) {
  CRc4KeyStream stream;
  for (const WCHAR unit : units) {
    const BYTE pair[2] = {static_cast<BYTE>((unit & 0xFF) ^ stream.Next()), static_cast<BYTE>((unit >> 8) ^ stream.Next())};
    WriteHex(pair, out, 2);
    out += 4;
  }
}

// Whether every unit is ASCII, which code page 1252 keeps as it is, one byte a unit.
bool IsAscii(std::u16string_view text) {
  WCHAR any = 0;
  for (const WCHAR unit : text) any |= unit;
  return any < 0x80;
}

// The MD5 digest of an ASCII text's bytes, one a unit, as 32 upper-case digits: fed piece by
// piece rather than from a narrow copy of the whole.
class AsciiMd5 : public CMD5Checksum {
 public:
  explicit AsciiMd5(std::u16string_view text) {
    BYTE piece[4096];
    for (std::size_t at = 0; at < text.size(); at += sizeof piece) {
      const std::size_t count = std::min(sizeof piece, text.size() - at);
      std::copy_n(text.begin() + static_cast<std::ptrdiff_t>(at), count, piece);
      Update(piece, static_cast<UINT>(count));
    }
  }
  CString Digest() {
    CString digest = Final();
    digest.MakeUpper();
    return digest;
  }
};

CString AsciiDigest(std::u16string_view text) { return AsciiMd5(text).Digest(); }

// The deciphering written to `out`, which holds (digits.size() / 2 + 1) / 2 units; answers
// the count of units written.
int DecipherHexPayloadTo(std::u16string_view digits, WCHAR* out) {
  // ASCII text is read where it stands; any other goes through its ANSI form first, where a
  // folded character moves the pairs behind it.
  const bool allDigits = AreUpperHexDigits(digits);
  const bool ascii = allDigits || IsAscii(digits);
  const CStringA narrow = ascii ? CStringA() : CStringA(CString(digits.data(), static_cast<int>(digits.size())));
  const std::size_t length = ascii ? digits.size() : static_cast<std::size_t>(narrow.GetLength());
  const DWORD count = static_cast<DWORD>(length / 2);
  if (allDigits) return DecipherUnits(count, [&](DWORD n) { return ExchangeDigitPairValue(digits.data() + 2 * std::size_t{n}); }, out);
  if (ascii) return DecipherUnits(count, [&](DWORD n) { return PairValue(digits.data() + 2 * std::size_t{n}); }, out);
  return DecipherUnits(count, [&](DWORD n) { return PairValue(narrow.GetString() + 2 * std::size_t{n}); }, out);
}

}  // namespace

CRc4KeyStream::CRc4KeyStream() {
  for (std::uint32_t n = 0; n < 256; ++n) m_state[n] = n;
  std::uint32_t j = 0;
  for (int n = 0; n < 256; ++n) {
    j = (j + m_state[n] + static_cast<BYTE>(kKey[n % kKeyLength])) & 0xFF;
    std::swap(m_state[n], m_state[j]);
  }
}

void CRc4KeyStream::Apply(BYTE* bytes, std::size_t count) {
  // Each step reads the state word of the next step before it writes its own swap, so that no
  // read of the state waits on the writes before it. The swap changes that word only when j
  // lands on it (one step in 256), which the branch puts right; the empty asm keeps the branch
  // a branch, as a select would make every step wait on the comparison. The indexes are bytes,
  // so that they wrap without masking.
  std::uint32_t* const state = m_state;
  std::uint8_t i = static_cast<std::uint8_t>(m_i), j = static_cast<std::uint8_t>(m_j);
  std::uint32_t ahead = state[static_cast<std::uint8_t>(i + 1)];
#pragma GCC unroll 8
  for (std::size_t at = 0; at < count; ++at) {
    const std::uint32_t x = ahead;
    ++i;
    j = static_cast<std::uint8_t>(j + x);
    const std::uint32_t y = state[j];
    const std::uint8_t next = static_cast<std::uint8_t>(i + 1);
    ahead = state[next];
    state[j] = x;
    state[i] = y;
    if (next == j) [[unlikely]] {
      __asm__ volatile("" : "+r"(ahead));
      ahead = x;
    }
    bytes[at] ^= static_cast<BYTE>(state[static_cast<std::uint8_t>(x + y)]);
  }
  m_i = i;
  m_j = j;
}

void Rc4Transform(BYTE* buffer, DWORD count) { CRc4KeyStream().Apply(buffer, count); }

namespace {

// The bytes of digit pairs, and whether every character was a digit: with SSE2, sixteen bytes
// from 32 ASCII digits at a time (a wide digit is one byte once packed, any other wide
// character 0xFF), each character checked as it is read; the rest one pair at a time.
template <class Char>
bool DigitPairsToBytes(const Char* digits, BYTE* bytes, std::size_t count) {
  std::size_t at = 0;
  bool digitsOnly = true;
#if defined(__SSE2__)
  const __m128i low = _mm_set1_epi8(0x0F), letter = _mm_set1_epi8(0x40), nine = _mm_set1_epi8(9);
  const __m128i lowByte = _mm_set1_epi16(0x00FF);
  // A byte below `limit` after `from` is taken away, compared as signed values after a move by
  // half their range (an unsigned "below" is then a signed one).
  const __m128i half = _mm_set1_epi8(static_cast<char>(0x80));
  const auto below = [&](__m128i text, char from, char limit) {
    return _mm_cmplt_epi8(_mm_xor_si128(_mm_sub_epi8(text, _mm_set1_epi8(from)), half),
                          _mm_xor_si128(_mm_set1_epi8(limit), half));
  };
  __m128i digit = _mm_set1_epi8(-1);
  // 16 digits: their values, then each pair's byte in a 16-bit lane.
  const auto pairs = [&](const Char* from) {
    __m128i text;
    if constexpr (sizeof(Char) == 2) {
      text = _mm_packus_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(from)),
                              _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 8)));
    } else {
      text = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    }
    digit = _mm_and_si128(digit, _mm_or_si128(below(text, '0', 10), below(text, 'A', 6)));
    const __m128i isLetter = _mm_cmpeq_epi8(_mm_and_si128(text, letter), letter);
    const __m128i values = _mm_add_epi8(_mm_and_si128(text, low), _mm_and_si128(isLetter, nine));
    return _mm_or_si128(_mm_slli_epi16(_mm_and_si128(values, lowByte), 4), _mm_srli_epi16(values, 8));
  };
  for (; count - at >= 16; at += 16) {
    const Char* const from = digits + 2 * at;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(bytes + at), _mm_packus_epi16(pairs(from), pairs(from + 16)));
  }
  digitsOnly = _mm_movemask_epi8(digit) == 0xFFFF;
#endif
  for (; at < count; ++at) {
    const Char* const pair = digits + 2 * at;
    digitsOnly = digitsOnly && ExchangeDigitValue(pair[0]) >= 0 && ExchangeDigitValue(pair[1]) >= 0;
    bytes[at] = ExchangeDigitPairValue(pair);
  }
  return digitsOnly;
}

#if defined(__x86_64__)
// 32 ASCII digits at `from`: each pair's byte in a 16-bit lane, the high digit counting sixteen
// times by one multiply-add; `digit` keeps only the lanes of bytes that were all digits.
ZX_TARGET_AVX2 inline __m256i PairsAvx2(const char* from, __m256i& digit) {
  const __m256i text = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from));
  const __m256i nine = _mm256_set1_epi8(9), letter = _mm256_set1_epi8(0x40);
  const __m256i decimal = _mm256_sub_epi8(text, _mm256_set1_epi8('0'));
  const __m256i hex = _mm256_sub_epi8(text, _mm256_set1_epi8('A'));
  digit = _mm256_and_si256(digit, _mm256_or_si256(zx::BytesAtMost(decimal, nine), zx::BytesAtMost(hex, _mm256_set1_epi8(5))));
  const __m256i isLetter = _mm256_cmpeq_epi8(_mm256_and_si256(text, letter), letter);
  const __m256i values = _mm256_add_epi8(_mm256_and_si256(text, _mm256_set1_epi8(0x0F)), _mm256_and_si256(isLetter, nine));
  return _mm256_maddubs_epi16(values, _mm256_set1_epi16(0x0110));
}

// The bytes of ASCII digit pairs with AVX2, 32 bytes from 64 digits at a time, the digits
// checked as they are read (`digitsOnly`). Answers the count of bytes written; the rest is
// left to the caller.
ZX_TARGET_AVX2 std::size_t DigitPairsToBytesAvx2(const char* digits, BYTE* bytes, std::size_t count, bool& digitsOnly) {
  __m256i digit = _mm256_set1_epi8(-1);
  std::size_t at = 0;
  for (; count - at >= 32; at += 32) {
    const char* const from = digits + 2 * at;
    // The pack works within each half: the quarters are put back in order after it.
    const __m256i packed = _mm256_packus_epi16(PairsAvx2(from, digit), PairsAvx2(from + 32, digit));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(bytes + at), _mm256_permute4x64_epi64(packed, 0xD8));
  }
  digitsOnly = _mm256_movemask_epi8(digit) == -1;
  return at;
}

// Where the first 32 units from `at` on that hold a zero one begin, 32 units at a time with
// AVX2; else where fewer than 32 are left.
ZX_TARGET_AVX2 std::size_t ZeroUnitBlockAvx2(std::u16string_view units, std::size_t at) {
  const __m256i zero = _mm256_setzero_si256();
  for (; units.size() - at >= 32; at += 32) {
    const auto* const from = reinterpret_cast<const __m256i*>(units.data() + at);
    const __m256i zeros = _mm256_or_si256(_mm256_cmpeq_epi16(_mm256_loadu_si256(from), zero),
                                          _mm256_cmpeq_epi16(_mm256_loadu_si256(from + 1), zero));
    if (!_mm256_testz_si256(zeros, zeros)) break;
  }
  return at;
}
#endif

}  // namespace

std::size_t PlainUnitCount(std::u16string_view units) {
  std::size_t at = 0;
#if defined(__x86_64__)
  // The loop below finds the zero unit within the 32 units found to hold it.
  if (zx::HasAvx2()) at = ZeroUnitBlockAvx2(units, at);
#endif
#if defined(__SSE2__)
  // Eight units at a time, compared with zero.
  for (const __m128i zero = _mm_setzero_si128(); units.size() - at >= 8; at += 8) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units.data() + at));
    if (const int zeros = _mm_movemask_epi8(_mm_cmpeq_epi16(block, zero)))
      return at + static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(zeros))) / 2;
  }
#endif
  for (; at < units.size(); ++at)
    if (units[at] == 0) return at;
  return units.size();
}

bool ExchangeDigitPairsToBytes(const char* digits, BYTE* bytes, std::size_t count) {
  std::size_t at = 0;
  bool digitsOnly = true;
#if defined(__x86_64__)
  if (zx::HasAvx2()) at = DigitPairsToBytesAvx2(digits, bytes, count, digitsOnly);
#endif
  return DigitPairsToBytes(digits + 2 * at, bytes + at, count - at) && digitsOnly;
}

bool ExchangeDigitPairsToBytes(const WCHAR* digits, BYTE* bytes, std::size_t count) {
  return DigitPairsToBytes(digits, bytes, count);
}

namespace {

// Whether every unit from `p` to `end` is an upper-case hex digit. With SSE2 eight units at
// a time, compared as signed values after a move by half their range (an unsigned "below" is
// then a signed one).
bool AllUpperHexDigits(const WCHAR* p, const WCHAR* const end) {
#if defined(__SSE2__)
  const auto moved = [](int value) { return _mm_set1_epi16(static_cast<short>(0x8000 + value)); };
  const auto below = [](__m128i block, __m128i from, __m128i limit) {
    return _mm_cmplt_epi16(_mm_sub_epi16(block, from), limit);
  };
  const __m128i fromDigit = moved('0'), digitLimit = moved(10);
  const __m128i fromLetter = moved('A'), letterLimit = moved(6);
  __m128i all = _mm_set1_epi8(-1);
  for (; end - p >= 8; p += 8) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    all = _mm_and_si128(all, _mm_or_si128(below(block, fromDigit, digitLimit), below(block, fromLetter, letterLimit)));
  }
  if (_mm_movemask_epi8(all) != 0xFFFF) return false;
#endif
  for (; p < end; ++p) {
    if (DigitValue(*p) < 0) return false;
  }
  return true;
}

}  // namespace

bool AreUpperHexDigits(std::u16string_view text) { return AllUpperHexDigits(text.data(), text.data() + text.size()); }

void BytesToHex(const BYTE* bytes, LPSTR text, DWORD count) {
  WriteHex(bytes, text, count);
  text[2 * static_cast<std::size_t>(count)] = 0;
}

void HexToBytes(LPCSTR text, BYTE* bytes, DWORD count) {
  for (DWORD n = 0; n < count; ++n) bytes[n] = PairValue(text + 2 * static_cast<std::size_t>(n));
}

CString DigestOf(std::u16string_view text) {
  if (IsAscii(text)) return AsciiDigest(text);
  // Characters the code page folds (a surrogate pair into one replacement) make the ANSI form
  // shorter than the unit count; the digest then covers it padded with zero bytes.
  const int units = static_cast<int>(text.size());
  std::vector<BYTE> narrow(text.size(), 0);
  const int needed = WideCharToMultiByte(CP_THREAD_ACP, 0, text.data(), units, nullptr, 0, nullptr, nullptr);
  std::vector<char> converted(static_cast<std::size_t>(needed > 0 ? needed : 0));
  const int written =
      needed > 0 ? WideCharToMultiByte(CP_THREAD_ACP, 0, text.data(), units, converted.data(), needed, nullptr, nullptr)
                 : 0;
  for (int i = 0; i < written && i < units; ++i) narrow[static_cast<std::size_t>(i)] = static_cast<BYTE>(converted[i]);
  CString digest = CMD5Checksum::DigestHex(narrow.data(), static_cast<UINT>(units));
  digest.MakeUpper();
  return digest;
}

BOOL ComputeTextDigest(const CString& text, CString& digest) {
  digest = DigestOf(std::u16string_view(text.GetString(), static_cast<std::size_t>(text.GetLength())));
  return TRUE;
}

BOOL EncipherTextToHex(CString& text, CString& encoded) {
  text.Trim();
  const int units = text.GetLength();
  if (units == 0) {
    encoded.Empty();
    return TRUE;
  }
  if (&encoded == &text) {
    CString own;
    EncipherTextToHex(text, own);
    encoded = std::move(own);
    return TRUE;
  }
  CString digest;
  ComputeTextDigest(text, digest);
  // The units are written straight into the result, which is the only copy of the text made.
  const int length = kDigestLength + 4 * units;
  LPTSTR out = encoded.GetBufferSetLength(length);
  std::copy_n(digest.GetString(), kDigestLength, out);
  EncipherUnitsToHex(std::u16string_view(text.GetString(), static_cast<std::size_t>(units)), out + kDigestLength);
  encoded.ReleaseBufferSetLength(length);
  return TRUE;
}

void EncipherUnitsToHex(std::u16string_view units, WCHAR* out) { EncipherUnits(units, out); }

void EncipherUnitsToHex(std::u16string_view units, char* out) { EncipherUnits(units, out); }

BOOL getInputHexFromStr(CString& text, CString& encoded) {
  try {
    CString message;
    EncipherTextToHex(text, message);
    if (text.IsEmpty()) ComputeTextDigest(text, message);
    encoded = std::move(message);
    return TRUE;
  } catch (CException* error) {
    error->Delete();
  } catch (const std::bad_alloc&) {
  }
  return FALSE;
}

void DecipherHexPayload(std::u16string_view digits, CString& plain) {
  // The ANSI form of a text is never longer than the text.
  LPTSTR out = plain.GetBufferSetLength(static_cast<int>((digits.size() / 2 + 1) / 2));
  plain.ReleaseBufferSetLength(DecipherHexPayloadTo(digits, out));
}

BOOL getOutputStrFromHex(std::u16string_view received, CString& plain) {
  if (received.size() <= kDigestLength) {
    plain.Empty();
    return received.size() == kDigestLength;
  }
  DecipherHexPayload(received.substr(kDigestLength), plain);
  return TRUE;
}

BOOL getOutputStrFromHex(CString& text) {
  CString plain;
  const BOOL decoded =
      getOutputStrFromHex(std::u16string_view(text.GetString(), static_cast<std::size_t>(text.GetLength())), plain);
  text = std::move(plain);
  return decoded;
}
