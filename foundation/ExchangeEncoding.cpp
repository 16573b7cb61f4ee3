// The enciphered exchange text: MD5 digest field, then the RC4-enciphered UTF-16LE text, both
// as upper-case hexadecimal digits.
#include "ExchangeEncoding.h"

#include <array>
#include <utility>
#include <vector>

#include "DigestsMd5.h"

namespace {

// 23 printable bytes, the byte 0x0B, 25 printable bytes.
constexpr char kKey[] = "<mossfernlichenbarks>ab\voxy_%s<quietmeadowlarkss>";
constexpr int kKeyLength = sizeof(kKey) - 1;
static_assert(kKeyLength == 49);

constexpr int kDigestLength = 32;

template <class Char>
void WriteHex(const BYTE* bytes, Char* out, DWORD count) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  for (DWORD i = 0; i < count; ++i) {
    *out++ = static_cast<Char>(kDigits[bytes[i] >> 4]);
    *out++ = static_cast<Char>(kDigits[bytes[i] & 0x0F]);
  }
}

// Value of every narrow character as a digit: 0-15 for "0"-"9" and "A"-"F", -1 otherwise.
constexpr auto kDigitValues = [] {
  std::array<signed char, 256> values{};
  values.fill(-1);
  for (int d = 0; d < 10; ++d) values['0' + d] = static_cast<signed char>(d);
  for (int d = 0; d < 6; ++d) values['A' + d] = static_cast<signed char>(10 + d);
  return values;
}();

int DigitValue(char ch) { return kDigitValues[static_cast<unsigned char>(ch)]; }

}  // namespace

void Rc4Transform(BYTE* buffer, DWORD count) {
  BYTE state[256];
  for (int i = 0; i < 256; ++i) state[i] = static_cast<BYTE>(i);
  BYTE j = 0;
  for (int i = 0; i < 256; ++i) {
    j = static_cast<BYTE>(j + state[i] + static_cast<BYTE>(kKey[i % kKeyLength]));
    std::swap(state[i], state[j]);
  }
  BYTE i = 0;
  j = 0;
  for (DWORD n = 0; n < count; ++n) {
    i = static_cast<BYTE>(i + 1);
    j = static_cast<BYTE>(j + state[i]);
    std::swap(state[i], state[j]);
    buffer[n] ^= state[static_cast<BYTE>(state[i] + state[j])];
  }
}

void BytesToHex(const BYTE* bytes, LPSTR text, DWORD count) {
  WriteHex(bytes, text, count);
  text[2 * static_cast<std::size_t>(count)] = 0;
}

void HexToBytes(LPCSTR text, BYTE* bytes, DWORD count) {
  for (DWORD n = 0; n < count; ++n) {
    // A character that is no digit ends the pair: the byte keeps the value reached.
    const int high = DigitValue(text[2 * static_cast<std::size_t>(n)]);
    const int low = high < 0 ? -1 : DigitValue(text[2 * static_cast<std::size_t>(n) + 1]);
    bytes[n] = static_cast<BYTE>(high < 0 ? 0 : low < 0 ? high : high * 16 + low);
  }
}

BOOL ComputeTextDigest(const CString& text, CString& digest) {
  const int units = text.GetLength();
  // Characters the code page folds (a surrogate pair into one replacement) make the ANSI form
  // shorter than the unit count; the digest then covers it padded with zero bytes.
  std::vector<BYTE> narrow(static_cast<std::size_t>(units), 0);
  if (units > 0) {
    const int needed = WideCharToMultiByte(CP_THREAD_ACP, 0, text.GetString(), units, nullptr, 0, nullptr, nullptr);
    std::vector<char> converted(static_cast<std::size_t>(needed > 0 ? needed : 0));
    const int written = needed > 0 ? WideCharToMultiByte(CP_THREAD_ACP, 0, text.GetString(), units, converted.data(),
                                                         needed, nullptr, nullptr)
                                   : 0;
    for (int i = 0; i < written && i < units; ++i) narrow[static_cast<std::size_t>(i)] = static_cast<BYTE>(converted[i]);
  }
  digest = CMD5Checksum::DigestHex(narrow.data(), static_cast<UINT>(units));
  digest.MakeUpper();
  return TRUE;
}

BOOL EncipherTextToHex(CString& text, CString& encoded) {
  text.Trim();
  const int units = text.GetLength();
  if (units == 0) {
    encoded.Empty();
    return TRUE;
  }
  const DWORD byteCount = 2 * static_cast<DWORD>(units);
  std::vector<BYTE> bytes(byteCount);
  for (int i = 0; i < units; ++i) {
    bytes[2 * static_cast<std::size_t>(i)] = static_cast<BYTE>(text[i] & 0xFF);
    bytes[2 * static_cast<std::size_t>(i) + 1] = static_cast<BYTE>(text[i] >> 8);
  }
  Rc4Transform(bytes.data(), byteCount);

  CString digest;
  ComputeTextDigest(text, digest);
  const int length = kDigestLength + 2 * static_cast<int>(byteCount);
  LPTSTR out = encoded.GetBufferSetLength(length);
  for (int i = 0; i < kDigestLength; ++i) out[i] = digest[i];
  WriteHex(bytes.data(), out + kDigestLength, byteCount);
  encoded.ReleaseBufferSetLength(length);
  return TRUE;
}

BOOL getOutputStrFromHex(CString& text) {
  const int length = text.GetLength();
  if (length <= kDigestLength) {
    text.Empty();
    return length == kDigestLength;
  }
  const CStringA payload(text.Mid(kDigestLength));
  const DWORD count = static_cast<DWORD>(payload.GetLength() / 2);
  // Two zero bytes behind the deciphered ones end the text and give an odd last byte its
  // zero high byte.
  std::vector<BYTE> bytes(count + 2, 0);
  HexToBytes(payload.GetString(), bytes.data(), count);
  Rc4Transform(bytes.data(), count);
  std::vector<WCHAR> units;
  units.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const WCHAR unit = static_cast<WCHAR>(bytes[i] | bytes[i + 1] << 8);
    if (unit == 0) break;
    units.push_back(unit);
  }
  text = CString(units.data(), static_cast<int>(units.size()));
  return TRUE;
}
