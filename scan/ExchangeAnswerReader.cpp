// The update service's enciphered answer deciphered piece by piece as it arrives.
#include "ExchangeAnswerReader.h"

#include <algorithm>
#include <array>
#include <bit>

#include "TextViews.h"
#include "zx/prefault.h"

namespace {

// The digit values of the ASCII characters, looked up rather than worked out: an answer has
// tens of millions of digits.
constexpr auto kDigitValues = [] {
  std::array<signed char, 128> values{};
  for (WCHAR ch = 0; ch < 128; ++ch) values[ch] = static_cast<signed char>(ExchangeDigitValue(ch));
  return values;
}();

int DigitValue(WCHAR ch) { return ch < 128 ? kDigitValues[ch] : -1; }
// The unit of a wide character or of an ASCII byte.
WCHAR Unit(WCHAR ch) { return ch; }
WCHAR Unit(char ch) { return static_cast<unsigned char>(ch); }
int DigitValue(char ch) { return DigitValue(Unit(ch)); }

}  // namespace

void CExchangeAnswerReader::Begin(std::size_t announced) {
  m_field.clear();
  m_units.clear();
  m_nDigits = 0;
  m_rest.clear();
  m_stream = CRc4KeyStream();
  m_nPrefaulted = 0;
  m_nPlainUnits = kNoZeroUnit;
  if (announced > kFieldDigits) {
    m_units.reserve((announced - kFieldDigits) / 4);
    // The room of a large answer is tens of megabytes, all of it written: huge pages spare
    // the thousands of faults its small pages would take.
    zx::AdviseHugePages(m_units.data(), m_units.capacity() * sizeof(char16_t));
  }
}

template <class Char>
std::size_t CExchangeAnswerReader::TakeUnits(std::basic_string_view<Char> piece, std::size_t at) {
  // A piece is almost always digits to its end: its whole units are taken, each block checked
  // as it is decoded, up to a block that holds another character.
  const std::size_t whole = (piece.size() - at) / 4;
  const std::size_t taken = TakeDigitUnits(piece.data() + at, whole);
  at += 4 * taken;
  if (taken == whole) return at;
  std::size_t end = at;
  for (; end + 4 <= piece.size(); end += 4) {
    const Char* const digits = piece.data() + end;
    if ((DigitValue(digits[0]) | DigitValue(digits[1]) | DigitValue(digits[2]) | DigitValue(digits[3])) < 0) break;
  }
  TakeDigitUnits(piece.data() + at, (end - at) / 4);
  return end;
}

template <class Char>
std::size_t CExchangeAnswerReader::TakeDigitUnits(const Char* digits, std::size_t count) {
  static_assert(std::endian::native == std::endian::little, "a unit's low byte comes first, as on the wire");
  const std::size_t had = m_units.size();
  // The units fill their room from its start on: its pages are taken a stretch at a time,
  // ahead of the units coming, and never before the text has come that far.
  if (had + count > m_nPrefaulted && had + count <= m_units.capacity()) {
    const std::size_t until = std::min(m_units.capacity(), had + count + kPrefaultUnits);
    zx::PrefaultForWriting(m_units.data() + m_nPrefaulted, (until - m_nPrefaulted) * sizeof(char16_t));
    m_nPrefaulted = until;
  }
  m_units.resize(had + count);
  BYTE* const out = reinterpret_cast<BYTE*>(m_units.data() + had);
  // A block of bytes at a time is decoded, then deciphered while it is still in the cache.
  constexpr std::size_t kBlock = 8 * 1024;
  const std::size_t bytes = 2 * count;
  for (std::size_t at = 0; at < bytes; at += kBlock) {
    const std::size_t size = std::min(kBlock, bytes - at);
    if (!ExchangeDigitPairsToBytes(digits + 2 * at, out + at, size)) {
      // The units of this block go; the key stream has not come to them.
      m_units.resize(had + at / 2);
      return at / 2;
    }
    m_stream.Apply(out + at, size);
    // The plain text ends at the first zero unit, looked for while the block is in the cache.
    if (m_nPlainUnits == kNoZeroUnit) {
      const std::u16string_view block(m_units.data() + had + at / 2, size / 2);
      if (const std::size_t plain = PlainUnitCount(block); plain < block.size()) m_nPlainUnits = had + at / 2 + plain;
    }
  }
  return count;
}

void CExchangeAnswerReader::Take(std::u16string_view piece) { TakePiece(piece); }

void CExchangeAnswerReader::TakeAscii(std::string_view piece) { TakePiece(piece); }

template <class Char>
void CExchangeAnswerReader::TakePiece(std::basic_string_view<Char> piece) {
  if (m_field.size() < kFieldDigits) {
    const std::size_t count = std::min(kFieldDigits - m_field.size(), piece.size());
    m_field.append(piece.begin(), piece.begin() + static_cast<std::ptrdiff_t>(count));
    piece.remove_prefix(count);
  }
  for (std::size_t at = 0; at < piece.size() && m_rest.empty(); ++at) {
    // Most of an answer is whole units of digits, read four at a time.
    if (m_nDigits == 0) {
      at = TakeUnits(piece, at);
      if (at == piece.size()) return;
    }
    const WCHAR ch = Unit(piece[at]);
    if (DigitValue(ch) < 0) {
      m_rest.append(piece.begin() + static_cast<std::ptrdiff_t>(at), piece.end());
      return;
    }
    m_digits[m_nDigits++] = ch;
    if (m_nDigits == 4) {
      m_nDigits = 0;
      TakeDigitUnits(m_digits, 1);
    }
  }
  if (!m_rest.empty()) m_rest.append(piece.begin(), piece.end());
}

BOOL CExchangeAnswerReader::Finish(CString& plain) const {
  // Anything but whole units of digits after the field is read as the decoder reads it.
  if (!AllUnits()) {
    const CString received = Received();
    return getOutputStrFromHex(View(received), plain);
  }
  const std::u16string_view units = std::u16string_view(m_units).substr(0, PlainUnits());
  plain.SetString(units.data(), static_cast<int>(units.size()));
  return TRUE;
}

BOOL CExchangeAnswerReader::TakePlain(CString& plain) {
  if (!AllUnits()) return Finish(plain);
  m_units.resize(PlainUnits());
  plain = CString(std::move(m_units));
  m_units = std::u16string();
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
