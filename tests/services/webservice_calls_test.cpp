// Every exported web-service function against the loopback stand-in: what reaches the service
// and what comes back, the default, explicit, alternative and proxy routes, and the calling
// thread's COM state.
#include <gtest/gtest.h>

#include <ExchangeEncoding.h>
#include <WebServiceClient.h>
#include <atltime.h>
#include <objbase.h>
#include <urlmon.h>

#include <filesystem>

#include "webservice_testing.h"

namespace zx::test {
namespace {

constexpr const char16_t* kScan =
    u"<newdataset><device><driverid>7</driverid><matchingid>ACPI\\PNP0A08|PCI\\VEN_8086&amp;DEV_15B8&amp;"
    u"SUBSYS_86721043</matchingid></device></newdataset>";
constexpr const char16_t* kIntelAnswer =
    u"<newdataset><driver><driverid>7</driverid><hardwareidentifier>pci\\ven_8086&amp;dev_15b8&amp;subsys_86721043"
    u"</hardwareidentifier><hardwareid>PCI\\VEN_8086&amp;DEV_15B8&amp;SUBSYS_86721043</hardwareid><infdate>2019-08-22"
    u"</infdate><infpath>extract\\intel\\e1d.inf</infpath><version>12.18.9.23</version><isSpecificCase>0"
    u"</isSpecificCase><md5>3815f71b2f0adb4b8bd9e2edcc9d175b</md5><isInstall>1</isInstall><downloadid>2</downloadid>"
    u"<severity>2</severity><riskLevel>0</riskLevel><liburl></liburl><CompatibleIdIdx>0</CompatibleIdIdx>"
    u"<featurescore></featurescore><signaturescore></signaturescore><signer>0</signer></driver></newdataset>";
constexpr const char16_t* kLinkRequest =
    u"<newdataset><device><hardwareid>PCI\\VEN_8086&amp;DEV_15B8&amp;SUBSYS_86721043</hardwareid><osid>61</osid>"
    u"</device></newdataset>";

std::string Ascii(const CString& text) { return std::string(text.GetString(), text.GetString() + text.GetLength()); }

// The text of a result, freed.
std::u16string Taken(BSTR result) {
  std::u16string text = result ? std::u16string(result, SysStringLen(result)) : u"<null>";
  SysFreeString(result);
  return text;
}

using WebServiceCallTest = WebServiceTest;

TEST_F(WebServiceCallTest, UpdateDataGoesToTheDefaultAddress) {
  StartStandIn();
  BSTR result = nullptr;
  ASSERT_TRUE(PCGetUpdateData(u"", kScan, &result));
  EXPECT_EQ(Taken(result), kIntelAnswer);
  EXPECT_EQ(NextRequest(), "POST GetUpdateInfo HTTP/1.1");
}

TEST_F(WebServiceCallTest, EncipheredUpdateDataAtAnExplicitAddress) {
  StartStandIn();
  Route(1, 1);  // only the explicit address reaches the service
  CString plain = kScan;
  CString encoded;
  EncipherTextToHex(plain, encoded);
  const std::string address = "http://127.0.0.1:" + std::to_string(standIn_->port()) + "/updateservice/updateservice.asmx";
  BSTR result = nullptr;
  ASSERT_TRUE(PCGetUpdateDataWithEncryptOptions(std::u16string(address.begin(), address.end()).c_str(), encoded, &result,
                                                TRUE, TRUE));
  CString answer = Taken(result).c_str();
  ASSERT_TRUE(getOutputStrFromHex(answer));
  EXPECT_EQ(std::u16string(answer.GetString()), kIntelAnswer);
  EXPECT_EQ(NextRequest(), "POST GetUpdateInfoWithEncryptOptions HTTP/1.1");
}

TEST_F(WebServiceCallTest, TheDownloadLinkLeadsToThePackage) {
  StartStandIn();
  CString request = kLinkRequest;
  CString encoded;
  EncipherTextToHex(request, encoded);
  BSTR result = nullptr;
  ASSERT_TRUE(PCGetLinkWithEncryptOptions(nullptr, encoded, &result, TRUE, FALSE));
  const std::u16string url = u"http://update.zephrin-tunevo.example/packages/intel%20lan.cab";
  EXPECT_EQ(Taken(result), u"<newdataset><download><url>" + url +
                               u"</url><hashstring>3815f71b2f0adb4b8bd9e2edcc9d175b</hashstring></download></newdataset>");
  EXPECT_EQ(NextRequest(), "POST GetDownloadInformationWithEncryptOptions HTTP/1.1");

  std::filesystem::create_directories(root() + "/drive_c/dl");
  EXPECT_EQ(URLDownloadToFileW(nullptr, url.c_str(), u"C:\\dl\\intel.cab", 0, nullptr), S_OK);
  EXPECT_EQ(ReadHostFile(root() + "/drive_c/dl/intel.cab"), IntelPackage());
}

TEST_F(WebServiceCallTest, UploadedFilesAreTheTextsUtf16Bytes) {
  StartStandIn();
  EXPECT_EQ(PCUploadFile(u"h\u00e9"), 1);
  EXPECT_EQ(UploadedFile("upload-1.bin"), std::string("h\0\xE9\0", 4));
  EXPECT_EQ(NextRequest(), "POST UploadFile HTTP/1.1");
}

TEST_F(WebServiceCallTest, FeedbackGoesUnderItsName) {
  StartStandIn();
  EXPECT_EQ(QVXUploadFeedback(u"<feedback>caf\u00e9</feedback>", u"f.xml"), 1);
  EXPECT_EQ(QVXUploadFeedbackSimpleStr(u"<report/>", u"g.xml"), 1);
  EXPECT_EQ(UploadedFile("f.xml"), "<feedback>caf\xC3\xA9</feedback>");
  EXPECT_EQ(UploadedFile("g.xml"), "<report/>");
  EXPECT_EQ(NextRequest(), "POST MS_UploadFeedback HTTP/1.1");
  EXPECT_EQ(NextRequest(), "POST UploadFeedback HTTP/1.1");
}

TEST_F(WebServiceCallTest, PCUploadFeedbackNamesItsFileByTheTime) {
  StartStandIn();
  EXPECT_EQ(PCUploadFeedback(u"<feedback/>"), 1);
  // The clock's tick count is 0, so the generator's first draw is 38.
  const std::string name =
      "ZephrinKX-PCFeedback" + Ascii(CTime::GetCurrentTime().Format(u" %Y%m%dT%I_%M%S%p")) + " 38.xml";
  EXPECT_EQ(UploadedFile(name), "<feedback/>") << name;
}

TEST_F(WebServiceCallTest, FeedbackTurnsToTheAlternativeAddress) {
  // The default address answers every call with a server error; the alternative one works.
  StartStandIn();
  TempFolder otherUploads;
  StandIn failing(StandInOptions("", otherUploads.path(), "http500"));
  Route(failing.port(), standIn_->port());
  auto upload = Started([] { return QVXUploadFeedback(u"late", u"late.xml"); });
  EXPECT_EQ(failing.NextLine(), "POST MS_UploadFeedback HTTP/1.1");  // direct
  PassRetryPause();
  EXPECT_EQ(failing.NextLine(), "POST MS_UploadFeedback HTTP/1.1");  // through the (unset) proxy
  PassRetryPause();
  EXPECT_EQ(NextRequest(), "POST MS_UploadFeedback HTTP/1.1");
  EXPECT_EQ(upload.get(), 1);
  EXPECT_EQ(UploadedFile("late.xml"), "late");
}

TEST_F(WebServiceCallTest, TheSecondAttemptGoesThroughTheUsersProxy) {
  StartStandIn();
  Route(1, 1);
  UseStandInAsUserProxy();
  auto call = Started([] {
    BSTR result = nullptr;
    const BOOL ok = PCGetUpdateData(nullptr, kScan, &result);
    return std::make_pair(ok, Taken(result));
  });
  PassRetryPause();
  EXPECT_EQ(NextRequest(), "POST GetUpdateInfo HTTP/1.1");
  const auto [ok, text] = call.get();
  EXPECT_TRUE(ok);
  EXPECT_EQ(text, kIntelAnswer);
}

TEST_F(WebServiceCallTest, AThreadInTheOtherCOMModelStillCalls) {
  StartStandIn();
  auto call = Started([] {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    BSTR result = nullptr;
    const BOOL ok = PCGetUpdateData(nullptr, kScan, &result);
    SysFreeString(result);
    CoUninitialize();
    return ok;
  });
  EXPECT_TRUE(call.get());
}

TEST_F(WebServiceCallTest, NoPlaceForTheResultMeansNoCall) {
  StartStandIn();
  EXPECT_FALSE(PCGetUpdateData(nullptr, kScan, nullptr));
  EXPECT_FALSE(PCGetLinkWithEncryptOptions(nullptr, kScan, nullptr, FALSE, FALSE));
  EXPECT_EQ(NextRequest(100), "");
}

}  // namespace
}  // namespace zx::test
