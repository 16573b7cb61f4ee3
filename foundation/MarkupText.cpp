// Element data of CMarkup: escaping values on writing and unescaping data on reading.
#include "MarkupText.h"

#include <algorithm>
#include <string>

#include "MarkupScanner.h"

namespace {

std::u16string_view View(const CString& text) { return {text.GetString(), static_cast<std::size_t>(text.GetLength())}; }

constexpr std::u16string_view kCDataOpen = u"<![CDATA[";
constexpr std::u16string_view kCDataClose = u"]]>";

struct Entity {
  std::u16string_view name;  // after the "&", with the ";"
  WCHAR character;
};

// Tried in this order.
constexpr Entity kEntities[] = {{u"lt;", '<'}, {u"amp;", '&'}, {u"gt;", '>'}, {u"apos;", '\''}, {u"quot;", '"'}};

CString ToCString(const std::u16string& text) { return CString(text.c_str(), static_cast<int>(text.size())); }

// Whether some entity's name begins with `ch`: after any other character an "&" stays.
bool StartsEntity(WCHAR ch) {
  return std::any_of(std::begin(kEntities), std::end(kEntities), [ch](const Entity& entity) { return entity.name[0] == ch; });
}

// The first "&" at or after `from`, npos for none; eight characters at a time.
std::size_t FindAmpersand(std::u16string_view text, std::size_t from) {
  const auto at = static_cast<std::size_t>(CMarkupScanner::Find(text, static_cast<int>(from), '&'));
  return at < text.size() ? at : std::u16string_view::npos;
}

// The text unescaped into `result`, the first "&" that may begin an entity at `amp`. The text
// only shrinks: it is written straight into the result's buffer. Kept apart from the plain
// copy that most data takes.
[[gnu::noinline]] void UnescapeFrom(std::u16string_view text, std::size_t amp, CString& result) {
  WCHAR* const out = result.GetBufferSetLength(static_cast<int>(text.size()));
  std::size_t written = 0;
  std::size_t i = 0;
  for (;;) {
    const std::size_t run = (amp == std::u16string_view::npos ? text.size() : amp) - i;
    std::copy_n(text.data() + i, run, out + written);
    written += run;
    if (amp == std::u16string_view::npos) break;
    i = amp + 1;
    WCHAR replacement = '&';
    if (i < text.size() && StartsEntity(text[i])) {
      for (const Entity& entity : kEntities) {
        if (text.substr(i, entity.name.size()) == entity.name) {
          replacement = entity.character;
          i += entity.name.size();
          break;
        }
      }
    }
    out[written++] = replacement;
    amp = FindAmpersand(text, i);
  }
  result.ReleaseBufferSetLength(static_cast<int>(written));
}

}  // namespace

CString EscapeMarkupText(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size() + text.size() / 10 + 7);
  for (const WCHAR ch : text) {
    switch (ch) {
      case '<': out += u"&lt;"; break;
      case '&': out += u"&amp;"; break;
      case '>': out += u"&gt;"; break;
      default: out += ch; break;
    }
  }
  return ToCString(out);
}

// The first "&" that may begin an entity, npos for none: an "&" before no entity's first
// letter stays as it is.
std::size_t FirstEntity(std::u16string_view text) {
  std::size_t amp = FindAmpersand(text, 0);
  while (amp != std::u16string_view::npos && !(amp + 1 < text.size() && StartsEntity(text[amp + 1])))
    amp = FindAmpersand(text, amp + 1);
  return amp;
}

void UnescapeMarkupText(std::u16string_view text, CString& result) {
  // Data with no entity is copied.
  const std::size_t amp = FirstEntity(text);
  if (amp == std::u16string_view::npos) {
    // Emptied and appended to: a plain copy, where setting the text would first make sure the
    // data is not its own.
    result.Empty();
    result.Append(text.data(), static_cast<int>(text.size()));
    return;
  }
  UnescapeFrom(text, amp, result);
}

namespace {

// The data of a leaf that is one CDATA section (blanks before it allowed) into `text`; false,
// with `text` untouched, for any other data.
bool ReadCDataSection(std::u16string_view doc, const CMarkup::ElemPos& pos, CString& text) {
  const int end = pos.nEndL;
  CMarkupScanner scanner(doc, pos.nStartR + 1);
  scanner.SkipWhiteSpace();
  const int first = scanner.Position();
  if (end - first < 12 || doc.substr(static_cast<std::size_t>(first), kCDataOpen.size()) != kCDataOpen) return false;
  const std::size_t close = doc.find(kCDataClose, static_cast<std::size_t>(first) + kCDataOpen.size());
  if (close == std::u16string_view::npos || close + kCDataClose.size() > static_cast<std::size_t>(end)) return false;
  const std::size_t data = static_cast<std::size_t>(first) + kCDataOpen.size();
  text.SetString(doc.data() + data, static_cast<int>(close - data));
  return true;
}

}  // namespace

std::u16string_view ReadMarkupLeafView(std::u16string_view doc, const CMarkup::ElemPos& pos, CString& scratch) {
  if (pos.IsEmptyElement()) return {};
  const std::size_t start = static_cast<std::size_t>(pos.nStartR) + 1;
  const std::u16string_view data = doc.substr(start, static_cast<std::size_t>(pos.nEndL) - start);
  // Data that begins with neither a blank nor "<" is no CDATA section.
  const WCHAR lead = doc[start];
  if (lead == '<' || CMarkupScanner::IsWhiteSpace(lead)) {
    if (ReadCDataSection(doc, pos, scratch)) return View(scratch);
  } else if (FirstEntity(data) == std::u16string_view::npos) {
    return data;
  }
  UnescapeMarkupText(data, scratch);
  return View(scratch);
}

void ReadMarkupLeafData(std::u16string_view doc, const CMarkup::ElemPos& pos, CString& text) {
  const std::u16string_view data = ReadMarkupLeafView(doc, pos, text);
  if (data.data() == text.GetString()) return;
  text.Empty();
  if (!data.empty()) text.Append(data.data(), static_cast<int>(data.size()));
}
