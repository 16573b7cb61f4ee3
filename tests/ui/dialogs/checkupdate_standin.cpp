// Test stand-in of the update checker: each start appends one line with its arguments to
// "launches.log" in its own folder, then ends.
#include <filesystem>
#include <fstream>

int main(int argc, char** argv) {
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe");
  std::ofstream log(self.parent_path() / "launches.log", std::ios::app);
  for (int i = 1; i < argc; ++i) log << (i > 1 ? " " : "") << argv[i];
  log << "\n";
  return 0;
}
