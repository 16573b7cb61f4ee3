// CStdioFile: the text mode's line ends (also across the stream's buffer), ANSI and UTF-16
// lines, positions and lengths.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "afx_test_support.h"
#include "machine_fixture.h"
#include "zx/machine.h"

namespace {

class StdioFileTest : public zx::test::MachineTest {
 protected:
  static std::string Host(const char* name) { return zx::machine::DriveCFolder() + "/" + name; }
};

TEST_F(StdioFileTest, TextModeWritesCrLfAndAnsi) {
  {
    CStdioFile file(u"C:\\t.txt", CFile::modeCreate | CFile::modeWrite | CFile::typeText);
    file.WriteString(u"caf\u00e9\n\u20ac\u0416\n");
    const char raw[] = "x\n";
    file.Write(raw, 2);
  }
  EXPECT_EQ(ReadHostFile(Host("t.txt")), "caf\xe9\r\n\x80?\r\nx\r\n");
}

TEST_F(StdioFileTest, TextModeReadsLinesWithoutTheirEnds) {
  WriteHostFile(Host("r.txt"), "one\r\ntwo\nthree\rfour\r\n\r\nlast");
  CStdioFile file(u"C:\\r.txt", CFile::modeRead | CFile::typeText);
  CString line;
  std::vector<CString> lines;
  while (file.ReadString(line)) lines.push_back(line);
  EXPECT_EQ(lines, (std::vector<CString>{u"one", u"two", u"three\rfour", u"", u"last"}));
}

TEST_F(StdioFileTest, ACarriageReturnAtTheEndOfABufferStillPairsWithItsLineFeed) {
  for (std::size_t at : {4095u, 8191u, 16383u}) {
    std::string text(at, 'a');
    text += "\r\nb\r";
    WriteHostFile(Host("edge.txt"), text);
    CStdioFile file(u"C:\\edge.txt", CFile::modeRead | CFile::typeText);
    std::string read(at + 8, '\0');
    read.resize(file.Read(read.data(), static_cast<UINT>(read.size())));
    EXPECT_EQ(read, std::string(at, 'a') + "\nb\r") << at;
  }
}

TEST_F(StdioFileTest, BinaryModeCarriesUtf16Units) {
  {
    CStdioFile file(u"C:\\u.bin", CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
    file.WriteString(u"h\u0416\n");
  }
  EXPECT_EQ(ReadHostFile(Host("u.bin")), std::string("h\0\x16\x04\n\0", 6));
  WriteHostFile(Host("u.bin"), std::string("a\0\r\0\n\0b\0c", 9));  // the last byte is half a unit
  CStdioFile file(u"C:\\u.bin", CFile::modeRead | CFile::typeBinary);
  CString line;
  ASSERT_TRUE(file.ReadString(line));
  EXPECT_EQ(line, CString(u"a\r"));
  ASSERT_TRUE(file.ReadString(line));
  EXPECT_EQ(line, CString(u"b"));
  EXPECT_FALSE(file.ReadString(line));
}

TEST_F(StdioFileTest, PositionsAndLengths) {
  WriteHostFile(Host("p.txt"), "0123456789");
  CStdioFile file(u"C:\\p.txt", CFile::modeReadWrite | CFile::typeBinary);
  EXPECT_EQ(file.GetLength(), 10u);
  char two[2];
  EXPECT_EQ(file.Read(two, 2), 2u);
  EXPECT_EQ(file.GetPosition(), 2u);
  EXPECT_EQ(file.Seek(-3, CFile::end), 7u);
  EXPECT_EQ(file.Read(two, 2), 2u);
  EXPECT_EQ(std::string(two, 2), "78");
  file.SeekToEnd();
  file.Write("ab", 2);
  EXPECT_EQ(file.GetLength(), 12u);
  file.Close();
  EXPECT_EQ(ReadHostFile(Host("p.txt")), "0123456789ab");
  EXPECT_EQ(file.m_pStream, nullptr);
}

TEST_F(StdioFileTest, OpenFailuresAndBadArguments) {
  CStdioFile file;
  CFileException error;
  EXPECT_FALSE(file.Open(u"C:\\missing.txt", CFile::modeRead, &error));
  EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
  EXPECT_EQ(file.m_pStream, nullptr);
  EXPECT_EQ(zx::afxtest::ThrownClass([&] { file.WriteString(u"x"); }), RUNTIME_CLASS(CInvalidArgException));
  EXPECT_EQ(zx::afxtest::ThrownClass([] { CStdioFile missing(u"C:\\missing.txt", CFile::modeRead); }),
            RUNTIME_CLASS(CFileException));
}

}  // namespace
