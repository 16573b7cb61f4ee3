// The update service's enciphered answer deciphered piece by piece as it arrives.
#include "ExchangeAnswerReader.h"

#include "TextViews.h"

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

void CExchangeAnswerReader::Take(std::u16string_view piece) {
  for (std::size_t at = 0; at < piece.size(); ++at) {
    if (!m_rest.empty()) return KeepRest(piece.substr(at));
    const WCHAR ch = piece[at];
    if (IsTrimmedBlank(ch)) {
      (m_field.empty() ? m_leading : m_blanks) += ch;
      continue;
    }
    // A blank inside the text or a character that is no digit: the text is malformed.
    if (!m_blanks.empty() || ExchangeDigitValue(ch) < 0) {
      m_rest = std::move(m_blanks);
      m_blanks.clear();
      return KeepRest(piece.substr(at));
    }
    if (m_field.size() < kFieldDigits) {
      m_field += ch;
      continue;
    }
    m_digits[m_nDigits++] = ch;
    if (m_nDigits < 4) continue;
    m_nDigits = 0;
    const auto byte = [&](int first) {
      return static_cast<BYTE>(ExchangeDigitValue(m_digits[first]) << 4 | ExchangeDigitValue(m_digits[first + 1]));
    };
    const BYTE low = static_cast<BYTE>(byte(0) ^ m_stream.Next());
    const BYTE high = static_cast<BYTE>(byte(2) ^ m_stream.Next());
    m_units += static_cast<WCHAR>(low | high << 8);
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
