// The machine's Windows installation folders (made inside the C: folder once per machine
// root), GetWindowsDirectory and its kin, GetTempPath and GetTempFileName.
#include <pwd.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "fileapi.h"
#include "filetext.h"
#include "kerneltext.h"
#include "pathparse.h"
#include "zx/handles.h"
#include "zx/machine.h"
#include "zx/pathmap.h"
#include "zx/winfolders.h"

namespace zx::folders {
namespace {

std::u16string LinuxUserName() {
  std::vector<char> buffer(4096);
  struct passwd entry {};
  struct passwd* found = nullptr;
  if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr)
    return text::FromUtf8(found->pw_name);
  const char* user = ::getenv("USER");
  return text::FromUtf8(user != nullptr ? user : "");
}

}  // namespace

const std::u16string& UserName() {
  static const std::u16string name = [] {
    std::u16string n = LinuxUserName();
    for (char16_t& c : n)
      if (c < 0x20 || std::u16string_view(u"<>:\"/\\|?*").find(c) != std::u16string_view::npos) c = u'_';
    return n.empty() ? std::u16string(u"User") : n;
  }();
  return name;
}

std::u16string Profile() { return u"C:\\Users\\" + UserName(); }
std::u16string RoamingAppData() { return Profile() + u"\\AppData\\Roaming"; }
std::u16string LocalAppData() { return Profile() + u"\\AppData\\Local"; }
std::u16string Temp() { return LocalAppData() + u"\\Temp"; }

void EnsureInstallation() {
  static std::atomic<std::uint64_t> madeFor{0};
  const std::uint64_t generation = machine::RootGeneration();
  if (madeFor.load() == generation) return;
  const std::u16string folders[] = {
      kSystem, kSystemWow64, kFonts, std::u16string(kWindows) + u"\\INF", std::u16string(kWindows) + u"\\Temp",
      kSystem + std::u16string(u"\\drivers"), kProgramFiles, kProgramFilesX86, kProgramData,
      kPublic + std::u16string(u"\\Documents"), kPublic + std::u16string(u"\\Desktop"),
      Profile() + u"\\Documents", Profile() + u"\\Desktop", RoamingAppData(), Temp(),
  };
  const std::string drive = machine::DriveCFolder();
  for (const std::u16string& folder : folders) {
    std::string host = text::ToUtf8(std::u16string_view(folder).substr(2));  // after "C:"
    for (char& c : host)
      if (c == '\\') c = '/';
    std::error_code ec;
    std::filesystem::create_directories(drive + host, ec);
  }
  madeFor.store(generation);
}

}  // namespace zx::folders

namespace {

using zx::file::CopyOut;
using zx::file::Fail;

std::u16string Variable(LPCWSTR name) {
  std::u16string value(MAX_PATH, u'\0');
  DWORD n = GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
  if (n >= value.size()) {
    value.resize(n);
    n = GetEnvironmentVariableW(name, value.data(), n);
  }
  value.resize(n < value.size() ? n : 0);
  return value;
}

// TMP, else TEMP, else USERPROFILE, else the Windows folder, as a full path ending in '\';
// the folder is made when missing.
std::u16string TempPath() {
  std::u16string value = Variable(u"TMP");
  if (value.empty()) value = Variable(u"TEMP");
  if (value.empty()) value = Variable(u"USERPROFILE");
  zx::path::WindowsPath parsed;
  if (value.empty() || !zx::path::Parse(value, parsed, nullptr)) zx::path::Parse(zx::folders::kWindows, parsed, nullptr);
  parsed.trailingSeparator = true;
  std::u16string path = zx::path::Format(parsed);
  std::string host;
  if (zx::path::WindowsToHost(path, host)) {
    std::error_code ec;
    std::filesystem::create_directories(host, ec);
  }
  return path;
}

std::u16string Hex(UINT value) {
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  std::u16string out;
  do {
    out.insert(out.begin(), kDigits[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  return out;
}

// Tries names from a moving start point until CREATE_NEW succeeds; the number used or 0.
UINT CreateUniqueFile(const std::u16string& stem, std::u16string& name) {
  static std::atomic<UINT> next{static_cast<UINT>(::getpid()) ^
                               static_cast<UINT>(std::chrono::steady_clock::now().time_since_epoch().count())};
  for (UINT attempt = 0; attempt < 0x10000; ++attempt) {
    const UINT unique = next.fetch_add(1) & 0xFFFF;
    if (unique == 0) continue;
    name = stem + Hex(unique) + u".tmp";
    HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      zx::RemoveHandle(file);
      return unique;
    }
    if (GetLastError() != ERROR_FILE_EXISTS) return 0;
  }
  SetLastError(ERROR_FILE_EXISTS);
  return 0;
}

}  // namespace

UINT GetWindowsDirectoryW(LPWSTR buffer, UINT size) { return CopyOut(zx::folders::kWindows, buffer, size); }
UINT GetWindowsDirectoryA(LPSTR buffer, UINT size) { return CopyOut(zx::folders::kWindows, buffer, size); }
UINT GetSystemDirectoryW(LPWSTR buffer, UINT size) { return CopyOut(zx::folders::kSystem, buffer, size); }
UINT GetSystemDirectoryA(LPSTR buffer, UINT size) { return CopyOut(zx::folders::kSystem, buffer, size); }
UINT GetSystemWow64DirectoryW(LPWSTR buffer, UINT size) {
  return CopyOut(zx::folders::kSystemWow64, buffer, size);
}

DWORD GetTempPathW(DWORD bufferLength, LPWSTR buffer) { return CopyOut(TempPath(), buffer, bufferLength); }
DWORD GetTempPathA(DWORD bufferLength, LPSTR buffer) { return CopyOut(TempPath(), buffer, bufferLength); }

UINT GetTempFileNameW(LPCWSTR pathName, LPCWSTR prefixString, UINT unique, LPWSTR tempFileName) {
  if (pathName == nullptr || tempFileName == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  std::u16string stem = pathName;
  if (stem.empty() || (stem.back() != u'\\' && stem.back() != u'/')) stem += u'\\';
  if (prefixString != nullptr) stem += std::u16string_view(prefixString).substr(0, 3);
  if (stem.size() + 8 >= MAX_PATH) return Fail(ERROR_FILENAME_EXCED_RANGE);  // 4 digits + ".tmp"
  std::u16string name;
  if (unique != 0) {
    name = stem + Hex(unique & 0xFFFF) + u".tmp";
  } else {
    const DWORD attributes = GetFileAttributesW(pathName);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
      return Fail(ERROR_DIRECTORY);
    unique = CreateUniqueFile(stem, name);
    if (unique == 0) return 0;
  }
  CopyOut(name, tempFileName, MAX_PATH);
  return unique;
}

UINT GetTempFileNameA(LPCSTR pathName, LPCSTR prefixString, UINT unique, LPSTR tempFileName) {
  if (tempFileName == nullptr) return Fail(ERROR_INVALID_PARAMETER);
  WCHAR wide[MAX_PATH] = {};
  const UINT result = GetTempFileNameW(zx::file::WideArg(pathName).get(), zx::file::WideArg(prefixString).get(),
                                       unique, wide);
  if (result != 0) CopyOut(wide, tempFileName, MAX_PATH);
  return result;
}
