// The update checker tests' web service fixture.
#include "update_service_testing.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "DigestsSha1.h"
#include "zx/pathmap.h"

namespace zx::test {

void UpdateServiceTest::SetUp() {
  CheckUpdateTest::SetUp();
  std::filesystem::copy_file(ZX_UPDATE_SETUP, catalogue_.path() + "/" + kSetupName);
  WriteHostFile(catalogue_.path() + "/catalogue.ini", "");  // no driver packages
  std::ifstream in(ZX_UPDATE_SETUP, std::ios::binary);
  setupBytes_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void UpdateServiceTest::Publish(const Offer& offer) {
  WriteHostFile(catalogue_.path() + "/LatestVersion.htm",
                "[Application]\r\nPROGRAM_VERSION=" + offer.version + "\r\nPROGRAM_URL=" + offer.url +
                    "\r\nPROGRAM_SIZE=" + offer.size + "\r\nOpen_Browser=" + offer.openBrowser +
                    "\r\nDescription=The new version\r\nkey=" + offer.key + "\r\nHash=" + offer.hash + "\r\n");
}

void UpdateServiceTest::PublishCompleteDatabase(const std::string& archive) {
  const std::string file = catalogue_.path() + "/Completedatabase.zip";
  WriteHostFile(file, archive);
  const CString digest = CCalcSHA1::GetFileSha1Hash(CString(zx::path::HostToWindows(file).c_str()));
  WriteHostFile(catalogue_.path() + "/dbUpdate.ini",
                "[BrovikUpdates]\r\nSHA=" + std::string(CStringA(digest).GetString()) +
                    "\r\nDOWNLOADURL=http://update.zephrin-tunevo.example/quarnelupdates/CompleteDatabase/"
                    "Completedatabase.zip\r\n");
}

void UpdateServiceTest::StartService() {
  service_ = std::make_unique<StandIn>(StandInOptions(catalogue_.path(), uploads_.path()));
  ASSERT_GT(service_->port(), 0);
  SetMachineValue("Hosts", "update.zephrin-tunevo.example", "127.0.0.1:" + std::to_string(service_->port()));
}

std::string UpdateServiceTest::SetupRecord(const std::string& file, bool wait) {
  for (int attempt = 0; attempt < (wait ? 200 : 1); ++attempt) {
    std::ifstream in(file + ".runs");
    std::string line;
    if (std::getline(in, line)) return line;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return {};
}

int UpdateServiceTest::SetupStarts(const std::string& file) {
  std::ifstream in(file + ".runs");
  int starts = 0;
  for (std::string line; std::getline(in, line);) ++starts;
  return starts;
}

std::vector<std::string> UpdateServiceTest::Requests() {
  std::vector<std::string> lines;
  for (std::string line = service_->NextLine(200); !line.empty(); line = service_->NextLine(200))
    lines.push_back(line.substr(0, line.rfind(' ')));
  return lines;
}

std::string UpdateServiceTest::SetupSha1() {
  std::string host = catalogue_.path() + "/" + kSetupName;
  return std::string(CStringA(CCalcSHA1::GetFileSha1Hash(CString(zx::path::HostToWindows(host).c_str()))).GetString());
}

}  // namespace zx::test
