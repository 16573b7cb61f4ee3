// One hive's files and its in-memory copy, kept current with other processes' changes.
#pragma once
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "hivefiles.h"
#include "zx/hive.h"

namespace zx::registry {

class HiveStore {
 public:
  // name: HKCU, HKLM or HKU; the files are <folder>/<name>.reg, .log and .seq.
  HiveStore(const std::string& folder, const std::string& name);
  HiveStore(const HiveStore&) = delete;
  HiveStore& operator=(const HiveStore&) = delete;
  ~HiveStore();

  // Holds the hive for one operation: the in-process lock and, to change it, the file lock.
  // The tree is current (other processes' changes included) when status() is ERROR_SUCCESS.
  class Access {
   public:
    enum Mode { kRead, kWrite };
    Access(HiveStore& hive, Mode mode);
    LONG status() const { return status_; }
    const Tree& tree() const { return hive_.tree_; }
    // Changes when the tree was reloaded; keys found before belong to the old tree.
    std::uint64_t epoch() const { return hive_.epoch_; }
    // Writes the change to the journal, then applies it (kWrite only).
    LONG Commit(const Change& change);
    // Makes the journal durable.
    LONG Flush();

   private:
    HiveStore& hive_;
    std::lock_guard<std::mutex> guard_;
    std::optional<FileLock> fileLock_;
    LONG status_ = 0;
  };

  // Drops the in-memory copy; the next access loads the files again.
  void Forget();
  // HKCU, HKLM or HKU.
  const std::string& name() const { return name_; }
  // The hive's change counter, shared by every process using it.
  std::uint64_t changes() const { return counter_.Load(); }

 private:
  bool Current() const;
  LONG Refresh();
  LONG FullLoad();
  LONG CatchUp();
  void Recover(const std::string& problem, bool baseDamaged, bool journalAside,
               std::uint64_t journalGeneration);
  bool ReplaceBase(std::uint64_t generation, const std::function<bool()>& beforeRename);
  bool ReplaceJournal(std::uint64_t generation);
  void TruncateTornTail();
  void Announce() { seenSeq_ = counter_.Bump(); }

  const std::string name_;
  const std::string basePath_;
  const std::string journalPath_;
  std::mutex mutex_;
  SharedCounter counter_;
  int journalFd_ = -1;
  LONG openError_ = 0;

  bool loaded_ = false;
  Tree tree_;
  std::uint64_t generation_ = 0;
  std::uint64_t epoch_ = 0;
  std::uint64_t seenSeq_ = 0;
  FileId baseId_;
  std::size_t baseSize_ = 0;
  bool journalLive_ = false;  // the journal file carries generation_, applied up to journalEnd_
  std::size_t journalEnd_ = 0;
};

}  // namespace zx::registry
