// Helpers of the WinINet tests: a fresh machine root per test, handles that close themselves,
// reading a whole body, and a fixture on a manual clock.
#pragma once
#include <string>

#include "machine_fixture.h"
#include "wininet.h"
#include "zx/clock.h"
#include "zx/internethandle.h"

namespace zx::test {

using zx::inet::InternetHandle;

std::u16string Wide(const std::string& ascii);

class InetTest : public MachineTest {
 protected:
  // A session (direct unless told otherwise) and an HTTP connection to 127.0.0.1:port.
  static HINTERNET OpenSession(DWORD accessType = INTERNET_OPEN_TYPE_DIRECT, LPCWSTR proxy = nullptr);
  static HINTERNET Connect(HINTERNET session, int port, const char16_t* host = u"127.0.0.1");
  static HINTERNET Open(HINTERNET connection, LPCWSTR verb, LPCWSTR object, DWORD flags = 0,
                        LPCWSTR version = nullptr);
  // Reads the body to its end; false when a read fails (the error is then GetLastError()).
  static bool ReadAll(HINTERNET request, std::string& body);
  static DWORD StatusOf(HINTERNET request);
  // A line of <root>/machine.ini, under its section.
  void WriteMachineProfile(const std::string& text);
};

// The same on a manual clock, put back to the host clock afterwards.
class ManualClockInetTest : public InetTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  ManualClock clock_;
};

}  // namespace zx::test
