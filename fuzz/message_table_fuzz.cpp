// Fuzz target: the shared table of registered window messages that every process reads and
// extends, as its text. A name looked up gets an id in 0xC000-0xFFFF (0 only when the table is
// full); once its line is appended the name reads back with that id, every name of the table
// keeps its id, and looking it up again adds nothing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>

#include "../platform/user/src/regmsgtable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::map<UINT, std::string> ids;
  const auto before = zx::user::ParseMessageTable(text, &ids);
  for (const char* name : {"TASKBARCREATED", "ZEPHRINKX_SHOW", "QVX\xC3\x9C"}) {
    const UINT preferred = zx::user::kFirstRegisteredId + static_cast<UINT>(size) % zx::user::kRegisteredIdCount;
    const zx::user::MessageTableAnswer answer = zx::user::LookUpMessage(text, name, preferred);
    if (answer.id == 0) {
      if (ids.size() < zx::user::kRegisteredIdCount) std::abort();
      continue;
    }
    if (answer.id < zx::user::kFirstRegisteredId ||
        answer.id >= zx::user::kFirstRegisteredId + zx::user::kRegisteredIdCount)
      std::abort();
    // What stays of the table is all of it, or whole lines when a line is added.
    if (answer.keep > text.size() || (!answer.append.empty() && answer.keep > 0 && text[answer.keep - 1] != '\n'))
      std::abort();
    const std::string extended = text.substr(0, answer.keep) + answer.append;
    std::map<UINT, std::string> extendedIds;
    const auto after = zx::user::ParseMessageTable(extended, &extendedIds);
    const auto found = after.find(name);
    if (found == after.end() || found->second != answer.id) std::abort();
    for (const auto& [known, id] : before) {
      const auto kept = after.find(known);
      if (kept == after.end() || kept->second != id) std::abort();
    }
    const zx::user::MessageTableAnswer again = zx::user::LookUpMessage(extended, name, preferred);
    if (again.id != answer.id || !again.append.empty()) std::abort();
  }
  return 0;
}
