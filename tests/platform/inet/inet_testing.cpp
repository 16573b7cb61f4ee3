// Helpers of the WinINet tests.
#include "inet_testing.h"

namespace zx::test {

std::u16string Wide(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

HINTERNET InetTest::OpenSession(DWORD accessType, LPCWSTR proxy) {
  return InternetOpenW(u"inet-tests", accessType, proxy, nullptr, 0);
}

HINTERNET InetTest::Connect(HINTERNET session, int port, const char16_t* host) {
  return InternetConnectW(session, host, static_cast<INTERNET_PORT>(port), nullptr, nullptr,
                          INTERNET_SERVICE_HTTP, 0, 0);
}

HINTERNET InetTest::Open(HINTERNET connection, LPCWSTR verb, LPCWSTR object, DWORD flags, LPCWSTR version) {
  return HttpOpenRequestW(connection, verb, object, version, nullptr, nullptr, flags, 0);
}

bool InetTest::ReadAll(HINTERNET request, std::string& body) {
  char block[1000];
  for (;;) {
    DWORD got = 0;
    if (!InternetReadFile(request, block, sizeof(block), &got)) return false;
    if (got == 0) return true;
    body.append(block, got);
  }
}

DWORD InetTest::StatusOf(HINTERNET request) {
  DWORD status = 0;
  DWORD size = sizeof(status);
  return HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr)
             ? status
             : 0;
}

void InetTest::WriteMachineProfile(const std::string& text) { WriteHostFile(root() + "/machine.ini", text); }

void ManualClockInetTest::SetUp() {
  InetTest::SetUp();
  SetClock(&clock_);
}

void ManualClockInetTest::TearDown() {
  SetClock(nullptr);
  InetTest::TearDown();
}

}  // namespace zx::test
