// The registered messages' table text: a name it holds, a preferred id another name holds, a
// line cut short, damaged lines and a full table.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "regmsgtable.h"

namespace zx::user {
namespace {

TEST(MessageTableTest, NamesTheirIdsAndWhatIsAppended) {
  struct Case {
    std::string text;
    UINT preferred;
    UINT id;
    std::size_t keep;
    std::string append;
  };
  const Case cases[] = {
      {"C1A4 TASKBARCREATED\n", 0xC000, 0xC1A4, 20, ""},
      {"", 0xC123, 0xC123, 0, "C123 TASKBARCREATED\n"},
      {"C123 OTHER\nC124 THIRD\n", 0xC123, 0xC125, 22, "C125 TASKBARCREATED\n"},
      {"FFFF LAST\n", 0xFFFF, 0xC000, 10, "C000 TASKBARCREATED\n"},
      {"C123 OTH", 0xC123, 0xC123, 0, "C123 TASKBARCREATED\n"},  // a line cut short goes
      // Cut short, a whole-looking claim on the name with another id is no claim.
      {"C200 X\nE0F3 TASKBARCREATED", 0xC123, 0xC123, 7, "C123 TASKBARCREATED\n"},
      {"ZZZZ TASKBARCREATED\n0001 TASKBARCREATED\nC123\n", 0xC123, 0xC123, 45, "C123 TASKBARCREATED\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const MessageTableAnswer answer = LookUpMessage(c.text, "TASKBARCREATED", c.preferred);
    EXPECT_EQ(answer.id, c.id);
    EXPECT_EQ(answer.keep, c.keep);
    EXPECT_EQ(answer.append, c.append);
  }
  std::string full;
  for (UINT id = kFirstRegisteredId; id < kFirstRegisteredId + kRegisteredIdCount; ++id) {
    char line[16];
    std::snprintf(line, sizeof line, "%04X N%04X\n", id, id);
    full += line;
  }
  EXPECT_EQ(LookUpMessage(full, "TASKBARCREATED", 0xC000).id, 0u);
}

}  // namespace
}  // namespace zx::user
