// HTML to styled pieces: tags change a stack of styles, text is decoded (entities) and cut
// into words and single spaces, <br> and <p> give line breaks.
#include <algorithm>
#include <cstdint>

#include "htmltext.h"

namespace zx::html {
namespace {

struct Open {
  std::u16string tag;
  Style style;
};

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

std::u16string Lowered(std::u16string s) {
  for (char16_t& c : s) c = Lower(c);
  return s;
}

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

}  // namespace

Tag ReadTag(const std::u16string& inside) {
  Tag tag;
  std::size_t i = 0;
  auto skipSpaces = [&] { while (i < inside.size() && IsSpace(inside[i])) ++i; };
  skipSpaces();
  if (i < inside.size() && inside[i] == u'/') {
    tag.closing = true;
    ++i;
  }
  while (i < inside.size() && !IsSpace(inside[i]) && inside[i] != u'/') tag.name += Lower(inside[i++]);
  for (;;) {
    skipSpaces();
    std::u16string name;
    while (i < inside.size() && !IsSpace(inside[i]) && inside[i] != u'=' && inside[i] != u'/') name += Lower(inside[i++]);
    if (name.empty()) break;
    skipSpaces();
    std::u16string value;
    if (i < inside.size() && inside[i] == u'=') {
      ++i;
      skipSpaces();
      const char16_t quote = i < inside.size() && (inside[i] == u'"' || inside[i] == u'\'') ? inside[i] : 0;
      if (quote) ++i;
      while (i < inside.size() && (quote ? inside[i] != quote : !IsSpace(inside[i]))) value += inside[i++];
      if (quote && i < inside.size()) ++i;
    }
    tag.attributes.emplace_back(name, value);
  }
  if (i < inside.size() && inside[i] == u'/') ++i;
  return tag;
}

namespace {

// A number in base 10 or 16 (at most 0xFFFFFFF); *ok false for anything else.
long Digits(const std::u16string& s, int base, bool* ok) {
  long value = 0;
  *ok = !s.empty();
  for (char16_t c : s) {
    int d = -1;
    if (c >= u'0' && c <= u'9') d = c - u'0';
    else if (base == 16 && Lower(c) >= u'a' && Lower(c) <= u'f') d = Lower(c) - u'a' + 10;
    if (d < 0 || value > 0xFFFFFF) {
      *ok = false;
      return 0;
    }
    value = value * base + d;
  }
  return value;
}

void AppendCodePoint(std::u16string& out, int cp) {
  if (cp < 0x10000) {
    out += static_cast<char16_t>(cp);
  } else {
    cp -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (cp >> 10));
    out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
  }
}

// Decodes the entity at text[i] (an '&'); answers the characters it took (0: not an entity).
std::size_t Entity(const std::u16string& text, std::size_t i, std::u16string& out) {
  const std::size_t end = text.find(u';', i);
  if (end == std::u16string::npos || end - i > 10) return 0;
  const std::u16string name = text.substr(i + 1, end - i - 1);
  static const std::pair<const char16_t*, char16_t> kNamed[] = {
      {u"amp", u'&'}, {u"lt", u'<'}, {u"gt", u'>'}, {u"quot", u'"'}, {u"apos", u'\''},
      {u"nbsp", 0xA0}, {u"copy", 0xA9}, {u"reg", 0xAE}};
  for (const auto& [n, c] : kNamed)
    if (name == n) {
      out += c;
      return end - i + 1;
    }
  if (name.size() > 1 && name[0] == u'#') {
    bool ok = false;
    const bool hex = Lower(name[1]) == u'x';
    const long cp = Digits(name.substr(hex ? 2 : 1), hex ? 16 : 10, &ok);
    if (!ok || cp <= 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    AppendCodePoint(out, static_cast<int>(cp));
    return end - i + 1;
  }
  return 0;
}

}  // namespace

std::u16string Decoded(const std::u16string& text) {
  std::u16string out;
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] == u'&')
      if (const std::size_t took = Entity(text, i, out)) {
        i += took;
        continue;
      }
    out += text[i++];
  }
  return out;
}

namespace {

bool ReadColour(const std::u16string& value, COLORREF* colour) {
  static const std::pair<const char16_t*, COLORREF> kNames[] = {
      {u"black", RGB(0, 0, 0)},       {u"white", RGB(255, 255, 255)}, {u"red", RGB(255, 0, 0)},
      {u"green", RGB(0, 128, 0)},     {u"blue", RGB(0, 0, 255)},      {u"gray", RGB(128, 128, 128)},
      {u"grey", RGB(128, 128, 128)},  {u"navy", RGB(0, 0, 128)},      {u"maroon", RGB(128, 0, 0)},
      {u"yellow", RGB(255, 255, 0)},  {u"silver", RGB(192, 192, 192)}, {u"orange", RGB(255, 165, 0)}};
  const std::u16string lower = Lowered(value);
  for (const auto& [name, c] : kNames)
    if (lower == name) {
      *colour = c;
      return true;
    }
  const std::u16string hex = !lower.empty() && lower[0] == u'#' ? lower.substr(1) : lower;
  bool ok = false;
  const long rgb = hex.size() == 6 ? Digits(hex, 16, &ok) : 0;
  if (!ok) return false;
  *colour = RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
  return true;
}

// "9pt", "12px" or an HTML size 1 to 7 as a LOGFONT height.
bool ReadSize(const std::u16string& value, LONG* height) {
  static constexpr int kPoints[] = {8, 10, 12, 14, 18, 24, 36};
  const std::u16string lower = Lowered(value);
  std::size_t digits = 0;
  while (digits < lower.size() && lower[digits] >= u'0' && lower[digits] <= u'9') ++digits;
  bool ok = false;
  const long n = digits ? Digits(lower.substr(0, digits), 10, &ok) : 0;
  if (!ok || n > 500) return false;
  const std::u16string unit = lower.substr(digits);
  if (unit == u"pt") *height = -((n * 96 + 36) / 72);
  else if (unit == u"px") *height = -n;
  else if (unit.empty() && n >= 1 && n <= 7) *height = -((kPoints[n - 1] * 96 + 36) / 72);
  else return false;
  return true;
}

class Builder {
 public:
  explicit Builder(const Style& base) { open_.push_back(Open{u"", base}); }

  void OnTag(const Tag& tag) {
    const std::u16string& n = tag.name;
    if (n == u"br") return Break();
    if (n == u"p") return Paragraph();
    if (tag.closing) return Close(n);
    Style s = open_.back().style;
    if (n == u"b" || n == u"strong") s.bold = true;
    else if (n == u"i" || n == u"em") s.italic = true;
    else if (n == u"u") s.underline = true;
    else if (n == u"a") {
      s.underline = true;
      s.colour = RGB(0, 0, 255);
    } else if (n == u"zxel") {
      for (const auto& [name, value] : tag.attributes) {
        bool ok = false;
        const long element = name == u"n" ? Digits(value, 10, &ok) : 0;
        if (ok) s.element = static_cast<int>(element);
      }
    } else if (n == u"font") {
      for (const auto& [name, value] : tag.attributes) {
        if (name == u"face" && !value.empty()) s.face = value.substr(0, value.find(u','));
        if (name == u"size") ReadSize(value, &s.height);
        if (name == u"color") ReadColour(value, &s.colour);
      }
    } else {
      return;  // tags outside the subset change nothing
    }
    open_.push_back(Open{n, s});
  }

  void OnText(const std::u16string& raw) {
    const std::u16string text = Decoded(raw);
    std::u16string word;
    for (char16_t c : text) {
      if (!IsSpace(c)) {
        word += c;
        continue;
      }
      Word(word);
      word.clear();
      Space();
    }
    Word(word);
  }

  std::vector<Piece> Take() { return std::move(pieces_); }

 private:
  const Style& Current() const { return open_.back().style; }

  void Word(const std::u16string& word) {
    if (!word.empty()) pieces_.push_back(Piece{word, Current(), false, false});
  }

  void Space() {
    if (pieces_.empty() || pieces_.back().space || pieces_.back().lineBreak) return;
    pieces_.push_back(Piece{u" ", Current(), true, false});
  }

  void Break() {
    if (!pieces_.empty() && pieces_.back().space) pieces_.pop_back();
    pieces_.push_back(Piece{u"", Current(), false, true});
  }

  // A paragraph starts on a line of its own after one empty line (none at the start).
  void Paragraph() {
    if (!pieces_.empty() && pieces_.back().space) pieces_.pop_back();
    if (pieces_.empty()) return;
    int breaks = 0;
    for (auto it = pieces_.rbegin(); it != pieces_.rend() && it->lineBreak; ++it) ++breaks;
    for (; breaks < 2; ++breaks) Break();
  }

  void Close(const std::u16string& name) {
    for (std::size_t i = open_.size(); i-- > 1;)
      if (open_[i].tag == name) {
        open_.resize(i);
        return;
      }
  }

  std::vector<Open> open_;
  std::vector<Piece> pieces_;
};

}  // namespace

std::vector<Piece> Parse(const std::u16string& html, const Style& base) {
  Builder builder(base);
  std::size_t i = 0;
  while (i < html.size()) {
    const std::size_t open = html.find(u'<', i);
    const std::size_t close = open == std::u16string::npos ? open : html.find(u'>', open);
    if (open == std::u16string::npos || close == std::u16string::npos) {
      builder.OnText(html.substr(i));
      break;
    }
    builder.OnText(html.substr(i, open - i));
    const std::u16string inside = html.substr(open + 1, close - open - 1);
    if (inside.rfind(u"!--", 0) != 0) builder.OnTag(ReadTag(inside));
    i = close + 1;
  }
  return builder.Take();
}

}  // namespace zx::html
