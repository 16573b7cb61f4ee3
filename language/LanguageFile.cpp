// Reading "lang.lng": the current language's section and its values.
#include "LanguageFile.h"

#include <windows.h>

namespace {

std::string ReadProfile(const char* section, const char* key, const char* fallback, const std::string& file,
                        DWORD size) {
  std::string buffer(size, '\0');
  const DWORD n = GetPrivateProfileStringA(section, key, fallback, buffer.data(), size, file.c_str());
  buffer.resize(n);
  return buffer;
}

}  // namespace

LONG TextToNumber(const std::string& text) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > 0x80000000LL) value = 0x80000000LL;
  }
  if (negative) value = -value;
  if (value > 0x7FFFFFFFLL) value = 0x7FFFFFFFLL;
  return static_cast<LONG>(value);
}

bool IsRelativeBelow(const std::string& path) {
  if (path.find(':') != std::string::npos || (!path.empty() && (path[0] == '\\' || path[0] == '/'))) return false;
  for (std::size_t start = 0; start <= path.size();) {
    std::size_t end = path.find_first_of("\\/", start);
    if (end == std::string::npos) end = path.size();
    const std::string step = path.substr(start, end - start);
    // Trailing dots and blanks name the same file: "..." and ".. " are "..".
    if (step.size() >= 2 && step.find_first_not_of(". ") == std::string::npos) return false;
    start = end + 1;
  }
  return true;
}

bool IsPlainFileName(const std::string& name) {
  const std::string bare = !name.empty() && name[0] == '\\' ? name.substr(1) : name;
  return !bare.empty() && bare.find_first_of("\\/") == std::string::npos && IsRelativeBelow(bare);
}

std::string LanguageSectionOf(const std::string& file) {
  const std::string word = ReadProfile("LANGUAGE", "CURRENTLANG", "", file, 32);
  return ReadProfile("LANGUAGE", word.c_str(), "ENGLISH", file, 32);
}

LanguageValues ReadLanguageSection(const std::string& file, const std::string& section) {
  LanguageValues values;
  values.relativePath = ReadProfile(section.c_str(), "RELPATH", "", file, 256);
  if (!IsRelativeBelow(values.relativePath)) values.relativePath.clear();
  values.locale = ReadProfile(section.c_str(), "LOCALE", "ENGLISH", file, 256);
  values.fontFace = ReadProfile(section.c_str(), "FONTFACE", "tahoma", file, 256);
  values.fontSize = TextToNumber(ReadProfile(section.c_str(), "FONTsize", "-12", file, 256));
  values.resourceLibraryName = ReadProfile(section.c_str(), "RESDLLNAME", "qvxres.dll", file, 256);
  if (!IsPlainFileName(values.resourceLibraryName)) values.resourceLibraryName = "qvxres.dll";
  return values;
}
