// The exchange text and MD5 of the shared library, on UTF-8 strings.
#include "exchange.h"

#include <DigestsMd5.h>
#include <ExchangeEncoding.h>

#include "zx/utf8text.h"

namespace zx::webservice {
namespace {

CString ToCString(const std::string& utf8) {
  const std::u16string wide = inet::FromUtf8(utf8).value_or(std::u16string());
  return CString(wide.c_str(), static_cast<int>(wide.size()));
}

std::string FromCString(const CString& text) {
  return inet::ToUtf8(std::u16string_view(text.GetString(), static_cast<std::size_t>(text.GetLength())))
      .value_or(std::string());
}

}  // namespace

std::optional<std::string> DecipheredText(const std::string& encoded) {
  CString text = ToCString(encoded);
  if (!getOutputStrFromHex(text) || text.IsEmpty()) return std::nullopt;
  return FromCString(text);
}

std::string EncipheredText(const std::string& plain) {
  // The digits are written narrow where they stay: the answer is megabytes of them.
  CString text = ToCString(plain);
  text.Trim();
  if (text.IsEmpty()) return {};
  const std::u16string_view units(text.GetString(), static_cast<std::size_t>(text.GetLength()));
  std::string encoded = FromCString(DigestOf(units));
  const std::size_t digest = encoded.size();
  encoded.resize(digest + 4 * units.size());
  EncipherUnitsToHex(units, encoded.data() + digest);
  return encoded;
}

std::string Md5Hex(std::string_view bytes) {
  return FromCString(CMD5Checksum::DigestHex(reinterpret_cast<const BYTE*>(bytes.data()),
                                             static_cast<UINT>(bytes.size())));
}

}  // namespace zx::webservice
