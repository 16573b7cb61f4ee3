// SetupHelperTest: programs of the test's folder run on the test's machine.
#include "setuphelper_testing.h"

#include <winprocess.h>

#include <cstdlib>

#include "zx/machine.h"
#include "zx/pathmap.h"

namespace zx::test {
namespace {

constexpr DWORD kProgramWaitMilliseconds = 20000;

}  // namespace

void SetupHelperTest::SetUp() {
  MachineTest::SetUp();
  ::setenv("ZX_MACHINE_ROOT", root().c_str(), 1);  // the programs started share the root
}

void SetupHelperTest::TearDown() { ::unsetenv("ZX_MACHINE_ROOT"); }

long SetupHelperTest::RunProgram(const std::string& program, const std::u16string& arguments) {
  std::u16string line = u"\"" + zx::path::HostToWindows(zx::machine::ProgramFolder() + "/" + program) + u"\"";
  if (!arguments.empty()) line += u" " + arguments;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info))
    return -1;
  CloseHandle(info.hThread);
  DWORD code = STILL_ACTIVE;
  if (WaitForSingleObject(info.hProcess, kProgramWaitMilliseconds) == WAIT_OBJECT_0)
    GetExitCodeProcess(info.hProcess, &code);
  CloseHandle(info.hProcess);
  return code == STILL_ACTIVE ? -1 : static_cast<long>(code);
}

}  // namespace zx::test
