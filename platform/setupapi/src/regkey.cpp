// Registry access of the device services: reading keys and values, writing them when a
// machine is seeded.
#include "regkey.h"

#include <algorithm>
#include <cstring>

namespace zx::devices {
namespace {

constexpr std::size_t kLongestValueName = 16383;

}  // namespace

bool RegKey::Open(std::u16string_view path, HKEY parent) {
  Close();
  const std::u16string text(path);
  return RegOpenKeyExW(parent, text.c_str(), 0, KEY_READ, &key_) == ERROR_SUCCESS;
}

bool RegKey::Create(std::u16string_view path, HKEY parent) {
  Close();
  const std::u16string text(path);
  return RegCreateKeyExW(parent, text.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                         nullptr, &key_, nullptr) == ERROR_SUCCESS;
}

void RegKey::Close() {
  if (key_ != nullptr) RegCloseKey(key_);
  key_ = nullptr;
}

std::vector<std::u16string> RegKey::SubkeyNames() const {
  std::vector<std::u16string> names;
  WCHAR name[256];
  for (DWORD i = 0;; ++i) {
    DWORD length = 256;
    if (RegEnumKeyExW(key_, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    names.emplace_back(name, length);
  }
  return names;
}

std::vector<RegistryValue> RegKey::Values() const {
  // Room for the longest name and data the key holds, asked once.
  DWORD count = 0, longestName = 0, longestData = 0;
  if (RegQueryInfoKeyW(key_, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longestName, &longestData,
                       nullptr, nullptr) != ERROR_SUCCESS)
    return {};
  std::vector<RegistryValue> values;
  values.reserve(count);
  std::u16string name(longestName + 1, u'\0');
  std::vector<BYTE> data(longestData);
  for (DWORD i = 0; i < count; ++i) {
    DWORD nameLength = static_cast<DWORD>(name.size());
    DWORD type = 0, size = static_cast<DWORD>(data.size());
    LONG result = RegEnumValueW(key_, i, name.data(), &nameLength, nullptr, &type, data.data(), &size);
    if (result == ERROR_MORE_DATA) {  // a longer value came meanwhile
      name.resize(kLongestValueName + 1);
      data.resize(std::max<std::size_t>(size, data.size()));
      nameLength = static_cast<DWORD>(name.size());
      size = static_cast<DWORD>(data.size());
      result = RegEnumValueW(key_, i, name.data(), &nameLength, nullptr, &type, data.data(), &size);
    }
    if (result != ERROR_SUCCESS) break;
    values.push_back(RegistryValue{std::u16string(name.data(), nameLength), type,
                                   std::vector<BYTE>(data.begin(), data.begin() + size)});
  }
  return values;
}

bool RegKey::Query(std::u16string_view name, RegistryValue& value) const {
  const std::u16string text(name);
  DWORD type = 0;
  std::vector<BYTE> data(512);
  DWORD size = static_cast<DWORD>(data.size());
  LONG result = RegQueryValueExW(key_, text.c_str(), nullptr, &type, data.data(), &size);
  if (result == ERROR_MORE_DATA) {
    data.resize(size);
    result = RegQueryValueExW(key_, text.c_str(), nullptr, &type, data.data(), &size);
  }
  if (result != ERROR_SUCCESS) return false;
  data.resize(size);
  value = RegistryValue{text, type, std::move(data)};
  return true;
}

std::u16string RegKey::Text(std::u16string_view name) const {
  RegistryValue value;
  if (!Query(name, value) || (value.type != REG_SZ && value.type != REG_EXPAND_SZ)) return {};
  return TextOf(value);
}

bool RegKey::Dword(std::u16string_view name, DWORD& number) const {
  RegistryValue value;
  if (!Query(name, value) || value.type != REG_DWORD || value.data.size() != sizeof(DWORD)) return false;
  std::memcpy(&number, value.data.data(), sizeof number);
  return true;
}

LONG RegKey::SetText(std::u16string_view name, std::u16string_view text, DWORD type) const {
  const std::u16string n(name), t(text);
  return RegSetValueExW(key_, n.c_str(), 0, type, reinterpret_cast<const BYTE*>(t.c_str()),
                        static_cast<DWORD>((t.size() + 1) * sizeof(WCHAR)));
}

LONG RegKey::SetList(std::u16string_view name, const std::vector<std::u16string>& list) const {
  std::u16string data;
  for (const std::u16string& item : list) data.append(item).push_back(u'\0');
  data.push_back(u'\0');
  const std::u16string n(name);
  return RegSetValueExW(key_, n.c_str(), 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(data.data()),
                        static_cast<DWORD>(data.size() * sizeof(WCHAR)));
}

LONG RegKey::SetDword(std::u16string_view name, DWORD value) const {
  return SetData(name, REG_DWORD, &value, sizeof value);
}

LONG RegKey::SetData(std::u16string_view name, DWORD type, const void* data, DWORD size) const {
  const std::u16string n(name);
  return RegSetValueExW(key_, n.c_str(), 0, type, static_cast<const BYTE*>(data), size);
}

std::u16string TextOf(const RegistryValue& value) {
  std::u16string text(value.data.size() / sizeof(WCHAR), u'\0');
  // An empty value may have no bytes at all to copy from.
  if (!text.empty()) std::memcpy(text.data(), value.data.data(), text.size() * sizeof(WCHAR));
  const std::size_t end = text.find(u'\0');
  if (end != std::u16string::npos) text.resize(end);
  return text;
}

std::vector<std::u16string> ListOf(const RegistryValue& value) {
  std::u16string all(value.data.size() / sizeof(WCHAR), u'\0');
  if (!all.empty()) std::memcpy(all.data(), value.data.data(), all.size() * sizeof(WCHAR));
  std::vector<std::u16string> list;
  std::size_t at = 0;
  while (at < all.size()) {
    std::size_t end = all.find(u'\0', at);
    if (end == std::u16string::npos) end = all.size();
    if (end == at) break;
    list.emplace_back(all, at, end - at);
    at = end + 1;
  }
  return list;
}

}  // namespace zx::devices
