// Helpers of the web-service tests: a fresh machine root on a manual clock whose profile routes
// the maker's hosts to the loopback stand-in, and the exported functions run on a thread of
// their own while the test moves the clock.
#pragma once
#include <future>
#include <memory>
#include <string>

#include "machine_fixture.h"
#include "standin.h"
#include "zx/clock.h"

namespace zx::test {

inline constexpr const char* kUpdateHost = "update.zephrin-tunevo.example";
inline constexpr const char* kAlternativeHost = "update2.zephrin-tunevo.example";

class WebServiceTest : public MachineTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts the stand-in with the sample catalogue and an upload folder, and routes both of the
  // maker's hosts to it.
  void StartStandIn(const std::string& fault = {}, unsigned faultCount = 0);
  // Routes the maker's two hosts to these ports of 127.0.0.1 (port 1: nobody listens).
  void Route(int updatePort, int alternativePort);
  // The user's Internet Settings name the stand-in as proxy server.
  void UseStandInAsUserProxy();

  // Waits until the call under way sleeps between attempts, checks that it sleeps 1024 ms on
  // the clock (nothing happens a millisecond earlier), and lets it go on.
  void PassRetryPause();
  // The next line of the stand-in, or "" when none came within timeoutMs of host time.
  std::string NextRequest(int timeoutMs = 5000) { return standIn_->NextLine(timeoutMs); }

  std::string UploadedFile(const std::string& name) const;

  ManualClock clock_;
  TempFolder catalogue_;
  TempFolder uploads_;
  std::unique_ptr<StandIn> standIn_;
};

// Runs a call on its own thread.
template <class F>
auto Started(F call) {
  return std::async(std::launch::async, std::move(call));
}

}  // namespace zx::test
