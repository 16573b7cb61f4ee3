// Values of the machine profile (machine.ini): sections and names without regard to case, the
// first of a repeated name, lines outside any section, and a profile changed while it is read.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "machine_fixture.h"
#include "zx/machine.h"

namespace {

class MachineProfile : public zx::test::MachineTest {
 protected:
  void WriteProfile(const std::string& text) { WriteHostFile(root() + "/machine.ini", text); }
  static std::string Value(const std::string& section, const std::string& key) {
    return zx::machine::ProfileValue(section, key, "absent");
  }
};

TEST_F(MachineProfile, NamesAreComparedWithoutCaseAndTheFirstValueCounts) {
  WriteProfile("\xEF\xBB\xBFloose=1\r\n[Windows]\r\n Major = 6 \r\nmajor=5\r\n; Minor=9\r\n[broken\r\nMinor=2\r\n"
               "[windows]\r\nBuild=7601\r\nMajor=4\r\n");
  EXPECT_EQ(Value("WINDOWS", "major"), "6");
  EXPECT_EQ(Value("Windows", "Build"), "7601");
  EXPECT_EQ(Value("Windows", "Minor"), "absent");
  EXPECT_EQ(Value("", "loose"), "absent");
  EXPECT_EQ(Value("Machine", "Major"), "absent");
}

// A profile rewritten in place with a text of the same length, at once, is read afresh.
TEST_F(MachineProfile, ARewriteIsSeenAtOnce) {
  for (int round = 0; round < 20; ++round) {
    const std::string digit(1, static_cast<char>('0' + round % 10));
    WriteProfile("[Memory]\r\nTotal=" + digit + "\r\n");
    EXPECT_EQ(Value("Memory", "Total"), digit) << round;
  }
  WriteProfile("[Memory]\r\nFree=1\r\n");
  EXPECT_EQ(Value("Memory", "Total"), "absent");
}

TEST_F(MachineProfile, AMissingProfileAnswersTheFallback) {
  WriteProfile("[Memory]\r\nTotal=4\r\n");
  EXPECT_EQ(Value("Memory", "Total"), "4");
  std::remove((root() + "/machine.ini").c_str());
  EXPECT_EQ(Value("Memory", "Total"), "absent");
}

}  // namespace
