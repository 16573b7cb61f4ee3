// The install result record, the install-error report document against a hand-written
// vector, its upload to the web service's stand-in and the record of installed updates.
#include <gtest/gtest.h>

#include <filesystem>

#include "DriverInstallEngine.h"
#include "InstallResult.h"
#include "cstring_printer.h"
#include "install_testing.h"
#include "standin.h"

namespace {

using zx::test::HostPath;

class InstallReportTest : public zx::test::InstallTest {
 protected:
  // A result of reason 3 for a network card with two hardware ids and one compatible id.
  static tagInstallResultInfo SampleResult() {
    tagInstallResultInfo info;
    info.strDeviceHardwareId = _T("PCI\\VEN_8086&DEV_1502&SUBSYS_21F317AA&REV_04");
    info.strUpdateHardwareId = _T("PCI\\VEN_8086&DEV_1502");
    info.strSystemMatchingId = _T("pci\\ven_8086&dev_1502");
    info.strUpdateDriverDate = _T("2013-02-14");
    info.strInstalledDriverDate = _T("5-31-2012");
    info.strUpdateDriverVersion = _T("12.6.45.0");
    info.strInstalledDriverVersion = _T("12.0.150.0");
    info.nSystemDriverRank = -1;
    info.nUpdateDriverRank = 0xFF0000;
    info.strFeatureScore = _T("FF");
    info.nCompatibleIdIndex = 2;
    info.dwInstallErrorCode = 0xE0000235u;
    info.dwDeviceStatus = 28;
    info.strMd5 = _T("0cc175b9c0f1b6a831c399e269772661");
    info.strRelativeInfPath = _T("intel\\e1c62x64.inf");
    info.strOtherInfo = _T("Installed: 5-31-2012 & <later>");
    info.strDriverName = _T("Intel(R) 82579LM Gigabit Network Connection");
    info.strSigner = _T("Microsoft Windows");
    info.bRecordWritten = 1;
    info.bDeviceDriverSigned = 1;
    info.bUpdateSigned = 0;
    info.strCategory = _T("Network adapters");
    info.strProvider = _T("Intel");
    info.strManufacturer = _T("Intel Corporation");
    info.strDriverKeyPath = _T("{4d36e972-e325-11ce-bfc1-08002be10318}\\0007");
    info.nReason = kReasonDateDiffers;
    return info;
  }
  static void FillDevice(tagDeviceDriverInfo& device) {
    device.arrHardwareIds.Add(_T("PCI\\VEN_8086&DEV_1502&SUBSYS_21F317AA&REV_04"));
    device.arrHardwareIds.Add(_T("PCI\\VEN_8086&DEV_1502&SUBSYS_21F317AA"));
    device.arrCompatibleIds.Add(_T("PCI\\VEN_8086&DEV_1502"));
    device.arrAllHardwareIds.Add(_T("PCI\\VEN_8086&DEV_1502&SUBSYS_21F317AA&REV_04"));
    device.arrAllCompatibleIds.Add(_T("PCI\\VEN_8086&DEV_1502&REV_04"));
    device.arrAllCompatibleIds.Add(_T("PCI\\VEN_8086&DEV_1502"));
  }
  static tagInstallReportContext SampleContext() {
    tagInstallReportContext context;
    context.nOsId = 21;
    context.strMachineId = _T("8127364519");
    context.strDbInitials = _T("ZephrinZephrinKXZephrinTunevo");
    context.strComputerName = _T("LAPTOP-7");
    context.strUserHash = _T("8127364519");
    context.strAppVersion = _T("1.0.0.1");
    return context;
  }
  static std::string Narrow(const CString& text) {
    const std::u16string wide = text.GetString();
    return std::string(wide.begin(), wide.end());
  }
};

// The report as the service reads it, written out by hand.
constexpr char kSampleReport[] =
    "<newdataset>\r\n"
    "<device>\r\n"
    "<DriverName>Intel(R) 82579LM Gigabit Network Connection</DriverName>\r\n"
    "<hardwareidentifier>PCI\\VEN_8086&amp;DEV_1502&amp;SUBSYS_21F317AA&amp;REV_04</hardwareidentifier>\r\n"
    "<hardwareids>\r\n"
    "<hardwareid>PCI\\VEN_8086&amp;DEV_1502&amp;SUBSYS_21F317AA&amp;REV_04</hardwareid>\r\n"
    "<hardwareid>PCI\\VEN_8086&amp;DEV_1502&amp;SUBSYS_21F317AA</hardwareid>\r\n"
    "</hardwareids>\r\n"
    "<compatibleids>\r\n"
    "<compatibleid>PCI\\VEN_8086&amp;DEV_1502</compatibleid>\r\n"
    "</compatibleids>\r\n"
    "<hardwareidsall>\r\n"
    "<hardwareid>PCI\\VEN_8086&amp;DEV_1502&amp;SUBSYS_21F317AA&amp;REV_04</hardwareid>\r\n"
    "</hardwareidsall>\r\n"
    "<compatibleidsall>\r\n"
    "<compatibleid>PCI\\VEN_8086&amp;DEV_1502&amp;REV_04</compatibleid>\r\n"
    "<compatibleid>PCI\\VEN_8086&amp;DEV_1502</compatibleid>\r\n"
    "</compatibleidsall>\r\n"
    "<systemmatchingdeviceid>pci\\ven_8086&amp;dev_1502</systemmatchingdeviceid>\r\n"
    "<updatematchingdeviceid>PCI\\VEN_8086&amp;DEV_1502</updatematchingdeviceid>\r\n"
    "<systemdrvdate>5-31-2012</systemdrvdate>\r\n"
    "<webservice_return_date>2013-02-14</webservice_return_date>\r\n"
    "<systemdrvversion>12.0.150.0</systemdrvversion>\r\n"
    "<webservice_return_version>12.6.45.0</webservice_return_version>\r\n"
    "<systemdrv_issigned>1</systemdrv_issigned>\r\n"
    "<webservice_return_issigned>0</webservice_return_issigned>\r\n"
    "<systemdriverrank>ffffffff</systemdriverrank>\r\n"
    "<updatedriverrank>ff0000</updatedriverrank>\r\n"
    "<featurescore>FF</featurescore>\r\n"
    "<compatibleidindex>2</compatibleidindex>\r\n"
    "<category>Network adapters</category>\r\n"
    "<provider>Intel</provider>\r\n"
    "<manufacturer>Intel Corporation</manufacturer>\r\n"
    "<Signer>Microsoft Windows</Signer>\r\n"
    "<guidPath>{4d36e972-e325-11ce-bfc1-08002be10318}\\0007</guidPath>\r\n"
    "<installerrorcode>3758096949</installerrorcode>\r\n"
    "<deviceerrorcode>28</deviceerrorcode>\r\n"
    "<md5>0cc175b9c0f1b6a831c399e269772661</md5>\r\n"
    "<relativeinfpath>intel\\e1c62x64.inf</relativeinfpath>\r\n"
    "<feedbackreason>3</feedbackreason>\r\n"
    "<IsInstalled>1</IsInstalled>\r\n"
    "<IsExcDotXmlCreated>1</IsExcDotXmlCreated>\r\n"
    "<someotherinfo>Installed: 5-31-2012 &amp; &lt;later&gt;</someotherinfo>\r\n"
    "</device>\r\n"
    "<os>\r\n<osid>21</osid>\r\n</os>\r\n"
    "<key>\r\n<machineid>8127364519</machineid>\r\n</key>\r\n"
    "<saveXmlFileName>\r\n<file_name_initials>ZephrinZephrinKXZephrinTunevoInstallErrorXml-dt</file_name_initials>\r\n"
    "</saveXmlFileName>\r\n"
    "<dbref>\r\n<dbinitials>ZephrinZephrinKXZephrinTunevo</dbinitials>\r\n</dbref>\r\n"
    "<system_name>\r\n<sysname>LAPTOP-7</sysname>\r\n</system_name>\r\n"
    "<user_hash>\r\n<user_hash_data>8127364519</user_hash_data>\r\n</user_hash>\r\n"
    "<app_info>\r\n<app_ver>1.0.0.1</app_ver>\r\n</app_info>\r\n"
    "</newdataset>\r\n";

TEST_F(InstallReportTest, TheReportDocumentIsExact) {
  tagDeviceDriverInfo device;
  FillDevice(device);
  EXPECT_EQ(Narrow(BuildInstallErrorReport(SampleResult(), device, TRUE, SampleContext())), kSampleReport);
}

TEST_F(InstallReportTest, EmptyListsStillGiveTheirElements) {
  tagInstallResultInfo info;
  const tagDeviceDriverInfo device;
  const std::string report = Narrow(BuildInstallErrorReport(info, device, FALSE, tagInstallReportContext{}));
  for (const char* list : {"hardwareids", "compatibleids", "hardwareidsall", "compatibleidsall"}) {
    const std::string name(list);
    EXPECT_NE(report.find("<" + name + "/>\r\n"), std::string::npos) << name;
  }
  EXPECT_NE(report.find("<IsInstalled>0</IsInstalled>"), std::string::npos);
  EXPECT_NE(report.find("<someotherinfo/>"), std::string::npos);
  EXPECT_NE(report.find("<osid>-1</osid>"), std::string::npos);
  EXPECT_NE(report.find("<systemdriverrank>0</systemdriverrank>"), std::string::npos);
}

TEST_F(InstallReportTest, ResetEmptiesEveryField) {
  tagInstallResultInfo info = SampleResult();
  info.Reset();
  const tagDeviceDriverInfo device;
  tagInstallResultInfo fresh;
  EXPECT_EQ(BuildInstallErrorReport(info, device, FALSE, SampleContext()),
            BuildInstallErrorReport(fresh, device, FALSE, SampleContext()));
  EXPECT_TRUE(info.strDriverKeyPath.IsEmpty());
  EXPECT_EQ(info.nReason, kReasonNone);
  EXPECT_EQ(info.bRecordWritten, 0);
}

TEST_F(InstallReportTest, TheInstalledUpdateEntryTakesItsSixFields) {
  const ExclusionEntry entry = MakeInstalledUpdateEntry(SampleResult());
  EXPECT_EQ(entry.szText[ExclusionEntry::kHardwareId], CString(_T("PCI\\VEN_8086&DEV_1502&SUBSYS_21F317AA&REV_04")));
  EXPECT_EQ(entry.szText[ExclusionEntry::kMatchingId], CString(_T("PCI\\VEN_8086&DEV_1502")));
  EXPECT_EQ(entry.szText[ExclusionEntry::kMd5], CString(_T("0cc175b9c0f1b6a831c399e269772661")));
  EXPECT_EQ(entry.szText[ExclusionEntry::kInfPath], CString(_T("intel\\e1c62x64.inf")));
  EXPECT_EQ(static_cast<DWORD>(entry.nInstallErrorCode), 0xE0000235u);
  EXPECT_EQ(entry.nDeviceErrorCode, 28);
}

TEST_F(InstallReportTest, RecordingAnUpdateSavesTheRecordOnce) {
  CDriverInstallEngine engine;
  engine.RecordInstalledUpdate(SampleResult());
  CExclusionList list;
  const ExclusionEntry* entry = list.Find(_T("PCI\\VEN_8086&DEV_1502&SUBSYS_21F317AA&REV_04"));
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->nDeviceErrorCode, 28);
  const std::string saved = ReadHostFile(HostPath(list.GetFilePath()));
  engine.RecordInstalledUpdate(SampleResult());
  EXPECT_EQ(ReadHostFile(HostPath(list.GetFilePath())), saved);
}

TEST_F(InstallReportTest, TheReportReachesTheServiceUploads) {
  zx::test::TempFolder uploads;
  zx::test::StandIn standIn(zx::test::StandInOptions("", uploads.path()));
  ASSERT_GT(standIn.port(), 0);
  const std::string route = "127.0.0.1:" + std::to_string(standIn.port());
  WriteHostFile(root() + "/machine.ini", "[Network]\nConnection=lan\n[Hosts]\nupdate.zephrin-tunevo.example=" +
                                             route + "\nupdate2.zephrin-tunevo.example=" + route + "\n");
  CDeviceRecordArray records(2);
  FillDevice(*records.GetAt(1));
  SetInstallReportDbInitials(_T("ZephrinZephrinKXZephrinTunevo"));
  CDriverInstallEngine engine;
  EXPECT_EQ(engine.ReportInstallError(1, &records, TRUE, SampleResult()), 1);
  EXPECT_EQ(standIn.NextLine(), "POST UploadFeedback HTTP/1.1");

  std::vector<std::string> names;
  for (const auto& file : std::filesystem::directory_iterator(uploads.path()))
    names.push_back(file.path().filename().string());
  ASSERT_EQ(names.size(), 1u);
  EXPECT_NE(names[0].find("InstallErrorSimpleStr-Feedback "), std::string::npos) << names[0];
  EXPECT_EQ(names[0].substr(names[0].size() - 4), ".xml");
  tagInstallReportContext context;
  CollectInstallReportContext(context, _T("ZephrinZephrinKXZephrinTunevo"));
  EXPECT_EQ(ReadHostFile(uploads.path() + "/" + names[0]),
            Narrow(BuildInstallErrorReport(SampleResult(), *records.GetAt(1), TRUE, context)));
}

TEST_F(InstallReportTest, AReportForAMissingDeviceStillGoesOut) {
  zx::test::TempFolder uploads;
  zx::test::StandIn standIn(zx::test::StandInOptions("", uploads.path()));
  const std::string route = "127.0.0.1:" + std::to_string(standIn.port());
  WriteHostFile(root() + "/machine.ini", "[Network]\nConnection=lan\n[Hosts]\nupdate.zephrin-tunevo.example=" +
                                             route + "\nupdate2.zephrin-tunevo.example=" + route + "\n");
  CDriverInstallEngine engine;
  EXPECT_EQ(engine.ReportInstallError(5, nullptr, FALSE, SampleResult()), 1);
  EXPECT_EQ(standIn.NextLine(), "POST UploadFeedback HTTP/1.1");
}

}  // namespace
