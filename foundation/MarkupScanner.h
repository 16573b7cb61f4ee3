// The token scanner under CMarkup: finding characters, skipping white space, reading tokens
// (names, single delimiters, quoted strings) and skipping the nodes that are not elements.
#pragma once
#include <windows.h>

#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

class CMarkupScanner {
 public:
  explicit CMarkupScanner(std::u16string_view doc, int position = 0) : doc_(doc), pos_(position) {}

  int Position() const { return pos_; }
  void MoveTo(int position) { pos_ = position; }

  // Moves to the next occurrence of ch; at the end of the text, false.
  bool FindChar(WCHAR ch) {
    pos_ = Find(doc_, pos_, ch);
    return pos_ < Length();
  }
  // Index of the first ch at or after `from`, or the length of the text.
  static int Find(std::u16string_view text, int from, WCHAR ch);
  // Index of the first delimiter at or after `from`, or the length of the text.
  static int FindDelimiter(std::u16string_view text, int from);
  // Moves over " \t\n\r"; false when no character remains.
  bool SkipWhiteSpace() {
    while (pos_ < Length() && IsWhiteSpace(doc_[pos_])) ++pos_;
    return pos_ < Length();
  }
  // Reads the next token: a quoted string (without its quotes), a single delimiter of
  // " \t\n\r<>=\/?!", or the run of characters up to one. False at the end of the text.
  bool NextToken();

  bool IsQuoted() const { return quoted_; }
  int TokenStart() const { return start_; }
  std::u16string_view Token() const;
  // An unquoted token of the one character ch.
  bool TokenIs(WCHAR ch) const { return !quoted_ && end_ == start_ && doc_[start_] == ch; }
  // The name begins with the token and goes on with nothing or one of " =/[".
  bool TokenMatches(std::u16string_view name) const;

  // Skips the node that starts with "<!" or "<?" at `lt`: processing instruction, character
  // data section, comment or document type declaration. False when it is not such a node
  // or its terminator is missing; on true the position is just after the node.
  bool SkipNode(int lt);

  // Whether "</name>" stands at `lt` of `doc`, written without blanks; `name` is a view into
  // `doc` ahead of `lt`.
  static bool ClosesWith(std::u16string_view doc, std::size_t lt, std::u16string_view name);

  // Asks for the text some way after `at` to be brought to the processor while the parse
  // goes on before it: a document is read once from start to end.
  static void ReadAhead(const WCHAR* at) {
#if defined(__SSE2__)
    _mm_prefetch(reinterpret_cast<const char*>(at) + 1024, _MM_HINT_T0);
#else
    (void)at;
#endif
  }
  // A character that begins a name token at once: no delimiter, no quote.
  // Most names begin with an ASCII letter, which is settled first.
  static bool StartsName(WCHAR ch) {
    if (static_cast<WCHAR>((ch | 0x20) - 'a') < 26) return true;
    return !IsDelimiter(ch) && ch != '"' && ch != '\'';
  }
  static bool IsWhiteSpace(WCHAR ch) {
    constexpr unsigned long long kBlanks = (1ull << ' ') | (1ull << '\t') | (1ull << '\n') | (1ull << '\r');
    return ch <= ' ' && (kBlanks >> ch & 1) != 0;
  }
  static bool IsDelimiter(WCHAR ch) {
    return ch < 0x80 && (kDelimiters[ch >> 5] & (1u << (ch & 31))) != 0;
  }

 private:
  // Bit sets of " \t\n\r<>=\/?!" over the ASCII range.
  static constexpr unsigned kDelimiters[4] = {
      (1u << '\t') | (1u << '\n') | (1u << '\r'),
      (1u << (' ' - 32)) | (1u << ('!' - 32)) | (1u << ('/' - 32)) | (1u << ('<' - 32)) | (1u << ('=' - 32)) |
          (1u << ('>' - 32)) | (1u << ('?' - 32)),
      1u << ('\\' - 64), 0};

  bool FindText(std::u16string_view text);
  int Length() const { return static_cast<int>(doc_.size()); }

  std::u16string_view doc_;
  int pos_;
  int start_ = 0;
  int end_ = -1;  // inclusive
  bool quoted_ = false;
};

inline int CMarkupScanner::Find(std::u16string_view text, int from, WCHAR ch) {
  const WCHAR* const begin = text.data();
  const WCHAR* const end = begin + text.size();
  const WCHAR* p = begin + from;
#if defined(__SSE2__)
  // Eight characters at a time: most of a document is text and blanks between tags.
  const __m128i wanted = _mm_set1_epi16(static_cast<short>(ch));
  for (; end - p >= 8; p += 8) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const int hits = _mm_movemask_epi8(_mm_cmpeq_epi16(block, wanted));
    if (hits != 0) return static_cast<int>(p - begin) + (__builtin_ctz(static_cast<unsigned>(hits)) >> 1);
  }
#endif
  for (; p < end; ++p) {
    if (*p == ch) return static_cast<int>(p - begin);
  }
  return static_cast<int>(text.size());
}

inline int CMarkupScanner::FindDelimiter(std::u16string_view text, int from) {
  const WCHAR* const begin = text.data();
  const WCHAR* const end = begin + text.size();
  const WCHAR* p = begin + from;
#if defined(__SSE2__)
  // Every delimiter is below "@" or is "\": eight characters at a time find the first one
  // that might be, which is then looked at alone.
  const __m128i below = _mm_set1_epi16(0x40);
  const __m128i backslash = _mm_set1_epi16('\\');
  const __m128i greater = _mm_set1_epi16('>');
  while (end - p >= 8) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i maybe = _mm_or_si128(_mm_cmplt_epi16(block, below), _mm_cmpeq_epi16(block, backslash));
    const int hits = _mm_movemask_epi8(maybe);
    if (hits == 0) {
      p += 8;
      continue;
    }
    const int first = __builtin_ctz(static_cast<unsigned>(hits));
    // Names mostly end at the ">" of their tag, which the block already shows.
    if ((_mm_movemask_epi8(_mm_cmpeq_epi16(block, greater)) >> first & 1) != 0)
      return static_cast<int>(p - begin) + (first >> 1);
    p += first >> 1;
    if (IsDelimiter(*p)) return static_cast<int>(p - begin);
    ++p;
  }
#endif
  for (; p < end; ++p) {
    if (IsDelimiter(*p)) return static_cast<int>(p - begin);
  }
  return static_cast<int>(text.size());
}

inline bool CMarkupScanner::ClosesWith(std::u16string_view doc, std::size_t lt, std::u16string_view name) {
  const std::size_t close = lt + 2 + name.size();
  if (close >= doc.size() || doc[lt + 1] != '/' || doc[close] != '>') return false;
  const WCHAR* const at = doc.data() + lt + 2;
  std::size_t i = 0;
#if defined(__SSE2__)
  // Eight characters at a time, the last block too while the text goes on that far: the name
  // stands before `at` in the same text, so it can be read as far.
  const auto differ = [at, &name](std::size_t from) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + from));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(name.data() + from));
    return ~static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(a, b))) & 0xFFFFu;
  };
  for (; name.size() - i >= 8; i += 8) {
    if (differ(i) != 0) return false;
  }
  if (i < name.size() && doc.size() - (lt + 2) - i >= 8) return (differ(i) & ((1u << (2 * (name.size() - i))) - 1)) == 0;
#endif
  for (; i < name.size(); ++i) {
    if (at[i] != name[i]) return false;
  }
  return true;
}
