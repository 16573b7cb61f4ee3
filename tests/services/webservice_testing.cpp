// Helpers of the web-service tests.
#include "webservice_testing.h"

#include <winreg.h>

#include "zx/waits.h"

namespace zx::test {

void WebServiceTest::SetUp() {
  MachineTest::SetUp();
  SetClock(&clock_);
  WriteSampleCatalogue(catalogue_.path());
}

void WebServiceTest::TearDown() {
  standIn_.reset();
  SetClock(nullptr);
  MachineTest::TearDown();
}

void WebServiceTest::StartStandIn(const std::string& fault, unsigned faultCount) {
  standIn_ = std::make_unique<StandIn>(StandInOptions(catalogue_.path(), uploads_.path(), fault, faultCount));
  ASSERT_GT(standIn_->port(), 0);
  Route(standIn_->port(), standIn_->port());
}

void WebServiceTest::Route(int updatePort, int alternativePort) {
  WriteHostFile(root() + "/machine.ini", std::string("[Network]\nConnection=lan\n[Hosts]\n") + kUpdateHost +
                                             "=127.0.0.1:" + std::to_string(updatePort) + "\n" + kAlternativeHost +
                                             "=127.0.0.1:" + std::to_string(alternativePort) + "\n");
}

void WebServiceTest::UseStandInAsUserProxy() {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings", 0,
                            nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const std::string proxy = "127.0.0.1:" + std::to_string(standIn_->port());
  const std::u16string wide(proxy.begin(), proxy.end());
  RegSetValueExW(key, u"ProxyServer", 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                 static_cast<DWORD>((wide.size() + 1) * sizeof(char16_t)));
  RegCloseKey(key);
}

void WebServiceTest::PassRetryPause() {
  ASSERT_TRUE(AwaitBlockedWaiters(1));
  clock_.Advance(1023);
  EXPECT_EQ(NextRequest(50), "") << "an attempt came before the pause was over";
  clock_.Advance(1);
}

std::string WebServiceTest::UploadedFile(const std::string& name) const {
  return ReadHostFile(uploads_.path() + "/" + name);
}

}  // namespace zx::test
