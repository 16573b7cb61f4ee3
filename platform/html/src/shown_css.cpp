// The page's CSS as the layout is given it: comments out, table displays as blocks.
#include "shown_css.h"

#include "zx/casefold.h"

namespace zx::html {
namespace {

bool IsNameChar(char16_t c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c >= 0x80;
}

bool IsBlank(char16_t c) { return c <= 0x20; }

// Whether `text` holds `lower` (lower-case ASCII) with "A" to "Z" folded.
bool HoldsFolded(std::u16string_view text, std::u16string_view lower) {
  for (std::size_t at = 0; at + lower.size() <= text.size(); ++at)
    if (zx::MatchesLowerAscii(text.data() + at, lower.data(), lower.size())) return true;
  return false;
}

// The text with a blank for each comment: no name or value is read joined across one, and no
// end tag of the style sheet comes of the characters around one.
std::u16string WithoutComments(std::u16string_view css) {
  std::u16string out;
  out.reserve(css.size());
  for (std::size_t at = 0; at < css.size();) {
    if (css.substr(at, 2) == u"/*") {
      const std::size_t end = css.find(u"*/", at + 2);
      if (end == std::u16string_view::npos) break;
      out += u' ';
      at = end + 2;
      continue;
    }
    out += css[at++];
  }
  return out;
}

}  // namespace

std::u16string ShownCss(std::u16string_view css) {
  std::u16string text = WithoutComments(css);
  constexpr std::u16string_view kName = u"display";
  for (std::size_t at = 0; at + kName.size() <= text.size(); ++at) {
    // A name of its own: "display" not within a longer name.
    if ((at > 0 && IsNameChar(text[at - 1])) || !zx::MatchesLowerAscii(text.data() + at, kName.data(), kName.size())) continue;
    std::size_t colon = at + kName.size();
    while (colon < text.size() && IsBlank(text[colon])) ++colon;
    if (colon == text.size() || text[colon] != ':') continue;
    // The value runs to the end of its declaration.
    const std::size_t value = colon + 1;
    std::size_t end = value;
    while (end < text.size() && text[end] != ';' && text[end] != '{' && text[end] != '}') ++end;
    const std::u16string_view shown(text.data() + value, end - value);
    if (!HoldsFolded(shown, u"table") && shown.find(u'\\') == std::u16string_view::npos) continue;
    const std::u16string block = HoldsFolded(shown, u"!important") ? u" block !important" : u" block";
    text.replace(value, end - value, block);
    at = value + block.size() - 1;
  }
  return text;
}

}  // namespace zx::html
