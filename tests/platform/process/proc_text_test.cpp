// What the layer reads from another process's /proc files: stat lines with odd commands, the
// first word of a command line, and maps texts with lines that are no whole mapping.
#include <gtest/gtest.h>

#include <string>

#include "zx/processes.h"

namespace zx::process {
namespace {

using namespace std::string_literals;

TEST(ProcTextTest, StatLines) {
  struct Case {
    std::string line;
    bool read;
    std::string command;
    char state;
    DWORD parent, threads;
  };
  const Case cases[] = {
      {"4242 (cat) S 1 4242 4242 0 -1 4194560 120 0 0 0 1 0 0 0 20 0 3 0 5000", true, "cat", 'S', 1, 3},
      {"7 (my (odd) prog) R 2 7 7 0 -1 0 0 0 0 0 0 0 0 0 20 0 9 0", true, "my (odd) prog", 'R', 2, 9},
      {"9 (zombie) Z 1", true, "zombie", 'Z', 1, 0},
      {"9 )backwards( S 1", false, "", 0, 0, 0},
      {"9 (none)", false, "", 0, 0, 0},
      {"", false, "", 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    ProcessStat stat;
    ASSERT_EQ(ParseProcessStat(c.line, stat), c.read);
    if (!c.read) continue;
    EXPECT_EQ(stat.command, c.command);
    EXPECT_EQ(stat.state, c.state);
    EXPECT_EQ(stat.parentId, c.parent);
    EXPECT_EQ(stat.threads, c.threads);
  }
  EXPECT_EQ(FirstCommandWord("/usr/bin/python3\0-m\0"s), "/usr/bin/python3");
  EXPECT_EQ(FirstCommandWord("no-zero"), "no-zero");
  EXPECT_EQ(FirstCommandWord(""), "");
}

TEST(ProcTextTest, MapsGiveOneModulePerFile) {
  const std::string maps =
      "1000-2000 r--p 00000000 08:01 12 /usr/bin/cat\n"
      "zz-yy r--p 0 0 0 /bad\n"                         // no addresses
      "5000-4000 r--p 0 0 0 /backwards\n"               // ends before it starts
      "10000000000000000-10000000000000001 r--p 0 0 0 /too/far\n"  // past the address space
      "3000-8000 r-xp 00001000 08:01 12 /usr/bin/cat\n"
      "9000-a000 rw-p 00000000 00:00 0 [stack]\n"
      "b000-c000 r--p 00000000 08:01 13 /usr/lib/with blank.so\n";
  const std::vector<Module> modules = ParseModuleMaps(maps);
  ASSERT_EQ(modules.size(), 2u);
  EXPECT_EQ(modules[0].path, "/usr/bin/cat");
  EXPECT_EQ(modules[0].base, 0x1000u);
  EXPECT_EQ(modules[0].size, 0x7000u);
  EXPECT_EQ(modules[1].path, "/usr/lib/with blank.so");
}

}  // namespace
}  // namespace zx::process
