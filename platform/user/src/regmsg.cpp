// Registered window messages: the same id for the same name (compared without regard to
// case) in every process of the machine root. An id is derived from the name in
// 0xC000-0xFFFF; the table <channel folder>/messages ("XXXX NAME" lines, the name folded to
// upper case, in UTF-8), read and extended under a file lock, settles collisions: a name
// whose id another name holds takes the next free id.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <map>
#include <mutex>
#include <string>

#include "channel.h"
#include "errhandlingapi.h"
#include "marshal.h"
#include "usertext.h"
#include "zx/machine.h"

namespace zx::user {
namespace {

constexpr UINT kFirstId = 0xC000;
constexpr UINT kIdCount = 0x4000;
constexpr std::size_t kMaxName = 255;

UINT PreferredId(const std::u16string& folded) {
  std::uint32_t hash = 2166136261u;  // FNV-1a over the UTF-16 units
  for (char16_t unit : folded) {
    hash = (hash ^ (unit & 0xFF)) * 16777619u;
    hash = (hash ^ (unit >> 8)) * 16777619u;
  }
  return kFirstId + hash % kIdCount;
}

std::string ReadAll(int fd) {
  std::string text;
  char buffer[8192];
  ssize_t n;
  off_t offset = 0;
  while ((n = ::pread(fd, buffer, sizeof buffer, offset)) > 0) {
    text.append(buffer, static_cast<std::size_t>(n));
    offset += n;
  }
  return text;
}

// The table's names by id; a damaged line, an id out of range, or a second claim on an id or
// a name is passed over.
std::map<std::string, UINT> ParseTable(const std::string& text, std::map<UINT, std::string>* ids) {
  std::map<std::string, UINT> names;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) break;  // a line cut short by a crash
    const std::string line = text.substr(start, end - start);
    start = end + 1;
    UINT id = 0;
    const auto [at, error] = std::from_chars(line.data(), line.data() + std::min<std::size_t>(line.size(), 4), id, 16);
    if (line.size() < 6 || error != std::errc() || at != line.data() + 4 || line[4] != ' ' ||
        id < kFirstId || id >= kFirstId + kIdCount)
      continue;
    const std::string name = line.substr(5);
    if (name.empty() || names.count(name) || ids->count(id)) continue;
    names[name] = id;
    (*ids)[id] = name;
  }
  return names;
}

// Looks the name up in the shared table, adding it when new; 0 when the table cannot be used.
UINT FromTable(const std::string& folder, const std::u16string& folded) {
  const int fd = ::open((folder + "/messages").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return 0;
  UINT id = 0;
  if (::flock(fd, LOCK_EX) == 0) {
    const std::string name = ToUtf8(folded);
    std::map<UINT, std::string> ids;
    const std::string text = ReadAll(fd);
    const auto names = ParseTable(text, &ids);
    if (const auto it = names.find(name); it != names.end()) {
      id = it->second;
    } else if (ids.size() < kIdCount) {
      id = PreferredId(folded);
      while (ids.count(id)) id = id + 1 == kFirstId + kIdCount ? kFirstId : id + 1;
      char head[8];
      std::snprintf(head, sizeof head, "%04X ", id);
      // A line cut short by a crash is ended first, so the new one stands on its own.
      const std::string line =
          (text.empty() || text.back() == '\n' ? "" : "\n") + std::string(head) + name + "\n";
      const off_t end = ::lseek(fd, 0, SEEK_END);
      if (::pwrite(fd, line.data(), line.size(), end) != static_cast<ssize_t>(line.size())) {
        [[maybe_unused]] const int rc = ::ftruncate(fd, end);  // no half line is left
        id = 0;
      }
    }
    ::flock(fd, LOCK_UN);
  }
  ::close(fd);
  return id;
}

struct Cache {
  std::mutex lock;
  std::uint64_t generation = 0;
  std::map<std::u16string, UINT> ids;
};

Cache& TheCache() {
  static auto* cache = new Cache;
  return *cache;
}

}  // namespace
}  // namespace zx::user

using namespace zx::user;

UINT RegisterWindowMessageW(LPCWSTR name) {
  const std::u16string_view view = name ? std::u16string_view(name) : std::u16string_view();
  if (view.empty() || view.size() > kMaxName || view.find_first_of(u"\r\n") != view.npos) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::u16string folded = FoldedName(name);
  Cache& cache = TheCache();
  std::lock_guard<std::mutex> guard(cache.lock);
  if (cache.generation != zx::machine::RootGeneration()) {
    cache.ids.clear();
    cache.generation = zx::machine::RootGeneration();
  }
  if (const auto it = cache.ids.find(folded); it != cache.ids.end()) return it->second;
  const std::string folder = zx::user::channel::UsableFolder();
  UINT id = folder.empty() ? 0 : FromTable(folder, folded);
  if (id == 0) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
  cache.ids[folded] = id;
  NoteRegisteredMessage(id, folded);
  return id;
}

UINT RegisterWindowMessageA(LPCSTR name) {
  if (!name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::u16string wide = FromAnsi(name);
  return RegisterWindowMessageW(wide.c_str());
}
