// Stands in for the web browser and the desktop's opener in the web-link tests: writes the
// arguments it was started with, one per line, into the file that ZX_BROWSER_RECORD names
// (written beside it first and renamed, so the file appears whole).
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
  const char* record = std::getenv("ZX_BROWSER_RECORD");
  if (!record) return 2;
  const std::string partial = std::string(record) + ".tmp";
  FILE* out = std::fopen(partial.c_str(), "w");
  if (!out) return 3;
  for (int index = 1; index < argc; ++index) std::fprintf(out, "%s\n", argv[index]);
  std::fclose(out);
  return std::rename(partial.c_str(), record) == 0 ? 0 : 4;
}
