// Registered window messages: the same id for the same name (compared without regard to
// case) in every process of the machine root. An id is derived from the name in
// 0xC000-0xFFFF; the table <channel folder>/messages ("XXXX NAME" lines, the name folded to
// upper case, in UTF-8), read and extended under a file lock, settles collisions: a name
// whose id another name holds takes the next free id. A line cut short by a crash goes when
// the next name is added.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <map>
#include <mutex>
#include <string>

#include "channel.h"
#include "errhandlingapi.h"
#include "marshal.h"
#include "regmsgtable.h"
#include "usertext.h"
#include "zx/machine.h"

namespace zx::user {
namespace {

constexpr std::size_t kMaxName = 255;

UINT PreferredId(const std::u16string& folded) {
  std::uint32_t hash = 2166136261u;  // FNV-1a over the UTF-16 units
  for (char16_t unit : folded) {
    hash = (hash ^ (unit & 0xFF)) * 16777619u;
    hash = (hash ^ (unit >> 8)) * 16777619u;
  }
  return kFirstRegisteredId + hash % kRegisteredIdCount;
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

// Looks the name up in the shared table, adding it when new; 0 when the table cannot be used.
UINT FromTable(const std::string& folder, const std::u16string& folded) {
  const int fd = ::open((folder + "/messages").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return 0;
  UINT id = 0;
  if (::flock(fd, LOCK_EX) == 0) {
    const MessageTableAnswer answer = LookUpMessage(ReadAll(fd), ToUtf8(folded), PreferredId(folded));
    id = answer.id;
    if (!answer.append.empty()) {
      const off_t end = static_cast<off_t>(answer.keep);
      if (::ftruncate(fd, end) != 0 ||
          ::pwrite(fd, answer.append.data(), answer.append.size(), end) != static_cast<ssize_t>(answer.append.size())) {
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
