// The uninstall helper run as a process: whatever the machine's product key held before, the
// key afterwards holds ProceedUninstall = 1 as a REG_DWORD, after one run as after two; its
// other values and the user's key are left alone.
#include <gtest/gtest.h>
#include <winreg.h>

#include <functional>

#include "setuphelper_testing.h"
#include "zx/machine.h"

namespace zx::test {
namespace {

constexpr char16_t kProductKey[] = u"Software\\Corvash Vozivuved\\Zephrin Tunevo";
constexpr char16_t kProceedValue[] = u"ProceedUninstall";
constexpr char16_t kOtherValue[] = u"InstallPath";

class BeforeUninstall : public SetupHelperTest {
 protected:
  void SetUp() override {
    SetupHelperTest::SetUp();
    // The language file the shipped programs find beside them.
    WriteHostFile(zx::machine::ProgramFolder() + "/lang.lng", "[LANGUAGE]\r\n[ENGLISH]\r\n");
  }
  static void WriteMachineDword(LPCWSTR name, DWORD value) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kProductKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }
  // The value's type and number; type 0 when the value is missing.
  static std::pair<DWORD, DWORD> ProceedValue(HKEY root) {
    DWORD type = 0, value = 0, size = sizeof value;
    if (RegGetValueW(root, kProductKey, kProceedValue, RRF_RT_ANY, &type, &value, &size) != ERROR_SUCCESS ||
        size != sizeof value)
      return {0, 0};
    return {type, value};
  }
  static bool MachineKeyExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kProductKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }
};

struct StartCase {
  const char* name;
  std::function<void()> prepare;
};

TEST_F(BeforeUninstall, ProceedUninstallIsOneAfterEveryRunFromAnyStart) {
  const StartCase cases[] = {
      {"key missing", [] {}},
      {"key without the value", [] { WriteMachineDword(kOtherValue, 7); }},
      {"value 0", [] { WriteMachineDword(kProceedValue, 0); }},
      {"value already 1", [] { WriteMachineDword(kProceedValue, 1); }},
  };
  for (const StartCase& c : cases) {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kProductKey);
    ASSERT_FALSE(MachineKeyExists()) << c.name;
    c.prepare();
    for (int run = 1; run <= 2; ++run) {
      EXPECT_EQ(RunProgram("ZEPHRINKXBeforeUninstall", u""), 0) << c.name << ", run " << run;
      EXPECT_EQ(ProceedValue(HKEY_LOCAL_MACHINE), std::make_pair(DWORD{REG_DWORD}, DWORD{1})) << c.name << ", run " << run;
    }
  }
  // The value belongs to the machine's key only.
  EXPECT_EQ(ProceedValue(HKEY_CURRENT_USER).first, 0u);
}

TEST_F(BeforeUninstall, OtherValuesOfTheKeyAreKept) {
  WriteMachineDword(kOtherValue, 7);
  EXPECT_EQ(RunProgram("ZEPHRINKXBeforeUninstall", u""), 0);
  DWORD value = 0, size = sizeof value;
  EXPECT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, kProductKey, kOtherValue, RRF_RT_REG_DWORD, nullptr, &value, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(value, 7u);
  EXPECT_EQ(ProceedValue(HKEY_LOCAL_MACHINE).second, 1u);
}

}  // namespace
}  // namespace zx::test
