// Version blocks of a module: the translation, the fixed information and the version text.
#include <gtest/gtest.h>

#include "VersionBlock.h"
#include "cstring_printer.h"

namespace {

CString ProgramPath() {
  WCHAR path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}

TEST(VersionBlock, TheProgramsOwnVersionRecord) {
  tagVersionBlock block;
  ASSERT_TRUE(ReadVersionBlock(ProgramPath(), block));
  EXPECT_EQ(block.dwTranslation, 0x040904B0u);
  VS_FIXEDFILEINFO info{};
  ASSERT_TRUE(GetFixedFileInfo(block, info));
  EXPECT_EQ(info.dwFileVersionMS, 0x00060001u);
  EXPECT_EQ(info.dwFileVersionLS, 0x0000000Cu);
  EXPECT_EQ(GetFileVersionString(block), CString(_T("6.1.0.12")));
  FreeVersionBlock(block);
  EXPECT_TRUE(GetFileVersionString(block).IsEmpty());
}

TEST(VersionBlock, AFileWithoutVersionLeavesTheBlockEmpty) {
  tagVersionBlock block;
  block.dwTranslation = 7;
  EXPECT_FALSE(ReadVersionBlock(_T("C:\\no\\such\\file.dll"), block));
  EXPECT_TRUE(block.data.empty());
  EXPECT_EQ(block.dwTranslation, 0u);
  VS_FIXEDFILEINFO info{};
  EXPECT_FALSE(GetFixedFileInfo(block, info));
}

}  // namespace
