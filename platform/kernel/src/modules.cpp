// Run-time binding on the host's dynamic loader: LoadLibrary, FreeLibrary, GetProcAddress,
// GetModuleHandle and GetModuleFileName. An HMODULE is the loader's handle of the module;
// the table below knows which handles the layer has answered and the file behind each.
#include <dlfcn.h>
#include <link.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>

#include "errhandlingapi.h"
#include "kerneltext.h"
#include "libloaderapi.h"
#include "zx/casefold.h"
#include "zx/machine.h"
#include "zx/pathmap.h"

namespace fs = std::filesystem;

namespace {

struct Module {
  std::string path;  // host path
  DWORD loads = 0;   // LoadLibrary calls not yet freed
};

struct ModuleTable {
  std::mutex lock;
  std::map<void*, Module> modules;
};

ModuleTable& Table() {
  static ModuleTable* table = new ModuleTable;  // lives past static destruction
  return *table;
}

std::string MainProgramPath() {
  std::error_code ec;
  return fs::read_symlink("/proc/self/exe", ec).string();
}

HMODULE AsModule(void* handle) { return static_cast<HMODULE>(handle); }

// Records a handle the layer answers; a load adds one reference to free later.
HMODULE Register(void* handle, const std::string& path, bool load) {
  ModuleTable& t = Table();
  std::lock_guard<std::mutex> g(t.lock);
  Module& m = t.modules[handle];
  if (m.path.empty()) m.path = path;
  if (load) ++m.loads;
  return AsModule(handle);
}

HMODULE MainModule() {
  static void* main = ::dlopen(nullptr, RTLD_LAZY);
  return Register(main, MainProgramPath(), false);
}

// The Windows system libraries this layer stands in for: they all name zxplatform.so.
bool IsSystemLibrary(const std::u16string& baseName) {
  static const char16_t* const kNames[] = {
      u"kernel32", u"user32",  u"gdi32",   u"advapi32", u"shell32", u"shlwapi", u"ole32",
      u"oleaut32", u"comctl32", u"version", u"gdiplus", u"ntdll",   u"psapi",   u"setupapi",
      u"newdev",   u"cfgmgr32", u"wininet", u"urlmon",  u"ws2_32",  u"rpcrt4",  u"shdocvw",
      u"winmm",    u"sfc",      u"sfc_os",  u"crypt32", u"userenv", u"mstask",  u"taskschd",
      u"srclient", u"cabinet",  u"wtsapi32", u"netapi32", u"iphlpapi", u"msimg32", u"difxapi"};
  std::u16string stem = baseName;
  const std::size_t dot = stem.find_last_of(u'.');
  if (dot != std::u16string::npos) {
    if (!zx::EqualNoCase(stem.substr(dot + 1).c_str(), u"dll")) return false;
    stem.erase(dot);
  }
  for (const char16_t* name : kNames)
    if (zx::EqualNoCase(stem.c_str(), name)) return true;
  return false;
}

// The file name a Windows module name stands for: "X.dll" is "X.so", "X.exe" is "X", a name
// without extension is a ".dll", and a trailing dot means "no extension". The system
// libraries are all the platform library.
std::u16string HostFileName(std::u16string name) {
  const std::size_t slash = name.find_last_of(u"\\/");
  const std::size_t base = slash == std::u16string::npos ? 0 : slash + 1;
  if (IsSystemLibrary(name.substr(base))) return u"zxplatform.so";
  const std::size_t dot = name.find_last_of(u'.');
  if (dot == std::u16string::npos || dot < base) return name + u".so";
  const std::u16string extension = name.substr(dot + 1);
  if (extension.empty() || zx::EqualNoCase(extension.c_str(), u"exe")) return name.substr(0, dot);
  if (zx::EqualNoCase(extension.c_str(), u"dll")) return name.substr(0, dot) + u".so";
  return name;
}

bool IsPath(const std::u16string& name) {
  return name.find_first_of(u"\\/") != std::u16string::npos ||
         (name.size() >= 2 && name[1] == u':');
}

// The file of that name in a folder, matched without regard to case.
bool FindInFolder(const std::string& folder, const std::u16string& fileName, std::string& found) {
  std::error_code ec;
  const fs::path exact = fs::path(folder) / zx::text::ToUtf8(fileName);
  if (fs::is_regular_file(exact, ec)) {
    found = exact.string();
    return true;
  }
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    const std::u16string entryName = zx::text::FromUtf8(entry.path().filename().string());
    if (zx::EqualNoCase(entryName.c_str(), fileName.c_str()) && entry.is_regular_file(ec)) {
      found = entry.path().string();
      return true;
    }
  }
  return false;
}

// Where the loader should look for a module: a host path, or a bare file name left to the
// host's own search. False (with the error) when a path names no file.
bool Locate(const std::u16string& name, std::string& target, DWORD& error) {
  const std::u16string fileName = HostFileName(name);
  if (IsPath(fileName)) {
    std::error_code ec;
    if (!zx::path::WindowsToHost(fileName, target, &error)) return false;
    if (!fs::is_regular_file(target, ec)) {
      error = ERROR_MOD_NOT_FOUND;
      return false;
    }
    return true;
  }
  const std::string programFolder = zx::machine::ProgramFolder();
  const std::string mainFolder = fs::path(MainProgramPath()).parent_path().string();
  if (FindInFolder(programFolder, fileName, target)) return true;
  if (mainFolder != programFolder && FindInFolder(mainFolder, fileName, target)) return true;
  target = zx::text::ToUtf8(fileName);
  return true;
}

// The file the loader loaded a handle from.
std::string LoadedPath(void* handle, const std::string& fallback) {
  link_map* map = nullptr;
  if (::dlinfo(handle, RTLD_DI_LINKMAP, &map) == 0 && map && map->l_name && *map->l_name)
    return map->l_name;
  return fallback;
}

// A module the host's loader holds, by file name, from its list of loaded objects.
struct Search {
  const std::u16string* fileName;
  std::string path;
  bool isMain = false;
};

int MatchLoaded(dl_phdr_info* info, size_t /*size*/, void* data) {
  auto* search = static_cast<Search*>(data);
  const bool isMain = !info->dlpi_name || !*info->dlpi_name;
  const std::string path = isMain ? MainProgramPath() : info->dlpi_name;
  const std::u16string base = zx::text::FromUtf8(fs::path(path).filename().string());
  if (!zx::EqualNoCase(base.c_str(), search->fileName->c_str())) return 0;
  search->path = path;
  search->isMain = isMain;
  return 1;
}

bool Known(HMODULE module, std::string* path) {
  ModuleTable& t = Table();
  std::lock_guard<std::mutex> g(t.lock);
  auto it = t.modules.find(module);
  if (it == t.modules.end()) return false;
  if (path) *path = it->second.path;
  return true;
}

// Copies a module file name under the Win32 truncation rule.
template <class Char>
DWORD CopyName(const std::basic_string<Char>& name, Char* buffer, DWORD size) {
  if (size == 0 || !buffer) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  if (name.size() >= size) {
    std::copy_n(name.begin(), size - 1, buffer);
    buffer[size - 1] = 0;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
  }
  std::copy(name.begin(), name.end(), buffer);
  buffer[name.size()] = 0;
  return static_cast<DWORD>(name.size());
}

// The Windows path of a module (null: the main program); empty when the handle is unknown.
std::u16string ModuleFileName(HMODULE module) {
  std::string path;
  if (!module) path = MainProgramPath();
  else if (!Known(module, &path)) return {};
  std::u16string name = zx::path::HostToWindows(path);
  // The program itself goes by its Windows name "X.exe", which the paths map back to the
  // built program "X".
  if (path == MainProgramPath() && name.find(u'.', name.find_last_of(u'\\') + 1) == std::u16string::npos)
    name += u".exe";
  return name;
}

}  // namespace

HMODULE LoadLibraryExW(LPCWSTR fileName, HANDLE file, DWORD /*flags*/) {
  if (!fileName || !*fileName || file) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::string target;
  DWORD error = ERROR_MOD_NOT_FOUND;
  if (!Locate(fileName, target, error)) {
    SetLastError(error);
    return nullptr;
  }
  void* handle = ::dlopen(target.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    std::error_code ec;
    const bool exists = target.find('/') != std::string::npos && fs::exists(target, ec);
    SetLastError(exists ? ERROR_BAD_EXE_FORMAT : ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  return Register(handle, LoadedPath(handle, target), true);
}

HMODULE LoadLibraryW(LPCWSTR fileName) { return LoadLibraryExW(fileName, nullptr, 0); }

HMODULE LoadLibraryA(LPCSTR fileName) {
  if (!fileName) return LoadLibraryW(nullptr);
  return LoadLibraryW(zx::text::FromAnsi(fileName).c_str());
}

BOOL FreeLibrary(HMODULE module) {
  bool close = false;
  {
    ModuleTable& t = Table();
    std::lock_guard<std::mutex> g(t.lock);
    auto it = t.modules.find(module);
    if (it == t.modules.end()) {
      SetLastError(ERROR_MOD_NOT_FOUND);
      return FALSE;
    }
    // Modules the layer only looked up (the main program, GetModuleHandle) are not ours to
    // unload.
    if (it->second.loads > 0) {
      close = true;
      if (--it->second.loads == 0) t.modules.erase(it);
    }
  }
  if (close) ::dlclose(module);
  return TRUE;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR procName) {
  if (!module) module = MainModule();
  if (!Known(module, nullptr)) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  const auto value = reinterpret_cast<ULONG_PTR>(procName);
  const std::string symbol =
      (value >> 16) == 0 ? "zx_ordinal_" + std::to_string(value) : std::string(procName);
  void* address = ::dlsym(module, symbol.c_str());
  if (!address) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  return reinterpret_cast<FARPROC>(address);
}

HMODULE GetModuleHandleW(LPCWSTR moduleName) {
  if (!moduleName) return MainModule();
  std::u16string fileName = HostFileName(moduleName);
  fileName.erase(0, fileName.find_last_of(u"\\/") + 1);  // npos + 1 erases nothing
  Search search{&fileName, {}, false};
  if (::dl_iterate_phdr(MatchLoaded, &search) == 0) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  if (search.isMain) return MainModule();
  // The loader keeps the module loaded: its handle stays valid without a reference of ours.
  void* handle = ::dlopen(search.path.c_str(), RTLD_LAZY | RTLD_NOLOAD);
  if (!handle) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  ::dlclose(handle);
  return Register(handle, search.path, false);
}

BOOL GetModuleHandleExW(DWORD flags, LPCWSTR moduleName, HMODULE* module) {
  if (!module) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *module = nullptr;
  if (!(flags & GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS)) {
    *module = GetModuleHandleW(moduleName);
    return *module != nullptr;
  }
  // The module whose image holds the address.
  Dl_info info{};
  if (!::dladdr(reinterpret_cast<const void*>(moduleName), &info) || !info.dli_fname) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return FALSE;
  }
  const std::string path = info.dli_fname;
  std::error_code ec;
  if (fs::equivalent(path, MainProgramPath(), ec)) {
    *module = MainModule();
    return TRUE;
  }
  void* handle = ::dlopen(path.c_str(), RTLD_LAZY | RTLD_NOLOAD);
  if (!handle) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return FALSE;
  }
  ::dlclose(handle);
  *module = Register(handle, LoadedPath(handle, path), false);
  return TRUE;
}

BOOL GetModuleHandleExA(DWORD flags, LPCSTR moduleName, HMODULE* module) {
  if (flags & GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS)
    return GetModuleHandleExW(flags, reinterpret_cast<LPCWSTR>(moduleName), module);
  if (!moduleName) return GetModuleHandleExW(flags, nullptr, module);
  return GetModuleHandleExW(flags, zx::text::FromAnsi(moduleName).c_str(), module);
}

HMODULE GetModuleHandleA(LPCSTR moduleName) {
  if (!moduleName) return GetModuleHandleW(nullptr);
  return GetModuleHandleW(zx::text::FromAnsi(moduleName).c_str());
}

DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size) {
  const std::u16string name = ModuleFileName(module);
  if (name.empty()) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return 0;
  }
  return CopyName(name, fileName, size);
}

DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size) {
  const std::u16string name = ModuleFileName(module);
  if (name.empty()) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return 0;
  }
  return CopyName(zx::text::ToAnsi(name), fileName, size);
}
