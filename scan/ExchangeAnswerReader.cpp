// The update service's enciphered answer deciphered piece by piece as it arrives.
#include "ExchangeAnswerReader.h"

#include <algorithm>
#include <array>

#include "TextViews.h"

namespace {

// The digit values of the ASCII characters, looked up rather than worked out: an answer has
// tens of millions of digits.
constexpr auto kDigitValues = [] {
  std::array<signed char, 128> values{};
  for (WCHAR ch = 0; ch < 128; ++ch) values[ch] = static_cast<signed char>(ExchangeDigitValue(ch));
  return values;
}();

int DigitValue(WCHAR ch) { return ch < 128 ? kDigitValues[ch] : -1; }

}  // namespace

void CExchangeAnswerReader::Begin(std::size_t announced) {
  m_field.clear();
  m_units.clear();
  m_nDigits = 0;
  m_rest.clear();
  m_stream = CRc4KeyStream();
  if (announced > kFieldDigits) m_units.reserve((announced - kFieldDigits) / 4);
}

std::size_t CExchangeAnswerReader::TakeUnits(std::u16string_view piece, std::size_t at) {
  for (; at + 4 <= piece.size(); at += 4) {
    const WCHAR* const digits = piece.data() + at;
    if ((DigitValue(digits[0]) | DigitValue(digits[1]) | DigitValue(digits[2]) | DigitValue(digits[3])) < 0) break;
    TakeUnit(digits);
  }
  return at;
}

inline void CExchangeAnswerReader::TakeUnit(const WCHAR* digits) {
  const BYTE low = static_cast<BYTE>((DigitValue(digits[0]) << 4 | DigitValue(digits[1])) ^ m_stream.Next());
  const BYTE high = static_cast<BYTE>((DigitValue(digits[2]) << 4 | DigitValue(digits[3])) ^ m_stream.Next());
  m_units.push_back(static_cast<WCHAR>(low | high << 8));
}

void CExchangeAnswerReader::Take(std::u16string_view piece) {
  if (m_field.size() < kFieldDigits) {
    const std::size_t count = std::min(kFieldDigits - m_field.size(), piece.size());
    m_field.append(piece.substr(0, count));
    piece.remove_prefix(count);
  }
  for (std::size_t at = 0; at < piece.size() && m_rest.empty(); ++at) {
    // Most of an answer is whole units of digits, read four at a time.
    if (m_nDigits == 0) {
      at = TakeUnits(piece, at);
      if (at == piece.size()) return;
    }
    const WCHAR ch = piece[at];
    if (DigitValue(ch) < 0) {
      m_rest.append(piece.substr(at));
      return;
    }
    m_digits[m_nDigits++] = ch;
    if (m_nDigits == 4) {
      m_nDigits = 0;
      TakeUnit(m_digits);
    }
  }
  if (!m_rest.empty()) m_rest.append(piece);
}

BOOL CExchangeAnswerReader::Finish(CString& plain) const {
  // Anything but whole units of digits after the field is read as the decoder reads it.
  if (m_field.size() < kFieldDigits || m_nDigits != 0 || !m_rest.empty()) {
    const CString received = Received();
    return getOutputStrFromHex(View(received), plain);
  }
  // The plain text ends at the first zero unit.
  const std::u16string_view units = std::u16string_view(m_units).substr(0, m_units.find(u'\0'));
  plain.SetString(units.data(), static_cast<int>(units.size()));
  return TRUE;
}

CString CExchangeAnswerReader::Received() const {
  CString text(m_field.data(), static_cast<int>(m_field.size()));
  const int payload = static_cast<int>(4 * m_units.size());
  const int had = text.GetLength();
  EncipherUnitsToHex(m_units, text.GetBufferSetLength(had + payload) + had);
  text.ReleaseBufferSetLength(had + payload);
  text.Append(m_digits, static_cast<int>(m_nDigits));
  text.Append(m_rest.data(), static_cast<int>(m_rest.size()));
  return text;
}
