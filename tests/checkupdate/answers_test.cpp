// The update checker's answer files and what they offer: the program answer and the database
// answer read from ini files (escapes, trimming, short and missing files), version comparisons,
// the setup file's name, the transfer mode, browser addresses and checked formats.
#include <gtest/gtest.h>

#include "CheckedFormat.h"
#include "DownloadInfo.h"
#include "UpdateCheckEngine.h"
#include "checkupdate_testing.h"
#include "cstring_printer.h"
#include "zx/pathmap.h"

namespace zx::test {
namespace {

class AnswerFiles : public CheckUpdateTest {
 protected:
  // Writes the bytes to C:\answer.htm and answers its Windows path.
  CString Answer(const std::string& bytes) {
    WriteHostFile(root() + "/drive_c/answer.htm", bytes);
    return _T("C:\\answer.htm");
  }
};

TEST(UpdateVersions, MissingPartsCountAsZero) {
  const struct {
    const char16_t* installed;
    const char16_t* remote;
    BOOL newer;
  } kCases[] = {
      {u"5.1.0.10", u"5.1.0.9", FALSE}, {u"5.1", u"5.1.0.1", TRUE},   {u"5.1.0.10", u"5.1.0.10", FALSE},
      {u"5.1.2", u"5.1", FALSE},        {u"5.1", u"5.1.0", FALSE},     {u"5.1.0.10", u"5.2", TRUE},
      {u"5.1.0.10", u"6", TRUE},        {u"5.1.0.10", u"4.9.9.9", FALSE}, {u"", u"0.0.0.1", TRUE},
      {u"5.1.0.10", u"", FALSE},        {u"5.1.0.10", u"5.1.0.11", TRUE}, {u"10.0", u"9.99", FALSE},
      {u"5.1.0.10", u"5.1.0.10.1", TRUE}, {u"5.1.0.10.7", u"5.1.0.10", FALSE}, {u"5..2", u"5.0.3", TRUE},
  };
  for (const auto& c : kCases)
    EXPECT_EQ(IsNewerVersion(c.installed, c.remote), c.newer)
        << CStringA(CString(c.installed)).GetString() << " / " << CStringA(CString(c.remote)).GetString();
}

TEST(UpdateSetupName, OnlyAPlainFileNameIsKept) {
  const struct {
    const char16_t* key;
    const char16_t* url;
    const char16_t* name;
  } kCases[] = {
      {u"TunevoSetup.exe", u"http://h/files/other.exe", u"TunevoSetup.exe"},
      {u"", u"http://h/files/setup.exe", u"setup.exe"},
      {u"  ", u"http://h/files/setup.exe", u"setup.exe"},
      {u"..\\..\\Windows\\evil.exe", u"http://h/x.exe", u"evil.exe"},
      {u"C:\\Windows\\evil.exe", u"http://h/x.exe", u"evil.exe"},
      {u"sub/dir/evil.exe", u"http://h/x.exe", u"evil.exe"},
      {u"..", u"http://h/x.exe", u""},
      {u"folder\\", u"http://h/x.exe", u""},
      {u"", u"http://h/files/", u""},
      {u"", u"http://h/setup.exe?x=1", u""},  // a name no file may have
      {u"C:evil.exe", u"http://h/x.exe", u""},
      {u"a|b.exe", u"http://h/x.exe", u""},
  };
  for (const auto& c : kCases)
    EXPECT_EQ(SetupFileNameOf(c.key, c.url), CString(c.name)) << CStringA(CString(c.key)).GetString();
}

TEST(UpdateTransferMode, OneMegabyteIsTheLimit) {
  EXPECT_EQ(TransferModeForSize(_T("1048576")), 1);
  EXPECT_EQ(TransferModeForSize(_T("1048577")), 2);
  EXPECT_EQ(TransferModeForSize(_T("")), 1);
  EXPECT_EQ(TransferModeForSize(_T("99999999999")), 2);
}

TEST(UpdateBrowserAddress, OnlyWebAddresses) {
  EXPECT_TRUE(IsBrowserAddress(_T("http://zephrin.example/new")));
  EXPECT_TRUE(IsBrowserAddress(_T("HTTPS://zephrin.example/")));
  EXPECT_FALSE(IsBrowserAddress(_T("http://")));
  EXPECT_FALSE(IsBrowserAddress(_T("file:///C:/Windows/system32/cmd.exe")));
  EXPECT_FALSE(IsBrowserAddress(_T("C:\\Windows\\notepad.exe")));
  EXPECT_FALSE(IsBrowserAddress(_T("mailto:x@y")));
  EXPECT_FALSE(IsBrowserAddress(nullptr));
}

TEST(CheckedFormat, ConversionsMustFitTheValues) {
  const struct {
    const char16_t* format;
    const char16_t* result;
    BOOL fits;
  } kCases[] = {
      {u"%s cannot connect.", u"Zephrin Tunevo cannot connect.", TRUE},
      {u"No product here.", u"No product here.", TRUE},
      {u"100%% of %s", u"100% of Zephrin Tunevo", TRUE},
      {u"[%-16s]", u"[Zephrin Tunevo  ]", TRUE},
      {u"%s and %s", u"%s and %s", FALSE},  // more conversions than values
      {u"%d items", u"%d items", FALSE},    // a number asked for a text
      {u"%n", u"%n", FALSE},
      {u"%*s", u"%*s", FALSE},
      {u"%S", u"%S", FALSE},
      {u"ends with %", u"ends with %", FALSE},
  };
  for (const auto& c : kCases) {
    CString result;
    EXPECT_EQ(FormatChecked(result, c.format, {CString(_T("Zephrin Tunevo"))}), c.fits)
        << CStringA(CString(c.format)).GetString();
    EXPECT_EQ(result, CString(c.result));
  }
  CString address;
  EXPECT_TRUE(FormatChecked(address, _T("q?v=%s&db=%d"), {_T("5.1"), 0}));
  EXPECT_EQ(address, CString(_T("q?v=5.1&db=0")));
  EXPECT_FALSE(FormatChecked(address, _T("q?v=%d&db=%s"), {_T("5.1"), 0}));
  CString size;
  EXPECT_TRUE(FormatChecked(size, _T("%.2f MB of %s"), {1.5, _T("3 MB")}));
  EXPECT_EQ(size, CString(_T("1.50 MB of 3 MB")));
  EXPECT_FALSE(FormatChecked(size, _T("%d MB"), {1.5})) << "a real number is no integer";
  EXPECT_FALSE(FormatChecked(size, _T("%f MB"), {2})) << "nor an integer a real number";
}

TEST_F(AnswerFiles, TheProgramAnswerIsRead) {
  const CString file = Answer(
      "[Application]\r\n"
      "PROGRAM_VERSION = 5.2.0.1 \r\n"
      "PROGRAM_URL=http://host/files/TunevoSetup.exe\r\n"
      "PROGRAM_SIZE=2097152\r\n"
      "Open_Browser=0\r\n"
      "Description=first\\nsecond\\\\nthird\\tend\r\n"
      "key=\r\n"
      "Hash=0123456789ABCDEF0123456789ABCDEF01234567\r\n");
  CDownloadInfo info;
  EXPECT_EQ(ReadAppUpdateInfo(file, _T("5.1.0.10"), FALSE, info), 1);
  EXPECT_TRUE(info.m_bNewer);
  EXPECT_EQ(info.m_strProgramVersion, CString(_T("5.2.0.1")));
  EXPECT_EQ(info.m_strProgramSize, CString(_T("2097152")));
  EXPECT_EQ(info.m_strSetupFileName, CString(_T("TunevoSetup.exe")));
  EXPECT_EQ(info.m_strHash, CString(_T("0123456789ABCDEF0123456789ABCDEF01234567")));
  // Single-backslash escapes first: "\\n" gives a backslash and a line break.
  EXPECT_EQ(info.m_strDescription, CString(_T("first\nsecond\\\nthird\tend")));
  EXPECT_EQ(info.m_nOpenBrowser, 0);
}

TEST_F(AnswerFiles, NotNewerAnswersOneOnlyInProgramOnlyMode) {
  const CString file = Answer("[Application]\r\nPROGRAM_VERSION=5.1.0.9\r\nOpen_Browser=2\r\n");
  CDownloadInfo info;
  EXPECT_EQ(ReadAppUpdateInfo(file, _T("5.1.0.10"), FALSE, info), 0);
  EXPECT_FALSE(info.m_bNewer);
  EXPECT_EQ(info.m_nOpenBrowser, 2);
  EXPECT_EQ(ReadAppUpdateInfo(file, _T("5.1.0.10"), TRUE, info), 1);
}

TEST_F(AnswerFiles, ShortMissingAndDamagedAnswersOfferNothing) {
  CDownloadInfo info;
  EXPECT_EQ(ReadAppUpdateInfo(_T("C:\\missing.htm"), _T("5.1"), FALSE, info), -1);
  EXPECT_EQ(ReadAppUpdateInfo(Answer("\r\n"), _T("5.1"), FALSE, info), 0);
  EXPECT_EQ(ReadAppUpdateInfo(Answer("<html>Not found</html>"), _T("5.1"), FALSE, info), 0);
  EXPECT_FALSE(info.m_bNewer);
  EXPECT_EQ(ReadAppUpdateInfo(Answer(std::string("[Application]\r\nPROGRAM_VERSION=9\0\xff\r\n", 32)), _T("5.1"),
                              FALSE, info),
            1);
}

TEST_F(AnswerFiles, TheDatabaseAnswerIsAlwaysOneRecord) {
  CDownloadInfo info;
  EXPECT_EQ(ReadDbUpdateInfo(Answer("[BrovikUpdates]\r\nSHA = ABCDEF \r\nDOWNLOADURL=HTTP://Host/DB.zip\r\n"), info), 1);
  ASSERT_EQ(info.m_arrDbUpdates.GetSize(), 1);
  EXPECT_EQ(info.m_arrDbUpdates[0].strFileName, CString(_T("CompleteDatabase.zip")));
  EXPECT_EQ(info.m_arrDbUpdates[0].strHash, CString(_T("abcdef")));
  EXPECT_EQ(info.m_arrDbUpdates[0].strUrl, CString(_T("http://host/db.zip")));
  EXPECT_EQ(info.m_arrDbUpdates[0].bFlag, 1);
  EXPECT_EQ(info.m_nDbCount, 1);
  EXPECT_TRUE(info.m_bDbAvailable);
  EXPECT_EQ(ReadDbUpdateInfo(Answer("whatever it holds"), info), 1);
  EXPECT_EQ(info.m_nDbCount, 1);
  EXPECT_EQ(ReadDbUpdateInfo(Answer("x"), info), 0);
  EXPECT_EQ(info.m_nDbCount, 0);
  EXPECT_FALSE(info.m_bDbAvailable);
}

}  // namespace
}  // namespace zx::test
