// The private-profile functions: reading and writing ini files named by Windows paths (a
// bare file name lives in the Windows folder), with Windows' answers for short buffers.
#include "profileapi.h"

#include <algorithm>
#include <cerrno>
#include <mutex>

#include "filetext.h"
#include "hostfiles.h"
#include "kerneltext.h"
#include "pathparse.h"
#include "profilecache.h"
#include "profilefile.h"
#include "zx/winfolders.h"

namespace {

using zx::file::Fail;
using zx::file::WideArg;
using zx::profile::IniFile;

// Larger files are refused rather than read into memory.
constexpr std::size_t kMaxProfileBytes = 64u << 20;

std::mutex& WriteLock() {
  static std::mutex* lock = new std::mutex;  // lives past static destruction
  return *lock;
}

bool ProfilePath(LPCWSTR fileName, std::string& host) {
  std::u16string name = fileName != nullptr ? fileName : u"win.ini";
  if (name.find_first_of(u"\\/:") == std::u16string::npos) name = std::u16string(zx::folders::kWindows) + u"\\" + name;
  return zx::path::MapArgument(name.c_str(), host);
}

// Reads the file; a missing file reads as empty, with ERROR_FILE_NOT_FOUND as last error.
// False (last error set) when the file exists but cannot be read; the file is then empty too.
bool Load(LPCWSTR fileName, std::string& host, std::shared_ptr<const IniFile>& ini) {
  static const auto empty = std::make_shared<const IniFile>();
  ini = empty;
  if (!ProfilePath(fileName, host)) return false;
  const auto read = zx::profile::ReadIniFile(host, kMaxProfileBytes);
  if (!read) {
    const int failure = errno;
    if (failure != ENOENT) return Fail(zx::file::ErrorFromErrno(failure));
    SetLastError(ERROR_FILE_NOT_FOUND);
    return true;
  }
  ini = read;
  SetLastError(ERROR_SUCCESS);
  return true;
}

std::u16string AsText(std::u16string_view text, WCHAR*) { return std::u16string(text); }
std::string AsText(std::u16string_view text, CHAR*) { return zx::text::ToAnsi(text); }

template <class C>
DWORD DeliverString(std::u16string_view value, C* buffer, DWORD size) {
  if (buffer == nullptr || size == 0) return 0;
  const auto text = AsText(value, buffer);
  const std::size_t n = std::min<std::size_t>(text.size(), size - 1);
  std::copy_n(text.begin(), n, buffer);
  buffer[n] = C{};
  return static_cast<DWORD>(n);
}

// Each name zero-terminated, then one more zero; cut short as size-2 characters and two zeros.
template <class C>
DWORD DeliverList(const std::vector<std::u16string>& items, C* buffer, DWORD size) {
  if (buffer == nullptr || size == 0) return 0;
  std::u16string joined;
  for (const std::u16string& item : items) joined += item + u'\0';
  const auto text = AsText(joined, buffer);
  if (text.size() + 1 <= size) {
    std::copy(text.begin(), text.end(), buffer);
    buffer[text.size()] = C{};
    if (text.empty() && size > 1) buffer[1] = C{};
    return static_cast<DWORD>(text.size());
  }
  if (size < 2) {
    buffer[0] = C{};
    return 0;
  }
  std::copy_n(text.begin(), size - 2, buffer);
  buffer[size - 2] = C{};
  buffer[size - 1] = C{};
  return size - 2;
}

template <class C>
DWORD GetString(LPCWSTR appName, LPCWSTR keyName, LPCWSTR defaultValue, C* buffer, DWORD size, LPCWSTR fileName) {
  std::string host;
  std::shared_ptr<const IniFile> ini;
  Load(fileName, host, ini);
  if (appName == nullptr) return DeliverList(ini->SectionNames(), buffer, size);
  if (keyName == nullptr) return DeliverList(ini->KeyNames(appName), buffer, size);
  if (const auto value = ini->Value(appName, keyName)) return DeliverString(*value, buffer, size);
  std::u16string_view fallback = defaultValue != nullptr ? defaultValue : u"";
  while (!fallback.empty() && fallback.back() == u' ') fallback.remove_suffix(1);
  return DeliverString(fallback, buffer, size);
}

// Decimal, or hexadecimal after "0x"; reading stops at the first other character.
UINT ParseInt(std::u16string_view text) {
  std::size_t i = 0;
  const bool negative = !text.empty() && text[0] == u'-';
  if (!text.empty() && (text[0] == u'-' || text[0] == u'+')) ++i;
  UINT base = 10;
  if (text.size() >= i + 2 && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
    base = 16;
    i += 2;
  }
  UINT value = 0;
  for (; i < text.size(); ++i) {
    const char16_t c = text[i];
    UINT digit;
    if (c >= u'0' && c <= u'9') digit = c - u'0';
    else if (base == 16 && c >= u'a' && c <= u'f') digit = c - u'a' + 10;
    else if (base == 16 && c >= u'A' && c <= u'F') digit = c - u'A' + 10;
    else break;
    value = value * base + digit;
  }
  return negative ? 0u - value : value;
}

// Reads, edits and atomically rewrites the file; edit answers whether anything changed.
template <class Edit>
BOOL Rewrite(LPCWSTR fileName, Edit edit) {
  std::lock_guard<std::mutex> g(WriteLock());
  std::string host;
  std::shared_ptr<const IniFile> read;
  if (!Load(fileName, host, read)) return FALSE;
  IniFile ini = *read;
  if (!edit(ini)) return TRUE;
  DWORD error = 0;
  if (!zx::file::ReplaceHostFile(host, ini.Encode(), &error)) return Fail(error);
  SetLastError(ERROR_SUCCESS);
  return TRUE;
}

}  // namespace

DWORD GetPrivateProfileStringW(LPCWSTR appName, LPCWSTR keyName, LPCWSTR defaultValue, LPWSTR returnedString,
                               DWORD size, LPCWSTR fileName) {
  return GetString(appName, keyName, defaultValue, returnedString, size, fileName);
}

DWORD GetPrivateProfileStringA(LPCSTR appName, LPCSTR keyName, LPCSTR defaultValue, LPSTR returnedString,
                               DWORD size, LPCSTR fileName) {
  return GetString(WideArg(appName).get(), WideArg(keyName).get(), WideArg(defaultValue).get(), returnedString,
                   size, WideArg(fileName).get());
}

UINT GetPrivateProfileIntW(LPCWSTR appName, LPCWSTR keyName, INT defaultValue, LPCWSTR fileName) {
  std::string host;
  std::shared_ptr<const IniFile> ini;
  if (appName == nullptr || keyName == nullptr) return static_cast<UINT>(defaultValue);
  Load(fileName, host, ini);
  const auto value = ini->Value(appName, keyName);
  return value ? ParseInt(*value) : static_cast<UINT>(defaultValue);
}

UINT GetPrivateProfileIntA(LPCSTR appName, LPCSTR keyName, INT defaultValue, LPCSTR fileName) {
  return GetPrivateProfileIntW(WideArg(appName).get(), WideArg(keyName).get(), defaultValue,
                               WideArg(fileName).get());
}

DWORD GetPrivateProfileSectionW(LPCWSTR appName, LPWSTR returnedString, DWORD size, LPCWSTR fileName) {
  std::string host;
  std::shared_ptr<const IniFile> ini;
  Load(fileName, host, ini);
  return DeliverList(appName != nullptr ? ini->SectionLines(appName) : std::vector<std::u16string>{},
                     returnedString, size);
}

DWORD GetPrivateProfileSectionNamesW(LPWSTR returnBuffer, DWORD size, LPCWSTR fileName) {
  std::string host;
  std::shared_ptr<const IniFile> ini;
  Load(fileName, host, ini);
  return DeliverList(ini->SectionNames(), returnBuffer, size);
}

BOOL WritePrivateProfileStringW(LPCWSTR appName, LPCWSTR keyName, LPCWSTR string, LPCWSTR fileName) {
  if (appName == nullptr) return keyName == nullptr && string == nullptr ? TRUE : Fail(ERROR_INVALID_PARAMETER);
  return Rewrite(fileName, [&](IniFile& ini) {
    if (keyName == nullptr) return ini.DeleteSection(appName);
    if (string == nullptr) return ini.DeleteKey(appName, keyName);
    ini.SetValue(appName, keyName, string);
    return true;
  });
}

BOOL WritePrivateProfileStringA(LPCSTR appName, LPCSTR keyName, LPCSTR string, LPCSTR fileName) {
  return WritePrivateProfileStringW(WideArg(appName).get(), WideArg(keyName).get(), WideArg(string).get(),
                                    WideArg(fileName).get());
}

BOOL WritePrivateProfileSectionW(LPCWSTR appName, LPCWSTR string, LPCWSTR fileName) {
  if (appName == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  return Rewrite(fileName, [&](IniFile& ini) {
    if (string == nullptr) return ini.DeleteSection(appName);
    std::vector<std::u16string> lines;
    for (LPCWSTR line = string; *line != u'\0'; line += lines.back().size() + 1) lines.emplace_back(line);
    ini.ReplaceSection(appName, lines);
    return true;
  });
}
