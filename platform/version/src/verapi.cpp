// GetFileVersionInfo and VerQueryValue: the version resource of a file of the machine, and
// the values in it.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "errhandlingapi.h"
#include "zx/casefold.h"
#include "zx/pathmap.h"
#include "zx/resmodule.h"
#include "zx/versionresource.h"

namespace {

constexpr std::size_t kMaxImage = 256u << 20;

// The version resource of a PE image file; false when the file is none or has none.
bool ReadImageResource(const std::string& host, std::vector<BYTE>& resource) {
  std::ifstream file(host, std::ios::binary);
  if (!file) return false;
  std::vector<BYTE> image;
  char chunk[65536];
  while (file.read(chunk, sizeof chunk) || file.gcount() > 0) {
    image.insert(image.end(), chunk, chunk + file.gcount());
    if (image.size() > kMaxImage) return false;
  }
  std::span<const BYTE> found;
  if (!zx::version::FindVersionResource(image, found)) return false;
  resource.assign(found.begin(), found.end());
  return true;
}

// The file's version resource: a PE image's own, else (the system's own modules, which are
// no PE images) the version record of the resource file beside it. False with the last
// error set.
bool ReadVersionResource(LPCWSTR fileName, std::vector<BYTE>& resource) {
  std::string host;
  DWORD error = ERROR_FILE_NOT_FOUND;
  if (fileName == nullptr || !zx::path::WindowsToHost(fileName, host, &error)) {
    SetLastError(fileName == nullptr ? ERROR_INVALID_PARAMETER : error);
    return false;
  }
  if (ReadImageResource(host, resource) || zx::res::ModuleVersionRecord(host, resource)) return true;
  std::error_code ec;
  SetLastError(std::filesystem::exists(host, ec) ? ERROR_RESOURCE_TYPE_NOT_FOUND : ERROR_FILE_NOT_FOUND);
  return false;
}

bool SameNoCase(std::u16string_view a, std::u16string_view b) {
  return zx::CompareNoCase(a.data(), a.size(), b.data(), b.size()) == 0;
}

}  // namespace

DWORD GetFileVersionInfoSizeW(LPCWSTR fileName, LPDWORD handle) {
  if (handle != nullptr) *handle = 0;
  std::vector<BYTE> resource;
  return ReadVersionResource(fileName, resource) ? static_cast<DWORD>(resource.size()) : 0;
}

BOOL GetFileVersionInfoW(LPCWSTR fileName, DWORD, DWORD length, LPVOID data) {
  std::vector<BYTE> resource;
  if (data == nullptr || length == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (!ReadVersionResource(fileName, resource)) return FALSE;
  std::copy_n(resource.begin(), std::min<std::size_t>(length, resource.size()), static_cast<BYTE*>(data));
  return TRUE;
}

BOOL VerQueryValueW(LPCVOID block, LPCWSTR subBlock, LPVOID* buffer, PUINT length) {
  if (block == nullptr || subBlock == nullptr || buffer == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const BYTE* base = static_cast<const BYTE*>(block);
  // The root block's own length bounds everything inside it.
  const std::size_t total = static_cast<std::size_t>(base[0] | base[1] << 8);
  const std::span<const BYTE> data(base, total);
  zx::version::VersionBlock current;
  if (!zx::version::ReadBlock(data, 0, total, current)) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return FALSE;
  }
  std::u16string_view path(subBlock);
  while (!path.empty()) {
    while (!path.empty() && path.front() == u'\\') path.remove_prefix(1);
    if (path.empty()) break;
    const std::u16string_view name = path.substr(0, path.find(u'\\'));
    path.remove_prefix(name.size());
    bool found = false;
    zx::version::VersionBlock child;
    for (std::size_t at = current.childrenOffset; at < current.end; at = (child.end + 3) & ~std::size_t{3}) {
      if (!zx::version::ReadBlock(data, at, current.end, child)) break;
      if (SameNoCase(child.key, name)) {
        found = true;
        break;
      }
    }
    if (!found) {
      SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
      return FALSE;
    }
    current = child;
  }
  *buffer = const_cast<BYTE*>(base + current.valueOffset);
  if (length != nullptr)
    *length = current.type == 1 ? static_cast<UINT>(current.valueSize / 2) : static_cast<UINT>(current.valueSize);
  return current.valueSize != 0;
}
