// An enciphered update answer's envelope, enciphered as it is read.
#include "encipheredenvelope.h"

#include <ExchangeEncoding.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <mutex>

#include "exchange.h"
#include "zx/utf8text.h"

namespace zx::webservice {
namespace {

constexpr std::size_t kDigitsPerUnit = 4;
constexpr std::size_t kPieceUnits = 4096;
// What the clients trim from both ends of a text.
constexpr char kSpaces[] = " \t\n\v\f\r";

// The key stream from its start, at least `bytes` long; kept for the answers that follow.
std::shared_ptr<const std::vector<unsigned char>> KeyStream(std::size_t bytes) {
  static std::mutex lock;
  static std::shared_ptr<const std::vector<unsigned char>> kept;
  std::lock_guard<std::mutex> hold(lock);
  if (!kept || kept->size() < bytes) {
    auto longer = std::make_shared<std::vector<unsigned char>>(bytes);
    CRc4KeyStream stream;
    for (unsigned char& byte : *longer) byte = stream.Next();
    kept = std::move(longer);
  }
  return kept;
}

// Copies what lies at `offset` of `part` into `out`; the count copied.
std::size_t CopyPart(const std::string& part, std::size_t offset, char* out, std::size_t room) {
  const std::size_t count = std::min(room, part.size() - offset);
  std::memcpy(out, part.data() + offset, count);
  return count;
}

// `count` units enciphered, low byte first, with the key stream from where the first stands.
template <class Unit>
void Encipher(const Unit* units, std::size_t count, const unsigned char* key, BYTE* bytes) {
  for (std::size_t n = 0; n < count; ++n) {
    const auto unit = static_cast<std::make_unsigned_t<Unit>>(units[n]);
    bytes[2 * n] = static_cast<BYTE>((unit & 0xFF) ^ key[2 * n]);
    bytes[2 * n + 1] = static_cast<BYTE>((unit >> 8) ^ key[2 * n + 1]);
  }
}

bool IsAscii(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

EncipheredEnvelope::EncipheredEnvelope(const soap::OperationDescription& operation, std::string plain) {
  EnvelopeEnds ends = ResultEnvelopeEnds(operation);
  head_ = std::move(ends.head);
  tail_ = std::move(ends.tail);
  if (IsAscii(plain)) {
    // An ASCII text, as answers are, is its own units and its own ANSI form: it is read where
    // it stands.
    const std::size_t last = plain.find_last_not_of(kSpaces);
    plain.erase(last == std::string::npos ? 0 : last + 1);
    plain.erase(0, plain.find_first_not_of(kSpaces));
    ascii_ = std::move(plain);
    if (!ascii_.empty())
      for (const char digit : Md5Hex(ascii_)) head_ += static_cast<char>(std::toupper(static_cast<unsigned char>(digit)));
  } else {
    const std::u16string wide = inet::FromUtf8(plain).value_or(std::u16string());
    CString text(wide.data(), static_cast<int>(wide.size()));
    text.Trim();
    units_.assign(text.GetString(), static_cast<std::size_t>(text.GetLength()));
    if (!units_.empty()) {
      const CString digest = DigestOf(units_);
      head_.append(digest.GetString(), digest.GetString() + digest.GetLength());
    }
  }
  keyStream_ = KeyStream(2 * UnitCount());
  tailStart_ = head_.size() + kDigitsPerUnit * UnitCount();
}

std::size_t EncipheredEnvelope::Read(std::size_t offset, char* out, std::size_t room) const {
  std::size_t written = 0;
  while (offset < size()) {
    const std::size_t count = offset < head_.size()  ? CopyPart(head_, offset, out + written, room - written)
                              : offset < tailStart_ ? ReadDigits(offset - head_.size(), out + written, room - written)
                                                    : CopyPart(tail_, offset - tailStart_, out + written, room - written);
    if (count == 0) break;
    offset += count;
    written += count;
  }
  return written;
}

std::size_t EncipheredEnvelope::ReadDigits(std::size_t at, char* out, std::size_t room) const {
  const std::size_t first = at / kDigitsPerUnit;
  const std::size_t units = std::min({UnitCount() - first, kPieceUnits, room / kDigitsPerUnit});
  BYTE bytes[2 * kPieceUnits];
  const unsigned char* key = keyStream_->data() + 2 * first;
  if (ascii_.empty())
    Encipher(units_.data() + first, units, key, bytes);
  else
    Encipher(ascii_.data() + first, units, key, bytes);
  char digits[kDigitsPerUnit * kPieceUnits + 1];
  BytesToHex(bytes, digits, static_cast<DWORD>(2 * units));
  std::memcpy(out, digits, kDigitsPerUnit * units);
  return kDigitsPerUnit * units;
}

std::string EncipheredEnvelope::Whole() const {
  std::string whole(size(), '\0');
  Read(0, whole.data(), whole.size());
  return whole;
}

}  // namespace zx::webservice
