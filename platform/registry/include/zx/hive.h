// Platform-internal view of a registry hive: the in-memory key tree, the changes that move it
// on, and the hive's files in the machine's registry folder. The Reg* functions build on it;
// tests and the fuzz target drive it directly.
//
// Files of hive NAME (HKCU, HKLM, HKU) in zx::machine::RegistryFolder():
//
//   NAME.reg   the base: the whole hive as text (UTF-8, '\n' line ends), replaced only by
//              writing NAME.reg.tmp, fsync, rename:
//                ZXHIVE 1 generation <decimal>          header: format version, generation
//                [Software\Zephrin]                     a key, path from the hive root
//                "Path"=sz:"C:\Program Files\Zephrin"   a value of the key above
//                @=dword:0000002a                       '@' names the default value
//                !security=hex:0100...                  the key's own security descriptor
//                                                       (optional, right after its section)
//                END                                    trailer: the file is complete
//              The root key is "[]". Every key has its section, parents before children.
//              Value data: sz:"..." and expand_sz:"..." (terminated UTF-16 text without
//              inner NULs), multi_sz:"a","b" (strings and the closing empty string),
//              dword:<8 hex digits> (4 bytes), qword:<16 hex digits> (8 bytes), hex:<bytes as
//              hex pairs> (REG_BINARY), and hex(<type, decimal>):<bytes> for any other type
//              or data that does not fit the forms above. In names, key names and text, '^'
//              escapes: ^^ is '^', ^" is '"', ^uXXXX is any UTF-16 unit that is not printable
//              (controls, lone surrogates, U+FFFE, U+FFFF); everything else is UTF-8.
//              Lines starting with ';' and blank lines are ignored.
//   NAME.log   the journal: changes made since the base, appended one record per change.
//              Binary, little-endian. A 32-byte header: "ZXHJ", u32 version 1, u64
//              generation, 12 zero bytes, u32 CRC-32 of the first 28 bytes. Then records:
//              u32 payload size, u32 CRC-32 of (size field + payload), payload: u8 operation
//              (ChangeOp), str key path, and for values str name, and for SetValue u32 type,
//              u32 data size, data; for SetSecurity u32 data size, data; a str is u32 unit
//              count then UTF-16LE units. A journal
//              whose generation differs from its base's is stale (a crash between the base's
//              rename and the journal's reset) and is ignored.
//   NAME.seq   the change counter, mapped shared by every process using the hive, and the
//              lock file: changes are made under a POSIX write lock on it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "wintypes.h"

namespace zx::registry {

constexpr std::size_t kMaxKeyNameLength = 255;
constexpr std::size_t kMaxKeyDepth = 512;
constexpr std::size_t kMaxValueNameLength = 16383;

// Where the machine's hive (HKLM) stands: an equal stamp later means that no process changed
// it and it was not read afresh in between. A stamp that is not valid equals no other.
struct HiveStamp {
  bool valid = false;
  std::uint64_t root = 0;     // the machine root's generation
  std::uint64_t changes = 0;  // the hive's change counter
  std::uint64_t epoch = 0;    // how often the process read it afresh
  bool operator==(const HiveStamp& other) const {
    return valid && other.valid && root == other.root && changes == other.changes && epoch == other.epoch;
  }
};
HiveStamp MachineHiveStamp();

// The form names are compared in: both cases of a letter fold alike.
std::u16string FoldName(std::u16string_view name);

struct Value {
  std::u16string name;
  DWORD type = 0;
  std::vector<BYTE> data;
};

class Key {
 public:
  // Sub-keys by folded name, so iteration is alphabetical without regard to case.
  using Subkeys = std::map<std::u16string, std::shared_ptr<Key>>;

  explicit Key(std::u16string name) : name_(std::move(name)) {}
  const std::u16string& name() const { return name_; }
  // True once the key was deleted; handles that still hold it answer ERROR_KEY_DELETED.
  bool deleted() const { return deleted_; }
  const Subkeys& subkeys() const { return subkeys_; }
  // Counts the changes of the sub-key list (a key added, deleted or cleared away).
  std::uint64_t subkeyChanges() const { return subkeyChanges_; }
  // In creation order.
  const std::vector<Value>& values() const { return values_; }
  // The key's own security descriptor as the security component stores it; empty when none
  // was ever set (the key then has the security its parents and its hive give it).
  const std::vector<BYTE>& security() const { return security_; }
  std::shared_ptr<Key> FindSubkey(std::u16string_view name) const;
  const Value* FindValue(std::u16string_view name) const;

 private:
  friend class Tree;
  Key& AddSubkey(std::u16string_view name);
  void SetValue(std::u16string_view name, DWORD type, std::vector<BYTE> data);
  bool DeleteValue(std::u16string_view name);
  void Clear();  // drops sub-keys (marked deleted) and values
  void MarkDeleted();

  std::u16string name_;
  bool deleted_ = false;
  Subkeys subkeys_;
  std::uint64_t subkeyChanges_ = 0;
  std::vector<Value> values_;
  std::vector<BYTE> security_;
  std::unordered_map<std::u16string, std::size_t> valueIndex_;  // folded name -> position
};

enum class ChangeOp : BYTE {
  CreateKey = 1,    // creates every missing key of path
  DeleteTree = 2,   // deletes the key at path with everything below it
  ClearKey = 3,     // deletes the sub-keys and values of the key at path
  SetValue = 4,
  DeleteValue = 5,
  SetSecurity = 6,  // data: the key's security descriptor (empty: none)
};

// One change of a hive, as the journal carries it. Paths are '\'-separated, from the hive root.
struct Change {
  ChangeOp op = ChangeOp::CreateKey;
  std::u16string path;
  std::u16string name;
  DWORD type = 0;
  std::vector<BYTE> data;
};

// The keys of one hive.
class Tree {
 public:
  Tree() : root_(std::make_shared<Key>(u"")) {}
  const std::shared_ptr<Key>& root() const { return root_; }
  // The key at a '\'-separated path ("" is the root), or null.
  std::shared_ptr<Key> Find(std::u16string_view path) const;
  // Applies a change. False when it cannot apply (a missing key, the root deleted, a path
  // too deep or with an empty or over-long name); the tree is then unchanged.
  bool Apply(const Change& change);

 private:
  std::shared_ptr<Key> root_;
};

// The base file.
std::string FormatBase(const Tree& tree, std::uint64_t generation);
struct BaseParse {
  std::uint64_t generation = 0;
  bool headerGood = false;
  std::string problem;  // empty when the whole file was good
};
// Reads base text into an empty tree, keeping what could be read when some is damaged.
BaseParse ParseBase(std::string_view text, Tree& tree);

// The journal.
constexpr std::size_t kJournalHeaderSize = 32;
std::string FormatJournalHeader(std::uint64_t generation);
enum class JournalHeader { Short, Damaged, Good };
JournalHeader ParseJournalHeader(std::string_view bytes, std::uint64_t& generation);
std::string EncodeRecord(const Change& change);
bool DecodeRecordPayload(std::string_view payload, Change& change);
struct JournalScan {
  enum State { Clean, TornTail, Damaged };
  State state = Clean;
  std::size_t end = 0;  // offset just past the last good record
  std::string problem;
};
// Applies the records (the journal after its header) to the tree, up to the first bad one.
// An incomplete or bad last record is a torn tail; a bad record with more after it, damage.
JournalScan ReplayRecords(std::string_view records, Tree& tree);

// Drops every hive's in-memory copy, so the next use loads it from its files as a new
// process would. Open handles stay valid.
void ForgetCachedHives();
// The journal size under which a hive is never compacted (1 MiB unless tests lower it).
void SetCompactionFloor(std::size_t bytes);

}  // namespace zx::registry
