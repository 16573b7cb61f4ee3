// "lang.lng": the language section it names as current and that section's values.
#pragma once
#include <string>

#include "wintypes.h"

struct LanguageValues {
  std::string relativePath;  // the language's folder below the library's; "" for none
  std::string locale = "ENGLISH";
  std::string fontFace = "tahoma";
  LONG fontSize = 0;
  std::string resourceLibraryName = "qvxres.dll";
};

// The section [LANGUAGE] names: its CURRENTLANG gives a word, and the word's value the
// section (31 characters at most; "ENGLISH" when the word has none).
std::string LanguageSectionOf(const std::string& file);
// The section's values with their defaults. RELPATH must name a folder below the library's
// (no drive, leading separator or ".." step) and RESDLLNAME a plain file name: anything else
// reads as none, and as "qvxres.dll".
LanguageValues ReadLanguageSection(const std::string& file, const std::string& section);

// A leading optional sign and decimal digits, held to a LONG; 0 when there are none.
LONG TextToNumber(const std::string& text);
// Whether a path stays below the folder it is joined to: relative, without ".." steps.
bool IsRelativeBelow(const std::string& path);
// A file name without any folder: not empty, no separators (but one leading backslash, which
// joining drops), no drive, not "..".
bool IsPlainFileName(const std::string& name);
