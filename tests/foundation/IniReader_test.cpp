// Text lookup by string id: readers, the client-then-language order, escapes and sizes.
// The program lies beside its own copy of the shared library, so the ini files it writes
// there are the ones the library finds.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <vector>

#include "IniReader.h"
#include "machine_fixture.h"
#include "cstring_printer.h"
#include "zx/machine.h"
#include "winuser.h"
#include "zx/msgbox.h"

namespace {

class TextLookupTest : public zx::test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    folder_ = zx::machine::ProgramFolder();
    for (const char* name : {"qvx.ini", "client.ini", "lang.lng"}) std::remove((folder_ + "/" + name).c_str());
    std::filesystem::remove_all(folder_ + "/ENG");
    Write("lang.lng", "[LANGUAGE]\r\n[ENGLISH]\r\n");
    previous_ = zx::user::SetMessageBoxResponder([this](const zx::user::MessageBoxCall& call) {
      boxes_.push_back(call.text);
      return IDOK;
    });
  }
  void TearDown() override {
    zx::user::SetMessageBoxResponder(previous_);
    for (const char* name : {"qvx.ini", "client.ini", "lang.lng"}) std::remove((folder_ + "/" + name).c_str());
    std::filesystem::remove_all(folder_ + "/ENG");
  }
  void Write(const std::string& relative, const std::string& text) { WriteHostFile(folder_ + "/" + relative, text); }

  std::string folder_;
  std::vector<std::u16string> boxes_;
  zx::user::MessageBoxResponder previous_;
};

TEST_F(TextLookupTest, TheClientSectionWinsOverEverything) {
  Write("qvx.ini", "[QVX]\r\nIDS_A=language\r\n");
  Write("client.ini", "[QVX]\r\nIDS_A=client section\r\n[client]\r\nIDS_A=client\r\n");
  EXPECT_EQ(GetLangString(_T("IDS_A"), _T("QVX")), CString(_T("client")));
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(TextLookupTest, TheCallersSectionOfClientIniComesBeforeTheLanguage) {
  Write("qvx.ini", "[QVX]\r\nIDS_B=language\r\nIDS_C=only language\r\n");
  Write("client.ini", "[QVX]\r\nIDS_B=client section\r\n");
  EXPECT_EQ(GetLangString(_T(" IDS_B "), _T("QVX")), CString(_T("client section")));
  EXPECT_EQ(GetLangString(_T("IDS_C"), _T("QVX")), CString(_T("only language")));
}

TEST_F(TextLookupTest, QuotesEscapesAndTrimming) {
  Write("qvx.ini", "[QVX]\r\nIDS_Q=\"two\\nlines\r\nIDS_T=a\\tb\\\\c\r\nIDS_ONE= x \r\nIDS_PAD=\"  padded  \"\r\n");
  CIniReader* reader = OpenIniReader(_T("qvx.ini"), TRUE);
  ASSERT_NE(reader, nullptr);
  CString text;
  ASSERT_TRUE(reader->ReadString(_T("IDS_Q"), _T("QVX"), text));
  EXPECT_EQ(text, CString(_T("two\nlines")));
  // Served again from the cache, the same text.
  ASSERT_TRUE(reader->ReadString(_T("IDS_Q"), _T("QVX"), text));
  EXPECT_EQ(text, CString(_T("two\nlines")));
  ASSERT_TRUE(reader->ReadString(_T("IDS_T"), _T("QVX"), text));
  EXPECT_EQ(text, CString(_T("a\tb\\c")));
  ASSERT_TRUE(reader->ReadString(_T("IDS_ONE"), _T("QVX"), text));
  EXPECT_EQ(text, CString(_T("x")));
  ASSERT_TRUE(reader->ReadString(_T("IDS_PAD"), _T("QVX"), text));
  EXPECT_EQ(text, CString(_T("padded")));
  DeleteIniReader(reader);
}

TEST_F(TextLookupTest, AOneCharacterValueIsNotTrimmed) {
  Write("qvx.ini", "[QVX]\r\nIDS_BLANK=\" \"\r\n");
  CIniReader* reader = OpenIniReader(_T("qvx.ini"), TRUE);
  ASSERT_NE(reader, nullptr);
  CString text;
  EXPECT_TRUE(reader->ReadString(_T("IDS_BLANK"), _T("QVX"), text));
  EXPECT_EQ(text, CString(_T(" ")));
  DeleteIniReader(reader);
}

TEST_F(TextLookupTest, SectionAndIdPairsThatJoinAlikeStayApart) {
  Write("qvx.ini", "[AB]\r\nC=first\r\n[A]\r\nBC=second\r\n");
  CIniReader* reader = OpenIniReader(_T("qvx.ini"), TRUE);
  ASSERT_NE(reader, nullptr);
  CString text;
  ASSERT_TRUE(reader->ReadString(_T("C"), _T("AB"), text));
  EXPECT_EQ(text, CString(_T("first")));
  ASSERT_TRUE(reader->ReadString(_T("BC"), _T("A"), text));
  EXPECT_EQ(text, CString(_T("second")));
  DeleteIniReader(reader);
}

TEST_F(TextLookupTest, AnIdFoundNowhereIsReportedAndEmpty) {
  Write("qvx.ini", "[QVX]\r\nIDS_X=x\r\n");
  EXPECT_TRUE(GetLangString(_T("IDS_MISSING"), _T("QVX")).IsEmpty());
  ASSERT_EQ(boxes_.size(), 1u);
  EXPECT_EQ(boxes_[0], u"Fail to Read: \r\nstrId: IDS_MISSING\r\nSection : QVX");
  CString text;
  ReadIniString(text, _T("IDS_X"), _T("QVX"), nullptr, nullptr);
  EXPECT_TRUE(text.IsEmpty());
  EXPECT_EQ(boxes_.size(), 2u);
}

TEST_F(TextLookupTest, ReadersOfTheLanguageFolderComeFirst) {
  Write("lang.lng", "[LANGUAGE]\r\n[ENGLISH]\r\nRELPATH=ENG\r\n");
  Write("ENG/qvx.ini", "[QVX]\r\nIDS_W=language folder\r\n");
  Write("ENG/client.ini", "[client]\r\nIDS_V=client of the language\r\n");
  EXPECT_EQ(GetLangString(_T("IDS_W"), _T("QVX")), CString(_T("language folder")));
  EXPECT_EQ(GetLangString(_T("IDS_V"), _T("QVX")), CString(_T("client of the language")));
  CIniReader* reader = OpenIniReader(_T("qvx.ini"), TRUE);
  ASSERT_NE(reader, nullptr);
  EXPECT_EQ(reader->m_strFileName, CString(_T("qvx.ini")));
  EXPECT_EQ(reader->m_strFilePath.Right(12), CString(_T("\\ENG\\qvx.ini")));
  DeleteIniReader(reader);
}

TEST_F(TextLookupTest, AMissingClientIniFallsBackToQvxIni) {
  Write("qvx.ini", "[QVX]\r\nIDS_X=x\r\n");
  CIniReader* reader = OpenIniReader(_T("client.ini"), TRUE);
  ASSERT_NE(reader, nullptr);
  EXPECT_EQ(reader->m_strFileName, CString(_T("qvx.ini")));
  DeleteIniReader(reader);
  std::remove((folder_ + "/qvx.ini").c_str());
  EXPECT_EQ(OpenIniReader(_T("client.ini"), TRUE), nullptr);
  DeleteIniReader(nullptr);
}

TEST_F(TextLookupTest, SizeTextsPickTheirUnit) {
  Write("qvx.ini",
        "[QVX]\r\nIDS_BYTES=%I64d Bytes\r\nIDS_KB=%I64d KB\r\nIDS_KB2=%.2f KB\r\nIDS_MB=%I64d MB\r\n"
        "IDS_MB2=%.2f MB\r\nIDS_PHY_MEM_GB_1=%.2f GB\r\n");
  CString text;
  EXPECT_EQ(FormatSizeText(text, 1203, FALSE), CString(_T("1203 Bytes")));
  EXPECT_EQ(FormatSizeText(text, 1204, FALSE), CString(_T("1.18 KB")));
  EXPECT_EQ(FormatSizeText(text, 1204, TRUE), CString(_T("1 KB")));
  EXPECT_EQ(FormatSizeText(text, 1232896, TRUE), CString(_T("1 MB")));
  EXPECT_EQ(FormatSizeText(text, 1232896, FALSE), CString(_T("1.18 MB")));
  EXPECT_EQ(FormatSizeText(text, 1ull << 30, TRUE), CString(_T("1.00 GB")));
}

TEST_F(TextLookupTest, AHostileFormatTextDoesNotCrash) {
  // Texts are kept once read, so the hostile one comes from the client file, read first and
  // read by no other test of this program.
  Write("qvx.ini", "[QVX]\r\nIDS_BYTES=%I64d Bytes\r\n");
  Write("client.ini", "[client]\r\nIDS_BYTES=%s%s%n%d%x %p %S\r\n");
  CString text;
  FormatSizeText(text, 5, FALSE);
  EXPECT_EQ(text, CString(_T("%s%s%n%d%x %p %S"))) << "shown as it stands";
}

}  // namespace

namespace {

TEST(ResourceStrings, TextsComeFromTheCurrentResourceModule) {
  EXPECT_EQ(LoadResString(101), CString(_T("Scan now")));
  EXPECT_EQ(LoadResString(4097), CString(_T("A string in the second block")));
  EXPECT_TRUE(LoadResString(102).IsEmpty());
}

// Every text a program asks for is in the language file it reads it from, read as the program
// reads it, so that no window opens with a "Fail to Read" box of its own. The table names the
// keys by file and section.
TEST_F(TextLookupTest, TheShippedLanguageFilesHoldEveryTextTheProgramsAsk) {
  const std::map<std::string, std::string> shipped = {
      {"qvx.ini", ZX_SOURCE_DIR "/app/text/qvx.ini"},
      {"velquor.ini", ZX_SOURCE_DIR "/app/text/velquor.ini"},
      {"checkupdate.ini", ZX_SOURCE_DIR "/checkupdate/text/checkupdate.ini"}};
  for (const auto& [name, path] : shipped) Write(name, ReadHostFile(path));
  std::ifstream table(ZX_SOURCE_DIR "/tests/data/texts/asked_texts.txt");
  ASSERT_TRUE(table) << "the table of asked texts is missing";
  std::unique_ptr<CIniReader, void (*)(CIniReader*)> reader(nullptr, DeleteIniReader);
  std::string line, file, section;
  int keys = 0;
  while (std::getline(table, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line[0] == '[' ? line.substr(1, line.find(']') - 1) : line);
    if (line[0] == '[') {
      words >> file >> section;
      ASSERT_TRUE(shipped.count(file)) << line;
      reader.reset(OpenIniReader(CString(file.c_str()), TRUE));
      ASSERT_TRUE(reader) << file;
      continue;
    }
    ASSERT_TRUE(reader) << "a key before its file: " << line;
    for (std::string key; words >> key; ++keys) {
      CString text;
      EXPECT_TRUE(reader->ReadString(CString(key.c_str()), CString(section.c_str()), text))
          << file << " [" << section << "] " << key;
    }
  }
  EXPECT_GT(keys, 500);
}

}  // namespace
