// Shared helpers of the registry tests: a fresh machine root per test and short forms of the
// calls most tests make.
#pragma once
#include <string>
#include <vector>

#include "machine_fixture.h"
#include "winreg.h"
#include "zx/handles.h"
#include "zx/hive.h"
#include "zx/machine.h"

namespace zx::test {

class RegistryTest : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    handlesBefore_ = zx::OpenHandleCount();
  }
  void TearDown() override {
    zx::registry::SetCompactionFloor(std::size_t{1} << 20);
    EXPECT_EQ(zx::OpenHandleCount(), handlesBefore_) << "a key handle was left open";
  }

  static HKEY Create(HKEY parent, const char16_t* path, REGSAM access = KEY_ALL_ACCESS) {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExW(parent, path, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    return key;
  }
  static LONG SetDword(HKEY key, const char16_t* name, DWORD value) {
    return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
  }
  static LONG SetText(HKEY key, const char16_t* name, std::u16string_view text, DWORD type = REG_SZ) {
    return RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(text.data()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(char16_t)));
  }
  // The value's DWORD, or ~0 when it cannot be read.
  static DWORD GetDword(HKEY key, const char16_t* name) {
    DWORD value = 0, size = 4, type = 0;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != 4)
      return ~DWORD{0};
    return value;
  }
  static std::u16string GetText(HKEY key, const char16_t* name) {
    char16_t buffer[512] = {};
    DWORD size = sizeof buffer - sizeof(char16_t);
    if (RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS)
      return u"<missing>";
    return buffer;
  }
  static std::string HivePath(const char* file) { return zx::machine::RegistryFolder() + "/" + file; }

 private:
  std::size_t handlesBefore_ = 0;
};

}  // namespace zx::test
