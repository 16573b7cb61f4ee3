// Windows paths <-> host paths of the machine root: parsing, the names Windows refuses, the
// drive mapping and the case-insensitive match against the names on disk.
#include "zx/pathmap.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "errhandlingapi.h"
#include "foldernames.h"
#include "kerneltext.h"
#include "pathparse.h"
#include "zx/casefold.h"
#include "zx/machine.h"
#include "zx/winfolders.h"

namespace zx::path {
namespace {

constexpr std::size_t kMaxComponent = 255;
constexpr std::size_t kMaxPath = 32767;

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }
bool IsAsciiLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

bool Fail(DWORD code, DWORD* error) {
  if (error != nullptr) *error = code;
  return false;
}

bool SameNoCase(std::u16string_view a, std::u16string_view b) {
  return CompareNoCase(a.data(), a.size(), b.data(), b.size()) == 0;
}

// Applies the components of rest to out.parts.
void Apply(std::u16string_view rest, WindowsPath& out) {
  std::size_t i = 0;
  while (i < rest.size()) {
    if (IsSeparator(rest[i])) {
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < rest.size() && !IsSeparator(rest[end])) ++end;
    std::u16string_view part = rest.substr(i, end - i);
    i = end;
    if (part == u".") continue;
    if (part == u"..") {
      if (!out.parts.empty()) out.parts.pop_back();
      continue;
    }
    while (!part.empty() && (part.back() == u'.' || part.back() == u' ')) part.remove_suffix(1);
    if (!part.empty()) out.parts.emplace_back(part);
  }
  out.trailingSeparator = !rest.empty() && IsSeparator(rest.back()) && !out.parts.empty();
}

// The "\\..." forms: "\\?\" before a drive path is stripped; everything else is refused.
bool StripLongPrefix(std::u16string_view& text, DWORD* error) {
  if (text.size() < 2 || !IsSeparator(text[0]) || !IsSeparator(text[1])) return true;
  if (text.size() >= 4 && text[0] == u'\\' && text[1] == u'\\' && text[2] == u'?' && text[3] == u'\\') {
    text.remove_prefix(4);
    if (text.size() >= 2 && IsAsciiLetter(text[0]) && text[1] == u':') return true;
    return Fail(text.size() >= 4 && SameNoCase(text.substr(0, 4), u"UNC\\") ? ERROR_BAD_NETPATH
                                                                            : ERROR_INVALID_NAME,
                error);
  }
  const bool device = text.size() >= 3 && (text[2] == u'.' || text[2] == u'?') &&
                      (text.size() == 3 || IsSeparator(text[3]));
  return Fail(device ? ERROR_INVALID_NAME : ERROR_BAD_NETPATH, error);
}

// CON, PRN, AUX, NUL, COM1-9, LPT1-9 (and the superscript digits), with any extension.
bool IsDeviceName(std::u16string_view part) {
  std::u16string_view base = part.substr(0, part.find(u'.'));
  while (!base.empty() && base.back() == u' ') base.remove_suffix(1);
  for (std::u16string_view name : {u"CON", u"PRN", u"AUX", u"NUL", u"CONIN$", u"CONOUT$"})
    if (SameNoCase(base, name)) return true;
  if (base.size() != 4) return false;
  const char16_t digit = base[3];
  const bool numbered = (digit >= u'1' && digit <= u'9') || digit == u'\u00B9' ||
                        digit == u'\u00B2' || digit == u'\u00B3';
  return numbered && (SameNoCase(base.substr(0, 3), u"COM") || SameNoCase(base.substr(0, 3), u"LPT"));
}

// Whether the entry a link names lies inside fence (a real path).
bool IsInsideFence(std::string_view real, const std::string& fence) {
  return real == fence || (real.size() > fence.size() && real.substr(0, fence.size()) == fence &&
                           real[fence.size()] == '/');
}

// Whether a link's target lies inside the fence. A link whose target is gone counts as inside
// when the folder it names the target in does: whatever is made through it lands there.
bool ResolvesInside(const std::string& path, const std::string& fence) {
  std::unique_ptr<char, void (*)(void*)> real(::realpath(path.c_str(), nullptr), std::free);
  if (real) return IsInsideFence(real.get(), fence);
  if (errno != ENOENT) return false;
  std::error_code ec;
  std::filesystem::path target = std::filesystem::read_symlink(path, ec);
  if (ec || target.empty()) return false;
  if (target.is_relative()) target = std::filesystem::path(path).parent_path() / target;
  const std::string name = target.filename().string();
  std::unique_ptr<char, void (*)(void*)> folder(::realpath(target.parent_path().c_str(), nullptr), std::free);
  return folder && name != ".." && name != "." && !name.empty() && IsInsideFence(folder.get(), fence);
}

std::string RealPathOr(const std::string& path) {
  std::unique_ptr<char, void (*)(void*)> real(::realpath(path.c_str(), nullptr), std::free);
  return real ? std::string(real.get()) : path;
}

// rest of path below folder, when path is folder or lies inside it.
bool Below(const std::string& path, const std::string& folder, std::string& rest) {
  if (path == folder) {
    rest.clear();
    return true;
  }
  if (path.size() > folder.size() + 1 && path.compare(0, folder.size(), folder) == 0 &&
      path[folder.size()] == '/') {
    rest = path.substr(folder.size() + 1);
    return true;
  }
  return false;
}

std::u16string Backslashed(const std::string& hostRest) {
  std::u16string out = text::FromUtf8(hostRest);
  for (char16_t& c : out)
    if (c == u'/') c = u'\\';
  return out;
}

}  // namespace

bool Parse(std::u16string_view text, WindowsPath& out, DWORD* error) {
  out = WindowsPath{};
  if (text.empty()) return Fail(ERROR_PATH_NOT_FOUND, error);
  if (text.size() > kMaxPath) return Fail(ERROR_FILENAME_EXCED_RANGE, error);
  if (!StripLongPrefix(text, error)) return false;
  std::u16string_view rest = text;
  if (text.size() >= 2 && text[1] == u':') {
    if (!IsAsciiLetter(text[0])) return Fail(ERROR_INVALID_NAME, error);
    out.drive = static_cast<char16_t>(text[0] & ~0x20);
    rest = text.substr(2);
    // "C:name" continues from the current folder when that is on the same drive.
    if (rest.empty() || !IsSeparator(rest[0])) {
      WindowsPath current = CurrentFolder();
      if (current.drive == out.drive) out.parts = std::move(current.parts);
    }
  } else {
    WindowsPath current = CurrentFolder();
    out.drive = current.drive;
    if (!IsSeparator(text[0])) out.parts = std::move(current.parts);
  }
  Apply(rest, out);
  return true;
}

std::u16string Format(const WindowsPath& path) {
  std::u16string text{path.drive, u':', u'\\'};
  for (std::size_t i = 0; i < path.parts.size(); ++i) {
    if (i != 0) text += u'\\';
    text += path.parts[i];
  }
  if (path.trailingSeparator && !path.parts.empty()) text += u'\\';
  return text;
}

bool IsForbiddenInName(char16_t c) {
  return c < 0x20 || c == u'<' || c == u'>' || c == u':' || c == u'"' || c == u'|' || c == u'?' || c == u'*';
}

bool CheckNames(const WindowsPath& path, DWORD* error) {
  for (const std::u16string& part : path.parts) {
    if (part.size() > kMaxComponent) return Fail(ERROR_FILENAME_EXCED_RANGE, error);
    for (char16_t c : part)
      if (IsForbiddenInName(c)) return Fail(ERROR_INVALID_NAME, error);
    if (IsDeviceName(part)) return Fail(ERROR_INVALID_NAME, error);
  }
  return true;
}

// Programs and libraries are built under other names than Windows gives them: "X.exe" that is
// not there names the program "X" beside it (a regular file its owner may run), "X.dll" the
// shared library "X.so" (a regular file), found without regard to case; empty when there is
// none.
std::string BuiltModule(const std::string& folder, const std::u16string& name) {
  struct Built {
    std::u16string_view windows;
    const char* host;
    bool program;
  };
  static constexpr Built kBuilt[] = {{u".exe", "", true}, {u".dll", ".so", false}};
  for (const Built& built : kBuilt) {
    const std::size_t n = built.windows.size();
    if (name.size() <= n || !EqualNoCase(name.substr(name.size() - n).c_str(), built.windows.data())) continue;
    const std::u16string bare = name.substr(0, name.size() - n) + text::FromUtf8(built.host);
    std::string candidate = folder + "/" + text::ToUtf8(bare);
    struct stat st {};
    if (::stat(candidate.c_str(), &st) != 0) {
      const std::string onDisk = FindNoCase(folder, bare, nullptr);
      if (onDisk.empty()) return {};
      candidate = folder + "/" + onDisk;
      if (::stat(candidate.c_str(), &st) != 0) return {};
    }
    return S_ISREG(st.st_mode) && (!built.program || (st.st_mode & S_IXUSR)) ? candidate : std::string{};
  }
  return {};
}

bool MapToHost(const WindowsPath& path, std::string& host, DWORD* error, MappedEntry* entry) {
  std::string current;  // "" is the host's root
  // The real path of the C: folder, which no link may lead out of; found when a link is met.
  std::string fence;
  const bool fenced = path.drive == u'C';
  if (fenced) {
    folders::EnsureInstallation();
    current = machine::DriveCFolder();
  } else if (path.drive != u'Z') {
    return Fail(ERROR_PATH_NOT_FOUND, error);
  }
  bool folderExists = true;
  struct stat folder {};    // current's status (links followed), when known
  bool folderKnown = false;
  struct stat st {};
  bool exists = false;
  for (std::size_t at = 0; at < path.parts.size(); ++at) {
    const std::u16string& part = path.parts[at];
    std::string candidate = current + "/" + text::ToUtf8(part);
    exists = folderExists && ::lstat(candidate.c_str(), &st) == 0;
    if (!exists && folderExists) {
      const std::string onDisk = FindNoCase(current, part, folderKnown ? &folder : nullptr);
      if (!onDisk.empty()) {
        candidate = current + "/" + onDisk;
        exists = ::lstat(candidate.c_str(), &st) == 0;
      }
    }
    if (!exists && folderExists && at + 1 == path.parts.size()) {
      std::string built = BuiltModule(current, part);
      if (!built.empty()) {
        candidate = std::move(built);
        exists = ::lstat(candidate.c_str(), &st) == 0;
      }
    }
    if (exists && S_ISLNK(st.st_mode)) {
      if (fenced && fence.empty()) fence = RealPathOr(machine::DriveCFolder());
      if (fenced && !ResolvesInside(candidate, fence)) return Fail(ERROR_ACCESS_DENIED, error);
      exists = ::stat(candidate.c_str(), &st) == 0;
    }
    folderExists = exists && S_ISDIR(st.st_mode);
    folder = st;
    folderKnown = folderExists;
    current = std::move(candidate);
  }
  if (entry != nullptr) {
    entry->known = !path.parts.empty();
    entry->exists = exists;
    entry->status = st;
  }
  host = current.empty() ? "/" : current;
  return true;
}

bool MapArgument(LPCWSTR windowsPath, std::string& host, WindowsPath* parsed, MappedEntry* entry) {
  WindowsPath local;
  WindowsPath& path = parsed != nullptr ? *parsed : local;
  DWORD error = ERROR_INVALID_PARAMETER;
  if (windowsPath != nullptr && Parse(windowsPath, path, &error) && CheckNames(path, &error) &&
      MapToHost(path, host, &error, entry))
    return true;
  SetLastError(error);
  return false;
}

bool WindowsToHost(std::u16string_view windowsPath, std::string& hostPath, DWORD* error) {
  WindowsPath parsed;
  return Parse(windowsPath, parsed, error) && CheckNames(parsed, error) &&
         MapToHost(parsed, hostPath, error);
}

std::u16string HostToWindows(std::string_view hostPath) {
  std::filesystem::path path{std::string(hostPath)};
  if (path.is_relative()) {
    std::error_code ec;
    path = std::filesystem::current_path(ec) / path;
  }
  std::string normal = path.lexically_normal().string();
  while (normal.size() > 1 && normal.back() == '/') normal.pop_back();
  const std::string drive = std::filesystem::path(machine::DriveCFolder()).lexically_normal().string();
  std::string rest;
  if (Below(normal, drive, rest) || Below(normal, RealPathOr(drive), rest))
    return u"C:\\" + Backslashed(rest);
  return u"Z:\\" + Backslashed(normal.substr(1));
}

}  // namespace zx::path
