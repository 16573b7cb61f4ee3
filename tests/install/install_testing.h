// Test support of the install tests: a fresh machine root per test, the language texts the
// download and install code looks up written beside the test's own copy of the shared
// library, and message boxes collected instead of shown.
#pragma once
#include <afx.h>

#include <string>
#include <vector>

#include "machine_fixture.h"
#include "zx/msgbox.h"

namespace zx::test {

class InstallTest : public MachineTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  static bool HostFileExists(const std::string& path);

  std::vector<std::u16string> boxes_;

 private:
  std::string folder_;
  zx::user::MessageBoxResponder previous_;
};

}  // namespace zx::test
