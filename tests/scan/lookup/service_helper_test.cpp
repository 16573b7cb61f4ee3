// The web-service call helper: the 54-second limit, the fallback address, addresses that do
// not fit their buffer, and feedback file names.
#include <gtest/gtest.h>

#include <afxwin.h>

#include "ExchangeEncoding.h"
#include "UpdateServiceHelper.h"
#include "lookup_testing.h"
#include "standin.h"

namespace zx::test {
namespace {

SYSTEMTIME SecondsAgo(int seconds) {
  FILETIME file{};
  GetSystemTimeAsFileTime(&file);
  SYSTEMTIME now{};
  GetLocalTime(&now);
  FILETIME local{};
  SystemTimeToFileTime(&now, &local);
  ULONGLONG ticks = (static_cast<ULONGLONG>(local.dwHighDateTime) << 32) | local.dwLowDateTime;
  ticks -= static_cast<ULONGLONG>(seconds) * 10000000ull;
  local.dwLowDateTime = static_cast<DWORD>(ticks);
  local.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  SYSTEMTIME start{};
  FileTimeToSystemTime(&local, &start);
  return start;
}

TEST(ElapsedTime, CountsWholeSecondsSinceTheStart) {
  EXPECT_FALSE(ElapsedMoreThan54s(SecondsAgo(0)));
  EXPECT_FALSE(ElapsedMoreThan54s(SecondsAgo(50)));
  EXPECT_TRUE(ElapsedMoreThan54s(SecondsAgo(60)));
  SYSTEMTIME broken{};
  broken.wYear = 2010;
  broken.wMonth = 13;
  broken.wDay = 40;
  EXPECT_TRUE(ElapsedMoreThan54s(broken));
}

TEST(FeedbackName, JoinsThePartsTimeAndNumber) {
  CUpdateServiceHelper helper;
  CString name;
  helper.MakeFeedbackFileName(name, TRUE, TRUE, _T("X"));
  CString prefix = _T("ZephrinZephrinKX") + AfxGetAppName();
  prefix.Remove(' ');
  const std::string text = Narrow(name);
  EXPECT_EQ(text.rfind(Narrow(prefix) + "XAutomatedSimpleStr-Feedback ", 0), 0u) << text;
  EXPECT_EQ(text.substr(text.size() - 4), ".xml");
  EXPECT_NE(text.find("M "), std::string::npos) << text;  // AM or PM, then the number
}

class ServiceHelper : public LookupTest {
 protected:
  void SetUp() override {
    LookupTest::SetUp();
    WriteSampleCatalogue(catalogue_.path());
    standIn_ = std::make_unique<StandIn>(StandInOptions(catalogue_.path(), {}));
    ASSERT_GT(standIn_->port(), 0);
    WriteHostFile(root() + "/machine.ini", "[Network]\nConnection=lan\n[Hosts]\nupdate2.zephrin-tunevo.example=127.0.0.1:" +
                                               std::to_string(standIn_->port()) + "\n");
  }
  void TearDown() override {
    SetUpdateServiceAddresses(_T("http://update.zephrin-tunevo.example/updateservice/updateservice.asmx"),
                              _T("http://update2.zephrin-tunevo.example/updateservice/updateservice.asmx"));
    LookupTest::TearDown();
  }
  static CString TooLong() { return _T("http://update.zephrin-tunevo.example/") + CString(u'x', 260); }

  TempFolder catalogue_;
  std::unique_ptr<StandIn> standIn_;
};

// A primary address that does not fit its buffer is not called; the fallback answers.
TEST_F(ServiceHelper, FallsBackWhenThePrimaryCallFails) {
  SetUpdateServiceAddresses(TooLong(), _T("http://update2.zephrin-tunevo.example/updateservice/updateservice.asmx"));
  CString request = _T("<newdataset><device><driverid>0</driverid><matchingid>PCI\\VEN_8086&amp;DEV_15B8&amp;"
                       "SUBSYS_86721043</matchingid></device></newdataset>");
  CString encoded;
  EncipherTextToHex(request, encoded);
  CUpdateServiceHelper helper;
  BSTR answer = nullptr;
  ASSERT_TRUE(helper.GetUpdateData(encoded, &answer));
  ASSERT_NE(answer, nullptr);
  CString text(answer, static_cast<int>(SysStringLen(answer)));
  SysFreeString(answer);
  ASSERT_TRUE(getOutputStrFromHex(text));
  EXPECT_NE(Narrow(text).find("<driverid>0</driverid>"), std::string::npos) << Narrow(text);
  EXPECT_EQ(standIn_->NextLine(), "POST GetUpdateInfoWithEncryptOptions HTTP/1.1");
}

TEST_F(ServiceHelper, FailsWhenNoAddressCanBeUsed) {
  SetUpdateServiceAddresses(TooLong(), TooLong());
  CUpdateServiceHelper helper;
  BSTR answer = nullptr;
  EXPECT_FALSE(helper.GetUpdateData(_T("x"), &answer));
  EXPECT_EQ(answer, nullptr);
  CString link;
  EXPECT_FALSE(helper.GetLink(_T(" x "), link));
}

}  // namespace
}  // namespace zx::test
