// SIDs as text.
#include "sddl.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>

#include "accounts.h"
#include "errhandlingapi.h"
#include "heapapi.h"

namespace {

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

struct Abbreviation {
  std::u16string_view text;
  zx::security::Sid (*sid)();
};

constexpr Abbreviation kAbbreviations[] = {
    {u"WD", zx::security::EveryoneSid},
    {u"SY", zx::security::SystemSid},
    {u"BA", zx::security::AdministratorsSid},
    {u"BU", zx::security::UsersSid},
};

// A decimal number of the text (hex with "0x"), up to the next '-'; false when malformed.
bool ReadNumber(std::string_view& text, std::uint64_t& value) {
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const char* from = text.data() + (hex ? 2 : 0);
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(from, end, value, hex ? 16 : 10);
  if (error != std::errc() || stop == from || (stop != end && *stop != '-')) return false;
  text.remove_prefix(static_cast<std::size_t>(stop - text.data()) + (stop != end ? 1 : 0));
  return true;
}

bool ParseSid(std::u16string_view wide, zx::security::Sid& sid) {
  for (const Abbreviation& a : kAbbreviations) {
    if (wide == a.text) {
      sid = a.sid();
      return true;
    }
  }
  if (wide.size() < 2 || (wide[0] != u'S' && wide[0] != u's') || wide[1] != u'-') return false;
  std::string narrow;
  for (char16_t c : wide.substr(2)) {
    if (c > 0x7F) return false;
    narrow += static_cast<char>(c);
  }
  std::string_view text(narrow);
  std::uint64_t revision, authority;
  if (!ReadNumber(text, revision) || revision != 1 || !ReadNumber(text, authority) || authority >> 48 != 0)
    return false;
  sid.assign(8, 0);
  sid[0] = 1;
  for (int i = 0; i < 6; ++i) sid[2 + i] = static_cast<BYTE>(authority >> (8 * (5 - i)));
  while (!text.empty()) {
    std::uint64_t value;
    if (sid[1] == 15 || !ReadNumber(text, value) || value > 0xFFFFFFFFu) return false;
    const DWORD part = static_cast<DWORD>(value);
    sid.insert(sid.end(), reinterpret_cast<const BYTE*>(&part), reinterpret_cast<const BYTE*>(&part) + 4);
    ++sid[1];
  }
  return narrow.empty() || narrow.back() != '-';
}

}  // namespace

BOOL ConvertSidToStringSidW(PSID sid, LPWSTR* text) {
  if (!IsValidSid(sid)) return Fail(ERROR_INVALID_SID);
  if (text == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  const auto* bytes = static_cast<const BYTE*>(sid);
  std::uint64_t authority = 0;
  for (int i = 0; i < 6; ++i) authority = (authority << 8) | bytes[2 + i];
  char number[32];
  std::string out = "S-1-";
  if (authority >> 32 == 0) {
    out += std::to_string(authority);
  } else {
    std::snprintf(number, sizeof number, "0x%012llX", static_cast<unsigned long long>(authority));
    out += number;
  }
  for (BYTE i = 0; i < bytes[1]; ++i) {
    DWORD part;
    std::memcpy(&part, bytes + 8 + 4 * i, 4);
    out += '-';
    out += std::to_string(part);
  }
  auto* block = static_cast<LPWSTR>(LocalAlloc(LMEM_FIXED, (out.size() + 1) * sizeof(WCHAR)));
  if (block == nullptr) return FALSE;
  for (std::size_t i = 0; i < out.size(); ++i) block[i] = static_cast<WCHAR>(out[i]);
  block[out.size()] = 0;
  *text = block;
  return TRUE;
}

BOOL ConvertStringSidToSidW(LPCWSTR text, PSID* sid) {
  if (text == nullptr || sid == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  zx::security::Sid parsed;
  if (!ParseSid(text, parsed)) return Fail(ERROR_INVALID_SID);
  *sid = zx::security::LocalCopy(parsed);
  return *sid != nullptr;
}
