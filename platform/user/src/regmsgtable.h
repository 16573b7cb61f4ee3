// The shared table of registered window messages as text: "XXXX NAME" lines, one id in
// 0xC000-0xFFFF per name. User-internal.
#pragma once
#include <map>
#include <string>

#include "wintypes.h"

namespace zx::user {

inline constexpr UINT kFirstRegisteredId = 0xC000;
inline constexpr UINT kRegisteredIdCount = 0x4000;

// The table's names by id; a damaged line, an id out of range, or a second claim on an id or
// a name is passed over.
std::map<std::string, UINT> ParseMessageTable(const std::string& text, std::map<UINT, std::string>* ids);

// The id of `name` in the table: the one it holds, else the first free id from `preferred`
// on, with the line to write for it at `keep`: a line cut short by a crash is dropped, since
// ended it could read as a claim on the name. Id 0 when every id is taken.
struct MessageTableAnswer {
  UINT id = 0;
  std::size_t keep = 0;  // the bytes of the table that stay
  std::string append;    // empty when the table holds the name
};
MessageTableAnswer LookUpMessage(const std::string& text, const std::string& name, UINT preferred);

}  // namespace zx::user
