// CMemFile: growth in small steps, seeking past the end, fixed attached buffers, Detach.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "afx_test_support.h"

namespace {

using zx::afxtest::ThrownClass;

TEST(MemFile, SmallGrowStepWritesLargeDataIntact) {
  CMemFile file(16);
  std::vector<BYTE> data(200000);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<BYTE>(i * 7);
  for (std::size_t i = 0; i < data.size(); i += 1000) file.Write(data.data() + i, 1000);
  EXPECT_EQ(file.GetLength(), data.size());
  std::vector<BYTE> back(data.size() + 10);
  file.SeekToBegin();
  EXPECT_EQ(file.Read(back.data(), static_cast<UINT>(back.size())), data.size());
  back.resize(data.size());
  EXPECT_EQ(back, data);
  EXPECT_EQ(file.Read(back.data(), 1), 0u);
}

TEST(MemFile, SeekPastTheEndLeavesAZeroGap) {
  CMemFile file;
  file.Write("ab", 2);
  EXPECT_EQ(file.Seek(3, CFile::current), 5u);
  file.Write("z", 1);
  EXPECT_EQ(file.GetLength(), 6u);
  char back[6];
  file.SeekToBegin();
  file.Read(back, 6);
  EXPECT_EQ(std::memcmp(back, "ab\0\0\0z", 6), 0);
  EXPECT_EQ(file.Seek(-1, CFile::end), 5u);
  EXPECT_EQ(ThrownClass([&] { file.Seek(-7, CFile::end); }), RUNTIME_CLASS(CFileException));
  EXPECT_EQ(ThrownClass([&] { file.Seek(0x7FFFFFFFFFFFFFFF, CFile::current); }), RUNTIME_CLASS(CFileException));
  file.SetLength(2);
  EXPECT_EQ(file.GetPosition(), 2u);
  file.SetLength(4);
  file.SeekToBegin();
  file.Read(back, 4);
  EXPECT_EQ(std::memcmp(back, "ab\0\0", 4), 0);
}

TEST(MemFile, AttachedBufferIsFixedWithoutAGrowStep) {
  BYTE buffer[4] = {1, 2, 3, 4};
  CMemFile file(buffer, 4);
  EXPECT_EQ(file.GetLength(), 4u);  // the file is the whole buffer
  file.Write("\x09", 1);
  EXPECT_EQ(buffer[0], 9);
  file.SeekToEnd();
  EXPECT_EQ(ThrownClass([&] { file.Write("x", 1); }), RUNTIME_CLASS(CMemoryException));
  EXPECT_EQ(file.Detach(), buffer);
  EXPECT_EQ(file.GetLength(), 0u);
}

TEST(MemFile, AttachedBufferWithAGrowStepMovesOutWhenFull) {
  BYTE buffer[4] = {};
  CMemFile file;
  file.Attach(buffer, 4, 8);
  EXPECT_EQ(file.GetLength(), 0u);  // starts empty
  file.Write("abcdef", 6);
  EXPECT_EQ(buffer[0], 0);  // the caller's buffer was too small and is left alone
  BYTE* own = file.Detach();
  ASSERT_NE(own, buffer);
  EXPECT_EQ(std::memcmp(own, "abcdef", 6), 0);
  std::free(own);  // a detached buffer the file allocated is the caller's to free
}

TEST(MemFile, CloseEmptiesTheFile) {
  CMemFile file;
  file.Write("abc", 3);
  file.Close();
  EXPECT_EQ(file.GetLength(), 0u);
  file.Write("d", 1);
  EXPECT_EQ(file.GetLength(), 1u);
}

}  // namespace
