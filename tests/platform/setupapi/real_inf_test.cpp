// Real INF files as other projects ship them (the USB gadget INFs of the Linux kernel's
// documentation, Debian's linux-doc package) installed as Windows installs them: the models
// section decorated for the platform, the install section's decoration recorded in the
// driver's Class key ("InfSectionExt") and its services taken from the decorated section.
#include <gtest/gtest.h>

#include <difxapi.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "difx_testing.h"
#include "setupapi_testing.h"

namespace zx::devices {
namespace {

const char kGadgets[] =
    "device USB\\VID_0525&PID_A4A7\\5&2A1B&0&1\n"
    "  name = Gadget Serial\n"
    "  hwid = USB\\VID_0525&PID_A4A7&REV_0100\n"
    "  hwid = USB\\VID_0525&PID_A4A7\n"
    "device USB\\VID_0525&PID_A4A2\\5&2A1B&0&2\n"
    "  name = RNDIS Gadget\n"
    "  hwid = USB\\VID_0525&PID_A4A2\n";

class RealInfTest : public zx::test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    SeedText(kGadgets);
  }
  // Unpacks the documentation's INF into C:\dl\<name>; false when linux-doc is not installed.
  static bool PlaceDocumentationInf(const std::string& name) {
    for (const auto& doc : std::filesystem::directory_iterator("/usr/share/doc")) {
      const std::filesystem::path packed = doc.path() / "Documentation/usb" / (name + ".gz");
      if (doc.path().filename().string().rfind("linux-doc-", 0) != 0 || !std::filesystem::exists(packed)) continue;
      const std::string target = MachineFileHost(u"C:\\dl\\" + std::u16string(name.begin(), name.end()));
      std::filesystem::create_directories(std::filesystem::path(target).parent_path());
      return std::system(("zcat '" + packed.string() + "' > '" + target + "'").c_str()) == 0;
    }
    return false;
  }
  static std::u16string ClassKeyOf(const std::u16string& instance) {
    return u"SYSTEM\\CurrentControlSet\\Control\\Class\\" + MachineText(kEnum + instance, u"Driver");
  }
};

TEST_F(RealInfTest, TheSerialGadgetInfInstallsItsAmd64Sections) {
  if (!PlaceDocumentationInf("linux-cdc-acm.inf")) GTEST_SKIP() << "linux-doc is not installed";
  ASSERT_EQ(DriverPackageInstallW(u"C:\\dl\\linux-cdc-acm.inf", 0, nullptr, nullptr), 0u);
  const std::u16string instance = u"USB\\VID_0525&PID_A4A7\\5&2A1B&0&1";
  EXPECT_EQ(MachineText(ClassKeyOf(instance), u"InfSection"), u"DriverInstall");
  EXPECT_EQ(MachineText(ClassKeyOf(instance), u"InfSectionExt"), u".NTamd64");
  EXPECT_EQ(MachineText(ClassKeyOf(instance), u"DriverDesc"), u"Gadget Serial");
  EXPECT_EQ(MachineText(kEnum + instance, u"Service"), u"usbser");
}

TEST_F(RealInfTest, TheRndisGadgetInfTakesOneOfItsThreeDecoratedModels) {
  if (!PlaceDocumentationInf("linux.inf")) GTEST_SKIP() << "linux-doc is not installed";
  ASSERT_EQ(DriverPackageInstallW(u"C:\\dl\\linux.inf", 0, nullptr, nullptr), 0u);
  const std::u16string instance = u"USB\\VID_0525&PID_A4A2\\5&2A1B&0&2";
  EXPECT_EQ(MachineText(ClassKeyOf(instance), u"InfSection"), u"RNDIS.NT.5.1");
  EXPECT_EQ(MachineText(ClassKeyOf(instance), u"InfSectionExt"), u"<missing>");
  EXPECT_EQ(MachineText(ClassKeyOf(instance), u"MatchingDeviceId"), u"usb\\vid_0525&pid_a4a2");
}

}  // namespace
}  // namespace zx::devices
