// A registry key opened for the device services, closed when it goes out of scope.
#pragma once
#include <winreg.h>

#include <string>
#include <string_view>
#include <vector>

#include "zx/devicetree.h"

namespace zx::devices {

class RegKey {
 public:
  RegKey() = default;
  ~RegKey() { Close(); }
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;

  // Opens HKLM\path (or parent\path) for reading.
  bool Open(std::u16string_view path, HKEY parent = HKEY_LOCAL_MACHINE);
  // Opens or creates it for writing.
  bool Create(std::u16string_view path, HKEY parent = HKEY_LOCAL_MACHINE);
  void Close();
  HKEY get() const { return key_; }

  // Sub-key names in registry order.
  std::vector<std::u16string> SubkeyNames() const;
  // Every value in creation order.
  std::vector<RegistryValue> Values() const;
  bool Query(std::u16string_view name, RegistryValue& value) const;
  // REG_SZ / REG_EXPAND_SZ text; empty when missing or of another type.
  std::u16string Text(std::u16string_view name) const;
  // REG_DWORD; false when missing or of another type.
  bool Dword(std::u16string_view name, DWORD& value) const;

  LONG SetText(std::u16string_view name, std::u16string_view text, DWORD type = REG_SZ) const;
  LONG SetList(std::u16string_view name, const std::vector<std::u16string>& list) const;
  LONG SetDword(std::u16string_view name, DWORD value) const;
  LONG SetData(std::u16string_view name, DWORD type, const void* data, DWORD size) const;

 private:
  HKEY key_ = nullptr;
};

// Text of a REG_SZ value's bytes (up to the first terminator).
std::u16string TextOf(const RegistryValue& value);
// Strings of a REG_MULTI_SZ value's bytes, up to the first empty one.
std::vector<std::u16string> ListOf(const RegistryValue& value);

}  // namespace zx::devices
