// Code-page conversions: Windows-1252 (the fixed "ANSI" code page), IBM 437 (the code page
// of MS-DOS names, as zip archives store them) and UTF-8, behind the Win32
// MultiByteToWideChar / WideCharToMultiByte contract.
#include "errhandlingapi.h"
#include "stringapiset.h"

#include <string_view>

#ifndef ERROR_NO_UNICODE_TRANSLATION
#define ERROR_NO_UNICODE_TRANSLATION 1113L
#endif

namespace {

// Bytes 0x80..0x9F of Windows-1252. The five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same value, as Windows does.
constexpr char16_t kHigh1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// Bytes 0x80..0xFF of IBM 437.
constexpr char16_t kHigh437[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7,
    0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5,
    0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192,
    0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA,
    0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556,
    0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510,
    0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567,
    0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229,
    0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

constexpr char16_t kReplacement = 0xFFFD;

bool IsAnsi(UINT codePage) {
  return codePage == CP_ACP || codePage == CP_OEMCP || codePage == CP_THREAD_ACP ||
         codePage == 1252;
}

char16_t From1252(unsigned char b) {
  return (b >= 0x80 && b < 0xA0) ? kHigh1252[b - 0x80] : static_cast<char16_t>(b);
}

// The 1252 byte for a UTF-16 unit, or -1 when the code page has none.
int To1252(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return c;
  for (int i = 0; i < 32; ++i)
    if (kHigh1252[i] == c) return 0x80 + i;
  return -1;
}

constexpr UINT kDosCodePage = 437;

// The single-byte code pages: one UTF-16 unit per byte.
bool IsSingleByte(UINT codePage) { return IsAnsi(codePage) || codePage == kDosCodePage; }

char16_t FromByte(UINT codePage, unsigned char b) {
  if (codePage == kDosCodePage) return b < 0x80 ? static_cast<char16_t>(b) : kHigh437[b - 0x80];
  return From1252(b);
}

int ToByte(UINT codePage, char16_t c) {
  if (codePage != kDosCodePage) return To1252(c);
  if (c < 0x80) return c;
  for (int i = 0; i < 128; ++i)
    if (kHigh437[i] == c) return 0x80 + i;
  return -1;
}

// Collects output units; counts only when no buffer was given, fails once it is full.
template <class T>
class Sink {
 public:
  Sink(T* out, int capacity) : out_(out), capacity_(capacity) {}
  bool Put(T unit) {
    if (out_ != nullptr) {
      if (count_ >= capacity_) return false;
      out_[count_] = unit;
    }
    ++count_;
    return true;
  }
  int count() const { return count_; }

 private:
  T* out_;
  int capacity_;
  int count_ = 0;
};

// Decodes one UTF-8 sequence at s[i] and advances i past it; answers the code point, or -1
// for a malformed sequence after consuming its maximal well-formed prefix (one U+FFFD each).
long DecodeUtf8(std::string_view s, std::size_t& i) {
  const auto b0 = static_cast<unsigned char>(s[i++]);
  if (b0 < 0x80) return b0;
  int extra;
  long cp;
  long min;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    extra = 1, cp = b0 & 0x1F, min = 0x80;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    extra = 2, cp = b0 & 0x0F, min = 0x800;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    extra = 3, cp = b0 & 0x07, min = 0x10000;
  } else {
    return -1;
  }
  for (int k = 0; k < extra; ++k) {
    if (i >= s.size()) return -1;
    const auto b = static_cast<unsigned char>(s[i]);
    if ((b & 0xC0) != 0x80) return -1;
    cp = (cp << 6) | (b & 0x3F);
    // Reject overlong forms, surrogates and values past U+10FFFF as early as they show.
    if (k == 0) {
      const long shift = 6L * (extra - 1);
      const long high = cp << shift;
      if (high + ((1L << shift) - 1) < min || high > 0x10FFFF ||
          (extra == 2 && high >= 0xD800 && high <= 0xDFFF))
        return -1;
    }
    ++i;
  }
  return cp;
}

bool PutUtf16(Sink<WCHAR>& out, long cp) {
  if (cp < 0x10000) return out.Put(static_cast<WCHAR>(cp));
  cp -= 0x10000;
  return out.Put(static_cast<WCHAR>(0xD800 + (cp >> 10))) &&
         out.Put(static_cast<WCHAR>(0xDC00 + (cp & 0x3FF)));
}

bool PutUtf8(Sink<CHAR>& out, unsigned long cp) {
  auto put = [&](unsigned long v) { return out.Put(static_cast<CHAR>(v)); };
  if (cp < 0x80) return put(cp);
  if (cp < 0x800) return put(0xC0 | (cp >> 6)) && put(0x80 | (cp & 0x3F));
  if (cp < 0x10000)
    return put(0xE0 | (cp >> 12)) && put(0x80 | ((cp >> 6) & 0x3F)) && put(0x80 | (cp & 0x3F));
  return put(0xF0 | (cp >> 18)) && put(0x80 | ((cp >> 12) & 0x3F)) &&
         put(0x80 | ((cp >> 6) & 0x3F)) && put(0x80 | (cp & 0x3F));
}

int Fail(DWORD error) {
  SetLastError(error);
  return 0;
}

}  // namespace

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR multiByte, int cbMultiByte,
                        LPWSTR wideChar, int cchWideChar) {
  if (multiByte == nullptr || cbMultiByte == 0 || cbMultiByte < -1 || cchWideChar < 0 ||
      (cchWideChar > 0 && wideChar == nullptr))
    return Fail(ERROR_INVALID_PARAMETER);
  if (!IsSingleByte(codePage) && codePage != CP_UTF8) return Fail(ERROR_INVALID_PARAMETER);
  const std::string_view in(multiByte, cbMultiByte == -1
                                           ? std::char_traits<char>::length(multiByte) + 1
                                           : static_cast<std::size_t>(cbMultiByte));
  Sink<WCHAR> out(cchWideChar == 0 ? nullptr : wideChar, cchWideChar);
  if (IsSingleByte(codePage)) {
    for (char b : in)
      if (!out.Put(FromByte(codePage, static_cast<unsigned char>(b)))) return Fail(ERROR_INSUFFICIENT_BUFFER);
    return out.count();
  }
  for (std::size_t i = 0; i < in.size();) {
    long cp = DecodeUtf8(in, i);
    if (cp < 0) {
      if ((flags & MB_ERR_INVALID_CHARS) != 0) return Fail(ERROR_NO_UNICODE_TRANSLATION);
      cp = kReplacement;
    }
    if (!PutUtf16(out, cp)) return Fail(ERROR_INSUFFICIENT_BUFFER);
  }
  return out.count();
}

int WideCharToMultiByte(UINT codePage, DWORD /*flags*/, LPCWSTR wideChar, int cchWideChar,
                        LPSTR multiByte, int cbMultiByte, LPCSTR defaultChar,
                        LPBOOL usedDefaultChar) {
  if (wideChar == nullptr || cchWideChar == 0 || cchWideChar < -1 || cbMultiByte < 0 ||
      (cbMultiByte > 0 && multiByte == nullptr))
    return Fail(ERROR_INVALID_PARAMETER);
  if (!IsSingleByte(codePage) && codePage != CP_UTF8) return Fail(ERROR_INVALID_PARAMETER);
  // As on Windows, UTF-8 has no default character.
  if (codePage == CP_UTF8 && (defaultChar != nullptr || usedDefaultChar != nullptr))
    return Fail(ERROR_INVALID_PARAMETER);
  const std::u16string_view in(wideChar, cchWideChar == -1
                                             ? std::char_traits<char16_t>::length(wideChar) + 1
                                             : static_cast<std::size_t>(cchWideChar));
  Sink<CHAR> out(cbMultiByte == 0 ? nullptr : multiByte, cbMultiByte);
  if (IsSingleByte(codePage)) {
    const CHAR fallback = defaultChar != nullptr ? *defaultChar : '?';
    bool usedDefault = false;
    for (char16_t c : in) {
      int b = ToByte(codePage, c);
      if (b < 0) usedDefault = true;
      if (!out.Put(b < 0 ? fallback : static_cast<CHAR>(b))) return Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    if (usedDefaultChar != nullptr) *usedDefaultChar = usedDefault ? TRUE : FALSE;
    return out.count();
  }
  for (std::size_t i = 0; i < in.size(); ++i) {
    unsigned long cp = in[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < in.size() && in[i + 1] >= 0xDC00 &&
        in[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (in[++i] - 0xDC00);
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kReplacement;  // a lone surrogate
    }
    if (!PutUtf8(out, cp)) return Fail(ERROR_INSUFFICIENT_BUFFER);
  }
  return out.count();
}
