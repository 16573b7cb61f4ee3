// CStringFile: line ends of every kind, blank lines, NUL bytes, byte-order marks, lines longer
// than the buffer, and files that cannot be opened.
#include <gtest/gtest.h>

#include <vector>

#include "StringFile.h"
#include "machine_fixture.h"

namespace {

class StringFileTest : public zx::test::MachineTest {
 protected:
  // The lines of a file holding bytes, with their numbers.
  std::vector<std::pair<UINT, CString>> Lines(const std::string& bytes) {
    WriteHostFile(root() + "/drive_c/text.inf", bytes);
    CStringFile file;
    EXPECT_TRUE(file.Open(u"C:\\text.inf"));
    std::vector<std::pair<UINT, CString>> lines;
    CString line;
    for (UINT number; (number = file.GetNextLine(line)) != 0;) lines.emplace_back(number, line);
    error_ = file.GetErrorText();
    return lines;
  }
  CString error_;
};

TEST_F(StringFileTest, EveryKindOfLineEndGivesTheSameLines) {
  for (const char* text : {"[Version]\r\nClass=Net\r\n", "[Version]\n\rClass=Net\n\r", "[Version]\rClass=Net\r",
                           "[Version]\nClass=Net\n", "[Version]\nClass=Net", "[Version]\r\rClass=Net\n\n",
                           "[Version]\n\nClass=Net"}) {
    const auto lines = Lines(text);
    ASSERT_EQ(lines.size(), 2u) << text;
    EXPECT_EQ(lines[0].second, CString(u"[Version]"));
    EXPECT_EQ(lines[1].second, CString(u"Class=Net"));
    EXPECT_EQ(lines[1].first, 2u);
  }
}

TEST_F(StringFileTest, BlankLinesNeverAppearButCount) {
  const auto lines = Lines("a\r\n\r\n\r\nb\n\nc");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1], std::make_pair(4u, CString(u"b")));
  EXPECT_EQ(lines[2], std::make_pair(5u, CString(u"c")));  // "\n\n" ends one line
}

TEST_F(StringFileTest, Utf16TextReadsWithoutItsMarkAndNuls) {
  const std::string utf16("\xFF\xFE[\0V\0e\0r\0]\0\r\0\n\0x\0=\0y\0", 22);
  const auto lines = Lines(utf16);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].second, CString(u"[Ver]"));
  EXPECT_EQ(lines[1].second, CString(u"x=y"));
}

TEST_F(StringFileTest, TheFirstCharactersOfAPlainFileStay) {
  const auto lines = Lines("ab\r\ncd\r\n");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].second, CString(u"ab"));
  EXPECT_EQ(Lines("\xEF\xBB\xBFkey=1\n")[0].second, CString(u"key=1"));
}

TEST_F(StringFileTest, OverlongLinesAreCutAndReported) {
  const std::string longLine(CStringFile::kBufferSize + 10, 'x');
  const auto lines = Lines("first\n" + longLine + "\nlast\n");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[1].second.GetLength(), CStringFile::kBufferSize);
  EXPECT_EQ(lines[2].second, CString(u"xxxxxxxxxx"));
  EXPECT_EQ(lines[3].second, CString(u"last"));
  EXPECT_EQ(error_, CString(u"m_pBuffer overflow in line 2 (line length over 2048 chars)"));
}

TEST_F(StringFileTest, LinesAcrossBufferFills) {
  std::string text;
  for (int i = 0; i < 1000; ++i) text += "line " + std::to_string(i) + "\r\n";
  const auto lines = Lines(text);
  ASSERT_EQ(lines.size(), 1000u);
  EXPECT_EQ(lines[999].second, CString(u"line 999"));
  EXPECT_EQ(lines[999].first, 1000u);
}

TEST_F(StringFileTest, MissingFilesAndEmptyFiles) {
  CStringFile file;
  EXPECT_FALSE(file.Open(u"C:\\missing.inf"));
  CString line;
  EXPECT_EQ(file.GetNextLine(line), 0u);
  EXPECT_TRUE(Lines("").empty());
  EXPECT_TRUE(Lines("\r\n\n\0\0").empty());
}

}  // namespace
