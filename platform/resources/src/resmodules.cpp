// Module handles to resource files, and the cache of parsed files.
#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <vector>

#include "errhandlingapi.h"
#include "libloaderapi.h"
#include "winresource.h"
#include "zx/pathmap.h"
#include "zx/resmodule.h"

namespace zx::res {
namespace {

// What a file looked like when it was read, to notice changes.
struct Stamp {
  bool exists = false;
  long long size = 0;
  long long modified = 0;
  unsigned long long inode = 0;
  bool operator==(const Stamp&) const = default;
};

Stamp StampOf(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return {};
  return {true, static_cast<long long>(st.st_size),
          static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec,
          static_cast<unsigned long long>(st.st_ino)};
}

struct Cached {
  Stamp stamp;
  std::shared_ptr<const ResourceFile> file;  // null: missing or damaged
  DWORD error = 0;
};

struct Cache {
  std::mutex lock;
  std::map<std::string, Cached> files;
  // Files replaced by newer ones stay alive: their resources may still be in use.
  std::vector<std::shared_ptr<const ResourceFile>> retired;
  std::map<HMODULE, std::string> dataModules;
  ULONG_PTR nextDataModule = 0x7F000000u;
};

Cache& TheCache() {
  static Cache* cache = new Cache;  // lives past static destruction
  return *cache;
}

std::shared_ptr<const ResourceFile> Load(const std::string& path, DWORD& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = ERROR_RESOURCE_DATA_NOT_FOUND;
    return nullptr;
  }
  std::vector<BYTE> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::string problem;
  auto file = ResourceFile::Parse(std::move(bytes), problem);
  if (!file) {
    std::fprintf(stderr, "zxplatform: resource file %s is not usable: %s\n", path.c_str(),
                 problem.c_str());
    error = ERROR_BAD_FORMAT;
  }
  return file;
}

bool EndsWithNoCase(const std::string& text, const char* suffix) {
  const std::size_t n = std::char_traits<char>::length(suffix);
  if (text.size() < n) return false;
  for (std::size_t i = 0; i < n; ++i) {
    char c = text[text.size() - n + i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != suffix[i]) return false;
  }
  return true;
}

}  // namespace

std::string ResourceFilePath(const std::string& moduleHostPath) {
  std::string stem = moduleHostPath;
  const std::size_t slash = stem.find_last_of('/');
  for (const char* extension : {".so", ".dll", ".exe"}) {
    const std::size_t n = std::char_traits<char>::length(extension);
    if (EndsWithNoCase(stem, extension) && (slash == std::string::npos || stem.size() - n > slash + 1)) {
      stem.resize(stem.size() - n);
      break;
    }
  }
  return stem + ".res";
}

std::shared_ptr<const ResourceFile> FileResources(const std::string& resHostPath) {
  const Stamp stamp = StampOf(resHostPath);
  Cache& c = TheCache();
  std::lock_guard<std::mutex> g(c.lock);
  Cached& entry = c.files[resHostPath];
  if (!(entry.stamp == stamp) || (!entry.file && !entry.error)) {
    if (entry.file) c.retired.push_back(entry.file);
    entry.stamp = stamp;
    entry.error = 0;
    entry.file = stamp.exists ? Load(resHostPath, entry.error) : nullptr;
    if (!stamp.exists) entry.error = ERROR_RESOURCE_DATA_NOT_FOUND;
  }
  if (!entry.file) SetLastError(entry.error);
  return entry.file;
}

std::shared_ptr<const ResourceFile> ModuleResources(HMODULE module) {
  std::string resPath;
  {
    Cache& c = TheCache();
    std::lock_guard<std::mutex> g(c.lock);
    auto it = c.dataModules.find(module);
    if (it != c.dataModules.end()) resPath = it->second;
  }
  if (resPath.empty()) {
    WCHAR name[4096];
    const DWORD length = GetModuleFileNameW(module, name, 4096);
    std::string host;
    if (length == 0 || length >= 4096 ||
        !zx::path::WindowsToHost(std::u16string_view(name, length), host)) {
      SetLastError(ERROR_MOD_NOT_FOUND);
      return nullptr;
    }
    resPath = ResourceFilePath(host);
  }
  return FileResources(resPath);
}

bool ModuleVersionRecord(const std::string& moduleHostPath, std::vector<BYTE>& record) {
  auto file = FileResources(ResourceFilePath(moduleHostPath));
  if (!file) return false;
  const ResourceId type = ResourceId::Number(kVersion);
  const ResourceFile::Resource* found = file->Find(type, ResourceId::Number(1));
  for (const auto& r : file->resources())
    if (!found && r.type == type) found = &r;
  if (!found) {
    SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
    return false;
  }
  record.assign(found->data, found->data + found->size);
  return true;
}

HMODULE OpenResourceModule(const std::string& resHostPath) {
  if (!FileResources(resHostPath)) return nullptr;
  Cache& c = TheCache();
  std::lock_guard<std::mutex> g(c.lock);
  const auto module = reinterpret_cast<HMODULE>(c.nextDataModule);
  c.nextDataModule += 0x10;
  c.dataModules.emplace(module, resHostPath);
  return module;
}

bool CloseResourceModule(HMODULE module) {
  Cache& c = TheCache();
  std::lock_guard<std::mutex> g(c.lock);
  return c.dataModules.erase(module) != 0;
}

}  // namespace zx::res
