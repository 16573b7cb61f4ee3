// The SOAP transports against a server in the test process: what goes on the wire, results,
// faults and broken answers, proxies, and the whole-exchange time-out on the layer's clock.
#include <gtest/gtest.h>

#include <winreg.h>

#include <chrono>
#include <future>

#include "machine_fixture.h"
#include "miscservice.h"
#include "test_http_server.h"
#include "updateservice.h"
#include "zx/clock.h"
#include "zx/soapresultsink.h"
#include "zx/utf8text.h"

namespace zx::test {
namespace {

using namespace std::chrono_literals;

constexpr const char* kNamespace = "http://update.zephrin-tunevo.example/webservices/";
constexpr const char* kUpdatePath = "/updateservice/updateservice.asmx";

std::u16string Wide(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

std::string ResultEnvelope(const std::string& operation, const std::string& inner) {
  return std::string("<?xml version=\"1.0\"?><s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\"><s:Body><") +
         operation + "Response xmlns=\"" + kNamespace + "\">" + inner + "</" + operation + "Response></s:Body></s:Envelope>";
}

class SoapClientTest : public MachineTest {
 protected:
  void TearDown() override {
    SetClock(nullptr);
    MachineTest::TearDown();
  }

  std::u16string UpdateUrl() const { return Wide(server_.base() + kUpdatePath); }

  void AnswerUpdateInfo(const std::string& result) {
    server_.Script("POST", kUpdatePath,
                   {200, ResultEnvelope("GetUpdateInfo", "<GetUpdateInfoResult>" + result + "</GetUpdateInfoResult>"),
                    "text/xml; charset=utf-8"});
  }

  // GetUpdateInfo("scan") through the given client; the HRESULT, and the result text or "<unset>".
  template <class Client>
  std::pair<HRESULT, std::u16string> Call(UpdateService::CUpdateServiceT<Client>& service) {
    BSTR input = SysAllocString(u"scan");
    BSTR result = reinterpret_cast<BSTR>(&unset_);
    const HRESULT hr = service.GetUpdateInfo(input, &result);
    SysFreeString(input);
    if (result == reinterpret_cast<BSTR>(&unset_)) return {hr, u"<unset>"};
    std::u16string text = result ? std::u16string(result, SysStringLen(result)) : u"<null>";
    SysFreeString(result);
    return {hr, text};
  }

  TestHttpServer server_;
  char16_t unset_ = 0;
};

TEST_F(SoapClientTest, TheSocketClientPostsTheEnvelopeOverHttp11) {
  AnswerUpdateInfo("the answer");
  UpdateService::CUpdateService service(UpdateUrl().c_str());
  const auto [hr, text] = Call(service);
  EXPECT_EQ(hr, S_OK);
  EXPECT_EQ(text, u"the answer");
  EXPECT_EQ(service.GetStatusCode(), 200);
  EXPECT_EQ(service.GetClientError(), SOAPCLIENT_SUCCESS);
  const auto received = server_.received();
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].target, kUpdatePath);
  EXPECT_EQ(received[0].version, "HTTP/1.1");
  EXPECT_EQ(received[0].Header("content-type"), "text/xml; charset=utf-8");
  EXPECT_EQ(received[0].Header("soapaction"), "\"http://update.zephrin-tunevo.example/webservices/GetUpdateInfo\"");
  EXPECT_EQ(received[0].body,
            "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
            "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\">"
            "<soap:Body><GetUpdateInfo xmlns=\"http://update.zephrin-tunevo.example/webservices/\"><input>scan</input>"
            "</GetUpdateInfo></soap:Body></soap:Envelope>");
}

TEST_F(SoapClientTest, TheWininetClientSendsHttp10) {
  AnswerUpdateInfo("x");
  UpdateService::CUpdateServiceT<CSoapWininetClient> service(UpdateUrl().c_str());
  EXPECT_EQ(Call(service).first, S_OK);
  EXPECT_EQ(server_.received().at(0).version, "HTTP/1.0");
}

TEST_F(SoapClientTest, OptionsAndUploadsCarryTheirParts) {
  server_.Script("POST", "/misc", {200, ResultEnvelope("UploadFile", "<UploadFileResult>1</UploadFileResult>"), "text/xml"});
  MiscService::CMiscService misc(Wide(server_.base() + "/misc").c_str());
  unsigned char bytes[] = {'h', 0, 'i', 0};
  BSTR result = nullptr;
  ASSERT_EQ(misc.UploadFile({sizeof(bytes), bytes}, &result), S_OK);
  EXPECT_EQ(std::u16string(result), u"1");
  SysFreeString(result);
  const std::string body = server_.received().at(0).body;
  EXPECT_NE(body.find("<UploadFile xmlns=\"http://update.zephrin-tunevo.example/webservices/\"><buffer>aABpAA==</buffer>"),
            std::string::npos);
  EXPECT_EQ(server_.received().at(0).Header("soapaction"),
            "\"http://update.zephrin-tunevo.example/webservices/UploadFile\"");
}

TEST_F(SoapClientTest, ANilResultIsSuccessWithoutText) {
  AnswerUpdateInfo("");
  server_.Script("POST", kUpdatePath,
                 {200, ResultEnvelope("GetUpdateInfo", "<GetUpdateInfoResult xsi:nil=\"true\" "
                                                       "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"/>"),
                  "text/xml"});
  UpdateService::CUpdateService service(UpdateUrl().c_str());
  const auto [hr, text] = Call(service);
  EXPECT_EQ(hr, S_OK);
  EXPECT_EQ(text, u"<null>");
}

// Answers of every size come through whole, read into the room their announced length asks
// for: small ones, ones of many read blocks, one in pieces of text and character data, and one
// of several MB with characters outside ASCII.
TEST_F(SoapClientTest, AnswersOfEverySizeComeThroughWhole) {
  std::string large;
  for (int i = 0; large.size() < (6u << 20); ++i) large += "0123456789ABCDEF\xC3\xA9" + std::to_string(i);
  const std::pair<std::string, std::u16string> cases[] = {
      {"x", u"x"},
      {std::string(40000, 'A'), std::u16string(40000, u'A')},
      {"a&amp;b<![CDATA[<c>]]>d", u"a&b<c>d"},
      {large, *zx::inet::FromUtf8(large)},
  };
  for (const auto& [wire, expected] : cases) {
    AnswerUpdateInfo(wire);
    UpdateService::CUpdateService service(UpdateUrl().c_str());
    const auto [hr, text] = Call(service);
    EXPECT_EQ(hr, S_OK);
    EXPECT_TRUE(text == expected) << text.size() << " units of " << expected.size();
  }
}

// Counts what it is handed and whether every unit was the digit 7.
class CountingSink : public soap::ResultSink {
 public:
  void Begin(std::size_t) override { units = 0, sevens = true; }
  void Take(std::u16string_view piece) override {
    units += piece.size();
    sevens = sevens && piece.find_first_not_of(u'7') == std::u16string_view::npos;
  }
  std::size_t units = 0;
  bool sevens = true;
};

// An answer larger than any before, read into the thread's sink as the scan exchange reads
// the update service's: it comes through whole, as it did not while answers were bounded at
// 64 MB.
TEST_F(SoapClientTest, AnAnswerOfSeventyMegabytesComesThroughIntoASink) {
  constexpr std::size_t kDigits = 70u << 20;
  AnswerUpdateInfo(std::string(kDigits, '7'));
  CountingSink sink;
  soap::ScopedResultSink streamed(sink);
  UpdateService::CUpdateService service(UpdateUrl().c_str());
  const auto [hr, text] = Call(service);
  EXPECT_EQ(hr, S_OK);
  EXPECT_EQ(text, u"");
  EXPECT_EQ(sink.units, kDigits);
  EXPECT_TRUE(sink.sevens);
}

TEST_F(SoapClientTest, FaultsAndBrokenAnswersFailAndLeaveTheResultAlone) {
  const std::string fault =
      "<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\"><s:Body><s:Fault><faultcode>s:Server</faultcode>"
      "<faultstring>down for maintenance</faultstring></s:Fault></s:Body></s:Envelope>";
  const struct {
    ScriptedReply reply;
    SOAPCLIENT_ERROR error;
  } cases[] = {
      {{500, fault, "text/xml"}, SOAPCLIENT_SOAPFAULT},
      {{500, "<html>Internal Server Error</html>", "text/html"}, SOAPCLIENT_SERVER_ERROR},
      {{404, "", "text/plain"}, SOAPCLIENT_SERVER_ERROR},
      {{200, "\x89PNG garbage <<<", "text/xml"}, SOAPCLIENT_PARSE_ERROR},
      {{200, ResultEnvelope("GetUpdateInfo", "<GetUpdateInfoResult>0123456789</GetUpdateInfoResult>"), "text/xml", {},
        ScriptedReply::Delivery::CutHalfway},
       SOAPCLIENT_READ_ERROR},
  };
  for (const auto& c : cases) {
    server_.Script("POST", kUpdatePath, c.reply);
    UpdateService::CUpdateService service(UpdateUrl().c_str());
    const auto [hr, text] = Call(service);
    EXPECT_EQ(hr, E_FAIL) << c.reply.status;
    EXPECT_EQ(text, u"<unset>");
    EXPECT_EQ(service.GetClientError(), c.error) << c.reply.body;
    if (c.error == SOAPCLIENT_SOAPFAULT) {
      EXPECT_EQ(service.GetFault().m_strFaultString, u"down for maintenance");
      EXPECT_EQ(service.GetStatusCode(), 500);
    }
  }
}

TEST_F(SoapClientTest, UnreachableServersAndBadAddressesFailEarly) {
  UpdateService::CUpdateService nobody(u"http://127.0.0.1:1/updateservice/updateservice.asmx");
  EXPECT_EQ(Call(nobody).first, E_FAIL);
  EXPECT_EQ(nobody.GetClientError(), SOAPCLIENT_CONNECT_ERROR);
  UpdateService::CUpdateService bad(u"ftp://127.0.0.1/x");
  EXPECT_EQ(Call(bad).first, E_FAIL);
  EXPECT_EQ(bad.GetClientError(), SOAPCLIENT_INITIALIZE_ERROR);
  EXPECT_EQ(bad.SetUrl(nullptr), E_INVALIDARG);
  BSTR input = SysAllocStringLen(u"\x0001", 1);
  BSTR result = nullptr;
  UpdateService::CUpdateService service(UpdateUrl().c_str());
  EXPECT_EQ(service.GetUpdateInfo(input, &result), E_FAIL);
  EXPECT_EQ(service.GetClientError(), SOAPCLIENT_GENERATE_ERROR);
  EXPECT_EQ(service.GetUpdateInfo(input, nullptr), E_POINTER);
  SysFreeString(input);
  EXPECT_TRUE(server_.received().empty());
}

TEST_F(SoapClientTest, TheDefaultAddressIsTheMakersUpdateService) {
  UpdateService::CUpdateService service;
  EXPECT_EQ(std::u16string(service.GetUrl()), u"http://update.zephrin-tunevo.example/updateservice/updateservice.asmx");
  MiscService::CMiscService misc;
  EXPECT_EQ(std::u16string(misc.GetUrl()), u"http://update.zephrin-tunevo.example/miscservice/miscservice.asmx");
  // Routed to the test server by the machine profile, the default address reaches it.
  AnswerUpdateInfo("routed");
  WriteHostFile(root() + "/machine.ini",
                "[Hosts]\nupdate.zephrin-tunevo.example=127.0.0.1:" + std::to_string(server_.port()) + "\n");
  EXPECT_EQ(Call(service).second, u"routed");
}

TEST_F(SoapClientTest, TheSocketClientTakesTheUsersProxyWhenAsked) {
  AnswerUpdateInfo("via proxy");
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings", 0,
                            nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const std::u16string proxy = Wide("http=127.0.0.1:" + std::to_string(server_.port()) + ";ftp=127.0.0.9:21");
  RegSetValueExW(key, u"ProxyServer", 0, REG_SZ, reinterpret_cast<const BYTE*>(proxy.c_str()),
                 static_cast<DWORD>((proxy.size() + 1) * 2));
  RegCloseKey(key);

  UpdateService::CUpdateService direct(u"http://far.example/updateservice/updateservice.asmx");
  direct.SetProxy();
  EXPECT_EQ(Call(direct).second, u"via proxy");
  EXPECT_EQ(server_.received().at(0).target, "http://far.example/updateservice/updateservice.asmx");

  UpdateService::CUpdateServiceT<CSoapWininetClient> named(u"http://far.example/updateservice/updateservice.asmx");
  named.SetProxy(Wide("127.0.0.1:" + std::to_string(server_.port())).c_str());
  EXPECT_EQ(Call(named).second, u"via proxy");
  EXPECT_EQ(server_.received().at(1).target, "http://far.example/updateservice/updateservice.asmx");
}

TEST_F(SoapClientTest, TheTimeOutBoundsTheWholeExchangeOnTheLayersClock) {
  ManualClock clock;
  SetClock(&clock);
  server_.Script("POST", kUpdatePath,
                 {200, ResultEnvelope("GetUpdateInfo", "<GetUpdateInfoResult>" + std::string(200, 'x') + "</GetUpdateInfoResult>"),
                  "text/xml", {}, ScriptedReply::Delivery::StallHalfway});
  UpdateService::CUpdateService service(UpdateUrl().c_str());
  service.SetTimeout(120000);
  auto outcome = std::async(std::launch::async, [&] { return Call(service); });
  ASSERT_TRUE(server_.AwaitRequests(1));
  clock.Advance(119999);
  EXPECT_EQ(outcome.wait_for(50ms), std::future_status::timeout);
  clock.Advance(1);
  ASSERT_EQ(outcome.wait_for(2s), std::future_status::ready);
  const auto [hr, text] = outcome.get();
  EXPECT_EQ(hr, E_FAIL);
  EXPECT_EQ(text, u"<unset>");
  EXPECT_EQ(service.GetClientError(), SOAPCLIENT_READ_ERROR);
}

}  // namespace
}  // namespace zx::test
