// What the fuzz targets share: a scratch machine root of the run's own (removed when the run
// ends), host files written into it, hostile bytes read as text, and the check that an
// extraction left nothing outside its folder.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "afx.h"
#include "zx/machine.h"

namespace zx::fuzz {

// The run's machine root (made on first use, with drive C:).
inline const std::string& ScratchRoot() {
  static const std::string root = [] {
    // In memory where the host offers it: the targets write files at every run.
    const char* tmp = std::getenv("TMPDIR");
    std::error_code ec;
    const std::string base = tmp != nullptr && *tmp != 0 ? tmp : std::filesystem::is_directory("/dev/shm", ec) ? "/dev/shm" : "/tmp";
    std::string pattern = base + "/zxfuzz-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    zx::machine::UseRoot(pattern);
    // A program the target starts (7-Zip's stand-in) finds its drives by the environment.
    ::setenv("ZX_MACHINE_ROOT", pattern.c_str(), 1);
    std::filesystem::create_directories(zx::machine::DriveCFolder());
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(zx::machine::Root(), ignored);
    });
    return pattern;
  }();
  return root;
}

// Writes the bytes to a host file (folders made as needed), replacing what was there.
inline void WriteHostFile(const std::string& hostPath, const void* data, std::size_t size) {
  std::filesystem::create_directories(std::filesystem::path(hostPath).parent_path());
  std::ofstream out(hostPath, std::ios::binary | std::ios::trunc);
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
  if (!out) std::abort();
}

// The bytes as UTF-16 units, two bytes (little-endian) each; an odd last byte is dropped.
inline CString Utf16Units(const std::uint8_t* data, std::size_t size) {
  CString text;
  for (std::size_t i = 0; i + 1 < size; i += 2) text += static_cast<WCHAR>(data[i] | data[i + 1] << 8);
  return text;
}

// The bytes read as UTF-8 (invalid sequences as the code-page conversion makes them).
inline CString Utf8Text(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return CString();
  const char* text = reinterpret_cast<const char*>(data);
  const int length = MultiByteToWideChar(CP_UTF8, 0, text, static_cast<int>(size), nullptr, 0);
  if (length <= 0) return CString();
  CString wide;
  MultiByteToWideChar(CP_UTF8, 0, text, static_cast<int>(size), wide.GetBuffer(length), length);
  wide.ReleaseBuffer(length);
  return wide;
}

// Aborts unless every file of the machine root lies inside one of `places` (host paths of
// folders, or of files the caller wrote itself) or among the machine's own files (registry,
// window channels, key containers, machine.ini), and aborts on any link. Folders are not
// judged: the platform makes its standard ones as it goes.
inline void CheckOnlyInside(std::initializer_list<std::string> places) {
  namespace fs = std::filesystem;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(ScratchRoot(), ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    if (it->is_symlink()) {
      std::fprintf(stderr, "link made: %s\n", it->path().c_str());
      std::abort();
    }
    const std::string path = it->path().lexically_normal().string();
    if (path.rfind(zx::machine::RegistryFolder(), 0) == 0 || path.rfind(zx::machine::RuntimeFolder(), 0) == 0 ||
        path.rfind(zx::machine::Root() + "/crypto-", 0) == 0 || it->path().filename() == "machine.ini")
      continue;
    bool fine = it->is_directory();
    for (const std::string& place : places) {
      const std::string normal = fs::path(place).lexically_normal().string();
      fine = fine || path == normal || path.rfind(normal + "/", 0) == 0;
    }
    if (!fine) {
      std::fprintf(stderr, "written outside the folders: %s\n", path.c_str());
      std::abort();
    }
  }
}

}  // namespace zx::fuzz
