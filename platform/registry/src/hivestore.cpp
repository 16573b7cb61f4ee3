// The hive store: loading a hive from its base and journal, catching up with other
// processes, appending changes, compacting the journal into a new base, and setting damaged
// files aside.
#include "hivestore.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>

#include "wintypes.h"

namespace zx::registry {
namespace {

std::atomic<std::size_t> g_compactionFloor{std::size_t{1} << 20};

int OpenJournal(const std::string& path) {
  return ::open(path.c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
}

}  // namespace

void SetCompactionFloor(std::size_t bytes) { g_compactionFloor.store(bytes); }

HiveStore::HiveStore(const std::string& folder, const std::string& name)
    : name_(name), basePath_(folder + "/" + name + ".reg"), journalPath_(folder + "/" + name + ".log") {
  journalFd_ = OpenJournal(journalPath_);
  if (journalFd_ < 0 || !counter_.Open(folder + "/" + name + ".seq"))
    openError_ = errno == EACCES ? ERROR_ACCESS_DENIED : ERROR_REGISTRY_IO_FAILED;
}

HiveStore::~HiveStore() {
  if (journalFd_ >= 0) ::close(journalFd_);
}

void HiveStore::Forget() {
  std::lock_guard<std::mutex> guard(mutex_);
  loaded_ = false;
  tree_ = Tree();
}

HiveStore::Access::Access(HiveStore& hive, Mode mode) : hive_(hive), guard_(hive.mutex_) {
  status_ = hive.openError_;
  // Reading needs no file lock while no process has changed the hive (one atomic load).
  if (status_ != ERROR_SUCCESS || (mode == kRead && hive.Current())) return;
  fileLock_.emplace(hive.counter_.fd());
  status_ = fileLock_->held() ? hive.Refresh() : ERROR_REGISTRY_IO_FAILED;
}

bool HiveStore::Current() const { return loaded_ && counter_.Load() == seenSeq_; }

LONG HiveStore::Refresh() {
  if (Current() && journalLive_) return ERROR_SUCCESS;
  if (!loaded_ || !journalLive_ || IdOfPath(basePath_) != baseId_) return FullLoad();
  return CatchUp();
}

// Applies the records other processes appended since this process last looked.
LONG HiveStore::CatchUp() {
  std::string header, tail;
  std::uint64_t generation = 0;
  if (!ReadFrom(journalFd_, 0, header, kJournalHeaderSize) ||
      ParseJournalHeader(header, generation) != JournalHeader::Good || generation != generation_ ||
      !ReadFrom(journalFd_, journalEnd_, tail))
    return FullLoad();
  const JournalScan scan = ReplayRecords(tail, tree_);
  journalEnd_ += scan.end;
  if (scan.state == JournalScan::Damaged) return FullLoad();
  if (scan.state == JournalScan::TornTail) TruncateTornTail();
  else seenSeq_ = counter_.Load();
  return ERROR_SUCCESS;
}

LONG HiveStore::FullLoad() {
  // Others may have replaced the journal (compaction, recovery): use the file the path names.
  if (IdOfPath(journalPath_) != IdOfDescriptor(journalFd_)) {
    const int fd = OpenJournal(journalPath_);
    if (fd < 0) return ERROR_REGISTRY_IO_FAILED;
    ::close(journalFd_);
    journalFd_ = fd;
  }
  std::string base, journal;
  FileId baseId;
  if (!ReadWholeFile(basePath_, base, baseId) || !ReadFrom(journalFd_, 0, journal))
    return ERROR_REGISTRY_IO_FAILED;

  Tree tree;
  BaseParse parse;
  if (baseId.exists) parse = ParseBase(base, tree);
  else parse.headerGood = true;  // a hive never written yet
  std::uint64_t journalGeneration = 0;
  const JournalHeader header = ParseJournalHeader(journal, journalGeneration);
  const bool journalMatches = header == JournalHeader::Good && journalGeneration == parse.generation;
  JournalScan scan;
  if (parse.headerGood && journalMatches)
    scan = ReplayRecords(std::string_view(journal).substr(kJournalHeaderSize), tree);

  tree_ = std::move(tree);
  generation_ = parse.generation;
  baseId_ = baseId;
  baseSize_ = base.size();
  ++epoch_;
  loaded_ = true;
  journalLive_ = false;
  seenSeq_ = counter_.Load();

  const bool baseDamaged = !parse.problem.empty();
  // Changes in a journal whose base is gone (removed by hand) are kept, not dropped.
  const bool orphanJournal = !baseId.exists && header == JournalHeader::Good &&
                             journalGeneration != 0 && journal.size() > kJournalHeaderSize;
  if (orphanJournal) {
    Recover("its base file is missing", false, true, journalGeneration);
  } else if (header == JournalHeader::Damaged || scan.state == JournalScan::Damaged) {
    Recover(header == JournalHeader::Damaged ? "bad journal header" : scan.problem, baseDamaged,
            true, journalGeneration);
  } else if (baseDamaged) {
    // A journal that could not be read on this base (its header is gone) is kept too.
    const bool journalUnread = !parse.headerGood && journal.size() > kJournalHeaderSize;
    Recover(parse.problem, true, journalUnread, journalGeneration);
  } else if (!journalMatches) {
    // Short (new, or torn while being replaced) or stale: nothing in it belongs to this base.
    Announce();
    ReplaceJournal(generation_);
  } else {
    journalLive_ = true;
    journalEnd_ = kJournalHeaderSize + scan.end;
    if (scan.state == JournalScan::TornTail) TruncateTornTail();
  }
  return ERROR_SUCCESS;
}

// The tree holds what could be read. It becomes a new base, with the damaged files kept
// under other names; nothing is overwritten unless its copy was made.
void HiveStore::Recover(const std::string& problem, bool baseDamaged, bool journalAside,
                        std::uint64_t journalGeneration) {
  std::string kept;
  const auto keep = [&kept](const std::string& path) {
    const std::string aside = LinkAside(path);
    kept += (kept.empty() ? "" : " and ") + aside;
    return !aside.empty();
  };
  const auto setAside = [&] {
    return (!baseDamaged || keep(basePath_)) && (!journalAside || keep(journalPath_));
  };
  if (!ReplaceBase(std::max(generation_, journalGeneration) + 1, setAside)) {
    std::fprintf(stderr, "registry: hive %s is damaged (%s) and could not be set aside; "
                 "changes to it are refused\n", name_.c_str(), problem.c_str());
    return;
  }
  std::fprintf(stderr, "registry: hive %s was damaged (%s); moved aside to %s, continuing with "
               "what could be read\n", name_.c_str(), problem.c_str(), kept.c_str());
}

// Writes the tree as the base of a new generation (temporary file, fsync, rename) and gives
// it an empty journal. A crash at any step leaves either the old base with its journal, or the
// new base with a journal that is empty or stale (ignored). beforeRename runs once the new
// base is durable; false from it leaves everything as it was.
bool HiveStore::ReplaceBase(std::uint64_t generation, const std::function<bool()>& beforeRename) {
  Announce();
  const std::string text = FormatBase(tree_, generation);
  const std::string tmpPath = basePath_ + ".tmp";
  const int tmp = WriteSyncedFile(tmpPath, text);
  if (tmp < 0) return false;
  ::close(tmp);
  if ((beforeRename && !beforeRename()) || !RenameDurably(tmpPath, basePath_)) {
    ::unlink(tmpPath.c_str());
    return false;
  }
  generation_ = generation;
  baseId_ = IdOfPath(basePath_);
  baseSize_ = text.size();
  ReplaceJournal(generation);
  return true;
}

// Puts a new empty journal of the generation in place (write, fsync, rename).
bool HiveStore::ReplaceJournal(std::uint64_t generation) {
  const std::string tmpPath = journalPath_ + ".tmp";
  const int fd = WriteSyncedFile(tmpPath, FormatJournalHeader(generation));
  if (fd < 0 || !RenameDurably(tmpPath, journalPath_)) {
    if (fd >= 0) ::close(fd);
    journalLive_ = false;
    return false;
  }
  ::close(journalFd_);
  journalFd_ = fd;
  journalLive_ = true;
  journalEnd_ = kJournalHeaderSize;
  return true;
}

void HiveStore::TruncateTornTail() {
  // The process that tore it died holding the lock, so nothing follows it.
  Announce();
  if (::ftruncate(journalFd_, static_cast<off_t>(journalEnd_)) != 0) journalLive_ = false;
}

LONG HiveStore::Access::Commit(const Change& change) {
  HiveStore& hive = hive_;
  if (!hive.journalLive_) return ERROR_REGISTRY_IO_FAILED;
  const std::string record = EncodeRecord(change);
  hive.Announce();
  if (!WriteAll(hive.journalFd_, record)) {
    if (::ftruncate(hive.journalFd_, static_cast<off_t>(hive.journalEnd_)) != 0) hive.journalLive_ = false;
    return ERROR_REGISTRY_IO_FAILED;
  }
  hive.journalEnd_ += record.size();
  hive.tree_.Apply(change);
  if (hive.journalEnd_ - kJournalHeaderSize > std::max(hive.baseSize_, g_compactionFloor.load()))
    hive.ReplaceBase(hive.generation_ + 1, nullptr);  // fold the journal into a new base
  return ERROR_SUCCESS;
}

LONG HiveStore::Access::Flush() {
  return ::fsync(hive_.journalFd_) == 0 ? ERROR_SUCCESS : ERROR_REGISTRY_IO_FAILED;
}

}  // namespace zx::registry
