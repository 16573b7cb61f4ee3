// Global memory blocks: fixed and movable blocks, lock counts, resizing, and stale handles
// refused.
#include <gtest/gtest.h>

#include <cstring>

#include "errhandlingapi.h"
#include "winglobal.h"

namespace {

TEST(GlobalMemory, AFixedBlockIsItsOwnAddress) {
  HGLOBAL block = GlobalAlloc(GPTR, 16);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(GlobalLock(block), block);
  EXPECT_EQ(static_cast<BYTE*>(block)[15], 0);
  EXPECT_EQ(GlobalSize(block), 16u);
  SetLastError(77);
  EXPECT_FALSE(GlobalUnlock(block));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(NO_ERROR));
  EXPECT_EQ(GlobalFree(block), nullptr);
}

TEST(GlobalMemory, AMovableBlockCountsItsLocks) {
  HGLOBAL block = GlobalAlloc(GHND, 4);
  ASSERT_NE(block, nullptr);
  auto* bytes = static_cast<BYTE*>(GlobalLock(block));
  ASSERT_NE(bytes, nullptr);
  EXPECT_NE(static_cast<void*>(bytes), block);
  EXPECT_EQ(GlobalLock(block), bytes);
  EXPECT_TRUE(GlobalUnlock(block));   // one lock left
  EXPECT_FALSE(GlobalUnlock(block));  // the last one
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(NO_ERROR));
  EXPECT_FALSE(GlobalUnlock(block));  // not locked any more
  EXPECT_EQ(GetLastError(), 158u);    // ERROR_NOT_LOCKED
  EXPECT_EQ(GlobalFree(block), nullptr);
}

TEST(GlobalMemory, ResizingKeepsTheBytes) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 3);
  std::memcpy(GlobalLock(block), "abc", 3);
  GlobalUnlock(block);
  EXPECT_EQ(GlobalReAlloc(block, 6, GMEM_ZEROINIT), block);
  EXPECT_EQ(GlobalSize(block), 6u);
  const auto* bytes = static_cast<const BYTE*>(GlobalLock(block));
  EXPECT_EQ(std::memcmp(bytes, "abc\0\0\0", 6), 0);
  GlobalUnlock(block);
  GlobalFree(block);
  HGLOBAL fixed = GlobalAlloc(GMEM_FIXED, 2);
  std::memcpy(fixed, "xy", 2);
  HGLOBAL moved = GlobalReAlloc(fixed, 1000, 0);
  ASSERT_NE(moved, nullptr);
  EXPECT_EQ(std::memcmp(moved, "xy", 2), 0);
  EXPECT_EQ(GlobalSize(moved), 1000u);
  EXPECT_EQ(GlobalFree(moved), nullptr);
}

TEST(GlobalMemory, StaleAndForeignHandlesAreRefused) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 8);
  ASSERT_EQ(GlobalFree(block), nullptr);
  SetLastError(0);
  EXPECT_EQ(GlobalLock(block), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(GlobalSize(block), 0u);
  EXPECT_EQ(GlobalFree(block), block);
  int local = 0;
  EXPECT_EQ(GlobalLock(&local), nullptr);
  EXPECT_EQ(GlobalReAlloc(&local, 4, 0), nullptr);
  EXPECT_EQ(GlobalAlloc(0x1000, 4), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(GlobalMemory, AnEmptyBlockIsABlockOfItsOwn) {
  HGLOBAL a = GlobalAlloc(GMEM_MOVEABLE, 0);
  HGLOBAL b = GlobalAlloc(GMEM_MOVEABLE, 0);
  ASSERT_NE(a, nullptr);
  EXPECT_NE(a, b);
  EXPECT_EQ(GlobalSize(a), 0u);
  EXPECT_NE(GlobalLock(a), nullptr);
  GlobalFree(a);
  GlobalFree(b);
}

}  // namespace
