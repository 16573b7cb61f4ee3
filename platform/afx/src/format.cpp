// The printf-style formatter behind CString::Format / CStringA::Format. It walks the format,
// takes typed arguments in order and prints each conversion; numbers go through snprintf with
// a spec the formatter has built and checked itself, never through the caller's text.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

#include "ansi.h"
#include "zx/afxformat.h"

namespace zx::afx {
namespace {

constexpr int kMaxField = 4096;

// One parsed conversion: flags, width, precision, size prefix and conversion letter.
struct Spec {
  std::string flags;
  int width = 0;
  int precision = -1;
  enum class Size { Default, Char, Short, Long, Wide, Wide64 } size = Size::Default;
  char conversion = 0;
};

bool IsSigned(const FormatArg& a) { return a.kind == FormatArg::Kind::Signed; }
bool IsInteger(const FormatArg& a) {
  return a.kind == FormatArg::Kind::Signed || a.kind == FormatArg::Kind::Unsigned;
}
bool IsString(const FormatArg& a) {
  return a.kind == FormatArg::Kind::Wide || a.kind == FormatArg::Kind::Narrow;
}

// snprintf with a spec built here and one value; answers the produced text.
template <class V>
std::string Print(const std::string& spec, V value) {
  const int n = std::snprintf(nullptr, 0, spec.c_str(), value);
  if (n <= 0) return std::string();
  std::string text(static_cast<std::size_t>(n) + 1, '\0');
  std::snprintf(text.data(), text.size(), spec.c_str(), value);
  text.resize(static_cast<std::size_t>(n));
  return text;
}

std::string NumericSpec(const Spec& s, const char* size, char conversion, bool allowAlternate) {
  std::string spec = "%";
  for (char f : s.flags)
    if (f != '#' || allowAlternate) spec += f;
  if (s.width > 0) spec += std::to_string(s.width);
  if (s.precision >= 0) spec += "." + std::to_string(s.precision);
  return spec + size + conversion;
}

template <class C>
class Formatter {
 public:
  Formatter(std::basic_string<C>& out, const FormatArg* args, std::size_t count)
      : out_(out), args_(args), count_(count) {}

  void Run(std::basic_string_view<C> format) {
    std::size_t i = 0;
    while (i < format.size()) {
      const std::size_t percent = format.find(C('%'), i);
      out_.append(format.substr(i, percent - i));
      if (percent == std::basic_string_view<C>::npos) return;
      i = percent + 1;
      Spec spec;
      if (!Parse(format, i, spec)) {
        out_.append(format.substr(percent, i - percent));  // unknown or cut short: as it stands
        continue;
      }
      Convert(spec);
    }
  }

 private:
  const FormatArg* Take() { return next_ < count_ ? &args_[next_++] : nullptr; }

  // A width or precision given as '*': an integer argument (clamped), anything else is none.
  std::optional<int> TakeField() {
    const FormatArg* a = Take();
    if (a == nullptr || !IsInteger(*a)) return std::nullopt;
    const long long v = IsSigned(*a) ? a->v.i
                                     : static_cast<long long>(std::min<unsigned long long>(a->v.u, kMaxField));
    return static_cast<int>(std::clamp<long long>(v, -kMaxField, kMaxField));
  }

  static int Digits(std::basic_string_view<C> f, std::size_t& i) {
    int value = 0;
    while (i < f.size() && f[i] >= C('0') && f[i] <= C('9')) {
      value = std::min(value * 10 + static_cast<int>(f[i] - C('0')), kMaxField);
      ++i;
    }
    return value;
  }

  bool Parse(std::basic_string_view<C> f, std::size_t& i, Spec& s) {
    auto at = [&](std::size_t k) { return k < f.size() ? static_cast<char32_t>(f[k]) : U'\0'; };
    if (at(i) == U'%') {
      ++i;
      s.conversion = '%';
      return true;
    }
    while (at(i) == U'-' || at(i) == U'+' || at(i) == U' ' || at(i) == U'#' || at(i) == U'0')
      s.flags += static_cast<char>(f[i++]);
    if (at(i) == U'*') {
      ++i;
      const int w = TakeField().value_or(0);
      if (w < 0) s.flags += '-';  // a negative width left-justifies, as in printf
      s.width = std::abs(w);
    } else {
      s.width = Digits(f, i);
    }
    if (at(i) == U'.') {
      ++i;
      if (at(i) == U'*') {
        ++i;
        s.precision = std::max(TakeField().value_or(-1), -1);  // negative: none
      } else {
        s.precision = Digits(f, i);
      }
    }
    using Size = Spec::Size;
    switch (at(i)) {
      case U'h':
        ++i;
        s.size = Size::Short;
        if (at(i) == U'h') ++i, s.size = Size::Char;
        break;
      case U'l':
        ++i;
        s.size = Size::Long;
        if (at(i) == U'l') ++i, s.size = Size::Wide64;
        break;
      case U'w': ++i, s.size = Size::Long; break;
      case U'L': case U'j': case U'z': case U't': case U'q': ++i, s.size = Size::Wide64; break;
      case U'I':
        ++i;
        s.size = Size::Wide64;
        if (at(i) == U'6' && at(i + 1) == U'4') i += 2;
        else if (at(i) == U'3' && at(i + 1) == U'2') i += 2, s.size = Size::Default;
        break;
      default: break;
    }
    const char32_t c = at(i);
    if (c == U'\0' || c > 0x7F || std::string_view("diuxXocCsSfFeEgGaApn").find(static_cast<char>(c)) ==
                                     std::string_view::npos)
      return false;
    ++i;
    s.conversion = static_cast<char>(c);
    return true;
  }

  void Convert(const Spec& s) {
    if (s.conversion == '%') {
      out_ += C('%');
      return;
    }
    const FormatArg* a = Take();
    if (a == nullptr || s.conversion == 'n') return;
    switch (s.conversion) {
      case 'd': case 'i': case 'u': case 'x': case 'X': case 'o': Integer(s, *a, s.conversion); break;
      case 'c': case 'C': Character(s, *a); break;
      case 's': case 'S': String(s, *a); break;
      case 'p': Pointer(s, *a); break;
      default: Real(s, *a); break;
    }
  }

  void Integer(const Spec& s, const FormatArg& a, char conversion) {
    unsigned long long bits;
    int width;  // bits of the value printf would see
    if (a.kind == FormatArg::Kind::Real) {
      if (!std::isfinite(a.v.d)) return;
      const double clamped = std::fmax(std::fmin(a.v.d, 9.2e18), -9.2e18);
      bits = static_cast<unsigned long long>(static_cast<long long>(clamped));
      width = 64;
    } else if (IsInteger(a) || a.kind == FormatArg::Kind::Pointer) {
      bits = a.kind == FormatArg::Kind::Pointer ? reinterpret_cast<std::uintptr_t>(a.v.p) : a.v.u;
      width = (s.size == Spec::Size::Wide64 || a.size == 8) ? 64 : 32;
    } else {
      return;  // a string cannot be printed as a number
    }
    if (s.size == Spec::Size::Short) width = 16;
    if (s.size == Spec::Size::Char) width = 8;
    if (width < 64) bits &= (1ULL << width) - 1;
    std::string text;
    if (conversion == 'd' || conversion == 'i') {
      long long value = static_cast<long long>(bits);
      if (width < 64 && (bits >> (width - 1)) != 0) value -= static_cast<long long>(1ULL << width);
      text = Print(NumericSpec(s, "ll", 'd', false), value);
    } else {
      text = Print(NumericSpec(s, "ll", conversion, conversion != 'u'), bits);
    }
    AppendAscii(text);
  }

  // True when the conversion names a unit of the other width than the output.
  bool NamesOtherWidth(const Spec& s) const {
    const bool upper = s.conversion == 'C' || s.conversion == 'S';
    if constexpr (std::is_same_v<C, char16_t>) {
      return s.size == Spec::Size::Short || (upper && s.size != Spec::Size::Long);
    } else {
      return s.size == Spec::Size::Long || (upper && s.size != Spec::Size::Short);
    }
  }

  void Character(const Spec& s, const FormatArg& a) {
    if (!IsInteger(a)) return;
    constexpr bool kWideOutput = std::is_same_v<C, char16_t>;
    const bool narrowUnit =
        a.charWidth != 0 ? a.charWidth == 1 : (NamesOtherWidth(s) ? kWideOutput : !kWideOutput);
    std::basic_string<C> unit;
    if (narrowUnit) {
      const char b = static_cast<char>(a.v.u & 0xFF);
      unit = ConvertText<C>(std::string_view(&b, 1));
    } else {
      const char16_t w = static_cast<char16_t>(a.v.u & 0xFFFF);
      unit = ConvertText<C>(std::u16string_view(&w, 1));
    }
    Pad(s, unit);
  }

  void String(const Spec& s, const FormatArg& a) {
    if (IsInteger(a)) {
      Spec number = s;
      number.precision = -1;
      Integer(number, a, IsSigned(a) ? 'd' : 'u');
      return;
    }
    if (a.kind == FormatArg::Kind::Real) {
      AppendAscii(Print(NumericSpec(s, "", 'g', true), a.v.d));
      return;
    }
    if (!IsString(a)) return;
    std::basic_string<C> text;
    if (a.kind == FormatArg::Kind::Wide ? a.v.w == nullptr : a.v.n == nullptr)
      text = ConvertText<C>(std::string_view("(null)"));
    else if (a.kind == FormatArg::Kind::Wide)
      text = ConvertText<C>(std::u16string_view(a.v.w, a.length));
    else
      text = ConvertText<C>(std::string_view(a.v.n, a.length));
    if (s.precision >= 0 && text.size() > static_cast<std::size_t>(s.precision))
      text.resize(static_cast<std::size_t>(s.precision));
    Pad(s, text);
  }

  void Pointer(const Spec& s, const FormatArg& a) {
    if (a.kind != FormatArg::Kind::Pointer && !IsInteger(a)) return;
    const unsigned long long bits =
        a.kind == FormatArg::Kind::Pointer ? reinterpret_cast<std::uintptr_t>(a.v.p) : a.v.u;
    const std::string text = Print("%016llX", bits);
    Pad(s, ConvertText<C>(std::string_view(text)));
  }

  void Real(const Spec& s, const FormatArg& a) {
    double value;
    if (a.kind == FormatArg::Kind::Real) value = a.v.d;
    else if (a.kind == FormatArg::Kind::Signed) value = static_cast<double>(a.v.i);
    else if (a.kind == FormatArg::Kind::Unsigned) value = static_cast<double>(a.v.u);
    else return;
    AppendAscii(Print(NumericSpec(s, "", s.conversion, true), value));
  }

  // Pads text to the field width with spaces (left-justified with '-').
  void Pad(const Spec& s, const std::basic_string<C>& text) {
    const std::size_t fill =
        text.size() < static_cast<std::size_t>(s.width) ? s.width - text.size() : 0;
    const bool left = s.flags.find('-') != std::string::npos;
    if (!left) out_.append(fill, C(' '));
    out_ += text;
    if (left) out_.append(fill, C(' '));
  }

  void AppendAscii(const std::string& text) {
    for (char c : text) out_ += static_cast<C>(static_cast<unsigned char>(c));
  }

  std::basic_string<C>& out_;
  const FormatArg* args_;
  std::size_t count_;
  std::size_t next_ = 0;
};

}  // namespace

void FormatInto(std::u16string& out, const char16_t* format, const FormatArg* args,
                std::size_t count) {
  if (format != nullptr) Formatter<char16_t>(out, args, count).Run(format);
}

void FormatInto(std::string& out, const char* format, const FormatArg* args, std::size_t count) {
  if (format != nullptr) Formatter<char>(out, args, count).Run(format);
}

}  // namespace zx::afx
