// Test support of the setup helpers: a fresh machine root that the programs started by a
// test share, and running a program of the test's folder.
#pragma once
#include <windows.h>

#include <string>

#include "machine_fixture.h"

namespace zx::test {

class SetupHelperTest : public MachineTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Runs the program of this test's folder with the arguments and waits for it; its exit
  // code, or -1 when it did not start or end within 20 s.
  static long RunProgram(const std::string& program, const std::u16string& arguments);
};

}  // namespace zx::test
