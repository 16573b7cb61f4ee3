// Fuzz target: the language file "lang.lng" read as the language settings layer reads it: the
// current section, then its values. The section fits its 31 characters, the language folder
// stays below the library's folder and the resource library is one plain file name.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "../language/LanguageFile.cpp"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zx::fuzz::ScratchRoot();
  zx::fuzz::WriteHostFile(zx::machine::DriveCFolder() + "/lang/lang.lng", data, size);
  const std::string file = "C:\\lang\\lang.lng";
  const std::string section = LanguageSectionOf(file);
  if (section.size() > 31) std::abort();
  const LanguageValues values = ReadLanguageSection(file, section);
  if (!IsRelativeBelow(values.relativePath) || !IsPlainFileName(values.resourceLibraryName)) std::abort();
  if (values.relativePath.find("..") != std::string::npos && values.relativePath.find("...") == std::string::npos &&
      values.relativePath.find(".. ") == std::string::npos) {
    // ".." may only be part of a longer name ("a..b").
    for (std::size_t at = values.relativePath.find(".."); at != std::string::npos;
         at = values.relativePath.find("..", at + 1)) {
      const bool startsStep = at == 0 || values.relativePath[at - 1] == '\\' || values.relativePath[at - 1] == '/';
      const std::size_t after = at + 2;
      const bool endsStep = after == values.relativePath.size() || values.relativePath[after] == '\\' ||
                            values.relativePath[after] == '/';
      if (startsStep && endsStep) std::abort();
    }
  }
  return 0;
}
