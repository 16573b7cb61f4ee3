// The hive's journal: header and change records framed with size and CRC-32 (format in
// zx/hive.h).
#include <zlib.h>

#include "zx/hive.h"

namespace zx::registry {
namespace {

constexpr char kMagic[4] = {'Z', 'X', 'H', 'J'};
constexpr std::uint32_t kVersion = 1;
constexpr std::size_t kFrameSize = 8;  // payload size + CRC

void PutU32(std::string& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>(value >> (8 * i));
}

void PutU64(std::string& out, std::uint64_t value) {
  PutU32(out, static_cast<std::uint32_t>(value));
  PutU32(out, static_cast<std::uint32_t>(value >> 32));
}

std::uint32_t GetU32(std::string_view bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

std::uint32_t Crc(std::string_view bytes, std::uint32_t crc = 0) {
  return static_cast<std::uint32_t>(
      crc32(crc, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
}

// A record's CRC covers its size field and its payload.
std::uint32_t RecordCrc(std::string_view sizeField, std::string_view payload) {
  return Crc(payload, Crc(sizeField));
}

void PutString(std::string& out, std::u16string_view text) {
  PutU32(out, static_cast<std::uint32_t>(text.size()));
  for (char16_t c : text) {
    out += static_cast<char>(c & 0xFF);
    out += static_cast<char>(c >> 8);
  }
}

// Reads the payload's fields in order; every read fails once the payload runs short.
class PayloadReader {
 public:
  explicit PayloadReader(std::string_view payload) : rest_(payload) {}
  bool U8(BYTE& value) {
    if (rest_.empty()) return false;
    value = static_cast<BYTE>(rest_[0]);
    rest_.remove_prefix(1);
    return true;
  }
  bool U32(std::uint32_t& value) {
    if (rest_.size() < 4) return false;
    value = GetU32(rest_, 0);
    rest_.remove_prefix(4);
    return true;
  }
  bool String(std::u16string& text) {
    std::uint32_t count;
    if (!U32(count) || rest_.size() / 2 < count) return false;
    text.resize(count);
    for (std::uint32_t i = 0; i < count; ++i)
      text[i] = static_cast<char16_t>(static_cast<unsigned char>(rest_[2 * i]) |
                                      static_cast<unsigned char>(rest_[2 * i + 1]) << 8);
    rest_.remove_prefix(2 * std::size_t{count});
    return true;
  }
  bool Bytes(std::vector<BYTE>& data) {
    std::uint32_t count;
    if (!U32(count) || rest_.size() < count) return false;
    data.assign(rest_.begin(), rest_.begin() + count);
    rest_.remove_prefix(count);
    return true;
  }
  bool AtEnd() const { return rest_.empty(); }

 private:
  std::string_view rest_;
};

}  // namespace

std::string FormatJournalHeader(std::uint64_t generation) {
  std::string header(kMagic, sizeof kMagic);
  PutU32(header, kVersion);
  PutU64(header, generation);
  header.append(12, '\0');
  PutU32(header, Crc(header));
  return header;
}

JournalHeader ParseJournalHeader(std::string_view bytes, std::uint64_t& generation) {
  if (bytes.size() < kJournalHeaderSize) return JournalHeader::Short;
  if (bytes.substr(0, 4) != std::string_view(kMagic, 4) || GetU32(bytes, 4) != kVersion ||
      GetU32(bytes, 28) != Crc(bytes.substr(0, 28)))
    return JournalHeader::Damaged;
  generation = GetU32(bytes, 8) | std::uint64_t{GetU32(bytes, 12)} << 32;
  return JournalHeader::Good;
}

std::string EncodeRecord(const Change& change) {
  std::string payload(1, static_cast<char>(change.op));
  PutString(payload, change.path);
  if (change.op == ChangeOp::SetValue || change.op == ChangeOp::DeleteValue)
    PutString(payload, change.name);
  if (change.op == ChangeOp::SetValue) PutU32(payload, change.type);
  if (change.op == ChangeOp::SetValue || change.op == ChangeOp::SetSecurity) {
    PutU32(payload, static_cast<std::uint32_t>(change.data.size()));
    payload.append(change.data.begin(), change.data.end());
  }
  std::string record;
  record.reserve(kFrameSize + payload.size());
  PutU32(record, static_cast<std::uint32_t>(payload.size()));
  PutU32(record, RecordCrc(record, payload));
  record += payload;
  return record;
}

bool DecodeRecordPayload(std::string_view payload, Change& change) {
  PayloadReader in(payload);
  BYTE op;
  if (!in.U8(op) || op < static_cast<BYTE>(ChangeOp::CreateKey) ||
      op > static_cast<BYTE>(ChangeOp::SetSecurity) || !in.String(change.path))
    return false;
  change.op = static_cast<ChangeOp>(op);
  change.name.clear();
  change.type = 0;
  change.data.clear();
  if ((change.op == ChangeOp::SetValue || change.op == ChangeOp::DeleteValue) && !in.String(change.name))
    return false;
  if (change.op == ChangeOp::SetValue && (!in.U32(change.type) || !in.Bytes(change.data)))
    return false;
  if (change.op == ChangeOp::SetSecurity && !in.Bytes(change.data)) return false;
  return in.AtEnd();
}

JournalScan ReplayRecords(std::string_view records, Tree& tree) {
  JournalScan scan;
  Change change;
  while (scan.end < records.size()) {
    const std::string_view rest = records.substr(scan.end);
    if (rest.size() < kFrameSize || rest.size() - kFrameSize < GetU32(rest, 0)) {
      scan.state = JournalScan::TornTail;
      return scan;
    }
    const std::size_t size = kFrameSize + GetU32(rest, 0);
    const std::string_view payload = rest.substr(kFrameSize, size - kFrameSize);
    if (GetU32(rest, 4) != RecordCrc(rest.substr(0, 4), payload) ||
        !DecodeRecordPayload(payload, change)) {
      // A bad last record is what a torn write leaves; one followed by more is damage.
      scan.state = size == rest.size() ? JournalScan::TornTail : JournalScan::Damaged;
      if (scan.state == JournalScan::Damaged)
        scan.problem = "bad record at offset " + std::to_string(kJournalHeaderSize + scan.end);
      return scan;
    }
    tree.Apply(change);
    scan.end += size;
  }
  return scan;
}

}  // namespace zx::registry
