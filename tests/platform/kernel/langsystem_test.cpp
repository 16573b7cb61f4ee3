// FormatMessageW in the system's default language (LANG_SYSTEM_DEFAULT, 0x0800).
#include <gtest/gtest.h>

#include <string>

#include "heapapi.h"
#include "winbase.h"

namespace {

TEST(SystemLanguage, TheSystemDefaultLanguageFindsTheSystemsTexts) {
  EXPECT_EQ(LANG_SYSTEM_DEFAULT, 0x0800);
  LPWSTR text = nullptr;
  const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, nullptr,
                                      ERROR_FILE_NOT_FOUND, LANG_SYSTEM_DEFAULT, reinterpret_cast<LPWSTR>(&text), 0,
                                      nullptr);
  ASSERT_GT(length, 0u);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(std::u16string(text, length).substr(length - 2), u"\r\n");
  LocalFree(text);
}

}  // namespace
