// The ANSI (A) forms of the Reg* functions: names and text data pass through the ANSI code
// page (Windows-1252) on their way to and from the W forms.
#include <optional>
#include <string>

#include "stringapiset.h"
#include "valuedata.h"
#include "winreg.h"

namespace {

// A narrow argument as wide text; null stays null.
class WideArgument {
 public:
  explicit WideArgument(LPCSTR text) {
    if (text == nullptr) return;
    const int count = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    text_.emplace(static_cast<std::size_t>(count > 0 ? count : 1), u'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, text_->data(), count);
  }
  LPCWSTR get() const { return text_ ? text_->c_str() : nullptr; }

 private:
  std::optional<std::u16string> text_;
};

// UTF-16LE bytes to ANSI bytes (an odd last byte is dropped), and back.
std::vector<BYTE> ToAnsi(const std::vector<BYTE>& data) {
  std::u16string units(data.size() / 2, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i)
    units[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
  const int unitCount = static_cast<int>(units.size());
  const int count = units.empty() ? 0 : WideCharToMultiByte(CP_ACP, 0, units.data(), unitCount, nullptr, 0, nullptr, nullptr);
  std::vector<BYTE> ansi(static_cast<std::size_t>(count));
  if (count > 0)
    WideCharToMultiByte(CP_ACP, 0, units.data(), unitCount, reinterpret_cast<LPSTR>(ansi.data()), count, nullptr, nullptr);
  return ansi;
}

std::vector<BYTE> FromAnsi(const BYTE* data, DWORD size) {
  const auto text = reinterpret_cast<LPCSTR>(data);
  const int count = size == 0 ? 0 : MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(size), nullptr, 0);
  std::u16string units(static_cast<std::size_t>(count), u'\0');
  if (count > 0) MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(size), units.data(), count);
  std::vector<BYTE> bytes;
  bytes.reserve(units.size() * 2);
  for (char16_t c : units) {
    bytes.push_back(static_cast<BYTE>(c & 0xFF));
    bytes.push_back(static_cast<BYTE>(c >> 8));
  }
  return bytes;
}

}  // namespace

LONG RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult) {
  return RegOpenKeyExW(hKey, WideArgument(lpSubKey).get(), ulOptions, samDesired, phkResult);
}

LONG RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD Reserved, LPSTR, DWORD dwOptions,
                     REGSAM samDesired, const SECURITY_ATTRIBUTES* lpSecurityAttributes,
                     PHKEY phkResult, LPDWORD lpdwDisposition) {
  return RegCreateKeyExW(hKey, WideArgument(lpSubKey).get(), Reserved, nullptr, dwOptions, samDesired,
                         lpSecurityAttributes, phkResult, lpdwDisposition);
}

LONG RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD, LPDWORD lpType, LPBYTE lpData,
                      LPDWORD lpcbData) {
  if (lpData != nullptr && lpcbData == nullptr) return ERROR_INVALID_PARAMETER;
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
  if (const LONG error = zx::registry::ReadValue(hKey, WideArgument(lpValueName).get(), type, data);
      error != ERROR_SUCCESS)
    return error;
  if (zx::registry::IsTextType(type)) data = ToAnsi(data);
  if (lpType != nullptr) *lpType = type;
  return lpcbData == nullptr ? ERROR_SUCCESS : zx::registry::CopyData(data.data(), data.size(), lpData, lpcbData);
}

LONG RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData,
                    DWORD cbData) {
  if (lpData == nullptr && cbData != 0) return ERROR_NOACCESS;
  if (!zx::registry::IsTextType(dwType))
    return RegSetValueExW(hKey, WideArgument(lpValueName).get(), Reserved, dwType, lpData, cbData);
  const std::vector<BYTE> wide = FromAnsi(lpData, cbData);
  return RegSetValueExW(hKey, WideArgument(lpValueName).get(), Reserved, dwType, wide.data(),
                        static_cast<DWORD>(wide.size()));
}

LONG RegDeleteValueA(HKEY hKey, LPCSTR lpValueName) {
  return RegDeleteValueW(hKey, WideArgument(lpValueName).get());
}

LONG RegDeleteKeyA(HKEY hKey, LPCSTR lpSubKey) { return RegDeleteKeyW(hKey, WideArgument(lpSubKey).get()); }
