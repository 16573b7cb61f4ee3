// Handle table: values, lookup and release.
#include <gtest/gtest.h>

#include "zx/handles.h"

namespace {

struct Probe : zx::KernelObject {
  explicit Probe(bool* gone) : gone_(gone) {}
  ~Probe() override { *gone_ = true; }
  bool* gone_;
};

TEST(HandleTable, HandlesNameTheirObjectUntilRemoved) {
  bool gone = false;
  const std::size_t before = zx::OpenHandleCount();
  HANDLE a = zx::InsertHandle(std::make_shared<Probe>(&gone));
  HANDLE b = zx::InsertHandle(std::make_shared<Probe>(&gone));
  EXPECT_NE(a, b);
  EXPECT_NE(a, nullptr);
  EXPECT_NE(a, INVALID_HANDLE_VALUE);
  EXPECT_EQ(reinterpret_cast<ULONG_PTR>(a) % 4, 0u);
  EXPECT_NE(zx::ReferenceHandleAs<Probe>(a), nullptr);
  EXPECT_EQ(zx::OpenHandleCount(), before + 2);
  EXPECT_TRUE(zx::RemoveHandle(a));
  EXPECT_TRUE(gone);
  EXPECT_FALSE(zx::RemoveHandle(a));
  EXPECT_EQ(zx::ReferenceHandle(a), nullptr);
  EXPECT_TRUE(zx::RemoveHandle(b));
  EXPECT_EQ(zx::OpenHandleCount(), before);
}

TEST(HandleTable, AReferenceKeepsTheObjectAlivePastClose) {
  bool gone = false;
  HANDLE h = zx::InsertHandle(std::make_shared<Probe>(&gone));
  auto held = zx::ReferenceHandle(h);
  zx::RemoveHandle(h);
  EXPECT_FALSE(gone);
  held.reset();
  EXPECT_TRUE(gone);
}

}  // namespace
