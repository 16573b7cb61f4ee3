// The class library's strings: CString (UTF-16 text over WCHAR) and CStringA (narrow text in
// Windows-1252, the fixed ANSI code page). Value types; converting between the two widths
// goes through code page 1252 (unmappable characters become '?').
//
// Format / AppendFormat take their arguments as a type-checked pack, not as C varargs:
//   %s, %S   a string argument of either width (CString, CStringA, LPCWSTR, LPCSTR, a character
//            array, std::u16string ...), converted to the string's own width; a null pointer
//            prints "(null)". A number prints as a number (%d or %g).
//   %c, %C   a character: a char or WCHAR argument keeps its own width; another integer is a
//            unit of the width the conversion names (%c the string's own, %C the other);
//            either is converted through 1252 to the string's width.
//   %d %i %u %x %X %o   integers of any width; size prefixes h, l, ll, I64, I32, I, z, j, t
//            are accepted. An argument of up to 32 bits is printed as the 32-bit (or, with h,
//            16-bit) value printf would see; a 64-bit argument prints in full. A real argument
//            prints its integral part.
//   %f %e %E %g %G %a %A   reals; an integer argument is converted to a real.
//   %p       a pointer as 16 upper-case hex digits; %%  a percent sign.
//   Flags - + space # 0, width and precision (also as *, taken from an integer argument) work
//   as in printf; width and precision are capped at 4096.
// Hostile formats are harmless: a conversion with no argument left, or with an argument it
// cannot print (a string to %d, a pointer to %s), prints nothing and uses the argument up;
// %n prints nothing and writes nothing; an unknown conversion is copied as it stands.
// Arguments of other types (structs, wchar_t text) do not compile.
#pragma once
#include <compare>
#include <string>
#include <type_traits>
#include <utility>
#include "wintypes.h"
#include "zx/afxformat.h"

template <class T>
class CStringT;
using CStringW = CStringT<WCHAR>;
using CStringA = CStringT<char>;
using CString = CStringW;

template <class T>
class CStringT {
 public:
  using XCHAR = T;
  using PXSTR = T*;
  using PCXSTR = const T*;
  using YCHAR = std::conditional_t<std::is_same_v<T, char>, WCHAR, char>;
  using PCYSTR = const YCHAR*;

  CStringT() = default;
  CStringT(PCXSTR text);  // null reads as empty
  CStringT(PCYSTR text);  // converted through code page 1252
  CStringT(PCXSTR text, int length);
  CStringT(PCYSTR text, int length);
  explicit CStringT(XCHAR ch, int repeat = 1);
  CStringT(const CStringT<YCHAR>& other);
  // Takes the units of a standard string without a copy.
  explicit CStringT(std::basic_string<T>&& text) noexcept : text_(std::move(text)) {}

  CStringT& operator=(PCXSTR text);
  CStringT& operator=(PCYSTR text);
  CStringT& operator=(XCHAR ch);
  CStringT& operator=(YCHAR ch);
  CStringT& operator=(const CStringT<YCHAR>& other);
  CStringT& operator+=(const CStringT& text);
  CStringT& operator+=(PCXSTR text);
  CStringT& operator+=(PCYSTR text);
  CStringT& operator+=(XCHAR ch);
  CStringT& operator+=(YCHAR ch);

  // Length and element access. Out-of-range indexes throw CInvalidArgException*.
  int GetLength() const noexcept { return static_cast<int>(text_.size()); }
  bool IsEmpty() const noexcept { return text_.empty(); }
  void Empty() noexcept { text_.clear(); }
  XCHAR GetAt(int index) const;
  void SetAt(int index, XCHAR ch);
  XCHAR operator[](int index) const { return GetAt(index); }
  operator PCXSTR() const noexcept { return text_.c_str(); }
  PCXSTR GetString() const noexcept { return text_.c_str(); }

  // Direct buffer access: the buffer holds at least minLength units plus a terminator and
  // stays valid until ReleaseBuffer, which sets the length (-1: up to the first terminator).
  PXSTR GetBuffer();
  PXSTR GetBuffer(int minLength);
  PXSTR GetBufferSetLength(int length);
  void ReleaseBuffer(int newLength = -1);
  void ReleaseBufferSetLength(int newLength);
  void Preallocate(int length);
  void FreeExtra() { text_.shrink_to_fit(); }

  void SetString(PCXSTR text);
  void SetString(PCXSTR text, int length);
  void Append(PCXSTR text);
  void Append(PCXSTR text, int length);
  void Append(const CStringT& text) { text_ += text.text_; }
  void AppendChar(XCHAR ch) { text_ += ch; }

  // Ordinal compare (<0, 0, >0); CompareNoCase folds case first (see zx/casefold.h).
  int Compare(PCXSTR text) const;
  int CompareNoCase(PCXSTR text) const;

  // Searching: -1 when nothing is found or the start lies outside the string.
  int Find(XCHAR ch, int start = 0) const;
  int Find(PCXSTR sub, int start = 0) const;
  int ReverseFind(XCHAR ch) const;
  int FindOneOf(PCXSTR charSet) const;

  // Extraction; counts and positions are clamped to the string.
  CStringT Mid(int first) const;
  CStringT Mid(int first, int count) const;
  CStringT Left(int count) const;
  CStringT Right(int count) const;
  CStringT SpanIncluding(PCXSTR charSet) const;
  CStringT SpanExcluding(PCXSTR charSet) const;
  // The next token after start, skipping leading delimiters; start moves past it, or to -1
  // (with an empty result) when no token is left. With no delimiters the rest of the string
  // is the one token.
  CStringT Tokenize(PCXSTR tokens, int& start) const;

  CStringT& MakeUpper();
  CStringT& MakeLower();
  CStringT& MakeReverse();
  // Trimming: white space (tab to carriage return, space), one character, or a set.
  CStringT& Trim();
  CStringT& Trim(XCHAR target);
  CStringT& Trim(PCXSTR targets);
  CStringT& TrimLeft();
  CStringT& TrimLeft(XCHAR target);
  CStringT& TrimLeft(PCXSTR targets);
  CStringT& TrimRight();
  CStringT& TrimRight(XCHAR target);
  CStringT& TrimRight(PCXSTR targets);

  // Editing; each answers the number of replacements/removals or the new length.
  int Replace(XCHAR oldCh, XCHAR newCh);
  int Replace(PCXSTR oldText, PCXSTR newText);
  int Remove(XCHAR ch);
  int Insert(int index, XCHAR ch);
  int Insert(int index, PCXSTR text);
  int Delete(int index, int count = 1);

  template <class... A>
  void Format(PCXSTR format, const A&... args) {
    *this = Formatted(format, {zx::afx::MakeFormatArg(args)...});
  }
  template <class... A>
  void AppendFormat(PCXSTR format, const A&... args) {
    text_ += Formatted(format, {zx::afx::MakeFormatArg(args)...}).text_;
  }

  friend bool operator==(const CStringT& a, const CStringT& b) noexcept { return a.text_ == b.text_; }
  friend bool operator==(const CStringT& a, PCXSTR b) { return a.Compare(b) == 0; }
  friend bool operator==(const CStringT& a, XCHAR b) { return a.text_.size() == 1 && a.text_[0] == b; }
  friend std::strong_ordering operator<=>(const CStringT& a, const CStringT& b) {
    return a.Compare(b.GetString()) <=> 0;
  }
  friend std::strong_ordering operator<=>(const CStringT& a, PCXSTR b) { return a.Compare(b) <=> 0; }

  friend CStringT operator+(const CStringT& a, const CStringT& b) { return Joined(a, b.text_); }
  friend CStringT operator+(const CStringT& a, PCXSTR b) { return Joined(a, View(b)); }
  friend CStringT operator+(PCXSTR a, const CStringT& b) { return Joined(CStringT(a), b.text_); }
  friend CStringT operator+(const CStringT& a, XCHAR b) { return Joined(a, std::basic_string_view<T>(&b, 1)); }
  friend CStringT operator+(XCHAR a, const CStringT& b) { return Joined(CStringT(a), b.text_); }

 private:
  static std::basic_string_view<T> View(PCXSTR text);
  static CStringT Joined(const CStringT& a, std::basic_string_view<T> b);
  static CStringT Formatted(PCXSTR format, std::initializer_list<zx::afx::FormatArg> args);

  std::basic_string<T> text_;
};

extern template class CStringT<WCHAR>;
extern template class CStringT<char>;
