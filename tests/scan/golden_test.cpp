// Scanning each shipped machine profile yields exactly the records it implies: the golden
// files, compared field by field.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "DriverInstallEngine.h"
#include "record_text.h"
#include "scan_testing.h"

namespace zx::test {
namespace {

class GoldenScan : public ScanTest {
 protected:
  // Scans the profile and compares with the golden file; with ZX_WRITE_GOLDEN set to a
  // folder, writes the scan's text there instead (to review before it replaces a golden).
  void Check(const std::string& profile, const std::string& golden) {
    SeedFile(profile);
    const ScanOutcome outcome = Scan();
    ASSERT_EQ(outcome.status, kStepCompleted);
    const std::string actual = FormatRecords(outcome);
    if (const char* folder = std::getenv("ZX_WRITE_GOLDEN")) {
      std::ofstream(std::string(folder) + "/" + golden.substr(golden.rfind('/') + 1), std::ios::binary) << actual;
      return;
    }
    const std::string expected = ReadFile(golden);
    ASSERT_FALSE(expected.empty()) << golden;
    const std::vector<std::string> differences = CompareRecordTexts(expected, actual);
    for (const std::string& difference : differences) ADD_FAILURE() << difference;
  }
};

TEST_F(GoldenScan, Laptop) {
  Check(ZX_PROFILES_DIR "/laptop.profile", ZX_GOLDEN_DIR "/laptop.golden");
}

TEST_F(GoldenScan, Desktop) {
  Check(ZX_PROFILES_DIR "/desktop.profile", ZX_GOLDEN_DIR "/desktop.golden");
}

// The workstation's expected records are written by its generator from the profile itself.
TEST_F(GoldenScan, GeneratedWorkstation) {
  Check(ZX_WORKSTATION_PROFILE, ZX_WORKSTATION_GOLDEN);
}

}  // namespace
}  // namespace zx::test
