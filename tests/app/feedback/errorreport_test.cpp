// The documents of the driver feedback and the error report of a failed exchange: their
// golden forms, the devices copied from the scan request, and the error report sent to the
// loopback web service, which keeps it as sent, or fails quietly in each of its fault modes.
#include <chrono>
#include <filesystem>
#include <regex>
#include <thread>

#include "DriverFeedbackReport.h"
#include "cstring_printer.h"
#include "machine_fixture.h"
#include "standin.h"
#include "zx/clock.h"

namespace zx::test {
namespace {

// A scan request as the scan engine writes it: two devices, the second without matching ids.
constexpr const char16_t* kRequest =
    u"<newdataset>\r\n<device>\r\n<driverid>0</driverid>\r\n<date>2019-05-01</date>\r\n<version>1.2.3.4</version>\r\n"
    u"<matchingid>PCI\\VEN_8086&amp;DEV_1234</matchingid>\r\n<matchingdeviceid>pci\\ven_8086</matchingdeviceid>\r\n"
    u"<driverrank>ff0000</driverrank>\r\n<deviceerrorcode>0</deviceerrorcode>\r\n</device>\r\n<device>\r\n"
    u"<driverid>3</driverid>\r\n<date/>\r\n<version>10.0</version>\r\n<matchingid/>\r\n</device>\r\n<os>\r\n"
    u"<osid>7</osid>\r\n</os>\r\n</newdataset>";

// Machine figures (memory, disks, identifier) made comparable.
std::string Comparable(const CString& document) {
  std::string text(CStringA(document).GetString());
  text = std::regex_replace(text, std::regex("<(total_phy|avail_phy|total_page_file|avail_page_file|total_size_in_bytes|"
                                             "free_space_in_bytes|used_space_in_bytes)>[0-9]+<"),
                            "<$1>#<");
  return std::regex_replace(text, std::regex("<mac_id>[^<]*<"), "<mac_id>#<");
}

constexpr const char* kSystemPart =
    "<sys_info>\r\n<memory_info>\r\n<total_phy>#</total_phy>\r\n<avail_phy>#</avail_phy>\r\n"
    "<total_page_file>#</total_page_file>\r\n<avail_page_file>#</avail_page_file>\r\n</memory_info>\r\n"
    "<system_driver>C:</system_driver>\r\n<drive_info>\r\n<drive_name>C:\\</drive_name>\r\n"
    "<total_size_in_bytes>#</total_size_in_bytes>\r\n<free_space_in_bytes>#</free_space_in_bytes>\r\n"
    "<used_space_in_bytes>#</used_space_in_bytes>\r\n</drive_info>\r\n<drive_info>\r\n<drive_name>Z:\\</drive_name>\r\n"
    "<total_size_in_bytes>#</total_size_in_bytes>\r\n<free_space_in_bytes>#</free_space_in_bytes>\r\n"
    "<used_space_in_bytes>#</used_space_in_bytes>\r\n</drive_info>\r\n</sys_info>\r\n";

constexpr const char* kErrorPart =
    "<error_feedback>\r\n<error_desc>getUpdateResults</error_desc>\r\n<input_hex>41A0</input_hex>\r\n"
    "<output_hex>&lt;html&gt;</output_hex>\r\n<output_data_decrypted/>\r\n</error_feedback>\r\n";

using ErrorReport = MachineTest;

TEST_F(ErrorReport, GoesUnderTheRequestRootAfterItsLastElement) {
  const CString report = BuildErrorReportXml(CString(kRequest), _T("getUpdateResults"), _T("41A0"), _T("<html>"), _T(""));
  std::string request(CStringA(CString(kRequest)).GetString());
  const std::string golden = request.substr(0, request.size() - std::string("</newdataset>").size()) + kSystemPart +
                             kErrorPart + "</newdataset>";
  EXPECT_EQ(Comparable(report), golden);
}

TEST_F(ErrorReport, ARequestThatIsNoDocumentKeepsTheStepAndItsInputs) {
  for (const char16_t* request : {u"", u"<newdataset><device>", u"not xml"}) {
    const CString report =
        BuildErrorReportXml(CString(request), _T("getUpdateResults"), _T("41A0"), _T("<html>"), _T(""));
    EXPECT_EQ(Comparable(report), std::string("<newdataset>\r\n") + kSystemPart + kErrorPart + "</newdataset>\r\n")
        << CStringA(CString(request)).GetString();
  }
}

constexpr const char* kFeedbackHead =
    "<sf_feedback>\r\n<feedback>\r\n<email>ann@example.com</email>\r\n<feedback_type>Problem while installing</feedback_type>\r\n"
    "<content>It stops &amp; hangs</content>\r\n</feedback>\r\n<sys_info>\r\n<os_major_version>6</os_major_version>\r\n"
    "<os_minor_version>1</os_minor_version>\r\n<os_product_type>1</os_product_type>\r\n"
    "<os_architecture_type>9</os_architecture_type>\r\n";

constexpr const char* kFeedbackTail = "<key>\r\n<mac_id>#</mac_id>\r\n</key>\r\n<prog_info>\r\n<prog_ver/>\r\n</prog_info>\r\n";

constexpr const char* kDevices =
    "<device>\r\n<driverid>0</driverid>\r\n<date>2019-05-01</date>\r\n<version>1.2.3.4</version>\r\n"
    "<matchingid>PCI\\VEN_8086&amp;DEV_1234</matchingid>\r\n</device>\r\n<device>\r\n<driverid>3</driverid>\r\n"
    "<date/>\r\n<version>10.0</version>\r\n</device>\r\n";

struct FeedbackCase {
  const char16_t* request;
  BOOL leaveOutDevices;
  bool devicesExpected;
};

class FeedbackDocument : public MachineTest, public ::testing::WithParamInterface<FeedbackCase> {};

TEST_P(FeedbackDocument, CarriesTheDevicesOfTheLastRequestUnlessLeftOut) {
  const FeedbackCase c = GetParam();
  tagDriverFeedback feedback{_T("ann@example.com"), _T("Problem while installing"), _T("  It stops & hangs \r\n")};
  const CString document = BuildDriverFeedbackXml(feedback, CString(c.request), c.leaveOutDevices);
  std::string system(kSystemPart);
  system = system.substr(std::string("<sys_info>\r\n").size());
  const std::string golden = std::string(kFeedbackHead) + system + kFeedbackTail + (c.devicesExpected ? kDevices : "") +
                             "</sf_feedback>\r\n";
  EXPECT_EQ(Comparable(document), golden);
}

INSTANTIATE_TEST_SUITE_P(Table, FeedbackDocument,
                         ::testing::Values(FeedbackCase{kRequest, FALSE, true}, FeedbackCase{kRequest, TRUE, false},
                                           FeedbackCase{u"", FALSE, false},  // no scan yet
                                           FeedbackCase{u"<newdataset", FALSE, false}));

// The error report sent to the loopback service; the test clock moves the upload's pauses on.
class SentReport : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    SetClock(&clock_);
  }
  void TearDown() override {
    standIn_.reset();
    SetClock(nullptr);
  }
  void StartStandIn(const std::string& fault = {}) {
    WriteSampleCatalogue(catalogue_.path());
    standIn_ = std::make_unique<StandIn>(StandInOptions(catalogue_.path(), uploads_.path(), fault));
    ASSERT_GT(standIn_->port(), 0);
    const std::string port = std::to_string(standIn_->port());
    WriteHostFile(root() + "/machine.ini", "[Network]\nConnection=lan\n[Hosts]\nupdate.zephrin-tunevo.example=127.0.0.1:" +
                                               port + "\nupdate2.zephrin-tunevo.example=127.0.0.1:" + port + "\n");
  }
  // Sends the report on a thread of its own while the clock moves on; false when it hung.
  bool Send() {
    std::atomic<bool> done{false};
    std::thread sender([&done] {
      SendErrorReport(CString(kRequest), _T("getUpdateResults"), _T("41A0"), _T("<html>"), _T(""));
      done = true;
    });
    for (int step = 0; step < 20000 && !done; ++step) {
      clock_.Advance(50);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    const bool finished = done;
    sender.join();
    return finished;
  }
  std::vector<std::filesystem::path> Kept() const {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(uploads_.path())) files.push_back(entry.path());
    return files;
  }

  ManualClock clock_;
  TempFolder catalogue_;
  TempFolder uploads_;
  std::unique_ptr<StandIn> standIn_;
};

TEST_F(SentReport, ReachesTheServiceAsAPlainAutomatedReport) {
  StartStandIn();
  ASSERT_TRUE(Send());
  const auto files = Kept();
  ASSERT_EQ(files.size(), 1u);
  const std::string name = files[0].filename().string();
  EXPECT_NE(name.find("AutomatedSimpleStr-Feedback"), std::string::npos) << name;
  const CString expected = BuildErrorReportXml(CString(kRequest), _T("getUpdateResults"), _T("41A0"), _T("<html>"), _T(""));
  EXPECT_EQ(Comparable(CString(ReadHostFile(files[0].string()).c_str())), Comparable(expected));
}

class SentReportFaults : public SentReport, public ::testing::WithParamInterface<const char*> {};

TEST_P(SentReportFaults, AFailingServiceEndsTheReportQuietly) {
  StartStandIn(GetParam());
  EXPECT_TRUE(Send());
}

INSTANTIATE_TEST_SUITE_P(Modes, SentReportFaults, ::testing::Values("noanswer", "http500", "garbage"));

TEST_F(SentReport, NoServiceAtAllEndsTheReportQuietly) {
  WriteHostFile(root() + "/machine.ini",
                "[Network]\nConnection=lan\n[Hosts]\nupdate.zephrin-tunevo.example=127.0.0.1:1\n"
                "update2.zephrin-tunevo.example=127.0.0.1:1\n");
  EXPECT_TRUE(Send());
}

}  // namespace
}  // namespace zx::test
