// Test support of the scan tests.
#include "scan_testing.h"

#include <fstream>
#include <sstream>

#include "DeviceScanner.h"
#include "profileapi.h"
#include "record_text.h"
#include "zx/machineprofile.h"

namespace zx::test {
namespace {

ScanOutcome* g_outcome = nullptr;

BOOL Collect(CDeviceRecordArray* records, int percent) {
  g_outcome->percents.push_back(percent);
  if (records == nullptr) {
    ++g_outcome->leftOut;
    return TRUE;
  }
  const INT_PTR index = static_cast<INT_PTR>(g_outcome->records.size());
  const tagDeviceDriverInfo* record = records->GetAt(index);
  EXPECT_NE(record, nullptr);
  if (record == nullptr) return TRUE;
  // The text is taken now: a copy would turn unset texts into empty ones.
  g_outcome->text += FormatRecord(static_cast<int>(index), *record);
  g_outcome->records.push_back(std::make_unique<tagDeviceDriverInfo>(*record));
  return TRUE;
}

void Seed(const devices::MachineProfile& profile, const std::string& source) {
  std::string error;
  const devices::SeedResult result = devices::SeedMachine(profile, devices::SeedOptions{false, source}, error);
  ASSERT_EQ(result, devices::SeedResult::Seeded) << error;
}

}  // namespace

void ScanTest::SetUp() {
  MachineTest::SetUp();
  SetMachineValue("Machine", "Administrator", "1");
}

void ScanTest::SeedFile(const std::string& path) {
  devices::MachineProfile profile;
  std::string error;
  ASSERT_TRUE(devices::LoadProfileFile(path, profile, error)) << error;
  Seed(profile, path);
}

void ScanTest::SeedText(const std::string& text) {
  devices::MachineProfile profile;
  std::string error;
  ASSERT_TRUE(devices::ParseProfile(text, "test", profile, error)) << error;
  Seed(profile, "test");
}

ScanOutcome ScanTest::Scan() {
  ScanOutcome outcome;
  g_outcome = &outcome;
  CDeviceScanner scanner(Collect);
  outcome.status = scanner.ScanDevices();
  g_outcome = nullptr;
  return outcome;
}

std::string FormatRecords(const ScanOutcome& outcome) {
  return "# " + std::to_string(outcome.records.size()) + " records\n" + outcome.text;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace zx::test
