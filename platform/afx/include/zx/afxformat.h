// The printf-style formatter behind CString::Format. Arguments are packed by type into
// FormatArg values, so the formatter always knows what it was given: a hostile format (from a
// file or a translation) can never read memory it was not handed. See afxstr.h for the rules.
#pragma once
#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <type_traits>
#include "wintypes.h"

namespace zx::afx {

struct FormatArg {
  enum class Kind : unsigned char { Signed, Unsigned, Real, Wide, Narrow, Pointer };
  Kind kind = Kind::Signed;
  unsigned char size = 0;       // bytes of an integer argument
  unsigned char charWidth = 0;  // 1 or 2 when the integer argument is a character type
  union {
    long long i;
    unsigned long long u;
    double d;
    const void* p;
    const char16_t* w;
    const char* n;
  } v{};
  std::size_t length = 0;  // units of a string argument (null pointer: "(null)")
};

template <class>
inline constexpr bool kUnsupportedFormatArg = false;

template <class C>
FormatArg MakeStringArg(const C* text, std::size_t length) {
  FormatArg a;
  a.kind = std::is_same_v<C, char> ? FormatArg::Kind::Narrow : FormatArg::Kind::Wide;
  if constexpr (std::is_same_v<C, char>) a.v.n = text;
  else a.v.w = text;
  a.length = length;
  return a;
}

template <class A>
FormatArg MakeFormatArg(const A& value) {
  using T = std::remove_cv_t<A>;
  if constexpr (std::is_pointer_v<std::decay_t<T>>)
    static_assert(!std::is_same_v<std::remove_cv_t<std::remove_pointer_t<std::decay_t<T>>>, wchar_t>,
                  "text is char16_t here (_T(\"...\") or u\"...\"), not wchar_t");
  FormatArg a;
  if constexpr (requires { typename T::XCHAR; value.GetString(); value.GetLength(); }) {
    return MakeStringArg(value.GetString(), static_cast<std::size_t>(value.GetLength()));
  } else if constexpr (std::is_same_v<T, std::u16string> || std::is_same_v<T, std::string> ||
                       std::is_same_v<T, std::u16string_view> ||
                       std::is_same_v<T, std::string_view>) {
    return MakeStringArg(value.data(), value.size());
  } else if constexpr (std::is_array_v<T> &&
                       (std::is_same_v<std::remove_cv_t<std::remove_extent_t<T>>, char16_t> ||
                        std::is_same_v<std::remove_cv_t<std::remove_extent_t<T>>, char>)) {
    // A character array: up to its terminator, never past its end.
    using C = std::remove_cv_t<std::remove_extent_t<T>>;
    const std::basic_string_view<C> whole(value, std::extent_v<T>);
    return MakeStringArg(value, std::min(whole.find(C{}), whole.size()));
  } else if constexpr (std::is_pointer_v<T> &&
                       (std::is_same_v<std::remove_cv_t<std::remove_pointer_t<T>>, char16_t> ||
                        std::is_same_v<std::remove_cv_t<std::remove_pointer_t<T>>, char>)) {
    using C = std::remove_cv_t<std::remove_pointer_t<T>>;
    return MakeStringArg<C>(value, value == nullptr ? 0 : std::char_traits<C>::length(value));
  } else if constexpr (std::is_pointer_v<T> || std::is_null_pointer_v<T>) {
    a.kind = FormatArg::Kind::Pointer;
    a.v.p = reinterpret_cast<const void*>(value);
    a.size = sizeof(void*);
  } else if constexpr (std::is_enum_v<T>) {
    return MakeFormatArg(static_cast<std::underlying_type_t<T>>(value));
  } else if constexpr (std::is_same_v<T, bool>) {
    a.v.i = value ? 1 : 0;
    a.size = sizeof(int);
  } else if constexpr (std::is_integral_v<T>) {
    a.size = sizeof(T);
    if constexpr (std::is_same_v<T, char>) a.charWidth = 1;
    if constexpr (std::is_same_v<T, char16_t>) a.charWidth = 2;
    if constexpr (std::is_signed_v<T>) {
      a.v.i = value;
    } else {
      a.kind = FormatArg::Kind::Unsigned;
      a.v.u = value;
    }
  } else if constexpr (std::is_floating_point_v<T>) {
    a.kind = FormatArg::Kind::Real;
    a.v.d = static_cast<double>(value);
  } else {
    static_assert(kUnsupportedFormatArg<T>, "CString::Format cannot print this type");
  }
  return a;
}

// Formats into out (appending). A null format reads as empty.
void FormatInto(std::u16string& out, const char16_t* format, const FormatArg* args,
                std::size_t count);
void FormatInto(std::string& out, const char* format, const FormatArg* args, std::size_t count);

}  // namespace zx::afx
