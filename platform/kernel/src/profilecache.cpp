// Decoded ini files kept by host path, each trusted only while the file's device, inode, size
// and modification time are those it was read at. File times move in clock ticks of a few
// milliseconds, so a file changed within the last moments could change again without its time
// or size moving: such a file is decoded afresh at every read until it has settled.
#include "profilecache.h"

#include <sys/stat.h>

#include <cerrno>
#include <ctime>
#include <mutex>
#include <unordered_map>

#include "hostfiles.h"

namespace zx::profile {
namespace {

constexpr std::size_t kMaxFiles = 64;
constexpr long long kSettledNanoseconds = 20'000'000;

struct FileStamp {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  timespec modified{};

  bool operator==(const FileStamp& other) const {
    return device == other.device && inode == other.inode && size == other.size &&
           modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec;
  }
};

struct Kept {
  FileStamp stamp;
  std::shared_ptr<const IniFile> ini;
};

std::mutex g_lock;
std::unordered_map<std::string, Kept> g_files;

// Whether the file's last change lies far enough back for its time to show the next one.
bool Settled(const FileStamp& stamp) {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  const long long age = (static_cast<long long>(now.tv_sec) - stamp.modified.tv_sec) * 1'000'000'000LL +
                        (now.tv_nsec - stamp.modified.tv_nsec);
  return age > kSettledNanoseconds;
}

}  // namespace

std::shared_ptr<const IniFile> ReadIniFile(const std::string& hostPath, std::size_t maxBytes) {
  struct stat st {};
  if (::stat(hostPath.c_str(), &st) != 0) return nullptr;
  const FileStamp stamp{st.st_dev, st.st_ino, st.st_size, st.st_mtim};
  {
    std::lock_guard<std::mutex> hold(g_lock);
    const auto kept = g_files.find(hostPath);
    if (kept != g_files.end() && kept->second.stamp == stamp) return kept->second.ini;
  }
  std::string bytes;
  if (!file::ReadHostFile(hostPath, bytes, maxBytes)) return nullptr;
  auto ini = std::make_shared<const IniFile>(IniFile::Decode(bytes));
  // What was read may be newer than the stamp; a stamp that has settled would have moved.
  if (Settled(stamp) && static_cast<std::size_t>(stamp.size) == bytes.size()) {
    std::lock_guard<std::mutex> hold(g_lock);
    if (g_files.size() >= kMaxFiles) g_files.clear();
    g_files[hostPath] = Kept{stamp, ini};
  }
  return ini;
}

}  // namespace zx::profile
