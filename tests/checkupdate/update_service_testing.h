// Test support of the update checker against the web service's stand-in over loopback: the
// offered version in the service's answer, the setup program it serves (a stand-in that
// records how it was started), and the service's request lines.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "checkupdate_testing.h"
#include "standin.h"

namespace zx::test {

inline constexpr const char* kSetupName = "TunevoSetup.exe";

struct Offer {
  std::string version = "5.1.0.11";  // the tests' shared library is 5.1.0.10
  std::string url = "http://{host}/setups/TunevoSetup.exe";
  std::string size = "{size:TunevoSetup.exe}";
  std::string openBrowser = "0";
  std::string key = kSetupName;
  std::string hash = "{sha1:TunevoSetup.exe}";
};

class UpdateServiceTest : public CheckUpdateTest {
 protected:
  void SetUp() override;
  // The program answer the service gives.
  void Publish(const Offer& offer);
  // Offers a database archive at the complete-database address: "Completedatabase.zip" and its
  // digest in "dbUpdate.ini".
  void PublishCompleteDatabase(const std::string& archive);
  // Starts the service and points the update host at it.
  void StartService();
  // The lines the setup stand-in recorded (waits up to 10 s for the first one when asked).
  std::string SetupRecord(const std::string& file, bool wait);
  // How many times the setup stand-in was started so far.
  int SetupStarts(const std::string& file);
  // The stand-in's request lines so far.
  std::vector<std::string> Requests();
  // The SHA-1 of the served setup program, hexadecimal.
  std::string SetupSha1();

  TempFolder catalogue_;
  TempFolder uploads_;
  std::unique_ptr<StandIn> service_;
  std::string setupBytes_;
};

}  // namespace zx::test
