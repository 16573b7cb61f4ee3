// An ini file in memory: its lines as written and the encoding to write them back in, with
// the lookups and edits of the private-profile functions. Kernel-internal.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zx::profile {

enum class Encoding { Ansi, Utf8, Utf16 };

class IniFile {
 public:
  // UTF-16LE or UTF-8 after their byte-order mark, else Windows-1252.
  static IniFile Decode(std::string_view bytes);
  // Every line ends in CR LF; the encoding (and mark) the file was read in.
  std::string Encode() const;

  // Names of sections, and of a section's keys, each once in file order.
  std::vector<std::u16string> SectionNames() const;
  std::vector<std::u16string> KeyNames(std::u16string_view section) const;
  // Blanks around the value trimmed and a pair of matching quotes removed.
  std::optional<std::u16string> Value(std::u16string_view section, std::u16string_view key) const;
  // The section's "key=value" lines, trimmed.
  std::vector<std::u16string> SectionLines(std::u16string_view section) const;

  void SetValue(std::u16string_view section, std::u16string_view key, std::u16string_view value);
  // False when there was nothing to delete.
  bool DeleteKey(std::u16string_view section, std::u16string_view key);
  bool DeleteSection(std::u16string_view section);
  void ReplaceSection(std::u16string_view section, const std::vector<std::u16string>& lines);

 private:
  struct Range {
    std::size_t header;  // line of "[section]"
    std::size_t end;     // first line past the section
  };
  std::optional<Range> FindSection(std::u16string_view section) const;
  std::optional<std::size_t> FindKey(const Range& range, std::u16string_view key) const;

  Encoding encoding_ = Encoding::Ansi;
  std::vector<std::u16string> lines_;
};

}  // namespace zx::profile
