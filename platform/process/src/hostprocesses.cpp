// The host's processes read from /proc: ids, parent, threads, executable and the files
// mapped into each, and the names Windows would give them.
#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "stringapiset.h"
#include "zx/casefold.h"
#include "zx/machine.h"
#include "zx/pathmap.h"
#include "zx/processes.h"

namespace fs = std::filesystem;

namespace zx::process {
namespace {

std::string ProcFile(DWORD id, const char* leaf) {
  return "/proc/" + std::to_string(id) + "/" + leaf;
}

std::string ReadExecutable(DWORD id) {
  std::error_code ec;
  std::string path = fs::read_symlink(ProcFile(id, "exe"), ec).string();
  if (ec) return {};
  const std::string deleted = " (deleted)";
  if (path.size() > deleted.size() && path.ends_with(deleted)) path.resize(path.size() - deleted.size());
  return path;
}

std::string ReadHostFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A hexadecimal address; false unless the text is one whole number that fits.
bool ParseAddress(std::string_view text, std::uintptr_t& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

}  // namespace

std::vector<DWORD> ProcessIds() {
  std::vector<DWORD> ids;
  DIR* folder = ::opendir("/proc");
  if (!folder) return ids;
  while (const dirent* entry = ::readdir(folder)) {
    const std::string name = entry->d_name;
    if (name.empty() || !std::all_of(name.begin(), name.end(), ::isdigit)) continue;
    ids.push_back(static_cast<DWORD>(std::stoul(name)));
  }
  ::closedir(folder);
  std::sort(ids.begin(), ids.end());
  return ids;
}

bool ParseProcessStat(std::string_view line, ProcessStat& stat) {
  const auto close = line.rfind(')');
  const auto open = line.find('(');
  if (close == std::string_view::npos || open == std::string_view::npos || open > close) return false;
  std::istringstream fields(std::string(line.substr(close + 1)));
  std::string state, value;
  if (!(fields >> state) || state.size() != 1) return false;
  stat = ProcessStat{};
  stat.command = std::string(line.substr(open + 1, close - open - 1));
  stat.state = state[0];
  fields >> stat.parentId;
  for (int field = 5; field < 20 && fields >> value; ++field) {
  }
  fields >> stat.threads;
  return true;
}

std::string FirstCommandWord(std::string_view commandLine) {
  return std::string(commandLine.substr(0, commandLine.find('\0')));
}

std::vector<Module> ParseModuleMaps(std::string_view maps) {
  std::vector<Module> modules;
  std::map<std::string, std::size_t> index;
  std::istringstream lines{std::string(maps)};
  for (std::string line; std::getline(lines, line);) {
    std::istringstream fields(line);
    std::string range, perms, offset, device, inode, path;
    fields >> range >> perms >> offset >> device >> inode;
    std::getline(fields >> std::ws, path);
    if (path.empty() || path[0] != '/') continue;
    const auto dash = range.find('-');
    std::uintptr_t start = 0, end = 0;
    if (dash == std::string::npos || !ParseAddress(std::string_view(range).substr(0, dash), start) ||
        !ParseAddress(std::string_view(range).substr(dash + 1), end) || end < start)
      continue;
    auto [at, added] = index.emplace(path, modules.size());
    if (added) {
      modules.push_back({start, static_cast<DWORD>(end - start), path});
    } else {
      Module& module = modules[at->second];
      module.size = static_cast<DWORD>(std::max<std::uintptr_t>(end, module.base + module.size) - module.base);
    }
  }
  return modules;
}

bool Describe(DWORD processId, HostProcess& process) {
  std::ifstream in(ProcFile(processId, "stat"));
  std::string line;
  ProcessStat stat;
  if (!std::getline(in, line) || !ParseProcessStat(line, stat)) return false;
  if (stat.state == 'Z' || stat.state == 'X') return false;  // ended, not yet reaped
  process = HostProcess{};
  process.id = processId;
  process.parentId = stat.parentId;
  process.threads = stat.threads;
  process.executable = ReadExecutable(processId);
  if (!process.executable.empty()) {
    process.name = DisplayName(process.executable);
  } else {
    const std::string first = FirstCommandWord(ReadHostFile(ProcFile(processId, "cmdline")));
    process.name = first.empty() ? Utf16(stat.command) : Utf16(fs::path(first).filename().string());
  }
  return true;
}

std::u16string DisplayName(const std::string& executable) {
  const fs::path path(executable);
  std::u16string name = Utf16(path.filename().string());
  if (!path.has_extension() && path.parent_path() == fs::path(machine::ProgramFolder()))
    name += u".exe";
  return name;
}

bool Modules(DWORD processId, std::vector<Module>& modules, DWORD& error) {
  modules.clear();
  const std::string executable = ReadExecutable(processId);
  const std::string maps = ReadHostFile(ProcFile(processId, "maps"));
  if (executable.empty() || maps.empty()) {
    error = fs::exists(ProcFile(processId, "stat")) ? ERROR_ACCESS_DENIED : ERROR_INVALID_PARAMETER;
    return false;
  }
  modules = ParseModuleMaps(maps);
  const auto exe = std::find_if(modules.begin(), modules.end(),
                                [&](const Module& m) { return m.path == executable; });
  if (exe != modules.end()) std::rotate(modules.begin(), exe, exe + 1);
  return true;
}

bool ProgramHostPath(std::u16string_view windowsProgram, std::string& hostPath) {
  std::u16string name(windowsProgram);
  std::error_code ec;
  std::vector<std::string> candidates;
  const bool exe = name.size() > 4 && EqualNoCase(name.substr(name.size() - 4).c_str(), u".exe");
  if (name.find_first_of(u"\\/:") == std::u16string::npos) {
    const std::string folder = machine::ProgramFolder() + "/";
    if (exe) candidates.push_back(folder + Utf8(name.substr(0, name.size() - 4)));
    candidates.push_back(folder + Utf8(name));
  } else {
    std::string mapped;  // "X.exe" maps to the built program "X" where only that is there
    if (path::WindowsToHost(name, mapped)) candidates.push_back(mapped);
  }
  for (const std::string& candidate : candidates) {
    if (fs::is_regular_file(candidate, ec)) {
      hostPath = candidate;
      return true;
    }
  }
  return false;
}

std::string Utf8(std::u16string_view text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(std::max(size, 0)), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

std::u16string Utf16(std::string_view text) {
  if (text.empty()) return {};
  const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0);
  std::u16string out(static_cast<std::size_t>(std::max(size, 0)), u'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
  return out;
}

}  // namespace zx::process
