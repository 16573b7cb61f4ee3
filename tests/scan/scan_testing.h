// Test support of the scan tests: seeding the test's machine root from a profile, and
// running a scan that keeps a copy of every record it reports.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "DeviceRecord.h"
#include "machine_fixture.h"

namespace zx::test {

// What a scan reported.
struct ScanOutcome {
  int status = 0;
  // Copies of the records (a copy has empty texts where the record had none) and the
  // records as golden text, taken when they were reported.
  std::vector<std::unique_ptr<tagDeviceDriverInfo>> records;
  std::string text;
  std::vector<int> percents;  // of every report, kept devices and left-out ones
  int leftOut = 0;
};

// A machine root of its own, where the simulated user is an administrator (so the WMI
// service may be started).
class ScanTest : public MachineTest {
 protected:
  void SetUp() override;
  // Seeds the root from a profile file or text; the test fails when seeding does.
  void SeedFile(const std::string& path);
  void SeedText(const std::string& text);
  // Runs a scan on this thread.
  ScanOutcome Scan();
};

// The records as golden text (record_text.h).
std::string FormatRecords(const ScanOutcome& outcome);
std::string ReadFile(const std::string& path);

}  // namespace zx::test
