// The stand-in of the maker's web service over plain HTTP: its start, the update answers and
// download information from the catalogue, the packages it serves, what it refuses, and its
// fault modes.
#include <gtest/gtest.h>

#include "standin.h"

namespace zx::test {
namespace {

constexpr const char* kUpdate = "/updateservice/updateservice.asmx";

std::string Escaped(const std::string& xml) {
  std::string out;
  for (char c : xml) {
    if (c == '<') out += "&lt;";
    else if (c == '>') out += "&gt;";
    else if (c == '&') out += "&amp;";
    else out += c;
  }
  return out;
}

std::string ResultOf(const std::string& operation, const std::string& text) {
  return "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
         "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\">"
         "<soap:Body><" + operation + "Response xmlns=\"http://update.zephrin-tunevo.example/webservices/\"><" + operation +
         "Result>" + Escaped(text) + "</" + operation + "Result></" + operation + "Response></soap:Body></soap:Envelope>";
}

const char* const kRealtekGroup =
    "<hardwareid>HDAUDIO\\FUNC_01&amp;VEN_10EC&amp;DEV_0662</hardwareid><infdate>2015-06-19</infdate>"
    "<infpath>extract\\realtek\\hdart.inf</infpath><version>6.0.1.7541</version><isSpecificCase>0</isSpecificCase>"
    "<md5>e0624f47ab6f7048c189276f50c18a35</md5><isInstall>1</isInstall><downloadid>1</downloadid>"
    "<severity>1</severity><riskLevel>0</riskLevel><liburl></liburl><CompatibleIdIdx>0</CompatibleIdIdx>"
    "<featurescore></featurescore><signaturescore></signaturescore><signer>1</signer></driver>";

class StandInTest : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    WriteSampleCatalogue(catalogue_.path());
  }
  StandInOptions Options() const { return {catalogue_.path(), uploads_.path()}; }

  TempFolder catalogue_;
  TempFolder uploads_;
};

TEST_F(StandInTest, AnswersTheDevicesWhoseIdsTheCatalogueLists) {
  StandIn standIn(Options());
  ASSERT_GT(standIn.port(), 0);
  const std::string scan =
      "<newdataset><device><driverid>0</driverid><matchingid>ACPI\\PNP0A08</matchingid></device>"
      "<device><driverid>4</driverid><matchingid>hdaudio\\func_01&amp;ven_10ec&amp;dev_0662|HDAUDIO\\FUNC_01&amp;VEN_10EC"
      "</matchingid>"
      "</device><os><osid>61</osid></os></newdataset>";
  const HttpAnswer answer = Post(standIn.port(), kUpdate, SoapAction("GetUpdateInfo"),
                                 SoapRequest("GetUpdateInfo", "<input>" + Escaped(scan) + "</input>"));
  EXPECT_EQ(answer.status, 200);
  EXPECT_EQ(answer.contentType, "text/xml; charset=utf-8");
  // One group per listed id, in the order of the request's ids.
  EXPECT_EQ(answer.body,
            ResultOf("GetUpdateInfo",
                     std::string("<newdataset><driver><driverid>4</driverid>"
                                 "<hardwareidentifier>hdaudio\\func_01&amp;ven_10ec&amp;dev_0662</hardwareidentifier>") +
                         kRealtekGroup +
                         "<driver><driverid>4</driverid><hardwareidentifier>hdaudio\\func_01&amp;ven_10ec</hardwareidentifier>"
                         "<hardwareid>HDAUDIO\\FUNC_01&amp;VEN_10EC</hardwareid>" +
                         std::string(kRealtekGroup).substr(std::string(kRealtekGroup).find("<infdate>")) +
                         "</newdataset>"));
  EXPECT_EQ(standIn.NextLine(), "POST GetUpdateInfo HTTP/1.1");
}

TEST_F(StandInTest, GivesTheDownloadAddressAndDigestOfAHardwareId) {
  StandIn standIn(Options());
  const std::string request =
      "<newdataset><device><hardwareid>pci\\ven_8086&amp;dev_15b8&amp;subsys_86721043</hardwareid><osid>61</osid>"
      "</device></newdataset>";
  const HttpAnswer answer = Post(standIn.port(), kUpdate, SoapAction("GetDownloadInformationWithEncryptOptions"),
                                 SoapRequest("GetDownloadInformationWithEncryptOptions",
                                             "<input>" + Escaped(request) + "</input><b_isInputEncrypted>false"
                                             "</b_isInputEncrypted><b_useOutputEncrypted>0</b_useOutputEncrypted>"));
  EXPECT_EQ(answer.status, 200);
  const std::string url = "http://127.0.0.1:" + std::to_string(standIn.port()) + "/packages/intel%20lan.cab";
  EXPECT_EQ(answer.body, ResultOf("GetDownloadInformationWithEncryptOptions",
                                  "<newdataset><download><url>" + url + "</url><hashstring>"
                                  "3815f71b2f0adb4b8bd9e2edcc9d175b</hashstring></download></newdataset>"));
  const HttpAnswer package = Get(standIn.port(), "/packages/intel%20lan.cab");
  EXPECT_EQ(package.status, 200);
  EXPECT_EQ(package.body, IntelPackage());

  const HttpAnswer unknown = Post(standIn.port(), kUpdate, SoapAction("GetDownloadInformationWithEncryptOptions"),
                                  SoapRequest("GetDownloadInformationWithEncryptOptions",
                                              "<input>&lt;newdataset/&gt;</input><b_isInputEncrypted>false"
                                              "</b_isInputEncrypted><b_useOutputEncrypted>false</b_useOutputEncrypted>"));
  EXPECT_EQ(unknown.body, ResultOf("GetDownloadInformationWithEncryptOptions", "<newdataset />"));
}

TEST_F(StandInTest, ServesOnlyTheCataloguesPackages) {
  StandIn standIn(Options());
  EXPECT_EQ(Get(standIn.port(), "/packages/realtek-hda.zip").body, kRealtekPackage);
  EXPECT_EQ(Get(standIn.port(), "/packages/catalogue.ini").status, 404);
  EXPECT_EQ(Get(standIn.port(), "/packages/..%2Fcatalogue.ini").status, 404);
  EXPECT_EQ(Get(standIn.port(), "/packages/%2E%2E/etc/passwd").status, 404);
  EXPECT_EQ(standIn.NextLine(), "GET /packages/realtek-hda.zip HTTP/1.1");
}

TEST_F(StandInTest, RefusesCallsThatAreNotTheOperationsWire) {
  StandIn standIn(Options());
  const struct {
    std::string action;
    std::string body;
    std::string contentType;
  } refused[] = {
      {SoapAction("GetUpdateInfo"), "not xml at all", "text/xml"},
      {SoapAction("GetUpdateInfoWithEncryptOptions"),
       SoapRequest("GetUpdateInfo", "<input>&lt;newdataset/&gt;</input>"), "text/xml"},
      {SoapAction("GetUpdateInfo"), SoapRequest("GetUpdateInfo", "<input>&lt;newdataset/&gt;</input>"),
       "application/json"},
      // Parts out of wire order, a missing part, a boolean that is not one, a name of another service.
      {SoapAction("GetUpdateInfoWithEncryptOptions"),
       SoapRequest("GetUpdateInfoWithEncryptOptions", "<b_isInputEncrypted>false</b_isInputEncrypted><input>x</input>"
                                                      "<b_useOutputEncrypted>false</b_useOutputEncrypted>"),
       "text/xml"},
      {SoapAction("GetUpdateInfoWithEncryptOptions"),
       SoapRequest("GetUpdateInfoWithEncryptOptions", "<input>x</input><b_isInputEncrypted>false</b_isInputEncrypted>"),
       "text/xml"},
      {SoapAction("GetUpdateInfoWithEncryptOptions"),
       SoapRequest("GetUpdateInfoWithEncryptOptions", "<input>x</input><b_isInputEncrypted>maybe</b_isInputEncrypted>"
                                                      "<b_useOutputEncrypted>false</b_useOutputEncrypted>"),
       "text/xml"},
      {SoapAction("UploadFile"), SoapRequest("UploadFile", "<buffer>AAAA</buffer>"), "text/xml"},
      {SoapAction("GetUpdateInfo"), SoapRequest("GetUpdateInfo", "<input>not a document</input>"), "text/xml"},
  };
  for (const auto& call : refused) {
    const HttpAnswer answer = Post(standIn.port(), kUpdate, call.action, call.body, call.contentType);
    EXPECT_EQ(answer.status, 500) << call.body;
    EXPECT_NE(answer.body.find("<faultcode>soap:Client</faultcode>"), std::string::npos) << answer.body;
  }
}

TEST_F(StandInTest, AnEncipheredInputThatDoesNotDecodeIsRefused) {
  StandIn standIn(Options());
  const HttpAnswer answer =
      Post(standIn.port(), kUpdate, SoapAction("GetUpdateInfoWithEncryptOptions"),
           SoapRequest("GetUpdateInfoWithEncryptOptions", "<input>ABC</input><b_isInputEncrypted>true</b_isInputEncrypted>"
                                                          "<b_useOutputEncrypted>false</b_useOutputEncrypted>"));
  EXPECT_EQ(answer.status, 500);
  EXPECT_NE(answer.body.find("not an enciphered text"), std::string::npos);
}

TEST_F(StandInTest, ABrokenCatalogueStopsItWithAReason) {
  WriteHostFile(catalogue_.path() + "/catalogue.ini", "[broken]\nhardwareids = X\npackage = ../outside.zip\n");
  StandIn standIn(Options());
  EXPECT_EQ(standIn.port(), 0);
  std::string errors;
  EXPECT_EQ(standIn.WaitExit(errors), 2);
  EXPECT_NE(errors.find("[broken]"), std::string::npos) << errors;

  WriteHostFile(catalogue_.path() + "/catalogue.ini", "[x]\nhardwareids = X\npackage = realtek-hda.zip\n");
  StandIn missingKeys(Options());
  errors.clear();
  EXPECT_EQ(missingKeys.WaitExit(errors), 2);
  EXPECT_NE(errors.find("needs date"), std::string::npos) << errors;

  StandIn badOption({"", "", "", 0, {"--colour", "blue"}});
  errors.clear();
  EXPECT_EQ(badOption.WaitExit(errors), 2);
  EXPECT_NE(errors.find("usage:"), std::string::npos);
}

TEST_F(StandInTest, WithoutACatalogueNothingIsOffered) {
  StandIn standIn({"", uploads_.path()});
  const HttpAnswer answer = Post(standIn.port(), kUpdate, SoapAction("GetUpdateInfo"),
                                 SoapRequest("GetUpdateInfo", "<input>&lt;newdataset&gt;&lt;device&gt;&lt;matchingid&gt;"
                                                              "HDAUDIO\\FUNC_01&amp;amp;VEN_10EC&lt;/matchingid&gt;"
                                                              "&lt;/device&gt;&lt;/newdataset&gt;</input>"));
  EXPECT_EQ(answer.body, ResultOf("GetUpdateInfo", "<newdataset></newdataset>"));
}

class FaultModeTest : public StandInTest {
 protected:
  HttpAnswer Ask(StandIn& standIn) {
    return Post(standIn.port(), kUpdate, SoapAction("GetUpdateInfo"),
                SoapRequest("GetUpdateInfo", "<input>&lt;newdataset/&gt;</input>"));
  }
};

TEST_F(FaultModeTest, GarbageHttp500AndSoapFaults) {
  StandIn garbage({catalogue_.path(), "", "garbage"});
  HttpAnswer answer = Ask(garbage);
  EXPECT_EQ(answer.status, 200);
  EXPECT_EQ(answer.body.find("<?xml"), std::string::npos);
  StandIn http500({catalogue_.path(), "", "http500"});
  answer = Ask(http500);
  EXPECT_EQ(answer.status, 500);
  EXPECT_EQ(answer.contentType, "text/html");
  StandIn fault({catalogue_.path(), "", "soapfault"});
  answer = Ask(fault);
  EXPECT_EQ(answer.status, 500);
  EXPECT_NE(answer.body.find("<faultstring>Server was unable to process request.</faultstring>"), std::string::npos);
  // Packages misbehave too.
  EXPECT_EQ(Get(http500.port(), "/packages/realtek-hda.zip").status, 500);
}

TEST_F(FaultModeTest, ATruncatedBodyIsShorterThanAnnounced) {
  StandIn standIn({catalogue_.path(), "", "truncated"});
  EXPECT_EQ(Ask(standIn).status, 0);  // the client library refuses the cut body
  EXPECT_EQ(standIn.NextLine(), "POST GetUpdateInfo HTTP/1.1");
}

TEST_F(FaultModeTest, OnlyTheFirstRequestsMisbehaveWhenCounted) {
  StandIn standIn({catalogue_.path(), "", "http500", 2});
  EXPECT_EQ(Ask(standIn).status, 500);
  EXPECT_EQ(Ask(standIn).status, 500);
  EXPECT_EQ(Ask(standIn).status, 200);
  EXPECT_EQ(Ask(standIn).status, 200);
}

}  // namespace
}  // namespace zx::test
