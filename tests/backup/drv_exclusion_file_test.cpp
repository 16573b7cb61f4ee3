// The exclusion list "exclusion.xml": the file byte for byte against hand-written golden files,
// read back, the scan engine's excluded ids kept equal to the list, and damaged or hostile
// files refused without losing them.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "DrvExclusionFile.h"
#include "cstring_printer.h"
#include "machine_fixture.h"
#include "zx/pathmap.h"

namespace zx::test {
namespace {

constexpr LPCTSTR kFolder = _T("C:\\Data");

std::string GoldenFile(const char* name) {
  std::ifstream in(std::string(ZX_EXCLUSION_GOLDEN_DIR "/") + name, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::string HostPath(const char* windowsPath) {
  std::string host;
  const std::u16string wide(windowsPath, windowsPath + std::char_traits<char>::length(windowsPath));
  zx::path::WindowsToHost(wide, host);
  return host;
}

class DrvExclusionFileTest : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    CreateDirectoryW(kFolder, nullptr);
  }
  // The scan engine's excluded ids as the list marks them, keyed in upper case.
  void Watch(CDrvExclusionFile& list) {
    list.SetMarker([this](const CString& id, BOOL mark) {
      CString key = id;
      key.MakeUpper();
      if (mark) {
        marked_[key] = true;
      } else {
        marked_.erase(key);
      }
    });
  }
  std::string FileBytes() { return ReadHostFile(HostPath("C:\\Data\\exclusion.xml")); }
  void PutFile(const std::string& bytes) { WriteHostFile(HostPath("C:\\Data\\exclusion.xml"), bytes); }

  std::map<CString, bool> marked_;
};

TEST_F(DrvExclusionFileTest, WritesTheListByteForByte) {
  CDrvExclusionFile list(kFolder);
  EXPECT_EQ(list.Add(_T("Realtek PCIe GBE Family Controller"), _T("PCI\\VEN_10EC&DEV_8168")), 1);
  EXPECT_EQ(list.Add(_T("Carte son \x00e9tendue <HD>"), _T("HDAUDIO\\FUNC_01&VEN_10EC&DEV_0269")), 2);
  EXPECT_EQ(FileBytes(), GoldenFile("two-drivers.xml"));
  list.RemoveAll();
  EXPECT_EQ(FileBytes(), GoldenFile("root-only.xml"));
}

TEST_F(DrvExclusionFileTest, ReadsTheGoldenFileBackAndMarksItsIds) {
  PutFile(GoldenFile("two-drivers.xml"));
  CDrvExclusionFile list(kFolder);
  Watch(list);
  ASSERT_EQ(list.Load(), CDrvExclusionFile::kLoadRead);
  ASSERT_EQ(list.GetCount(), 2);
  const tagExclusionItem& second = list.GetItems()[1];
  EXPECT_EQ(second.nExclusionId, 2);
  EXPECT_EQ(second.nListIndex, 1);
  EXPECT_EQ(second.strDriverName, CString(_T("Carte son \x00e9tendue <HD>")));
  EXPECT_EQ(second.strHardwareId, CString(_T("HDAUDIO\\FUNC_01&VEN_10EC&DEV_0269")));
  EXPECT_TRUE(second.strReserved.IsEmpty());
  EXPECT_EQ(marked_.size(), 2u);
  EXPECT_TRUE(marked_.count(_T("PCI\\VEN_10EC&DEV_8168")));
  // Written again unchanged, the file stays the same bytes.
  ASSERT_TRUE(list.Save());
  EXPECT_EQ(FileBytes(), GoldenFile("two-drivers.xml"));
}

TEST_F(DrvExclusionFileTest, AHardwareIdIsListedOnceWhateverItsCase) {
  CDrvExclusionFile list(kFolder);
  Watch(list);
  EXPECT_EQ(list.Add(_T("Camera"), _T("USB\\VID_046D&PID_0825")), 1);
  EXPECT_EQ(list.Add(_T("Camera again"), _T("usb\\vid_046d&pid_0825")), 0);
  EXPECT_EQ(list.Add(_T("No id"), _T("")), 0);
  EXPECT_EQ(list.GetCount(), 1);
  EXPECT_EQ(marked_.size(), 1u);
}

TEST_F(DrvExclusionFileTest, NewIdsFollowTheHighestRemainingId) {
  CDrvExclusionFile list(kFolder);
  Watch(list);
  list.Add(_T("A"), _T("ID\\A"));
  list.Add(_T("B"), _T("ID\\B"));
  list.Add(_T("C"), _T("ID\\C"));
  ASSERT_TRUE(list.RemoveAt(2));
  EXPECT_EQ(list.Add(_T("D"), _T("ID\\D")), 3);
  ASSERT_TRUE(list.RemoveAt(0));
  EXPECT_EQ(list.Add(_T("E"), _T("ID\\E")), 4);
  EXPECT_FALSE(list.RemoveAt(4));
  EXPECT_FALSE(list.RemoveAt(-1));
  EXPECT_FALSE(marked_.count(_T("ID\\A")));
  EXPECT_FALSE(marked_.count(_T("ID\\C")));
  EXPECT_EQ(marked_.size(), 3u);
  for (int row = 0; row < list.GetCount(); ++row) EXPECT_EQ(list.GetItems()[row].nListIndex, row);
}

TEST_F(DrvExclusionFileTest, RemovingTheSecondOfTwoNamesakesRemovesThatRow) {
  CDrvExclusionFile list(kFolder);
  Watch(list);
  list.Add(_T("Generic USB Hub"), _T("USB\\ROOT_HUB20"));
  list.Add(_T("Generic USB Hub"), _T("USB\\ROOT_HUB30"));
  ASSERT_TRUE(list.RemoveAt(1));
  ASSERT_EQ(list.GetCount(), 1);
  EXPECT_EQ(list.GetItems()[0].strHardwareId, CString(_T("USB\\ROOT_HUB20")));
  EXPECT_TRUE(marked_.count(_T("USB\\ROOT_HUB20")));
  EXPECT_FALSE(marked_.count(_T("USB\\ROOT_HUB30")));
}

TEST_F(DrvExclusionFileTest, RemoveAllLeavesTheRootAndNothingExcluded) {
  CDrvExclusionFile list(kFolder);
  Watch(list);
  list.Add(_T("A"), _T("ID\\A"));
  list.Add(_T("B"), _T("ID\\B"));
  list.RemoveAll();
  EXPECT_TRUE(marked_.empty());
  EXPECT_EQ(FileBytes(), "<Exclusion/>");
  CDrvExclusionFile again(kFolder);
  EXPECT_EQ(again.Load(), CDrvExclusionFile::kLoadRead);
  EXPECT_EQ(again.GetCount(), 0);
}

TEST_F(DrvExclusionFileTest, MissingAndEmptyFilesGiveAnEmptyList) {
  CDrvExclusionFile list(kFolder);
  EXPECT_EQ(list.Load(), CDrvExclusionFile::kLoadMissing);
  PutFile("  \r\n");
  EXPECT_EQ(list.Load(), CDrvExclusionFile::kLoadRead);
  EXPECT_EQ(list.GetCount(), 0);
}

// Entries without a name, a hardware id before the name, repeated ids and other elements are
// left out; everything else is read, element names without regard to case.
TEST_F(DrvExclusionFileTest, IncompleteEntriesAreLeftOut) {
  const struct {
    const char* text;
    int count;
    const char* firstId;
  } cases[] = {
      {"<Exclusion><ExclusionInfo><ExclusionId>4</ExclusionId><HardwareIds>X</HardwareIds></ExclusionInfo></Exclusion>", 0, ""},
      {"<Exclusion><ExclusionInfo><ExclusionId>4</ExclusionId><HardwareIds>X</HardwareIds><DriverName>N</DriverName></ExclusionInfo></Exclusion>", 0, ""},
      {"<Exclusion><ExclusionInfo><ExclusionId>4</ExclusionId><DriverName> </DriverName><HardwareIds>X</HardwareIds></ExclusionInfo></Exclusion>", 0, ""},
      {"<exclusion><exclusioninfo><EXCLUSIONID> 7 </EXCLUSIONID><drivername> N </drivername><hardwareids> X </hardwareids></exclusioninfo></exclusion>", 1, "X"},
      {"<Exclusion><ExclusionInfo><ExclusionId>1</ExclusionId><DriverName>N</DriverName><HardwareIds>X</HardwareIds></ExclusionInfo>"
       "<ExclusionInfo><ExclusionId>2</ExclusionId><DriverName>M</DriverName><HardwareIds>x</HardwareIds></ExclusionInfo></Exclusion>", 1, "X"},
      {"<Exclusion><Other><DriverName>N</DriverName><Deep><HardwareIds>Y</HardwareIds></Deep></Other></Exclusion>", 1, "Y"},
  };
  for (const auto& c : cases) {
    std::vector<tagExclusionItem> items;
    ASSERT_TRUE(CDrvExclusionFile::Parse(CString(c.text), items)) << c.text;
    ASSERT_EQ(static_cast<int>(items.size()), c.count) << c.text;
    if (c.count > 0) {
      EXPECT_EQ(items[0].strHardwareId, CString(c.firstId)) << c.text;
    }
  }
}

// The longest file read, full of entries, loads at once.
TEST_F(DrvExclusionFileTest, AFullSizeListLoadsQuickly) {
  std::string text = "<Exclusion>";
  for (int id = 1; text.size() < CDrvExclusionFile::kMaxFileBytes - 200; ++id) {
    const std::string number = std::to_string(id);
    text += "<ExclusionInfo><ExclusionId>" + number + "</ExclusionId><DriverName>D" + number +
            "</DriverName><HardwareIds>ID\\" + number + "</HardwareIds></ExclusionInfo>";
  }
  text += "</Exclusion>";
  PutFile(text);
  CDrvExclusionFile list(kFolder);
  ASSERT_EQ(list.Load(), CDrvExclusionFile::kLoadRead);
  EXPECT_GT(list.GetCount(), 30000);
  EXPECT_EQ(list.Add(_T("D1"), _T("id\\1")), 0);
}

// A zero character ends a text, as the written file would end it.
TEST_F(DrvExclusionFileTest, TextsEndAtAZeroCharacter) {
  const char16_t text[] = u"<Exclusion><ExclusionId>1</ExclusionId><DriverName>Cam\0era</DriverName>"
                          u"<HardwareIds>USB\\X</HardwareIds></Exclusion>";
  std::vector<tagExclusionItem> items;
  ASSERT_TRUE(CDrvExclusionFile::Parse(CString(text, static_cast<int>(std::size(text)) - 1), items));
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].strDriverName, CString(_T("Cam")));
  std::vector<tagExclusionItem> again;
  ASSERT_TRUE(CDrvExclusionFile::Parse(CDrvExclusionFile::BuildXml(items), again));
  ASSERT_EQ(again.size(), 1u);
  EXPECT_EQ(again[0].strDriverName, items[0].strDriverName);
}

TEST_F(DrvExclusionFileTest, IdsOutsideThe32BitRangeStopAtTheBound) {
  std::vector<tagExclusionItem> items;
  ASSERT_TRUE(CDrvExclusionFile::Parse(
      _T("<Exclusion><ExclusionId>99999999999</ExclusionId><DriverName>N</DriverName><HardwareIds>X</HardwareIds>")
      _T("<ExclusionId>-99999999999</ExclusionId><DriverName>M</DriverName><HardwareIds>Y</HardwareIds></Exclusion>"),
      items));
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].nExclusionId, INT_MAX);
  EXPECT_EQ(items[1].nExclusionId, INT_MIN);
  PutFile("<Exclusion><ExclusionId>2147483647</ExclusionId><DriverName>N</DriverName><HardwareIds>X</HardwareIds></Exclusion>");
  CDrvExclusionFile list(kFolder);
  ASSERT_EQ(list.Load(), CDrvExclusionFile::kLoadRead);
  EXPECT_EQ(list.Add(_T("M"), _T("Y")), INT_MAX);
}

// A file that is not an exclusion list is moved aside whole, the list starts empty, and the
// next write does not replace it.
TEST_F(DrvExclusionFileTest, DamagedFilesAreKeptAside) {
  const std::string whole(GoldenFile("two-drivers.xml"));
  const std::string cases[] = {
      whole.substr(0, whole.size() / 2),
      "<Devices><ExclusionInfo><ExclusionId>1</ExclusionId><DriverName>N</DriverName><HardwareIds>X</HardwareIds></ExclusionInfo></Devices>",
      "not xml at all",
      "<Exclusion>" + std::string(CDrvExclusionFile::kMaxFileBytes, ' ') + "</Exclusion>",
  };
  for (const std::string& bytes : cases) {
    PutFile(bytes);
    CDrvExclusionFile list(kFolder);
    Watch(list);
    EXPECT_EQ(list.Load(), CDrvExclusionFile::kLoadRefused);
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_TRUE(marked_.empty());
    ASSERT_FALSE(list.GetDamagedCopy().IsEmpty());
    list.Add(_T("A"), _T("ID\\A"));
    const std::string aside = ReadHostFile(HostPath(CStringA(list.GetDamagedCopy()).GetString()));
    EXPECT_TRUE(aside == bytes) << "damaged copy differs, " << bytes.size() << " bytes";
    marked_.clear();
  }
}

TEST_F(DrvExclusionFileTest, AFailedWriteIsReportedAndKeepsTheFile) {
  CDrvExclusionFile list(kFolder);
  list.Add(_T("A"), _T("ID\\A"));
  const std::string before = FileBytes();
  // A folder in the temporary file's place makes the write fail.
  ASSERT_TRUE(CreateDirectoryW(_T("C:\\Data\\exclusion.xml.tmp"), nullptr));
  EXPECT_EQ(list.Add(_T("B"), _T("ID\\B")), 2);  // the list still changes
  EXPECT_FALSE(list.Save());
  EXPECT_EQ(FileBytes(), before);
}

}  // namespace
}  // namespace zx::test
