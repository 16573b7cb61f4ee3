// Fuzz target: hostile bytes as a hive's base file and journal, read as the hive loader reads
// them. Reading must never crash, and whatever tree comes out must write a base file that
// reads back whole and writes out the same again.
//
// Input: a 2-byte little-endian length n, then n bytes of base file, then the journal (its
// header, if any, and records). The journal bytes are also tried as one record's payload, so
// the fuzzer reaches the record decoder without having to forge CRCs.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "zx/hive.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t baseSize = size < 2 ? size : std::min<std::size_t>(size - 2, data[0] | data[1] << 8);
  const std::string_view base = input.substr(size < 2 ? 0 : 2, baseSize);
  const std::string_view journal = input.substr(std::min(size, 2 + baseSize));

  zx::registry::Tree tree;
  zx::registry::ParseBase(base, tree);
  std::uint64_t generation = 0;
  const bool headed = zx::registry::ParseJournalHeader(journal, generation) == zx::registry::JournalHeader::Good;
  zx::registry::ReplayRecords(journal.substr(headed ? zx::registry::kJournalHeaderSize : 0), tree);
  zx::registry::Change change;
  if (zx::registry::DecodeRecordPayload(journal, change)) {
    tree.Apply(change);
    if (zx::registry::EncodeRecord(change).substr(8) != journal) std::abort();
  }

  const std::string text = zx::registry::FormatBase(tree, generation);
  zx::registry::Tree again;
  const zx::registry::BaseParse parse = zx::registry::ParseBase(text, again);
  if (!parse.problem.empty() || parse.generation != generation || zx::registry::FormatBase(again, generation) != text)
    std::abort();
  return 0;
}
