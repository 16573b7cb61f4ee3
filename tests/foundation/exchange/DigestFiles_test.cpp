// Digests of files: whole files through the Win32 file API, failures that give no digest,
// share modes, and sparse files past the 32-bit counts (4 GiB of data, 512 MiB of bits).
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "DigestsMd5.h"
#include "DigestsSha1.h"
#include "cstring_printer.h"
#include "machine_fixture.h"

namespace {

constexpr LPCTSTR kNoInputSha1 = _T("DA39A3EE5E6B4B0D3255BFEF95601890AFD80709");

// The machine root lies in memory: the sparse files below are gigabytes of holes.
class DigestFileTest : public zx::test::MachineTest {
 protected:
  DigestFileTest() : MachineTest(zx::test::TempFolder::Storage::kMemory) {}

  // Writes bytes into C:\<name> and answers its Windows path.
  CString Write(const std::string& name, const std::string& bytes) {
    WriteHostFile(root() + "/drive_c/" + name, bytes);
    return CString(_T("C:\\")) + CString(name.c_str());
  }

  // A sparse file of `size` bytes holding only the given pieces; everything else reads as zero.
  CString WriteSparse(LPCTSTR path, LONGLONG size, std::initializer_list<std::pair<LONGLONG, std::string>> pieces) {
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE);
    for (const auto& [offset, bytes] : pieces) {
      LARGE_INTEGER at;
      at.QuadPart = offset;
      EXPECT_TRUE(SetFilePointerEx(file, at, nullptr, FILE_BEGIN));
      DWORD written = 0;
      EXPECT_TRUE(WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    }
    LARGE_INTEGER end;
    end.QuadPart = size;
    EXPECT_TRUE(SetFilePointerEx(file, end, nullptr, FILE_BEGIN));
    EXPECT_TRUE(SetEndOfFile(file));
    CloseHandle(file);
    return path;
  }
};

TEST_F(DigestFileTest, AWholeFileIsDigested) {
  const CString path = Write("abc.txt", "abc");
  EXPECT_EQ(CCalcSHA1::HashFile(path), CString(_T("A9993E364706816ABA3E25717850C26C9CD0D89D")));
  EXPECT_EQ(CCalcSHA1::GetFileSha1Hash(path), CString(_T("A9993E364706816ABA3E25717850C26C9CD0D89D")));
  EXPECT_EQ(CMD5Checksum::DigestHex(path), CString(_T("900150983cd24fb0d6963f7d28e17f72")));
}

TEST_F(DigestFileTest, FilesLargerThanOneReadMatchTheMemoryDigest) {
  std::string bytes;
  for (int i = 0; i < 200000; ++i) bytes += static_cast<char>(i * 31 + i / 7);
  const CString path = Write("big.bin", bytes);
  EXPECT_EQ(CMD5Checksum::DigestHex(path),
            CMD5Checksum::DigestHex(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size())));
  CSHA1 sha;
  sha.Update(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
  sha.Final();
  std::u16string expected;
  sha.ReportHashStl(expected, CSHA1::REPORT_HEX_SHORT);
  EXPECT_EQ(CCalcSHA1::HashFile(path), CString(expected.c_str()));
}

TEST_F(DigestFileTest, AnEmptyFileIsTheDigestOfNoInput) {
  const CString path = Write("empty.txt", "");
  CSHA1 sha;
  EXPECT_TRUE(sha.HashFile(path));
  EXPECT_EQ(CCalcSHA1::HashFile(path), CString(kNoInputSha1));
  EXPECT_EQ(CMD5Checksum::DigestHex(path), CString(_T("d41d8cd98f00b204e9800998ecf8427e")));
}

TEST_F(DigestFileTest, AFileThatCannotBeReadGivesNoDigest) {
  // A missing file, a folder, an empty and an absent path: no text at all, never the digest
  // of no input, so a comparison with a published hash cannot pass by accident.
  WriteHostFile(root() + "/drive_c/folder/inside.txt", "x");
  for (LPCTSTR path : {_T("C:\\missing.bin"), _T("C:\\folder"), _T(""), static_cast<LPCTSTR>(nullptr)}) {
    CSHA1 sha;
    EXPECT_FALSE(sha.HashFile(path));
    EXPECT_TRUE(CCalcSHA1::HashFile(path).IsEmpty());
    EXPECT_TRUE(CCalcSHA1::GetFileSha1Hash(path).IsEmpty());
    EXPECT_TRUE(CMD5Checksum::DigestHex(path).IsEmpty());
  }
}

TEST_F(DigestFileTest, TheMd5ReaderDeniesWritersAndTheSha1ReaderDoesNot) {
  const CString path = Write("open.txt", "abc");
  HANDLE writer = CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(CMD5Checksum::DigestHex(path).IsEmpty());
  EXPECT_EQ(CCalcSHA1::HashFile(path), CString(_T("A9993E364706816ABA3E25717850C26C9CD0D89D")));
  CloseHandle(writer);
  EXPECT_EQ(CMD5Checksum::DigestHex(path), CString(_T("900150983cd24fb0d6963f7d28e17f72")));
}

TEST_F(DigestFileTest, Sha1OfASparseFileLargerThan4GiB) {
  // Pieces at the start, across the 4 GiB mark and at the very end.
  const LONGLONG size = (LONGLONG{1} << 32) + 4099;
  const CString path = WriteSparse(_T("C:\\sparse4g.bin"), size,
                                   {{0, "head"}, {(LONGLONG{1} << 32) - 2, "edge"}, {size - 3, "end"}});
  EXPECT_EQ(CCalcSHA1::HashFile(path), CString(_T("56291B15C743782A1E95A4820AD6A3A196E9A92C")));
}

TEST_F(DigestFileTest, Md5OfASparseFilePastTheLowWordOfItsBitCount) {
  // 600 MiB: the bit count passes 2^32 at 512 MiB.
  const LONGLONG size = 600 * (LONGLONG{1} << 20) + 1;
  const CString path = WriteSparse(_T("C:\\sparse600m.bin"), size,
                                   {{0, "head"}, {512 * (LONGLONG{1} << 20) - 2, "edge"}, {size - 3, "end"}});
  EXPECT_EQ(CMD5Checksum::DigestHex(path), CString(_T("24c421af218ca5147675da48acf683d2")));
}

}  // namespace
