// The machine root and its fixed sub-folders.
#include "zx/machine.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>

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

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

std::string ProfileValue(const std::string& section, const std::string& key,
                         const std::string& fallback) {
  std::ifstream in(Root() + "/machine.ini");
  std::string line;
  bool inSection = false;
  for (bool first = true; std::getline(in, line); first = false) {
    if (first && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
    line = Trimmed(line);
    if (line.empty() || line[0] == ';' || line[0] == '#') continue;
    if (line.front() == '[') {
      inSection = line.back() == ']' && SameName(Trimmed(line.substr(1, line.size() - 2)), section);
      continue;
    }
    const auto equals = line.find('=');
    if (inSection && equals != std::string::npos && SameName(Trimmed(line.substr(0, equals)), key))
      return Trimmed(line.substr(equals + 1));
  }
  return fallback;
}

}  // namespace zx::machine
