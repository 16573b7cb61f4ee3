// The scan request document: which devices it names and how, and the machine description.
#include <gtest/gtest.h>

#include "ScanRequest.h"
#include "lookup_testing.h"

namespace zx::test {
namespace {

class ScanRequest : public LookupTest {
 protected:
  std::string Request() {
    CMarkup document;
    engine_->BuildScanRequestXml(engine_->GetDevices(), engine_->GetDeviceCount(), document);
    return Narrow(document.GetDocumentText());
  }
};

TEST(DriverDate, ConvertsMonthDayYear) {
  EXPECT_EQ(Narrow(ConvertDriverDate(_T("6-1-2006"))), "2006-06-01");
  EXPECT_EQ(Narrow(ConvertDriverDate(_T("12-31-2010"))), "2010-12-31");
  EXPECT_EQ(Narrow(ConvertDriverDate(_T("20100101"))), "20100101--");
  EXPECT_EQ(Narrow(ConvertDriverDate(_T(""))), "--");
}

TEST(DriverDate, KeepsOddShapesAsTheDashesSplitThem) {
  const std::pair<LPCTSTR, const char*> cases[] = {
      {_T("1-2-3-2010"), "2010-1-2-03"}, {_T("-5"), "5--"}, {_T("7-"), "-07-"}, {_T("--"), "--"}, {_T("x-y-z"), "z-0x-0y"}};
  for (const auto& [date, converted] : cases) EXPECT_EQ(Narrow(ConvertDriverDate(date)), converted) << Narrow(date);
}

TEST_F(ScanRequest, LaysOutDevicesBeforeTheMachine) {
  DeviceSpec device;
  device.name = u"Audio <&> device";
  device.hardwareIds = {u"PCI\\VEN_10EC&DEV_0662"};
  device.matchingId = u"pci\\ven_10ec&dev_0662";
  device.rank = 0x1002;
  SetDevices({device});
  tagScanRequestMachine machine;
  machine.nOsId = 21;
  machine.strMachineId = _T("42");
  machine.strComputerName = _T("HOST");
  machine.arrBios.Add({_T("Name"), _T("  BIOS 1 ")});
  machine.arrBios.Add({_T("SerialNumber"), _T("  ")});
  machine.arrMacAddresses.Add(_T("00AA"));
  machine.arrMacAddresses.Add(_T(""));
  machine.arrMacAddresses.Add(_T("00BB"));
  engine_->SetRequestMachine(machine);
  const std::string request = Request();
  const std::string prefix = "ZephrinZephrinKX";
  EXPECT_EQ(request,
            "<newdataset>\r\n<device>\r\n<driverid>0</driverid>\r\n<date>2010-01-02</date>\r\n"
            "<version>1.0.0.0</version>\r\n<matchingid>pci\\ven_10ec&amp;dev_0662</matchingid>\r\n"
            "<matchingdeviceid>pci\\ven_10ec&amp;dev_0662</matchingdeviceid>\r\n<driverrank>1002</driverrank>\r\n"
            "<deviceerrorcode>0</deviceerrorcode>\r\n</device>\r\n<os>\r\n<osid>21</osid>\r\n</os>\r\n"
            "<key>\r\n<machineid>42</machineid>\r\n</key>\r\n<saveXmlFileName>\r\n<file_name_initials>" +
                prefix + "ScanXml-dt</file_name_initials>\r\n</saveXmlFileName>\r\n<campaign_info>\r\n"
                "<utm_source/>\r\n<utm_campaign/>\r\n</campaign_info>\r\n<dbref>\r\n<dbinitials>" +
                prefix + "</dbinitials>\r\n</dbref>\r\n<system_name>\r\n<sysname>HOST</sysname>\r\n</system_name>\r\n"
                "<bios_info>\r\n<bios_info_Name>BIOS 1</bios_info_Name>\r\n</bios_info>\r\n<baseboard_info/>\r\n"
                "<mac_info>\r\n<mac_address_id_0>00AA</mac_address_id_0>\r\n<mac_address_id_2>00BB</mac_address_id_2>\r\n"
                "<mac_address_virtual_id_0>005056C00001</mac_address_virtual_id_0>\r\n"
                "<mac_address_virtual_id_1>005056C00008</mac_address_virtual_id_1>\r\n</mac_info>\r\n"
                "<user_hash>\r\n<user_hash_data/>\r\n</user_hash>\r\n</newdataset>\r\n");
}

// The one-pass text is the text the document's own additions make.
TEST_F(ScanRequest, EqualsTheDocumentBuiltElementByElement) {
  DeviceSpec device;
  device.hardwareIds = {u"USB\\VID_1&PID_2"};
  SetDevices({device, device});
  const std::string request = Request();
  CMarkup built;
  ASSERT_TRUE(built.AppendElement(_T("newdataset")));
  for (int i = 0; i < 2; ++i) {
    ASSERT_TRUE(built.AppendElement(_T("device"), nullptr, true));
    ASSERT_TRUE(built.EnterElement());
    const CString number = i == 0 ? _T("0") : _T("1");
    built.AppendElement(_T("driverid"), number, true);
    built.AppendElement(_T("date"), _T("2010-01-02"), true);
    built.AppendElement(_T("version"), _T("1.0.0.0"), true);
    built.AppendElement(_T("matchingid"), _T("USB\\VID_1&PID_2"), true);
    built.AppendElement(_T("matchingdeviceid"), nullptr, true);
    built.AppendElement(_T("driverrank"), _T("ffffffff"), true);
    built.AppendElement(_T("deviceerrorcode"), _T("0"), true);
    ASSERT_TRUE(built.LeaveElement());
  }
  const std::string expected = Narrow(built.GetDocumentText());
  EXPECT_EQ(request.substr(0, expected.size() - std::string("</newdataset>\r\n").size()),
            expected.substr(0, expected.size() - std::string("</newdataset>\r\n").size()));
}

TEST_F(ScanRequest, LeavesOutExcludedUnnamedAndIdlessDevicesButCountsThem) {
  DeviceSpec excluded, unnamed, idless, kept;
  excluded.hardwareIds = {u"PCI\\VEN_1&DEV_1"};
  unnamed.name = u"";
  unnamed.hardwareIds = {u"PCI\\VEN_2&DEV_1"};
  kept.hardwareIds = {u"PCI\\VEN_4&DEV_1"};
  SetDevices({excluded, unnamed, idless, kept});
  ASSERT_TRUE(engine_->SetKeyMarked(_T("PCI\\VEN_1&DEV_1"), TRUE));
  ASSERT_TRUE(engine_->SetKeyMarked(_T("PCI\\VEN_1&DEV_1"), TRUE));
  const std::string request = Request();
  EXPECT_EQ(request.find("<driverid>0<"), std::string::npos);
  EXPECT_EQ(request.find("<driverid>1<"), std::string::npos);
  EXPECT_EQ(request.find("<driverid>2<"), std::string::npos);
  EXPECT_NE(request.find("<driverid>3</driverid>"), std::string::npos);
  ASSERT_TRUE(engine_->SetKeyMarked(_T("PCI\\VEN_1&DEV_1"), FALSE));
  EXPECT_NE(Request().find("<driverid>0</driverid>"), std::string::npos);
}

TEST_F(ScanRequest, SendsIdsDifferingInCaseOnceInTheirFirstSpelling) {
  DeviceSpec device;
  device.matchingId = u"USB\\VID_8086&PID_1";
  device.hardwareIds = {u" usb\\vid_8086&pid_1 ", u"USB\\VID_8086&PID_2"};
  device.compatibleIds = {u"usb\\VID_8086&pid_2", u"USB\\VID_8086&PID_3"};
  device.rank = -1;
  SetDevices({device});
  const std::string request = Request();
  EXPECT_NE(request.find("<matchingid>USB\\VID_8086&amp;PID_1|USB\\VID_8086&amp;PID_2|USB\\VID_8086&amp;PID_3</matchingid>"),
            std::string::npos)
      << request;
  EXPECT_NE(request.find("<driverrank>ffffffff</driverrank>"), std::string::npos);
}

// Repeats are found however many ids come before them.
TEST_F(ScanRequest, SendsEachOfManyIdsOnce) {
  DeviceSpec device;
  std::string expected;
  for (int i = 0; i < 40; ++i) {
    CString id;
    id.Format(_T("USB\\VID_%04d"), i);
    device.compatibleIds.push_back(Text(id));
    expected += (i == 0 ? "" : "|") + Narrow(id);
    if (i % 7 == 6) device.compatibleIds.push_back(u" usb\\vid_" + Text(id).substr(8) + u" ");
  }
  device.compatibleIds.push_back(u"Usb\\Vid_0003");
  SetDevices({device});
  EXPECT_NE(Request().find("<matchingid>" + expected + "</matchingid>"), std::string::npos) << expected;
}

// An id text far beyond the 4096 characters the writer once split in is sent whole.
TEST_F(ScanRequest, SendsAVeryLongIdTextWhole) {
  DeviceSpec device;
  for (int i = 0; i < 400; ++i) {
    CString id;
    id.Format(_T("USB\\VERYLONGCOMPATIBLEIDENTIFIER_%04d"), i);
    device.compatibleIds.push_back(Text(id));
  }
  SetDevices({device});
  const std::string request = Request();
  EXPECT_NE(request.find("USB\\VERYLONGCOMPATIBLEIDENTIFIER_0399</matchingid>"), std::string::npos);
}

TEST_F(ScanRequest, WritesTheMachineAloneForNoDevices) {
  SetDevices({});
  const std::string request = Request();
  EXPECT_EQ(request.find("<device>"), std::string::npos);
  EXPECT_NE(request.find("<os>"), std::string::npos);
  EXPECT_NE(request.find("<user_hash>"), std::string::npos);
}

}  // namespace
}  // namespace zx::test
