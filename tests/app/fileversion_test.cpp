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

TEST_F(FileVersion, FilesWithoutAResourceLoadNothing) {
  WriteHostFile(root() + "/drive_c/plain.sys", "MZ not really a driver");
  CFileVersionInfo version;
  EXPECT_FALSE(version.Load(u"C:\\plain.sys"));
  EXPECT_FALSE(version.Load(u"C:\\missing.sys"));
  EXPECT_TRUE(version.GetCompanyName().IsEmpty());
}

}  // namespace
