// Fuzz target: hostile bytes as a text file read with CStdioFileEx. The first byte picks how
// the file is opened (text or binary mode, ANSI or UTF-8); the rest is the file. Reading must
// end without a crash or an exception other than the class library's, and every line read
// must hold no line feed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "TextFiles.h"
#include "fuzz_support.h"
#include "zx/machine.h"

namespace {

// The run's scratch machine root with the file the target reads.
struct Machine {
  Machine() {
    zx::fuzz::ScratchRoot();
    host = zx::machine::DriveCFolder() + "/text.txt";
  }
  std::string host;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Machine machine;
  if (size == 0) return 0;
  std::ofstream(machine.host, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
  try {
    CStdioFileEx file(u"C:\\text.txt", CFile::modeRead | ((data[0] & 1) != 0 ? CFile::typeBinary : CFile::typeText));
    file.SetCodePage((data[0] & 2) != 0 ? CP_UTF8 : -1);
    if (file.CountCharacters() > size) std::abort();
    CString line;
    while (file.ReadString(line))
      if (line.Find(u'\n') >= 0) std::abort();
  } catch (CException* error) {
    error->Delete();
  }
  return 0;
}
