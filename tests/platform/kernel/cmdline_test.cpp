// The command line a starter records for its child: taken only when its words after the first
// are the child's own arguments.
#include <gtest/gtest.h>

#include "zx/cmdline.h"

namespace {

TEST(RecordedCommandLine, StandsOnlyForTheSameArguments) {
  const std::u16string line = u"C:\\Prog\\checker.exe silent=\"1\"  parentwnd=\"12\"";
  EXPECT_TRUE(zx::cmdline::RecordedLineMatches(line, {"silent=1", "parentwnd=12"}));
  EXPECT_FALSE(zx::cmdline::RecordedLineMatches(line, {"silent=1"}));
  EXPECT_FALSE(zx::cmdline::RecordedLineMatches(line, {"silent=1", "parentwnd=13"}));
  EXPECT_FALSE(zx::cmdline::RecordedLineMatches(u"", {}));
  EXPECT_TRUE(zx::cmdline::RecordedLineMatches(u"prog", {}));
}

TEST(RecordedCommandLine, WordsSplitAsWindowsSplitsThem) {
  const auto words = zx::cmdline::SplitCommandLine(u"a \"b c\" d\\\\\\\"e f\\g");
  ASSERT_EQ(words.size(), 4u);
  EXPECT_EQ(words[1], u"b c");
  EXPECT_EQ(words[2], u"d\\\"e");
  EXPECT_EQ(words[3], u"f\\g");
}

}  // namespace
