// Fuzz target: hostile bytes as an ini file (ANSI, UTF-8 or UTF-16 by its mark), read by the
// private-profile decoder and through GetPrivateProfileString as the programs read their ini
// files, and by the text reader CIniReader. The decoded file written back must decode to the
// same sections, keys and values; every answer of the profile calls is terminated within
// its buffer and agrees with the decoder; a value written is read back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "../foundation/IniReader.h"
#include "../platform/kernel/src/profilefile.h"
#include "fuzz_support.h"
#include "profileapi.h"

namespace {

using zx::profile::IniFile;

constexpr std::size_t kCompared = 3;
constexpr std::size_t kLongest = 2048;

// Every section's keys, and the values of the first few, in file order (each value lookup
// walks the file).
std::vector<std::u16string> Contents(const IniFile& ini) {
  std::vector<std::u16string> all;
  std::size_t values = 0;
  for (const auto& section : ini.SectionNames()) {
    all.push_back(u"[" + section);
    for (const auto& key : ini.KeyNames(section))
      all.push_back(key + u"=" + (values++ < 32 ? ini.Value(section, key).value_or(u"-") : u""));
  }
  return all;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Lookups walk the file line by line for each name: longer files only cost time.
  if (size > kLongest) return 0;
  zx::fuzz::ScratchRoot();
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const IniFile ini = IniFile::Decode(bytes);
  const auto contents = Contents(ini);
  if (Contents(IniFile::Decode(ini.Encode())) != contents) std::abort();

  zx::fuzz::WriteHostFile(zx::machine::DriveCFolder() + "/fuzz.ini", data, size);
  const LPCWSTR file = u"C:\\fuzz.ini";
  WCHAR small[8];
  const DWORD names = GetPrivateProfileSectionNamesW(small, 8, file);
  if (names > 7 || small[names] != 0) std::abort();
  std::vector<WCHAR> buffer(4096);
  // Each call reads the whole file: a few sections and keys are enough to compare.
  const auto sections = ini.SectionNames();
  for (std::size_t s = 0; s < sections.size() && s < kCompared; ++s) {
    const std::u16string& section = sections[s];
    const auto keys = ini.KeyNames(section);
    for (std::size_t k = 0; k < keys.size() && k < kCompared; ++k) {
      const std::u16string& key = keys[k];
      // The calls take names up to their first zero.
      if (section.find(u'\0') != std::u16string::npos || key.find(u'\0') != std::u16string::npos) continue;
      const DWORD length = GetPrivateProfileStringW(section.c_str(), key.c_str(), u"", buffer.data(), 4096, file);
      if (length >= 4096 || buffer[length] != 0) std::abort();
      const std::u16string value = ini.Value(section, key).value_or(u"");
      if (std::u16string_view(buffer.data(), length) != std::u16string_view(value).substr(0, 4095)) std::abort();
      const DWORD cut = GetPrivateProfileStringW(section.c_str(), key.c_str(), u"", small, 8, file);
      if (cut > 7 || small[cut] != 0) std::abort();
    }
  }
  // The text reader: its cache keeps every text it read, so one lookup a run.
  if (!sections.empty() && !ini.KeyNames(sections.front()).empty()) {
    CIniReader reader(_T("C:\\fuzz.ini"));
    CString text;
    reader.ReadString(ini.KeyNames(sections.front()).front().c_str(), sections.front().c_str(), text);
  }
  // A value written into the first section reads back as written.
  const std::u16string section = ini.SectionNames().empty() ? u"fuzz" : ini.SectionNames().front();
  if (section.find_first_of(std::u16string_view(u"]\r\n\0", 4)) == std::u16string::npos && !section.empty() &&
      section.front() != u' ' && section.back() != u' ') {
    if (!WritePrivateProfileStringW(section.c_str(), u"zxfuzzkey", u"written", file)) std::abort();
    const DWORD length = GetPrivateProfileStringW(section.c_str(), u"zxfuzzkey", u"", buffer.data(), 4096, file);
    if (std::u16string_view(buffer.data(), length) != u"written") std::abort();
  }
  return 0;
}
