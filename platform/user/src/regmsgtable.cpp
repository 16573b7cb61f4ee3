// The registered messages' table read from its text, and the id a name gets in it.
#include "regmsgtable.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace zx::user {

std::map<std::string, UINT> ParseMessageTable(const std::string& text, std::map<UINT, std::string>* ids) {
  std::map<std::string, UINT> names;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) break;  // a line cut short by a crash
    const std::string line = text.substr(start, end - start);
    start = end + 1;
    UINT id = 0;
    const auto [at, error] = std::from_chars(line.data(), line.data() + std::min<std::size_t>(line.size(), 4), id, 16);
    if (line.size() < 6 || error != std::errc() || at != line.data() + 4 || line[4] != ' ' ||
        id < kFirstRegisteredId || id >= kFirstRegisteredId + kRegisteredIdCount)
      continue;
    const std::string name = line.substr(5);
    if (name.empty() || names.count(name) || ids->count(id)) continue;
    names[name] = id;
    (*ids)[id] = name;
  }
  return names;
}

MessageTableAnswer LookUpMessage(const std::string& text, const std::string& name, UINT preferred) {
  std::map<UINT, std::string> ids;
  const auto names = ParseMessageTable(text, &ids);
  MessageTableAnswer answer;
  if (const auto it = names.find(name); it != names.end()) {
    answer.id = it->second;
    answer.keep = text.size();
    return answer;
  }
  if (ids.size() >= kRegisteredIdCount) return answer;
  UINT id = preferred;
  while (ids.count(id)) id = id + 1 == kFirstRegisteredId + kRegisteredIdCount ? kFirstRegisteredId : id + 1;
  char head[8];
  std::snprintf(head, sizeof head, "%04X ", id);
  const std::size_t lastEnd = text.rfind('\n');
  answer.keep = lastEnd == std::string::npos ? 0 : lastEnd + 1;
  answer.append = std::string(head) + name + "\n";
  answer.id = id;
  return answer;
}

}  // namespace zx::user
