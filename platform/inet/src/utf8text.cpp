// Strict UTF-16 <-> UTF-8 conversions for the network layer.
#include "zx/utf8text.h"

#include <cstdint>
#include <cstring>

#include "zx/utf8.h"

namespace zx::inet {
namespace {

bool IsHighSurrogate(std::uint32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(std::uint32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// Hands each UTF-16 unit of the text to `emit`; false at the first bytes that are not UTF-8.
template <class Emit>
bool DecodeUtf8(std::string_view text, Emit emit) {
  std::size_t i = 0;
  while (i < text.size()) {
    // Runs of ASCII, most of what crosses the network, go eight bytes at a time.
    std::uint64_t eight = 0;
    if (text.size() - i >= sizeof eight) {
      std::memcpy(&eight, text.data() + i, sizeof eight);
      if ((eight & 0x8080808080808080u) == 0) {
        for (std::size_t k = 0; k < sizeof eight; ++k) emit(static_cast<char16_t>(text[i + k]));
        i += sizeof eight;
        continue;
      }
    }
    const auto lead = static_cast<unsigned char>(text[i]);
    std::uint32_t cp;
    std::size_t extra;
    if (lead < 0x80) {
      cp = lead;
      extra = 0;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      cp = lead & 0x1F;
      extra = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      cp = lead & 0x0F;
      extra = 2;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      cp = lead & 0x07;
      extra = 3;
    } else {
      return false;
    }
    if (text.size() - i <= extra) return false;
    for (std::size_t k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
    if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      emit(static_cast<char16_t>(0xD800 + (cp >> 10)));
      emit(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      emit(static_cast<char16_t>(cp));
    }
    i += extra + 1;
  }
  return true;
}

}  // namespace

std::optional<std::string> ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    // A run of ASCII units is copied in one step: a request or an enciphered answer is one run.
    std::size_t end = i;
    while (end < text.size() && text[end] < 0x80) ++end;
    if (end > i) {
      const std::size_t had = out.size();
      out.resize(had + (end - i));
      for (char* to = out.data() + had; i < end; ++i) *to++ = static_cast<char>(text[i]);
      continue;
    }
    std::uint32_t u = text[i++];
    if (IsHighSurrogate(u)) {
      if (i >= text.size() || !IsLowSurrogate(text[i])) return std::nullopt;
      u = 0x10000 + ((u - 0xD800) << 10) + (text[i++] - 0xDC00);
    } else if (IsLowSurrogate(u)) {
      return std::nullopt;
    }
    zx::AppendUtf8(out, u);
  }
  return out;
}

std::optional<std::size_t> Utf16Length(std::string_view text) {
  std::size_t units = 0;
  if (!DecodeUtf8(text, [&](char16_t) { ++units; })) return std::nullopt;
  return units;
}

void Utf8ToUtf16(std::string_view text, char16_t* out) {
  DecodeUtf8(text, [&](char16_t unit) { *out++ = unit; });
}

std::optional<std::u16string> FromUtf8(std::string_view text) {
  const std::optional<std::size_t> units = Utf16Length(text);
  if (!units) return std::nullopt;
  std::u16string out(*units, u'\0');
  Utf8ToUtf16(text, out.data());
  return out;
}

}  // namespace zx::inet
