// The machine root and its fixed sub-folders.
#include "zx/machine.h"

#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <unordered_map>

namespace zx::machine {
namespace {

std::mutex g_lock;
std::string g_root;  // empty until first use or UseRoot
std::atomic<std::uint64_t> g_generation{1};

std::string DefaultRoot() {
  if (const char* env = std::getenv("ZX_MACHINE_ROOT"); env && *env) return env;
  if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
    return std::string(xdg) + "/zephrinkx/machine";
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : "/tmp") + "/.local/share/zephrinkx/machine";
}

void MakeFolder(const std::string& path, mode_t mode) {
  std::error_code ec;
  std::filesystem::create_directories(path, ec);
  ::chmod(path.c_str(), mode);
}

void Prepare(const std::string& root) {
  MakeFolder(root, 0755);
  MakeFolder(root + "/drive_c", 0755);
  MakeFolder(root + "/registry", 0755);
  MakeFolder(root + "/run-" + std::to_string(::getuid()), 0700);
}

}  // namespace

std::string Root() {
  std::lock_guard<std::mutex> g(g_lock);
  if (g_root.empty()) {
    g_root = DefaultRoot();
    Prepare(g_root);
  }
  return g_root;
}

void UseRoot(const std::string& hostFolder) {
  std::lock_guard<std::mutex> g(g_lock);
  g_root = hostFolder;
  while (g_root.size() > 1 && g_root.back() == '/') g_root.pop_back();
  Prepare(g_root);
  g_generation.fetch_add(1);
}

std::uint64_t RootGeneration() { return g_generation.load(); }

std::string DriveCFolder() { return Root() + "/drive_c"; }
std::string RegistryFolder() { return Root() + "/registry"; }
std::string RuntimeFolder() { return Root() + "/run-" + std::to_string(::getuid()); }

std::string ProgramFolder() {
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return ".";
  return exe.parent_path().string();
}

namespace {

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The profile's values by lower-case "section\nkey", the first of each kept; read again when
// the file's identity, size or change time differ from the last reading. File times move in
// coarse steps, so a reading taken within a moment of the file's last change is not trusted
// (a rewrite in the same step would keep every time and size).
struct ProfileCache {
  std::string path;
  bool present = false;
  bool settled = false;
  struct stat identity {};
  std::unordered_map<std::string, std::string> values;
};

constexpr long long kSettledNanoseconds = 100'000'000;

long long Nanoseconds(const struct timespec& time) { return time.tv_sec * 1'000'000'000LL + time.tv_nsec; }

// Whether a reading taken now of a file last changed at `identity` will see any later change.
bool Settled(const struct stat& identity) {
  struct timespec now {};
  ::clock_gettime(CLOCK_REALTIME, &now);
  const long long changed = std::max(Nanoseconds(identity.st_mtim), Nanoseconds(identity.st_ctim));
  return Nanoseconds(now) - changed >= kSettledNanoseconds;
}

std::string Lowered(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool SameReading(const struct stat& a, const struct stat& b) {
  return a.st_ino == b.st_ino && a.st_dev == b.st_dev && a.st_size == b.st_size &&
         a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec &&
         a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

void ReadProfile(ProfileCache& cache) {
  cache.values.clear();
  std::ifstream in(cache.path);
  std::string line;
  std::string section = "\n";  // none until the first header
  for (bool first = true; std::getline(in, line); first = false) {
    if (first && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
    line = Trimmed(line);
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line.front() == '[') {
      // A header without its "]" opens no section: its keys belong to none.
      section = line.back() == ']' ? Lowered(Trimmed(line.substr(1, line.size() - 2))) : std::string("\n");
      continue;
    }
    const auto equals = line.find('=');
    if (equals == std::string::npos || section == "\n") continue;
    cache.values.emplace(section + '\n' + Lowered(Trimmed(line.substr(0, equals))), Trimmed(line.substr(equals + 1)));
  }
}

}  // namespace

std::string ProfileValue(const std::string& section, const std::string& key,
                         const std::string& fallback) {
  static std::mutex lock;
  static ProfileCache cache;
  const std::string path = Root() + "/machine.ini";
  struct stat identity {};
  const bool present = ::stat(path.c_str(), &identity) == 0;
  std::lock_guard<std::mutex> guard(lock);
  if (path != cache.path || present != cache.present ||
      (present && (!cache.settled || !SameReading(identity, cache.identity)))) {
    cache.path = path;
    cache.present = present;
    cache.identity = identity;
    cache.settled = present && Settled(identity);
    if (present) {
      ReadProfile(cache);
    } else {
      cache.values.clear();
    }
  }
  const auto found = cache.values.find(Lowered(section) + '\n' + Lowered(key));
  return found != cache.values.end() ? found->second : fallback;
}

}  // namespace zx::machine
