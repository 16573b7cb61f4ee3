// Fuzz target: a file's bytes as a PE image, its version resource found and walked as
// VerQueryValue walks it, whatever the bytes say.
#include <winver.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "zx/versionresource.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::span<const BYTE> resource;
  if (!zx::version::FindVersionResource(std::span<const BYTE>(data, size), resource) || resource.size() < 2) return 0;
  // As GetFileVersionInfo hands it over: a copy, bounded by its own first length.
  std::vector<BYTE> block(resource.begin(), resource.end());
  const std::size_t declared = static_cast<std::size_t>(block[0] | block[1] << 8);
  if (declared > block.size()) return 0;
  LPVOID value = nullptr;
  UINT length = 0;
  for (LPCWSTR path : {u"\\", u"\\VarFileInfo\\Translation", u"\\StringFileInfo\\040904b0\\CompanyName"})
    VerQueryValueW(block.data(), path, &value, &length);
  return 0;
}
