// Text helpers of the machine profiles.
#include "profiletext.h"

#include "stringapiset.h"
#include "zx/casefold.h"

namespace zx::devices {

bool Utf8ToWide(std::string_view utf8, std::u16string& wide) {
  wide.clear();
  if (utf8.empty()) return true;
  const int size = static_cast<int>(utf8.size());
  const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
  if (length <= 0) return false;
  wide.resize(static_cast<std::size_t>(length));
  return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, wide.data(), length) == length;
}

std::string WideToUtf8(std::u16string_view wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(std::max(length, 0)), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), length, nullptr, nullptr);
  return utf8;
}

std::optional<DWORD> ParseNumber(std::u16string_view text) {
  unsigned base = 10;
  if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (char16_t c : text) {
    unsigned digit = 0;
    if (c >= u'0' && c <= u'9') digit = c - u'0';
    else if (base == 16 && c >= u'a' && c <= u'f') digit = c - u'a' + 10;
    else if (base == 16 && c >= u'A' && c <= u'F') digit = c - u'A' + 10;
    else return std::nullopt;
    value = value * base + digit;
    if (value > 0xFFFFFFFFu) return std::nullopt;
  }
  return static_cast<DWORD>(value);
}

std::u16string HexNumber(DWORD value) {
  std::u16string text = u"0x";
  for (int shift = 28; shift >= 0; shift -= 4) text += u"0123456789ABCDEF"[value >> shift & 0xF];
  return text;
}

bool SameText(std::u16string_view a, std::u16string_view b) {
  return CompareNoCase(a.data(), a.size(), b.data(), b.size()) == 0;
}

std::u16string Lower(std::u16string_view text) {
  std::u16string lower(text);
  for (char16_t& c : lower) c = ToLower(c);
  return lower;
}

}  // namespace zx::devices

#include "zx/machineprofile.h"

namespace zx::devices {

std::u16string_view ServiceStateName(ServiceState state) {
  switch (state) {
    case ServiceState::Running: return u"running";
    case ServiceState::Paused: return u"paused";
    case ServiceState::Disabled: return u"disabled";
    case ServiceState::Stopped: break;
  }
  return u"stopped";
}

std::u16string Ascii(std::string_view text) { return std::u16string(text.begin(), text.end()); }

std::u16string Digest(std::string_view text) {
  std::uint64_t hash = 0xcbf29ce484222325ull;
  for (unsigned char c : text) {
    hash ^= c;
    hash *= 0x100000001b3ull;
  }
  std::u16string digits;
  for (int shift = 60; shift >= 0; shift -= 4) digits += u"0123456789abcdef"[hash >> shift & 0xF];
  return digits;
}

}  // namespace zx::devices
