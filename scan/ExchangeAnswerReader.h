// CExchangeAnswerReader: the update service's enciphered answer read piece by piece as the
// SOAP client reads it (a result sink of the client's thread) and deciphered on the way, so
// that its digits (four a unit of plain text) are never held whole. It answers what
// getOutputStrFromHex answers for the whole text, and gives the text back as it came when a
// report needs it.
#pragma once
#include <afx.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

#include "ExchangeEncoding.h"
#include "zx/soapresultsink.h"

class CExchangeAnswerReader : public zx::soap::ResultSink {
 public:
  // A new answer: what was read is forgotten. `announced` is the length of the text to come
  // when it is known (0 otherwise), for room taken at once.
  void Begin(std::size_t announced) override;
  // The next piece of the text, wide or all ASCII.
  void Take(std::u16string_view piece) override;
  void TakeAscii(std::string_view piece) override;
  // What getOutputStrFromHex answers for the whole text; `plain` gets its plain text.
  BOOL Finish(CString& plain) const;
  // As Finish, handing its deciphered units over to `plain` without a copy where it can; the
  // reader is then done with this answer (its text as it came is known only after a failure).
  BOOL TakePlain(CString& plain);
  // The text as it came.
  CString Received() const;

 private:
  static constexpr std::size_t kFieldDigits = 32;

  // Whether the text was whole units of digits after the field: the units are then the answer.
  bool AllUnits() const { return m_field.size() == kFieldDigits && m_nDigits == 0 && m_rest.empty(); }

  template <class Char>
  void TakePiece(std::basic_string_view<Char> piece);
  // Whole units of digits from `at` on, up to the first character that is no digit or the
  // last whole unit of the piece; answers where it stopped.
  template <class Char>
  std::size_t TakeUnits(std::basic_string_view<Char> piece, std::size_t at);
  // Up to `count` units of four digits each, a block at a time, until a block holds another
  // character than a digit: answers the units taken.
  template <class Char>
  std::size_t TakeDigitUnits(const Char* digits, std::size_t count);

  std::u16string m_field;    // the digest field (any 32 characters), as far as it came
  std::u16string m_units;    // every deciphered unit, also after a zero one
  // The units before the first zero one, which ends the plain text; kNoZeroUnit while none came.
  static constexpr std::size_t kNoZeroUnit = static_cast<std::size_t>(-1);
  std::size_t m_nPlainUnits = kNoZeroUnit;
  std::size_t PlainUnits() const { return std::min(m_nPlainUnits, m_units.size()); }
  // The units of room brought in so far, and how many more each time the units reach them.
  std::size_t m_nPrefaulted = 0;
  static constexpr std::size_t kPrefaultUnits = 1 << 20;
  WCHAR m_digits[4] = {};    // digits of the unit being read
  std::size_t m_nDigits = 0;
  // From the first character of the payload that is no digit on, as it came: such a text is
  // decoded whole when it ends.
  std::u16string m_rest;
  CRc4KeyStream m_stream;
};
