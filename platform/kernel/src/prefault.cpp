// Fresh memory brought in ahead of its writing, in one call to the system where it allows,
// and huge pages asked for it.
#include "zx/prefault.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23
#endif

namespace zx {

void PrefaultForWriting(void* start, std::size_t bytes) {
  static const std::uintptr_t page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  const std::uintptr_t at = reinterpret_cast<std::uintptr_t>(start);
  const std::uintptr_t first = (at + page - 1) & ~(page - 1);
  const std::uintptr_t end = (at + bytes) & ~(page - 1);
  if (bytes == 0 || end <= first) return;
  if (madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE) == 0) return;
  // An older system: each page is written with what it holds.
  for (std::uintptr_t p = first; p < end; p += page) {
    volatile unsigned char* const byte = reinterpret_cast<volatile unsigned char*>(p);
    *byte = *byte;
  }
}

void AdviseHugePages(void* start, std::size_t bytes) {
  constexpr std::uintptr_t kHugePage = std::uintptr_t{2} << 20;
  const std::uintptr_t at = reinterpret_cast<std::uintptr_t>(start);
  const std::uintptr_t first = (at + kHugePage - 1) & ~(kHugePage - 1);
  const std::uintptr_t end = (at + bytes) & ~(kHugePage - 1);
  if (end > first) madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
}

}  // namespace zx
