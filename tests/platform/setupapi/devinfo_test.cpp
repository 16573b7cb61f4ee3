// Device information sets, device registry properties, class descriptions, driver lists and
// the device-node status, over a seeded device tree.
#include <gtest/gtest.h>

#include <cfgmgr32.h>
#include <objbase.h>
#include <setupapi.h>

#include "errhandlingapi.h"
#include "sysinfoapi.h"
#include "setupapi_testing.h"

namespace zx::devices {
namespace {

const GUID kNet = {0x4d36e972, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};

// A set of the seeded devices, destroyed with the test.
class DeviceSetTest : public zx::test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    SeedText(kTwoCards);
  }
  void TearDown() override {
    if (set_ != INVALID_HANDLE_VALUE) SetupDiDestroyDeviceInfoList(set_);
  }
  HDEVINFO Open(DWORD flags, const GUID* cls = nullptr, LPCWSTR enumerator = nullptr) {
    if (set_ != INVALID_HANDLE_VALUE) SetupDiDestroyDeviceInfoList(set_);
    set_ = SetupDiGetClassDevsW(cls, enumerator, nullptr, flags);
    return set_;
  }
  SP_DEVINFO_DATA Device(DWORD index) {
    SP_DEVINFO_DATA data{};
    data.cbSize = sizeof data;
    EXPECT_TRUE(SetupDiEnumDeviceInfo(set_, index, &data)) << index;
    return data;
  }
  std::u16string InstanceId(SP_DEVINFO_DATA device) {
    WCHAR id[512];
    EXPECT_TRUE(SetupDiGetDeviceInstanceIdW(set_, &device, id, 512, nullptr));
    return id;
  }
  DWORD Count() {
    SP_DEVINFO_DATA data{};
    data.cbSize = sizeof data;
    DWORD n = 0;
    while (SetupDiEnumDeviceInfo(set_, n, &data)) ++n;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_ITEMS));
    return n;
  }
  HDEVINFO set_ = INVALID_HANDLE_VALUE;
};

TEST_F(DeviceSetTest, PresentDevicesInRegistryOrder) {
  ASSERT_NE(Open(DIGCF_PRESENT | DIGCF_ALLCLASSES), INVALID_HANDLE_VALUE);
  EXPECT_EQ(Count(), 3u);
  EXPECT_EQ(InstanceId(Device(0)), u"PCI\\VEN_8086&DEV_0085&SUBSYS_13118086&REV_34\\4&31C7BDF7&0&00E2");
  EXPECT_EQ(InstanceId(Device(1)), u"PCI\\VEN_8086&DEV_1502&SUBSYS_21F317AA&REV_04\\3&21436425&0&C8");
  EXPECT_EQ(InstanceId(Device(2)), u"PCI\\VEN_8086&DEV_1E22&SUBSYS_21F317AA&REV_04\\3&21436425&0&FB");
  EXPECT_TRUE(IsEqualGUID(Device(1).ClassGuid, kNet));
  EXPECT_TRUE(IsEqualGUID(Device(2).ClassGuid, GUID{}));
}

// A device that went away since the last set is not in the next one.
TEST_F(DeviceSetTest, ANewSetSeesTheTreeAsItIsNow) {
  ASSERT_NE(Open(DIGCF_PRESENT | DIGCF_ALLCLASSES), INVALID_HANDLE_VALUE);
  ASSERT_EQ(Count(), 3u);
  ASSERT_EQ(RegDeleteKeyW(HKEY_LOCAL_MACHINE,
                          u"SYSTEM\\CurrentControlSet\\Enum\\PCI\\VEN_8086&DEV_0085&SUBSYS_13118086&REV_34\\4&31C7BDF7&0&00E2\\Control"),
            ERROR_SUCCESS);
  ASSERT_NE(Open(DIGCF_PRESENT | DIGCF_ALLCLASSES), INVALID_HANDLE_VALUE);
  EXPECT_EQ(Count(), 2u);
  EXPECT_EQ(InstanceId(Device(0)), u"PCI\\VEN_8086&DEV_1502&SUBSYS_21F317AA&REV_04\\3&21436425&0&C8");
}

TEST_F(DeviceSetTest, AbsentDevicesEnumeratorsAndClasses) {
  Open(DIGCF_ALLCLASSES);
  EXPECT_EQ(Count(), 4u);
  Open(DIGCF_ALLCLASSES, nullptr, u"usb");
  EXPECT_EQ(Count(), 1u);
  Open(DIGCF_PRESENT, &kNet);
  EXPECT_EQ(Count(), 2u);
}

TEST_F(DeviceSetTest, RefusesWhatItDoesNotOffer) {
  EXPECT_EQ(Open(DIGCF_DEVICEINTERFACE | DIGCF_ALLCLASSES), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FLAGS));
  EXPECT_EQ(Open(DIGCF_PRESENT), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  SP_DEVINFO_DATA data{};
  data.cbSize = 12;
  Open(DIGCF_PRESENT | DIGCF_ALLCLASSES);
  EXPECT_FALSE(SetupDiEnumDeviceInfo(set_, 0, &data));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_USER_BUFFER));
}

TEST_F(DeviceSetTest, DestroyedSetsAndDeletedMembers) {
  Open(DIGCF_PRESENT | DIGCF_ALLCLASSES);
  SP_DEVINFO_DATA first = Device(0);
  ASSERT_TRUE(SetupDiDeleteDeviceInfo(set_, &first));
  EXPECT_EQ(Count(), 2u);
  EXPECT_EQ(InstanceId(Device(0)), u"PCI\\VEN_8086&DEV_1502&SUBSYS_21F317AA&REV_04\\3&21436425&0&C8");
  DWORD type = 0;
  BYTE buffer[64];
  EXPECT_FALSE(SetupDiGetDeviceRegistryPropertyW(set_, &first, SPDRP_DEVICEDESC, &type, buffer, 64, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  const HDEVINFO gone = set_;
  SetupDiDestroyDeviceInfoList(set_);
  set_ = INVALID_HANDLE_VALUE;
  SP_DEVINFO_DATA data{};
  data.cbSize = sizeof data;
  EXPECT_FALSE(SetupDiEnumDeviceInfo(gone, 0, &data));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(SetupDiDestroyDeviceInfoList(gone));
}

TEST_F(DeviceSetTest, RegistryProperties) {
  Open(DIGCF_PRESENT | DIGCF_ALLCLASSES);
  SP_DEVINFO_DATA card = Device(1);
  BYTE buffer[1024];
  DWORD type = 0, needed = 0;
  ASSERT_TRUE(SetupDiGetDeviceRegistryPropertyW(set_, &card, SPDRP_HARDWAREID, &type, buffer, sizeof buffer, &needed));
  EXPECT_EQ(type, static_cast<DWORD>(REG_MULTI_SZ));
  EXPECT_EQ(needed, (44u + 1 + 37 + 1 + 1) * 2);
  EXPECT_EQ(std::u16string(reinterpret_cast<LPCWSTR>(buffer)), u"PCI\\VEN_8086&DEV_1502&SUBSYS_21F317AA&REV_04");
  ASSERT_TRUE(SetupDiGetDeviceRegistryPropertyW(set_, &card, SPDRP_DRIVER, &type, buffer, sizeof buffer, nullptr));
  EXPECT_EQ(std::u16string(reinterpret_cast<LPCWSTR>(buffer)), u"{4d36e972-e325-11ce-bfc1-08002be10318}\\0000");
  ASSERT_TRUE(SetupDiGetDeviceRegistryPropertyW(set_, &card, SPDRP_CONFIGFLAGS, &type, buffer, sizeof buffer, &needed));
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(needed, 4u);
  EXPECT_FALSE(SetupDiGetDeviceRegistryPropertyW(set_, &card, SPDRP_FRIENDLYNAME, &type, buffer, sizeof buffer, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
  EXPECT_FALSE(SetupDiGetDeviceRegistryPropertyW(set_, &card, SPDRP_DEVICEDESC, &type, buffer, 10, &needed));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(needed, (43u + 1) * 2);
  EXPECT_FALSE(SetupDiGetDeviceRegistryPropertyW(set_, &card, 0x99, &type, buffer, sizeof buffer, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_REG_PROPERTY));
  SP_DEVINFO_DATA wireless = Device(0);
  ASSERT_TRUE(SetupDiGetDeviceRegistryPropertyW(set_, &wireless, SPDRP_FRIENDLYNAME, &type, buffer, sizeof buffer, nullptr));
  EXPECT_EQ(std::u16string(reinterpret_cast<LPCWSTR>(buffer)), u"Wireless Network Connection");
}

TEST_F(DeviceSetTest, InstanceIdBufferSizes) {
  Open(DIGCF_PRESENT | DIGCF_ALLCLASSES);
  SP_DEVINFO_DATA card = Device(1);
  WCHAR id[8];
  DWORD needed = 0;
  EXPECT_FALSE(SetupDiGetDeviceInstanceIdW(set_, &card, id, 8, &needed));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(needed, 61u);
}

TEST_F(DeviceSetTest, ClassDescriptions) {
  WCHAR text[64];
  DWORD needed = 0;
  ASSERT_TRUE(SetupDiGetClassDescriptionW(&kNet, text, 64, &needed));
  EXPECT_EQ(std::u16string(text), u"Network adapters");
  EXPECT_EQ(needed, 17u);
  EXPECT_FALSE(SetupDiGetClassDescriptionW(&kNet, text, 5, &needed));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  const GUID unknown{0x12345678, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}};
  EXPECT_FALSE(SetupDiGetClassDescriptionW(&unknown, text, 64, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_CLASS));
}

TEST_F(DeviceSetTest, TheInstalledDriversList) {
  Open(DIGCF_PRESENT | DIGCF_ALLCLASSES);
  SP_DEVINFO_DATA card = Device(1);
  ASSERT_TRUE(SetupDiBuildDriverInfoList(set_, &card, SPDIT_COMPATDRIVER));
  SP_DRVINFO_DATA_V2_W driver{};
  driver.cbSize = sizeof driver;
  ASSERT_TRUE(SetupDiEnumDriverInfoW(set_, &card, SPDIT_COMPATDRIVER, 0, &driver));
  EXPECT_EQ(std::u16string(driver.Description), u"Intel(R) 82579LM Gigabit Network Connection");
  EXPECT_EQ(std::u16string(driver.ProviderName), u"Intel");
  EXPECT_EQ(std::u16string(driver.MfgName), u"Intel");
  EXPECT_EQ(driver.DriverVersion, 0x000C000000960000ull);
  SYSTEMTIME day{};
  ASSERT_TRUE(FileTimeToSystemTime(&driver.DriverDate, &day));
  EXPECT_EQ(day.wMonth, 5);
  SP_DRVINFO_DATA_V2_W none{};
  none.cbSize = sizeof none;
  EXPECT_FALSE(SetupDiEnumDriverInfoW(set_, &card, SPDIT_COMPATDRIVER, 1, &none));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_ITEMS));

  SP_DRVINSTALL_PARAMS params{};
  params.cbSize = sizeof params;
  ASSERT_TRUE(SetupDiGetDriverInstallParamsW(set_, &card, &driver, &params));
  EXPECT_EQ(params.Flags, static_cast<DWORD>(DNF_INSTALLEDDRIVER | DNF_INF_IS_SIGNED));
  EXPECT_EQ(params.Rank, 0x1001u);  // the second compatible id

  // The fixed part fits; the id list does not: the fixed part comes back all the same.
  SP_DRVINFO_DETAIL_DATA_W detail{};
  detail.cbSize = sizeof detail;
  DWORD needed = 0;
  EXPECT_FALSE(SetupDiGetDriverInfoDetailW(set_, &card, &driver, &detail, sizeof detail, &needed));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(std::u16string(detail.InfFileName), u"C:\\Windows\\INF\\oem12.inf");
  EXPECT_EQ(std::u16string(detail.SectionName), u"oem12_Install");
  std::vector<BYTE> whole(needed);
  auto* full = reinterpret_cast<SP_DRVINFO_DETAIL_DATA_W*>(whole.data());
  full->cbSize = sizeof(SP_DRVINFO_DETAIL_DATA_W);
  ASSERT_TRUE(SetupDiGetDriverInfoDetailW(set_, &card, &driver, full, needed, nullptr));
  EXPECT_EQ(std::u16string(full->HardwareID), u"pci\\ven_8086&dev_1502");
  detail.cbSize = 8;
  EXPECT_FALSE(SetupDiGetDriverInfoDetailW(set_, &card, &driver, &detail, sizeof detail, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_USER_BUFFER));

  SP_DEVINFO_DATA wireless = Device(0);
  ASSERT_TRUE(SetupDiBuildDriverInfoList(set_, &wireless, SPDIT_COMPATDRIVER));
  ASSERT_TRUE(SetupDiEnumDriverInfoW(set_, &wireless, SPDIT_COMPATDRIVER, 0, &driver));
  ASSERT_TRUE(SetupDiGetDriverInstallParamsW(set_, &wireless, &driver, &params));
  EXPECT_EQ(params.Flags, static_cast<DWORD>(DNF_INSTALLEDDRIVER));
  EXPECT_EQ(params.Rank, 0x00FF0000u);

  ASSERT_TRUE(SetupDiDestroyDriverInfoList(set_, nullptr, SPDIT_COMPATDRIVER));
  EXPECT_FALSE(SetupDiEnumDriverInfoW(set_, &card, SPDIT_COMPATDRIVER, 0, &driver));
}

TEST_F(DeviceSetTest, ADeviceWithoutADriverHasAnEmptyList) {
  Open(DIGCF_PRESENT | DIGCF_ALLCLASSES);
  SP_DEVINFO_DATA smbus = Device(2);
  ASSERT_TRUE(SetupDiBuildDriverInfoList(set_, &smbus, SPDIT_COMPATDRIVER));
  SP_DRVINFO_DATA_V2_W driver{};
  driver.cbSize = sizeof driver;
  EXPECT_FALSE(SetupDiEnumDriverInfoW(set_, &smbus, SPDIT_COMPATDRIVER, 0, &driver));
  EXPECT_FALSE(SetupDiBuildDriverInfoList(set_, &smbus, SPDIT_CLASSDRIVER));
}

TEST_F(DeviceSetTest, DeviceNodeStatus) {
  Open(DIGCF_PRESENT | DIGCF_ALLCLASSES);
  ULONG status = 0, problem = 0;
  ASSERT_EQ(CM_Get_DevNode_Status(&status, &problem, Device(1).DevInst, 0), static_cast<CONFIGRET>(CR_SUCCESS));
  EXPECT_EQ(status, 0x0180200Au);
  EXPECT_EQ(problem, 0u);
  ASSERT_EQ(CM_Get_DevNode_Status(&status, &problem, Device(2).DevInst, 0), static_cast<CONFIGRET>(CR_SUCCESS));
  EXPECT_EQ(problem, 28u);
  EXPECT_NE(status & DN_HAS_PROBLEM, 0u);
  // The device goes away: its node is no longer there.
  ASSERT_EQ(RegDeleteTreeW(HKEY_LOCAL_MACHINE, (kCard + u"\\Control").c_str()), ERROR_SUCCESS);
  EXPECT_EQ(CM_Get_DevNode_Status(&status, &problem, Device(1).DevInst, 0), static_cast<CONFIGRET>(CR_NO_SUCH_DEVNODE));
  EXPECT_EQ(CM_Get_DevNode_Status(&status, &problem, 0x7FFFFFFF, 0), static_cast<CONFIGRET>(CR_INVALID_DEVNODE));
  EXPECT_EQ(CM_Get_DevNode_Status(nullptr, &problem, 1, 0), static_cast<CONFIGRET>(CR_INVALID_POINTER));
}

}  // namespace
}  // namespace zx::devices
