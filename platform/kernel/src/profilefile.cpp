// Ini files in memory: decoding by byte-order mark, the line grammar (sections, "key=value",
// ';' comments) and the edits WritePrivateProfileString and its kin make.
#include "profilefile.h"

#include "kerneltext.h"
#include "zx/casefold.h"

namespace zx::profile {
namespace {

using View = std::u16string_view;

View Trim(View text) {
  while (!text.empty() && (text.front() == u' ' || text.front() == u'\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == u' ' || text.back() == u'\t')) text.remove_suffix(1);
  return text;
}

bool Same(View a, View b) { return CompareNoCase(a.data(), a.size(), b.data(), b.size()) == 0; }

// "[name]" -> name.
std::optional<View> SectionOf(View line) {
  const View text = Trim(line);
  const std::size_t close = text.find(u']');
  if (text.empty() || text.front() != u'[' || close == View::npos) return std::nullopt;
  return Trim(text.substr(1, close - 1));
}

struct Entry {
  View key;
  View value;
};

// "key = value" -> key, value; comments, section headers and lines without '=' are none.
std::optional<Entry> EntryOf(View line) {
  const View text = Trim(line);
  const std::size_t equals = text.find(u'=');
  if (text.empty() || text.front() == u';' || text.front() == u'[' || equals == View::npos) return std::nullopt;
  return Entry{Trim(text.substr(0, equals)), Trim(text.substr(equals + 1))};
}

View Unquote(View value) {
  if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

void AddOnce(std::vector<std::u16string>& names, View name) {
  for (const std::u16string& known : names)
    if (Same(known, name)) return;
  names.emplace_back(name);
}

std::u16string Header(View section) { return u"[" + std::u16string(section) + u"]"; }

std::u16string Line(View key, View value) { return std::u16string(key) + u"=" + std::u16string(value); }

}  // namespace

IniFile IniFile::Decode(std::string_view bytes) {
  IniFile ini;
  std::u16string text;
  if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
    ini.encoding_ = Encoding::Utf16;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
      text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8);
  } else if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    ini.encoding_ = Encoding::Utf8;
    text = text::FromUtf8(bytes.substr(3));
  } else {
    text = text::FromAnsi(bytes);
  }
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of(u"\r\n", start);
    if (end == std::u16string::npos) end = text.size();
    ini.lines_.push_back(text.substr(start, end - start));
    start = end + (text.compare(end, 2, u"\r\n") == 0 ? 2 : 1);
  }
  return ini;
}

std::string IniFile::Encode() const {
  std::u16string text;
  for (const std::u16string& line : lines_) text += line + u"\r\n";
  switch (encoding_) {
    case Encoding::Utf16: {
      std::string bytes = "\xFF\xFE";
      for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
      }
      return bytes;
    }
    case Encoding::Utf8: return "\xEF\xBB\xBF" + text::ToUtf8(text);
    case Encoding::Ansi: break;
  }
  return text::ToAnsi(text);
}

std::optional<IniFile::Range> IniFile::FindSection(View section) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const auto name = SectionOf(lines_[i]);
    if (!name || !Same(*name, section)) continue;
    std::size_t end = i + 1;
    while (end < lines_.size() && !SectionOf(lines_[end])) ++end;
    return Range{i, end};
  }
  return std::nullopt;
}

std::optional<std::size_t> IniFile::FindKey(const Range& range, View key) const {
  for (std::size_t i = range.header + 1; i < range.end; ++i) {
    const auto entry = EntryOf(lines_[i]);
    if (entry && Same(entry->key, key)) return i;
  }
  return std::nullopt;
}

std::vector<std::u16string> IniFile::SectionNames() const {
  std::vector<std::u16string> names;
  for (const std::u16string& line : lines_)
    if (const auto name = SectionOf(line)) AddOnce(names, *name);
  return names;
}

std::vector<std::u16string> IniFile::KeyNames(View section) const {
  std::vector<std::u16string> names;
  if (const auto range = FindSection(section))
    for (std::size_t i = range->header + 1; i < range->end; ++i)
      if (const auto entry = EntryOf(lines_[i])) AddOnce(names, entry->key);
  return names;
}

std::optional<std::u16string> IniFile::Value(View section, View key) const {
  const auto range = FindSection(section);
  const auto line = range ? FindKey(*range, key) : std::nullopt;
  if (!line) return std::nullopt;
  return std::u16string(Unquote(EntryOf(lines_[*line])->value));
}

std::vector<std::u16string> IniFile::SectionLines(View section) const {
  std::vector<std::u16string> lines;
  if (const auto range = FindSection(section))
    for (std::size_t i = range->header + 1; i < range->end; ++i)
      if (EntryOf(lines_[i])) lines.emplace_back(Trim(lines_[i]));
  return lines;
}

void IniFile::SetValue(View section, View key, View value) {
  const auto range = FindSection(section);
  if (!range) {
    lines_.push_back(Header(section));
    lines_.push_back(Line(key, value));
    return;
  }
  if (const auto line = FindKey(*range, key)) {
    lines_[*line] = Line(key, value);
    return;
  }
  // After the section's last non-blank line, so blank separators stay where they are.
  std::size_t at = range->end;
  while (at > range->header + 1 && Trim(lines_[at - 1]).empty()) --at;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), Line(key, value));
}

bool IniFile::DeleteKey(View section, View key) {
  const auto range = FindSection(section);
  const auto line = range ? FindKey(*range, key) : std::nullopt;
  if (!line) return false;
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*line));
  return true;
}

bool IniFile::DeleteSection(View section) {
  const auto range = FindSection(section);
  if (!range) return false;
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(range->header),
               lines_.begin() + static_cast<std::ptrdiff_t>(range->end));
  return true;
}

void IniFile::ReplaceSection(View section, const std::vector<std::u16string>& lines) {
  std::size_t at = lines_.size();
  if (const auto range = FindSection(section)) {
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(range->header + 1),
                 lines_.begin() + static_cast<std::ptrdiff_t>(range->end));
    at = range->header + 1;
  } else {
    lines_.push_back(Header(section));
    at = lines_.size();
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), lines.begin(), lines.end());
}

}  // namespace zx::profile
