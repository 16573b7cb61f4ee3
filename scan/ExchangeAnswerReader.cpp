// The update service's enciphered answer deciphered piece by piece as it arrives.
#include "ExchangeAnswerReader.h"

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
  m_leading.clear();
  m_field.clear();
  m_units.clear();
  m_nDigits = 0;
  m_blanks.clear();
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
  for (std::size_t at = 0; at < piece.size(); ++at) {
    if (!m_rest.empty()) return KeepRest(piece.substr(at));
    // Most of an answer is whole units of digits, read four at a time.
    if (m_nDigits == 0 && m_blanks.empty() && m_field.size() == kFieldDigits) {
      at = TakeUnits(piece, at);
      if (at == piece.size()) return;
    }
    const WCHAR ch = piece[at];
    if (IsTrimmedBlank(ch)) {
      (m_field.empty() ? m_leading : m_blanks) += ch;
      continue;
    }
    // A blank inside the text or a character that is no digit: the text is malformed.
    if (!m_blanks.empty() || DigitValue(ch) < 0) {
      m_rest = std::move(m_blanks);
      m_blanks.clear();
      return KeepRest(piece.substr(at));
    }
    if (m_field.size() < kFieldDigits) {
      m_field += ch;
      continue;
    }
    m_digits[m_nDigits++] = ch;
    if (m_nDigits == 4) {
      m_nDigits = 0;
      TakeUnit(m_digits);
    }
  }
}

void CExchangeAnswerReader::KeepRest(std::u16string_view piece) { m_rest.append(piece); }

std::size_t CExchangeAnswerReader::TrimmedLength() const {
  std::u16string_view rest(m_rest);
  while (!rest.empty() && IsTrimmedBlank(rest.back())) rest.remove_suffix(1);
  return m_field.size() + 4 * m_units.size() + m_nDigits + rest.size();
}

AnswerDecodeResult CExchangeAnswerReader::Finish(CString& plain) const {
  const std::size_t length = TrimmedLength();
  if (length <= kFieldDigits) return kAnswerEmpty;
  if ((length - kFieldDigits) % 4 != 0 || !m_rest.empty()) return kAnswerMalformed;
  // The plain text ends at the first zero unit.
  const std::u16string_view units = std::u16string_view(m_units).substr(0, m_units.find(u'\0'));
  if (units.empty()) return kAnswerEmpty;
  if (View(DigestOf(units)) != m_field) return kAnswerWrongDigest;
  plain.SetString(units.data(), static_cast<int>(units.size()));
  return kAnswerDecoded;
}

CString CExchangeAnswerReader::Received() const {
  CString text(m_leading.data(), static_cast<int>(m_leading.size()));
  text.Append(m_field.data(), static_cast<int>(m_field.size()));
  const int payload = static_cast<int>(4 * m_units.size());
  const int had = text.GetLength();
  EncipherUnitsToHex(m_units, text.GetBufferSetLength(had + payload) + had);
  text.ReleaseBufferSetLength(had + payload);
  text.Append(m_digits, static_cast<int>(m_nDigits));
  const std::u16string& after = m_rest.empty() ? m_blanks : m_rest;
  text.Append(after.data(), static_cast<int>(after.size()));
  return text;
}
