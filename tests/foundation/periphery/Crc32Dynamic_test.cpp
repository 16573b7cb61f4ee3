// CRC-32 of strings and files, against the published check values and a bitwise reference.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

#include "Crc32Dynamic.h"
#include "machine_fixture.h"
#include "zx/machine.h"

namespace {

// The published CRC-32, one bit at a time.
DWORD ReferenceCrc(const std::string& bytes) {
  DWORD crc = 0xFFFFFFFFu;
  for (unsigned char b : bytes) {
    crc ^= b;
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ ((crc & 1) != 0 ? 0xEDB88320u : 0);
  }
  return ~crc;
}

std::string RandomBytes(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& b : bytes) b = static_cast<char>(random());
  return bytes;
}

class CrcTest : public zx::test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    crc_.BuildTable();
  }
  static void Put(const char* name, const std::string& bytes) {
    WriteHostFile(zx::machine::DriveCFolder() + "/" + name, bytes);
  }
  // Every file variant, which must agree; answers their common result.
  DWORD FileCrc(LPCTSTR path) {
    DWORD byRead = 1, fast = 2, mapped = 3;
    EXPECT_EQ(crc_.CrcOfFileByRead(path, byRead), 0u);
    EXPECT_EQ(crc_.CrcOfFileByReadFast(path, fast), 0u);
    EXPECT_EQ(crc_.CrcOfFileByMapping(path, mapped), 0u);
    EXPECT_EQ(byRead, fast);
    EXPECT_EQ(byRead, mapped);
    return byRead;
  }
  CCrc32Dynamic crc_;
};

TEST(Crc32, PublishedCheckValues) {
  EXPECT_EQ(ReferenceCrc("123456789"), 0xCBF43926u);
  CCrc32Dynamic crc;
  crc.BuildTable();
  DWORD value = 0;
  EXPECT_EQ(crc.CrcOfString(_T("123456789"), value), 0u);
  EXPECT_EQ(value, 0xCBF43926u);
  EXPECT_EQ(crc.CrcOfString(_T("The quick brown fox jumps over the lazy dog"), value), 0u);
  EXPECT_EQ(value, 0x414FA339u);
  EXPECT_EQ(crc.CrcOfString(_T(""), value), 0u);
  EXPECT_EQ(value, 0u);
}

TEST(Crc32, StringsFeedTheLowByteOfEachUnit) {
  CCrc32Dynamic crc;
  crc.BuildTable();
  DWORD wide = 0, narrow = 0;
  crc.CrcOfString(_T("\u0131\u0232"), wide);
  crc.CrcOfString(_T("12"), narrow);
  EXPECT_EQ(wide, narrow);
}

TEST(Crc32, WithoutATableEveryCallFailsWithTheCrcError) {
  CCrc32Dynamic crc;
  DWORD value = 7;
  EXPECT_EQ(crc.CrcOfString(_T("abc"), value), static_cast<DWORD>(ERROR_CRC));
  EXPECT_EQ(value, 0u);
  value = 7;
  EXPECT_EQ(crc.CrcOfFileByRead(_T("C:\\x"), value), static_cast<DWORD>(ERROR_CRC));
  EXPECT_EQ(value, 0u);
  EXPECT_EQ(crc.CrcOfFileByMapping(_T("C:\\x"), value), static_cast<DWORD>(ERROR_CRC));
  DWORD reg = 0x1234;
  crc.UpdateByte(0x55, reg);
  EXPECT_EQ(reg, 0x1234u);
  crc.BuildTable();
  crc.FreeTable();
  EXPECT_EQ(crc.CrcOfString(_T("abc"), value), static_cast<DWORD>(ERROR_CRC));
  EXPECT_EQ(crc.CrcOfString(nullptr, value), static_cast<DWORD>(ERROR_CRC));
  crc.BuildTable();
  EXPECT_EQ(crc.CrcOfString(nullptr, value), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(Crc32, ACopyHasATableOfItsOwn) {
  auto original = std::make_unique<CCrc32Dynamic>();
  original->BuildTable();
  CCrc32Dynamic copy(*original);
  CCrc32Dynamic assigned;
  assigned = *original;
  original.reset();  // the copies must not share what it freed
  DWORD value = 0;
  EXPECT_EQ(copy.CrcOfString(_T("123456789"), value), 0u);
  EXPECT_EQ(value, 0xCBF43926u);
  EXPECT_EQ(assigned.CrcOfString(_T("123456789"), value), 0u);
  EXPECT_EQ(value, 0xCBF43926u);
  assigned = assigned;
  EXPECT_EQ(assigned.CrcOfString(_T("123456789"), value), 0u);
  CCrc32Dynamic empty;
  assigned = empty;  // a copy of one without a table has none
  EXPECT_EQ(assigned.CrcOfString(_T("1"), value), static_cast<DWORD>(ERROR_CRC));
  CCrc32Dynamic copyOfEmpty(empty);
  EXPECT_EQ(copyOfEmpty.CrcOfString(_T("1"), value), static_cast<DWORD>(ERROR_CRC));
}

TEST(Crc32, UpdateByteIsTheTableStep) {
  CCrc32Dynamic crc;
  crc.BuildTable();
  DWORD reg = 0xFFFFFFFFu;
  for (char c : std::string("123456789")) crc.UpdateByte(static_cast<BYTE>(c), reg);
  EXPECT_EQ(~reg, 0xCBF43926u);
}

TEST_F(CrcTest, TheThreeFileVariantsGiveThePublishedCrc) {
  Put("check.txt", "123456789");
  EXPECT_EQ(FileCrc(_T("C:\\check.txt")), 0xCBF43926u);
  Put("empty.bin", "");
  EXPECT_EQ(FileCrc(_T("C:\\empty.bin")), 0u);
}

TEST_F(CrcTest, EveryLengthAroundTheBlockAndStepSizes) {
  for (std::size_t size : {1u, 7u, 8u, 63u, 64u, 255u, 256u, 257u, 319u, 4095u, 4096u, 4097u, 65537u}) {
    const std::string bytes = RandomBytes(size, static_cast<unsigned>(size));
    Put("r.bin", bytes);
    EXPECT_EQ(FileCrc(_T("C:\\r.bin")), ReferenceCrc(bytes)) << size;
  }
}

TEST_F(CrcTest, AFileOfManyViews) {
  const std::string bytes = RandomBytes((10u << 20) + 12345, 99);  // a view of 10 MiB and a short one
  Put("big.bin", bytes);
  DWORD mapped = 0, fast = 0;
  EXPECT_EQ(crc_.CrcOfFileByMapping(_T("C:\\big.bin"), mapped), 0u);
  EXPECT_EQ(crc_.CrcOfFileByReadFast(_T("C:\\big.bin"), fast), 0u);
  EXPECT_EQ(mapped, fast);
  EXPECT_EQ(mapped, ReferenceCrc(bytes));
}

TEST_F(CrcTest, AMissingFileAnswersThePlatformError) {
  DWORD value = 5;
  EXPECT_EQ(crc_.CrcOfFileByRead(_T("C:\\missing"), value), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(value, 0u);
  EXPECT_EQ(crc_.CrcOfFileByReadFast(_T("C:\\no\\missing"), value), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(crc_.CrcOfFileByMapping(_T("C:\\missing"), value), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(CrcTest, FileSizes) {
  Put("five.bin", "12345");
  HANDLE file =
      CreateFileW(_T("C:\\five.bin"), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  ULONGLONG size = 0;
  EXPECT_TRUE(CCrc32Dynamic::GetFileSize64(file, size));
  EXPECT_EQ(size, 5u);
  CloseHandle(file);
  size = 9;
  EXPECT_FALSE(CCrc32Dynamic::GetFileSize64(file, size));
  EXPECT_EQ(size, 0u);
}

}  // namespace
