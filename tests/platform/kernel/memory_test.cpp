// Heap and local memory, mapped files, system message texts, the ANSI code page and the
// 64-bit interlocked operations.
#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "errhandlingapi.h"
#include "fileapi.h"
#include "handleapi.h"
#include "heapapi.h"
#include "machine_fixture.h"
#include "memoryapi.h"
#include "synchapi.h"
#include "winbase.h"
#include "winnls.h"
#include "zx/machine.h"
#include "zx/prefault.h"

namespace {

TEST(Heaps, ZeroedBlocksAndFreeing) {
  auto* block = static_cast<BYTE*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, 64));
  ASSERT_NE(block, nullptr);
  for (int i = 0; i < 64; ++i) EXPECT_EQ(block[i], 0);
  EXPECT_TRUE(HeapFree(GetProcessHeap(), 0, block));
  EXPECT_TRUE(HeapFree(GetProcessHeap(), 0, nullptr));
  EXPECT_EQ(HeapAlloc(reinterpret_cast<HANDLE>(0x99), 0, 8), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  void* empty = HeapAlloc(GetProcessHeap(), 0, 0);
  EXPECT_NE(empty, nullptr);
  HeapFree(GetProcessHeap(), 0, empty);
}

TEST(Heaps, LocalBlocks) {
  auto* block = static_cast<BYTE*>(LocalAlloc(LPTR, 16));
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block[15], 0);
  EXPECT_EQ(LocalFree(block), nullptr);
  EXPECT_EQ(LocalAlloc(0x0002 /* LMEM_MOVEABLE */, 16), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(SystemMessages, TextsOfErrorCodes) {
  LPWSTR text = nullptr;
  const DWORD flags =
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
  ASSERT_EQ(FormatMessageW(flags, nullptr, ERROR_ACCESS_DENIED, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                           reinterpret_cast<LPWSTR>(&text), 0, nullptr),
            19u);
  EXPECT_EQ(std::u16string(text), u"Access is denied.\r\n");
  LocalFree(text);
  WCHAR small[8];
  EXPECT_EQ(FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_ACCESS_DENIED, 0, small, 8, nullptr),
            0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  WCHAR buffer[128];
  EXPECT_EQ(
      FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_NONE_MAPPED, 0x409, buffer, 128, nullptr),
      61u);
  EXPECT_EQ(FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, 0x7777, 0, buffer, 128, nullptr), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MR_MID_NOT_FOUND));
  EXPECT_EQ(
      FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_ACCESS_DENIED, 0x407, buffer, 128, nullptr),
      0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_LANG_NOT_FOUND));
  EXPECT_EQ(FormatMessageW(FORMAT_MESSAGE_FROM_STRING, u"x", 0, 0, buffer, 128, nullptr), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(Locales, TheAnsiCodePageIs1252) {
  EXPECT_EQ(GetACP(), 1252u);
  WCHAR text[10];
  EXPECT_EQ(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, nullptr, 0), 5);
  ASSERT_EQ(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, text, 10), 5);
  EXPECT_EQ(std::u16string(text), u"1252");
  EXPECT_EQ(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, text, 4), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(GetLocaleInfoW(LOCALE_USER_DEFAULT, 0x2, text, 10), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_FLAGS));
}

TEST(Interlocked, SixtyFourBitValues) {
  volatile LONGLONG value = 0xFFFFFFFFLL;
  EXPECT_EQ(InterlockedIncrement64(&value), 0x100000000LL);
  EXPECT_EQ(InterlockedExchangeAdd64(&value, 5), 0x100000000LL);
  EXPECT_EQ(value, 0x100000005LL);
}

class MappingTest : public zx::test::MachineTest {
 protected:
  HANDLE Open(LPCWSTR path, DWORD access) {
    return CreateFileW(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  }
};

TEST_F(MappingTest, ViewsShowTheFile) {
  std::string bytes(200000, '\0');
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i % 253);
  WriteHostFile(zx::machine::DriveCFolder() + "/m.bin", bytes);
  HANDLE file = Open(u"C:\\m.bin", GENERIC_READ);
  HANDLE mapping = CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
  ASSERT_NE(mapping, nullptr);
  CloseHandle(file);  // the mapping keeps the file
  const auto* view = static_cast<const char*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 65536, 0));
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(std::memcmp(view, bytes.data() + 65536, bytes.size() - 65536), 0);
  CloseHandle(mapping);  // the view outlives the mapping
  EXPECT_EQ(view[0], bytes[65536]);
  EXPECT_TRUE(UnmapViewOfFile(view));
  EXPECT_FALSE(UnmapViewOfFile(view));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_ADDRESS));
}

TEST_F(MappingTest, RefusedMappingsAndViews) {
  WriteHostFile(zx::machine::DriveCFolder() + "/e.bin", "");
  WriteHostFile(zx::machine::DriveCFolder() + "/s.bin", "small");
  HANDLE empty = Open(u"C:\\e.bin", GENERIC_READ);
  EXPECT_EQ(CreateFileMappingW(empty, nullptr, PAGE_READONLY, 0, 0, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_INVALID));
  CloseHandle(empty);
  HANDLE small = Open(u"C:\\s.bin", GENERIC_READ);
  EXPECT_EQ(CreateFileMappingW(small, nullptr, PAGE_READWRITE, 0, 0, nullptr), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(CreateFileMappingW(small, nullptr, PAGE_READONLY, 0, 0, u"Named"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
  HANDLE mapping = CreateFileMappingW(small, nullptr, PAGE_READONLY, 0, 0, nullptr);
  ASSERT_NE(mapping, nullptr);
  EXPECT_EQ(MapViewOfFile(mapping, FILE_MAP_READ, 0, 1, 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MAPPED_ALIGNMENT));
  EXPECT_EQ(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 6), nullptr);  // past the end
  CloseHandle(mapping);
  CloseHandle(small);
  EXPECT_EQ(CreateFileMappingW(reinterpret_cast<HANDLE>(0x4321), nullptr, PAGE_READONLY, 0, 0, nullptr),
            nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(MappingTest, AWritableMappingGrowsTheFileAndWritesThrough) {
  WriteHostFile(zx::machine::DriveCFolder() + "/w.bin", "ab");
  HANDLE file = Open(u"C:\\w.bin", GENERIC_READ | GENERIC_WRITE);
  HANDLE mapping = CreateFileMappingW(file, nullptr, PAGE_READWRITE, 0, 4, nullptr);
  ASSERT_NE(mapping, nullptr);
  auto* view = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
  ASSERT_NE(view, nullptr);
  view[3] = 'z';
  UnmapViewOfFile(view);
  CloseHandle(mapping);
  CloseHandle(file);
  EXPECT_EQ(ReadHostFile(zx::machine::DriveCFolder() + "/w.bin"), std::string("ab\0z", 4));
}

// The whole pages inside the range come in, those it only cuts stay out, and what the pages
// held stays.
TEST(Prefault, BringsInTheWholePagesOfARangeAndKeepsWhatTheyHold) {
  const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  constexpr std::size_t kPages = 64;
  void* const mapped = mmap(nullptr, kPages * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(mapped, MAP_FAILED);
  auto* const base = static_cast<unsigned char*>(mapped);
  const auto resident = [&] {
    std::string pages(kPages, '-');
    std::vector<unsigned char> in(kPages);
    if (mincore(base, kPages * page, in.data()) != 0) return std::string("mincore failed");
    for (std::size_t n = 0; n < kPages; ++n)
      if (in[n] & 1) pages[n] = 'r';
    return pages;
  };
  base[page + 7] = 'x';
  zx::PrefaultForWriting(base + 2 * page, 0);
  EXPECT_EQ(resident(), "-r" + std::string(kPages - 2, '-'));
  zx::PrefaultForWriting(base + 100, kPages * page - 200);
  EXPECT_EQ(resident(), "-" + std::string(kPages - 2, 'r') + "-");
  EXPECT_EQ(base[page + 7], 'x');
  EXPECT_EQ(base[2 * page], 0);
  munmap(mapped, kPages * page);
}

// Huge pages are asked for over the whole 2 MB pages inside the range only (the stretches of
// the mapping as /proc/self/smaps lists them, in MB from its start, "h" where they are asked
// for), and what the memory held stays.
TEST(Prefault, AsksForHugePagesOverTheWholeHugePagesOfARange) {
  constexpr std::uintptr_t kHuge = std::uintptr_t{2} << 20, kLength = 5 * kHuge;
  void* const mapped = mmap(nullptr, kLength + kHuge, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(mapped, MAP_FAILED);
  const std::uintptr_t start = (reinterpret_cast<std::uintptr_t>(mapped) + kHuge - 1) & ~(kHuge - 1), end = start + kLength;
  const auto stretches = [&] {
    std::ifstream smaps("/proc/self/smaps");
    std::string line, listed;
    std::uintptr_t from = 0, to = 0, low = 0, high = 0;
    while (std::getline(smaps, line))
      if (std::sscanf(line.c_str(), "%" SCNxPTR "-%" SCNxPTR, &low, &high) == 2)
        std::tie(from, to) = std::pair(low, high);
      else if (line.rfind("VmFlags:", 0) == 0 && to > start && from < end)
        listed += std::to_string((std::max(from, start) - start) >> 20) + "-" + std::to_string((std::min(to, end) - start) >> 20) +
                  ((line + " ").find(" hg ") != std::string::npos ? "h " : " ");
    return listed;
  };
  auto* const base = reinterpret_cast<unsigned char*>(start);
  base[7] = 'x';
  zx::AdviseHugePages(base + 100, kHuge - 200);  // within one huge page: nothing asked
  zx::AdviseHugePages(base + 100, 4 * kHuge);
  EXPECT_EQ(stretches(), "0-2 2-8h 8-10 ");
  EXPECT_EQ(base[7], 'x');
  munmap(mapped, kLength + kHuge);
}

}  // namespace
