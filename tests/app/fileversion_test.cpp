// CFileVersionInfo over files of the machine: a driver file's company name, which of the
// twelve version strings it has, and files without a version resource.
#include <gtest/gtest.h>

#include "FileVersionInfo.h"
#include "machine_fixture.h"
#include "zx/versionresource.h"

namespace {

class FileVersion : public zx::test::MachineTest {
 protected:
  void WriteImage(const std::string& name, const zx::version::VersionInfo& info) {
    const std::vector<BYTE> image = zx::version::BuildResourceImage(zx::version::BuildVersionResource(info));
    WriteHostFile(root() + "/drive_c/" + name, std::string(image.begin(), image.end()));
  }
};

TEST_F(FileVersion, ReadsTheCompanyOfTheFirstTranslation) {
  zx::version::VersionInfo info;
  info.language = 0x0407;
  info.codePage = 0x04E4;
  info.strings = {{u"CompanyName", u"Realtek Semiconductor Corp."}, {u"ProductVersion", u"6.0.1.6657"}};
  WriteImage("rtkvhd64.sys", info);
  CFileVersionInfo version;
  ASSERT_TRUE(version.Load(u"C:\\RTKVHD64.SYS"));
  EXPECT_EQ(version.GetCompanyName(), CString(u"Realtek Semiconductor Corp."));
  EXPECT_TRUE(version.HasStringValue(0));
  EXPECT_TRUE(version.HasStringValue(7));
  EXPECT_FALSE(version.HasStringValue(1));
  EXPECT_FALSE(version.HasStringValue(12));
  EXPECT_FALSE(version.HasStringValue(-1));
  version.Reset();
  EXPECT_TRUE(version.GetCompanyName().IsEmpty());
  EXPECT_FALSE(version.HasStringValue(0));
}

// A resource in three languages, as system files carry many: the company name tells which
// translation was read.
TEST_F(FileVersion, TheTranslationIsTheUsersLanguageThenUsEnglishThenNeutralThenTheFirst) {
  using zx::version::VersionTable;
  const VersionTable german{0x0407, 1200, {{u"CompanyName", u"deutsch"}}};
  const VersionTable english{0x0409, 1200, {{u"CompanyName", u"english"}}};
  const VersionTable neutral{0x0000, 1200, {{u"CompanyName", u"neutral"}}};
  const VersionTable french{0x040C, 1252, {{u"CompanyName", u"francais"}}};
  const struct {
    const char* userLanguage;  // machine.ini [Locale] UILanguage, "" for none
    std::vector<VersionTable> tables;
    const char16_t* company;
  } kCases[] = {
      {"0x0407", {french, english, german}, u"deutsch"},   // the user's language, wherever it stands
      {"1031", {french, german, english}, u"deutsch"},     // the same id in decimal
      {"0x0411", {french, german, english}, u"english"},   // not there: US English
      {"", {german, english, french}, u"english"},         // no language set: US English
      {"0x0411", {french, neutral, german}, u"neutral"},   // then language neutral
      {"0x0411", {french, german}, u"francais"},           // then the first
  };
  for (const auto& test : kCases) {
    SCOPED_TRACE(test.userLanguage);
    SCOPED_TRACE(test.tables.size());
    SetMachineValue("Locale", "UILanguage", test.userLanguage);
    zx::version::VersionInfo info;
    info.language = test.tables[0].language;
    info.codePage = test.tables[0].codePage;
    info.strings = test.tables[0].strings;
    info.moreTables.assign(test.tables.begin() + 1, test.tables.end());
    WriteImage("multi.dll", info);
    CFileVersionInfo version;
    ASSERT_TRUE(version.Load(u"C:\\multi.dll"));
    EXPECT_EQ(version.GetCompanyName(), CString(test.company));
  }
}

TEST_F(FileVersion, FilesWithoutAResourceLoadNothing) {
  WriteHostFile(root() + "/drive_c/plain.sys", "MZ not really a driver");
  CFileVersionInfo version;
  EXPECT_FALSE(version.Load(u"C:\\plain.sys"));
  EXPECT_FALSE(version.Load(u"C:\\missing.sys"));
  EXPECT_TRUE(version.GetCompanyName().IsEmpty());
}

}  // namespace
