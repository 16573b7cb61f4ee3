// Debug output: written to the standard error stream (UTF-8) only when ZX_DEBUG_OUTPUT is set.
#include <gtest/gtest.h>

#include <cstdlib>

#include "debugapi.h"

namespace {

TEST(DebugOutput, WrittenOnlyWhenAskedFor) {
  unsetenv("ZX_DEBUG_OUTPUT");
  testing::internal::CaptureStderr();
  OutputDebugStringW(u"quiet\r\n");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  setenv("ZX_DEBUG_OUTPUT", "1", 1);
  testing::internal::CaptureStderr();
  OutputDebugStringW(u"OnHtmlSelectStart <DIV>\r\n");
  OutputDebugStringA("caf\xE9\n");  // Windows-1252
  OutputDebugStringW(nullptr);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "OnHtmlSelectStart <DIV>\r\ncaf\xC3\xA9\n");
  unsetenv("ZX_DEBUG_OUTPUT");
  EXPECT_FALSE(IsDebuggerPresent());
}

}  // namespace
