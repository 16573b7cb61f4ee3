// Text files in every encoding: reading, writing, round trips and byte layouts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TextFiles.h"
#include "cstring_printer.h"
#include "machine_fixture.h"
#include "zx/machine.h"

namespace {

class TextFileTest : public zx::test::MachineTest {
 protected:
  static std::string Host(const char* name) { return zx::machine::DriveCFolder() + "/" + name; }
  static std::string Bytes(const char* name) { return ReadHostFile(Host(name)); }
  static void Put(const char* name, const std::string& bytes) { WriteHostFile(Host(name), bytes); }

  // Writes the lines (each followed by "\n") and reads them back.
  static std::vector<CString> RoundTrip(UINT writeFlags, UINT readFlags, int codePage,
                                        const std::vector<CString>& lines) {
    {
      CStdioFileEx out(_T("C:\\round.txt"), CFile::modeCreate | CFile::modeWrite | writeFlags);
      out.SetCodePage(codePage);
      for (const CString& line : lines) out.WriteString(line + _T("\n"));
    }
    CStdioFileEx in(_T("C:\\round.txt"), CFile::modeRead | readFlags);
    in.SetCodePage(codePage);
    std::vector<CString> read;
    CString line;
    while (in.ReadString(line)) read.push_back(line);
    return read;
  }
};

const std::vector<CString> kWestern = {_T("Caf\u00e9 \u20ac5"), _T(""), _T("na\u00efve \u0178")};
const std::vector<CString> kWorld = {_T("\u0416\u0438\u0437\u043d\u044c"), _T("\u65e5\u672c"),
                                     _T("\U0001F600 smile")};

TEST_F(TextFileTest, AnsiTextRoundTripsAsWindows1252WithCrLf) {
  EXPECT_EQ(RoundTrip(CFile::typeText, CFile::typeText, -1, kWestern), kWestern);
  EXPECT_EQ(Bytes("round.txt"),
            "Caf\xe9 \x80"
            "5\r\n\r\nna\xefve \x9f\r\n");
}

TEST_F(TextFileTest, Utf8TextRoundTrips) {
  EXPECT_EQ(RoundTrip(CFile::typeText, CFile::typeText, CP_UTF8, kWorld), kWorld);
  EXPECT_EQ(Bytes("round.txt").substr(0, 12), "\xd0\x96\xd0\xb8\xd0\xb7\xd0\xbd\xd1\x8c\r\n");
}

TEST_F(TextFileTest, Utf16WithTheMarkRoundTrips) {
  EXPECT_EQ(RoundTrip(CStdioFileEx::modeWriteUnicode, CFile::typeText, -1, kWorld), kWorld);
  EXPECT_EQ(Bytes("round.txt").substr(0, 6), std::string("\xff\xfe\x16\x04\x38\x04", 6));
}

TEST_F(TextFileTest, Utf16WithoutTheMarkRoundTripsInBinaryMode) {
  EXPECT_EQ(RoundTrip(CFile::typeBinary, CFile::typeBinary, -1, kWorld), kWorld);
  EXPECT_EQ(Bytes("round.txt").substr(0, 4), std::string("\x16\x04\x38\x04", 4));
}

TEST_F(TextFileTest, TheMarkIsWrittenOnce) {
  {
    CStdioFileEx out(_T("C:\\u.txt"), CFile::modeCreate | CFile::modeWrite | CStdioFileEx::modeWriteUnicode);
    EXPECT_TRUE(out.TextIsUnicode());
    out.WriteString(_T("ab\r\n"));
    out.WriteString(_T("c"));
  }
  EXPECT_EQ(Bytes("u.txt"), std::string("\xff\xfe"
                                        "a\0b\0\r\0\n\0c\0",
                                        12));
}

TEST_F(TextFileTest, AMarkedFileOpenedAsTextIsReadAsUtf16) {
  Put("m.txt", std::string("\xff\xfe"
                           "a\0b\0c\0\r\0\n\0d\0",
                           14));
  CStdioFileEx in(_T("C:\\m.txt"), CFile::modeRead | CFile::typeText);
  EXPECT_TRUE(in.TextIsUnicode());
  CString line;
  ASSERT_TRUE(in.ReadString(line));
  EXPECT_EQ(line, CString(_T("abc")));
  ASSERT_TRUE(in.ReadString(line));
  EXPECT_EQ(line, CString(_T("d")));
  EXPECT_FALSE(in.ReadString(line));
}

TEST_F(TextFileTest, AnUnmarkedFileIsCodePageText) {
  Put("plain.txt", "abc\r\nx\ry\n\xe9");
  CStdioFileEx in(_T("C:\\plain.txt"), CFile::modeRead | CFile::typeText);
  EXPECT_FALSE(in.TextIsUnicode());
  CString line;
  ASSERT_TRUE(in.ReadString(line));
  EXPECT_EQ(line, CString(_T("abc")));
  ASSERT_TRUE(in.ReadString(line));
  EXPECT_EQ(line, CString(_T("x\ry")));
  ASSERT_TRUE(in.ReadString(line));
  EXPECT_EQ(line, CString(_T("\u00e9")));
  EXPECT_FALSE(in.ReadString(line));
}

TEST_F(TextFileTest, BinaryModeSkipsOnlyARealMark) {
  Put("nomark.txt", std::string("h\0i\0", 4));
  CStdioFileEx in(_T("C:\\nomark.txt"), CFile::modeRead | CFile::typeBinary);
  CString line;
  ASSERT_TRUE(in.ReadString(line));
  EXPECT_EQ(line, CString(_T("hi")));
}

TEST_F(TextFileTest, ALongLineIsReadWhole) {
  const std::string text(20000, 'x');
  Put("long.txt", text + "\r\nend\r\n");
  CStdioFileEx in(_T("C:\\long.txt"), CFile::modeRead | CFile::typeText);
  CString line;
  ASSERT_TRUE(in.ReadString(line));
  EXPECT_EQ(line.GetLength(), 20000);
  ASSERT_TRUE(in.ReadString(line));
  EXPECT_EQ(line, CString(_T("end")));
}

TEST_F(TextFileTest, AUtf8MarkIsDropped) {
  Put("bom8.txt", "\xef\xbb\xbf\xc3\xa9t\xc3\xa9\r\n");
  CStdioFileEx in(_T("C:\\bom8.txt"), CFile::modeRead | CFile::typeText);
  in.SetCodePage(CP_UTF8);
  CString line;
  ASSERT_TRUE(in.ReadString(line));
  EXPECT_EQ(line, CString(_T("\u00e9t\u00e9")));
}

TEST_F(TextFileTest, ALineThatConvertsToNothingIsEmpty) {
  Put("cp.txt", "abc\r\n");
  CStdioFileEx in(_T("C:\\cp.txt"), CFile::modeRead | CFile::typeText);
  in.SetCodePage(1251);  // a code page the machine does not have
  CString line = _T("previous");
  ASSERT_TRUE(in.ReadString(line));
  EXPECT_EQ(line, CString());
}

TEST_F(TextFileTest, CharactersTheCodePageLacksBecomeHash) {
  {
    CStdioFileEx out(_T("C:\\hash.txt"), CFile::modeCreate | CFile::modeWrite | CFile::typeText);
    out.WriteString(_T("a\u0416b"));
  }
  EXPECT_EQ(Bytes("hash.txt"), "a#b");
}

TEST_F(TextFileTest, TextThatCannotBeWrittenIsAnErrorNotALoss) {
  CStdioFileEx out(_T("C:\\lost.txt"), CFile::modeCreate | CFile::modeWrite | CFile::typeText);
  out.SetCodePage(1251);
  try {
    out.WriteString(_T("abc"));
    ADD_FAILURE() << "no exception";
  } catch (CFileException* error) {
    EXPECT_EQ(error->m_lOsError, ERROR_NO_UNICODE_TRANSLATION);
    error->Delete();
  }
  out.WriteString(_T(""));  // nothing to convert, nothing to write
}

TEST_F(TextFileTest, CharacterCounts) {
  CStdioFileEx closed;
  EXPECT_EQ(closed.CountCharacters(), 0u);
  Put("empty.txt", "");
  Put("one.txt", "x");
  Put("marked.txt", std::string("\xff\xfe"
                                "a\0b\0c\0",
                                8));
  Put("bare.txt", std::string("a\0b\0c\0d\0", 8));
  Put("ansi.txt", "hello");
  for (const auto* name : {_T("C:\\empty.txt"), _T("C:\\one.txt")}) {
    CStdioFileEx file(name, CFile::modeRead | CFile::typeBinary);
    EXPECT_EQ(file.CountCharacters(), 0u) << CStringA(name).GetString();
  }
  CStdioFileEx marked(_T("C:\\marked.txt"), CFile::modeRead | CFile::typeText);
  EXPECT_EQ(marked.CountCharacters(), 3u);
  CStdioFileEx bare(_T("C:\\bare.txt"), CFile::modeRead | CFile::typeBinary);
  EXPECT_EQ(bare.CountCharacters(), 4u);
  CStdioFileEx ansi(_T("C:\\ansi.txt"), CFile::modeRead | CFile::typeText);
  EXPECT_EQ(ansi.CountCharacters(), 5u);
  CString line;
  ASSERT_TRUE(marked.ReadString(line));  // counting leaves the position alone
  EXPECT_EQ(line, CString(_T("abc")));
}

TEST_F(TextFileTest, AnEmptyFileHasNoLines) {
  Put("empty.txt", "");
  CStdioFileEx in(_T("C:\\empty.txt"), CFile::modeRead | CFile::typeText);
  CString line;
  EXPECT_FALSE(in.ReadString(line));
  CStdioFileEx closed;
  EXPECT_FALSE(closed.ReadString(line));
}

TEST_F(TextFileTest, OpeningAMissingFileThrowsFromTheConstructor) {
  try {
    CStdioFileEx in(_T("C:\\missing.txt"), CFile::modeRead | CFile::typeText);
    ADD_FAILURE() << "no exception";
  } catch (CFileException* error) {
    EXPECT_EQ(error->m_cause, CFileException::fileNotFound);
    error->Delete();
  }
  CStdioFileEx file;
  CFileException error;
  EXPECT_FALSE(file.Open(_T("C:\\missing.txt"), CFile::modeRead, &error));
  EXPECT_FALSE(CStdioFileEx::HasUnicodeMark(_T("C:\\missing.txt")));
}

TEST_F(TextFileTest, ANullFilePathIsRefused) {
  CStdioFileEx file;
  try {
    file.SetFilePath(nullptr);
    ADD_FAILURE() << "no exception";
  } catch (CInvalidArgException* error) {
    error->Delete();
  }
  file.SetFilePath(_T("C:\\name.txt"));
  EXPECT_EQ(file.GetFilePath(), CString(_T("C:\\name.txt")));
}

TEST(TextConversions, LengthsAndLimits) {
  EXPECT_EQ(CStdioFileEx::GetUserAnsiCodePage(), 1252u);
  EXPECT_EQ(CStdioFileEx::GetMultiByteLength(_T("\u00e9\u20ac"), -1), 3);
  EXPECT_EQ(CStdioFileEx::GetMultiByteLength(_T("\u20ac"), CP_UTF8), 4);
  char narrow[8] = {'z', 'z', 'z', 'z', 'z', 'z', 'z', 'z'};
  EXPECT_EQ(CStdioFileEx::UnicodeToMultiByte(_T("\u20acx"), narrow, 8, 1252), 2);
  EXPECT_EQ(std::string(narrow), "\x80x");
  EXPECT_EQ(CStdioFileEx::UnicodeToMultiByte(_T("x"), narrow, 0, 1252), 0);
  EXPECT_EQ(CStdioFileEx::UnicodeToMultiByte(nullptr, narrow, 8, 1252), 0);
  WCHAR wide[4] = {u'z', u'z', u'z', u'z'};
  EXPECT_EQ(CStdioFileEx::MultiByteToUnicode("\xc3\xa9", wide, 4, CP_UTF8), 1);
  EXPECT_EQ(wide[0], u'\u00e9');
  EXPECT_EQ(wide[1], 0);
  EXPECT_EQ(CStdioFileEx::MultiByteToUnicode("toolong", wide, 4, 1252), 0);
  EXPECT_EQ(wide[0], 0);  // cleared first
}

}  // namespace
