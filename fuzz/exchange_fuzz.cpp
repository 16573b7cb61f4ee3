// Fuzz target: hostile bytes as an enciphered exchange text (UTF-16LE units). Decoding must
// stay within the text and answer as its length says; the first unit picks whether the rest
// is also encoded as a plain text, whose message must decode back to the trimmed text up to
// its first zero unit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "ExchangeEncoding.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CString text;
  const int units = static_cast<int>(size / 2);
  LPTSTR buffer = text.GetBufferSetLength(units);
  for (int i = 0; i < units; ++i) buffer[i] = static_cast<WCHAR>(data[2 * i] | data[2 * i + 1] << 8);
  text.ReleaseBufferSetLength(units);

  CString received = text;
  const BOOL decoded = getOutputStrFromHex(received);
  if (decoded != (units >= 32) || (units <= 32 && !received.IsEmpty())) std::abort();
  if (units > 32 && (units - 32) / 4 + 1 < received.GetLength()) std::abort();

  if (units == 0 || (text[0] & 1) == 0) return 0;
  CString plain = text.Mid(1);
  CString message;
  if (!getInputHexFromStr(plain, message) || message.GetLength() != 32 + 4 * plain.GetLength()) std::abort();
  const int zero = plain.Find(static_cast<WCHAR>(0));
  const CString expected = zero < 0 ? plain : plain.Left(zero);
  if (!getOutputStrFromHex(message) || message != expected) std::abort();
  return 0;
}
