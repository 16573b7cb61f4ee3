// A test fixture holding a memory DC with a bitmap of its own selected, as the flicker-free
// painting uses one; the temporaries of the class library are dropped after each test.
#pragma once
#include <gtest/gtest.h>

#include "afxwin.h"

namespace zx::afxtest {

template <int Width, int Height>
class MemoryCanvas : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dc_.CreateCompatibleDC(nullptr));
    ASSERT_TRUE(bitmap_.CreateCompatibleBitmap(&dc_, Width, Height));
    old_ = dc_.SelectObject(&bitmap_);
  }
  void TearDown() override {
    dc_.SelectObject(old_);
    CDC::DeleteTempMap();
    CGdiObject::DeleteTempMap();
  }
  CDC dc_;
  CBitmap bitmap_;
  CBitmap* old_ = nullptr;
};

}  // namespace zx::afxtest
