// Conversions between UTF-16 and Windows-1252, and case mapping of 1252 bytes.
#include "ansi.h"

#include <array>

#include "stringapiset.h"
#include "zx/casefold.h"

namespace zx::afx {
namespace {

// For each 1252 byte: its UTF-16 unit and its upper- and lower-case bytes.
struct AnsiTables {
  std::array<WCHAR, 256> wide{};
  std::array<char, 256> upper{};
  std::array<char, 256> lower{};
  AnsiTables() {
    for (int b = 0; b < 256; ++b) {
      const char byte = static_cast<char>(b);
      MultiByteToWideChar(CP_ACP, 0, &byte, 1, &wide[b], 1);
    }
    for (int b = 0; b < 256; ++b) {
      upper[b] = lower[b] = static_cast<char>(b);
      for (int other = 0; other < 256; ++other) {
        if (other == b) continue;
        if (wide[other] == ToUpper(wide[b]) && wide[other] != wide[b]) upper[b] = static_cast<char>(other);
        if (wide[other] == ToLower(wide[b]) && wide[other] != wide[b]) lower[b] = static_cast<char>(other);
      }
    }
  }
};

const AnsiTables& Tables() {
  static const AnsiTables tables;
  return tables;
}

std::size_t Index(char c) { return static_cast<unsigned char>(c); }

}  // namespace

std::u16string WidenAnsi(std::string_view text) {
  std::u16string out(text.size(), u'\0');
  for (std::size_t i = 0; i < text.size(); ++i) out[i] = Tables().wide[Index(text[i])];
  return out;
}

std::string NarrowAnsi(std::u16string_view text) {
  std::string out(text.size(), '\0');
  if (!text.empty())
    WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(),
                        static_cast<int>(out.size()), nullptr, nullptr);
  return out;
}

WCHAR UpperUnit(WCHAR c) { return ToUpper(c); }
WCHAR LowerUnit(WCHAR c) { return ToLower(c); }
char UpperUnit(char c) { return Tables().upper[Index(c)]; }
char LowerUnit(char c) { return Tables().lower[Index(c)]; }
WCHAR FoldUnit(WCHAR c) { return FoldCase(c); }
WCHAR FoldUnit(char c) { return FoldCase(Tables().wide[Index(c)]); }

}  // namespace zx::afx
