// Case-insensitive lookup of a name in a host folder, over cached folder listings: a listing
// holds each folded name with the smallest name on disk that folds to it, and is trusted only
// while the folder's device, inode, size and modification time are those it was read at.
// File times move in clock ticks of a few milliseconds, so a folder changed within the last
// moments could change again without its time moving: a listing read then is used once and not
// kept. What this process makes itself is added to the listing as it is made (a new folder
// starts with an empty listing), so filling a folder reads it at most once; a name another
// process adds to that folder within the same tick may be found a moment late.
#include "foldernames.h"

#include <dirent.h>
#include <sys/stat.h>

#include <memory>
#include <mutex>
#include <unordered_map>

#include "hostfiles.h"
#include "kerneltext.h"
#include "zx/casefold.h"

namespace zx::path {
namespace {

constexpr std::size_t kMaxFolders = 256;

using FolderStamp = file::EntryStamp;

struct Listing {
  FolderStamp stamp;
  std::unordered_map<std::u16string, std::string> names;  // folded name -> name on disk
};

std::mutex g_lock;
std::unordered_map<std::string, Listing> g_listings;

bool StampOf(const std::string& folder, FolderStamp& stamp) {
  struct stat st {};
  if (::stat(folder.empty() ? "/" : folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
  stamp = FolderStamp::Of(st);
  return true;
}

std::u16string Folded(std::u16string_view name) {
  std::u16string folded(name);
  for (char16_t& c : folded) c = FoldCase(c);
  return folded;
}

void Remember(Listing& listing, const std::string& name) {
  auto [it, inserted] = listing.names.try_emplace(Folded(text::FromUtf8(name)), name);
  if (!inserted && name < it->second) it->second = name;
}

bool ReadListing(const std::string& folder, Listing& listing) {
  std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.empty() ? "/" : folder.c_str()), ::closedir);
  if (!dir) return false;
  listing.names.clear();
  while (dirent* entry = ::readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") Remember(listing, name);
  }
  return true;
}

}  // namespace

std::string FindNoCase(const std::string& folder, std::u16string_view part, const struct stat* status) {
  FolderStamp stamp;
  if (status != nullptr)
    stamp = FolderStamp::Of(*status);
  else if (!StampOf(folder, stamp))
    return {};
  std::lock_guard<std::mutex> guard(g_lock);
  auto it = g_listings.find(folder);
  if (it == g_listings.end() || !(it->second.stamp == stamp)) {
    Listing listing;
    if (!ReadListing(folder, listing)) return {};
    // A listing read while the folder changed, or may still change unseen, is used once.
    FolderStamp after;
    if (!StampOf(folder, after) || !(after == stamp) || !file::ChangeSettled(stamp.modified)) {
      auto found = listing.names.find(Folded(part));
      return found == listing.names.end() ? std::string() : found->second;
    }
    if (g_listings.size() >= kMaxFolders) g_listings.clear();
    listing.stamp = stamp;
    it = g_listings.insert_or_assign(folder, std::move(listing)).first;
  }
  auto found = it->second.names.find(Folded(part));
  return found == it->second.names.end() ? std::string() : found->second;
}

void NoteCreated(const std::string& hostPath, bool isFolder) {
  const std::size_t slash = hostPath.rfind('/');
  if (slash == std::string::npos) return;
  const std::string folder = hostPath.substr(0, slash);
  FolderStamp stamp, made;
  if (!StampOf(folder, stamp)) return;
  const bool madeFolder = isFolder && StampOf(hostPath, made);
  std::lock_guard<std::mutex> guard(g_lock);
  if (g_listings.size() >= kMaxFolders) g_listings.clear();
  if (madeFolder) g_listings.insert_or_assign(hostPath, Listing{made, {}});
  auto it = g_listings.find(folder);
  if (it == g_listings.end()) return;
  Remember(it->second, hostPath.substr(slash + 1));
  it->second.stamp = stamp;
}

}  // namespace zx::path
