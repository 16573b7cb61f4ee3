// The record of installed updates "exc.xml": adding, searching, the file's layout, saving
// and loading again, damaged files kept aside, and the INF path normalisation.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

#include "ExclusionList.h"
#include "cstring_printer.h"
#include "machine_fixture.h"
#include "zx/pathmap.h"

namespace zx::test {
namespace {

ExclusionEntry MakeEntry(LPCTSTR hwid, LPCTSTR md5, LPCTSTR inf, int installError = 7) {
  ExclusionEntry entry;
  entry.szText[ExclusionEntry::kHardwareId] = hwid;
  entry.szText[ExclusionEntry::kMatchingId] = _T("pci\\ven_8086&dev_1502");
  entry.szText[ExclusionEntry::kMd5] = md5;
  entry.szText[ExclusionEntry::kInfPath] = inf;
  entry.nInstallErrorCode = installError;
  entry.nDeviceErrorCode = 28;
  return entry;
}

class ExclusionListTest : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    CreateDirectoryW(kFolder, nullptr);
  }
  std::string HostPath(LPCTSTR name) const {
    std::string host;
    CString path = kFolder;
    path += _T("\\");
    path += name;
    zx::path::WindowsToHost(std::u16string_view(path.GetString(), path.GetLength()), host);
    return host;
  }
  static constexpr LPCTSTR kFolder = _T("C:\\Data");
};

TEST(NormalizeInfPathTest, KeepsWhatLiesBehindTheExtractionFolder) {
  EXPECT_EQ(NormalizeInfPath(_T("C:\\Prog\\Extract\\pkg\\Disk1\\NET.INF")), CString(_T("pkg\\disk1\\net.inf")));
  EXPECT_EQ(NormalizeInfPath(_T("C:\\Windows\\INF\\Oem3.inf")), CString(_T("c:\\windows\\inf\\oem3.inf")));
  EXPECT_EQ(NormalizeInfPath(_T("D:\\extract")), CString(_T("extract")));
}

TEST_F(ExclusionListTest, StartsEmptyWithoutAFile) {
  CExclusionList list(kFolder);
  EXPECT_EQ(list.GetCount(), 0);
  CString text;
  EXPECT_FALSE(list.LoadFile(text));
  EXPECT_TRUE(list.GetDamagedCopy().IsEmpty());
}

TEST_F(ExclusionListTest, AddingTheSameUpdateChangesNothing) {
  CExclusionList list(kFolder);
  EXPECT_TRUE(list.Add(MakeEntry(_T("PCI\\A"), _T("abc"), _T("x.inf"))));
  EXPECT_FALSE(list.Add(MakeEntry(_T("PCI\\A"), _T("abc"), _T("x.inf"))));
  // A different update for the same key replaces the entry.
  EXPECT_TRUE(list.Add(MakeEntry(_T("PCI\\A"), _T("def"), _T("x.inf"), 0)));
  EXPECT_EQ(list.GetCount(), 1);
  EXPECT_EQ(list.Find(_T("PCI\\A"))->szText[ExclusionEntry::kMd5], CString(_T("def")));
  // Keys compare exactly; MD5 and INF path ignore case in the search.
  EXPECT_EQ(list.Find(_T("pci\\a")), nullptr);
  EXPECT_TRUE(list.Contains(MakeEntry(_T("PCI\\A"), _T("DEF"), _T("X.INF"))));
  EXPECT_FALSE(list.Contains(MakeEntry(_T("PCI\\A"), _T("abc"), _T("x.inf"))));
  EXPECT_FALSE(list.Contains(MakeEntry(_T("PCI\\B"), _T("def"), _T("x.inf"))));
}

TEST_F(ExclusionListTest, AFailedInstallHoldsNoUpdateAndAnotherOutcomeReplacesTheEntry) {
  struct Case {
    int storedError, addedError;
    bool added;     // whether the second add changes the entry
    bool contains;  // whether the update then counts as installed
  } const cases[] = {
      {0, 0, false, true},  // installed twice: unchanged, installed
      {7, 7, false, false}, // failed twice: unchanged, not installed
      {7, 0, true, true},   // failed, then installed
      {0, 7, true, false},  // installed, then failed
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.storedError * 10 + c.addedError);
    CExclusionList list(kFolder);
    ASSERT_TRUE(list.Add(MakeEntry(_T("PCI\\A"), _T("abc"), _T("x.inf"), c.storedError)));
    EXPECT_EQ(list.Add(MakeEntry(_T("PCI\\A"), _T("abc"), _T("x.inf"), c.addedError)), c.added);
    EXPECT_EQ(list.Find(_T("PCI\\A"))->nInstallErrorCode, c.addedError);
    EXPECT_EQ(list.Contains(MakeEntry(_T("PCI\\A"), _T("ABC"), _T("X.INF"))), c.contains);
  }
}

TEST_F(ExclusionListTest, WritesTheDocumentInKeyOrder) {
  CExclusionList list(kFolder);
  list.Add(MakeEntry(_T("PCI\\B"), _T("m2"), _T("C:\\dl\\Extract\\Pkg\\Net.inf")));
  list.Add(MakeEntry(_T("PCI\\A"), _T("m1"), _T("a&b.inf")));
  ASSERT_TRUE(list.Save());
  const std::string text = ReadHostFile(HostPath(_T("exc.xml")));
  const std::string device =
      "<device><HardwareIdentifier>PCI\\A</HardwareIdentifier>"
      "<UpdateDeviceMatchingID>pci\\ven_8086&amp;dev_1502</UpdateDeviceMatchingID><MD5>m1</MD5>"
      "<InfPath>a&amp;b.inf</InfPath><InstallErrorCode>7</InstallErrorCode>"
      "<DeviceErrorCode>28</DeviceErrorCode></device>";
  std::string compact;
  for (char ch : text) {
    if (ch != '\r' && ch != '\n') compact.push_back(ch);
  }
  EXPECT_EQ(compact.rfind("<newdataset>", 0), 0u) << text;
  EXPECT_NE(compact.find(device), std::string::npos) << text;
  EXPECT_LT(compact.find("PCI\\A"), compact.find("PCI\\B"));
  EXPECT_NE(compact.find("<InfPath>pkg\\net.inf</InfPath>"), std::string::npos) << text;
  EXPECT_EQ(text.find("<?xml"), std::string::npos);
}

TEST_F(ExclusionListTest, SavedFileLoadsBack) {
  {
    CExclusionList list(kFolder);
    list.Add(MakeEntry(_T("PCI\\A"), _T("m1"), _T("a.inf"), 0));
    list.Add(MakeEntry(_T("USB\\\x00e9t\x00e9"), _T("m2"), _T("b.inf")));
    ASSERT_TRUE(list.Save());
  }
  CExclusionList again(kFolder);
  ASSERT_EQ(again.GetCount(), 2);
  const ExclusionEntry* entry = again.Find(_T("USB\\\x00e9t\x00e9"));
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->szText[ExclusionEntry::kMd5], CString(_T("m2")));
  EXPECT_EQ(entry->nInstallErrorCode, 7);
  EXPECT_EQ(entry->nDeviceErrorCode, 28);
  EXPECT_TRUE(again.Contains(MakeEntry(_T("PCI\\A"), _T("M1"), _T("A.INF"))));
  // Saving leaves no temporary file behind.
  EXPECT_FALSE(std::filesystem::exists(HostPath(_T("exc.xml.tmp"))));
}

TEST_F(ExclusionListTest, TheFirstOfTwoEqualKeysWins) {
  WriteHostFile(HostPath(_T("exc.xml")),
                "<newdataset>\r\n<device><HardwareIdentifier>K</HardwareIdentifier><MD5>one</MD5>"
                "<InfPath>a.inf</InfPath></device>\r\n<device><HardwareIdentifier>K</HardwareIdentifier>"
                "<MD5>two</MD5><InfPath>b.inf</InfPath></device><device><HardwareIdentifier>L"
                "</HardwareIdentifier><MD5>three</MD5></device></newdataset>");
  CExclusionList list(kFolder);
  ASSERT_EQ(list.GetCount(), 2);
  EXPECT_EQ(list.Find(_T("K"))->szText[ExclusionEntry::kMd5], CString(_T("one")));
  EXPECT_EQ(list.Find(_T("L"))->szText[ExclusionEntry::kMd5], CString(_T("three")));
}

TEST_F(ExclusionListTest, DamagedFileIsKeptAsideAndNotOverwritten) {
  const std::string damaged = "<newdataset><device><HardwareIdentifier>K</Hard";
  WriteHostFile(HostPath(_T("exc.xml")), damaged);
  CExclusionList list(kFolder);
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_EQ(list.GetDamagedCopy(), CString(_T("C:\\Data\\exc.xml.damaged")));
  EXPECT_EQ(ReadHostFile(HostPath(_T("exc.xml.damaged"))), damaged);
  list.Add(MakeEntry(_T("PCI\\A"), _T("m1"), _T("a.inf")));
  ASSERT_TRUE(list.Save());
  EXPECT_EQ(ReadHostFile(HostPath(_T("exc.xml.damaged"))), damaged);
  // A second damaged file does not replace the first copy.
  WriteHostFile(HostPath(_T("exc.xml")), "<other/>");
  list.Reload();
  EXPECT_EQ(list.GetDamagedCopy(), CString(_T("C:\\Data\\exc.xml.damaged.1")));
  EXPECT_EQ(ReadHostFile(HostPath(_T("exc.xml.damaged"))), damaged);
}

// A record read, saved, read and saved again is the same file: whatever bytes and paths the
// first file held, the program's own record reads back to itself.
TEST_F(ExclusionListTest, ASavedRecordReadsBackToItself) {
  const std::string notUtf8 = std::string(37, '\xff') + "\xc3\xa9K";   // ends in "eK", e acute
  const std::string notUtf8Too = std::string(11, '\xff') + "\xc3\x89k";  // ends in "Ek", E acute
  const struct {
    const char* what;
    std::string file;
    int count;
  } kCases[] = {
      {"an INF path through two folders named extract, ids that are not UTF-8",
       "\xef\xbb\xbf<?xml version=\"1.0\" encoding=\"utf-2\"?><newdataset><device><HardwareIdentifier>" + notUtf8 +
           "</HardwareIdentifier><extra>" + std::string(72, '\xd0') +
           "5></extra><InfPath>a\\EXTRACT\\b\\extract\\c.inf</InfPath></device><device><HardwareIdentifier>" +
           notUtf8Too + "</HardwareIdentifier></device></newdataset>",
       2},
      {"a path left as an older program wrote it",
       "<newdataset><device><HardwareIdentifier>PCI\\A</HardwareIdentifier><MD5>m</MD5>"
       "<InfPath>pkg\\Extract\\Disk1\\net.inf</InfPath></device></newdataset>",
       1},
  };
  for (const auto& test : kCases) {
    SCOPED_TRACE(test.what);
    WriteHostFile(HostPath(_T("exc.xml")), test.file);
    CExclusionList first(kFolder);
    ASSERT_EQ(first.GetCount(), test.count);
    ASSERT_TRUE(first.Save());
    const std::string written = ReadHostFile(HostPath(_T("exc.xml")));
    CExclusionList again(kFolder);
    ASSERT_EQ(again.GetCount(), test.count);
    ASSERT_TRUE(again.Save());
    EXPECT_EQ(ReadHostFile(HostPath(_T("exc.xml"))), written);
  }
  // An added path is normalised once, and stays so through saving and loading.
  CExclusionList list(kFolder);
  list.Add(MakeEntry(_T("PCI\\B"), _T("m2"), _T("C:\\Data\\Extract\\Pkg\\Extract\\Net.inf"), 0));
  ASSERT_TRUE(list.Save());
  CExclusionList reloaded(kFolder);
  EXPECT_EQ(reloaded.Find(_T("PCI\\B"))->szText[ExclusionEntry::kInfPath], CString(_T("pkg\\extract\\net.inf")));
  // The lookup normalises the offered update's path the same way.
  EXPECT_TRUE(reloaded.Contains(
      MakeEntry(_T("PCI\\B"), _T("m2"), NormalizeInfPath(_T("D:\\extract\\pkg\\extract\\net.inf")))));
}

TEST_F(ExclusionListTest, AFailedSaveKeepsTheOldFile) {
  CExclusionList list(kFolder);
  list.Add(MakeEntry(_T("PCI\\A"), _T("m1"), _T("a.inf")));
  ASSERT_TRUE(list.Save());
  const std::string before = ReadHostFile(HostPath(_T("exc.xml")));
  // A folder in the temporary file's place makes the write fail.
  std::filesystem::create_directory(HostPath(_T("exc.xml.tmp")));
  list.Add(MakeEntry(_T("PCI\\B"), _T("m2"), _T("b.inf")));
  EXPECT_FALSE(list.Save());
  EXPECT_EQ(ReadHostFile(HostPath(_T("exc.xml"))), before);
}

}  // namespace
}  // namespace zx::test
