// A job's program for the runner's tests: writes its arguments, one per line, into
// "command.txt" of its current folder and ends with exit code 23.
#include <cstdio>

int main(int argc, char** argv) {
  std::FILE* out = std::fopen("command.txt", "w");
  if (!out) return 1;
  for (int i = 1; i < argc; ++i) std::fprintf(out, "%s\n", argv[i]);
  std::fclose(out);
  return 23;
}
