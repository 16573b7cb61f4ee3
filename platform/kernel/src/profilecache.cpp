// Decoded ini files kept by host path, each trusted only while the file's device, inode, size
// and modification time are those it was read at; a file changed within the last moments could
// change again without its time or size moving, and is decoded afresh at every read until its
// change has settled.
#include "profilecache.h"

#include <sys/stat.h>

#include <mutex>
#include <unordered_map>

#include "hostfiles.h"

namespace zx::profile {
namespace {

constexpr std::size_t kMaxFiles = 64;

struct Kept {
  file::EntryStamp stamp;
  std::shared_ptr<const IniFile> ini;
};

std::mutex g_lock;
std::unordered_map<std::string, Kept> g_files;

}  // namespace

std::shared_ptr<const IniFile> ReadIniFile(const std::string& hostPath, std::size_t maxBytes) {
  struct stat st {};
  if (::stat(hostPath.c_str(), &st) != 0) return nullptr;
  const auto stamp = file::EntryStamp::Of(st);
  {
    std::lock_guard<std::mutex> hold(g_lock);
    const auto kept = g_files.find(hostPath);
    if (kept != g_files.end() && kept->second.stamp == stamp) return kept->second.ini;
  }
  std::string bytes;
  if (!file::ReadHostFile(hostPath, bytes, maxBytes)) return nullptr;
  auto ini = std::make_shared<const IniFile>(IniFile::Decode(bytes));
  // What was read may be newer than the stamp; a stamp that has settled would have moved.
  if (file::ChangeSettled(stamp.modified) && static_cast<std::size_t>(stamp.size) == bytes.size()) {
    std::lock_guard<std::mutex> hold(g_lock);
    if (g_files.size() >= kMaxFiles) g_files.clear();
    g_files[hostPath] = Kept{stamp, ini};
  }
  return ini;
}

}  // namespace zx::profile
