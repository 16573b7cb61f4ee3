// Version resources byte for byte, the values VerQueryValue finds in them, the PE images that
// carry them, and damaged images and blocks that must fail cleanly.
#include <gtest/gtest.h>
#include <winver.h>

#include <cstring>
#include <random>

#include "errhandlingapi.h"
#include "libloaderapi.h"
#include "machine_fixture.h"
#include "zx/versionresource.h"

namespace zx::version {
namespace {

// Little-endian bytes written field by field, to spell out an expected layout.
class Bytes {
 public:
  Bytes& Word(WORD v) { return Put(v, 2); }
  Bytes& Dword(DWORD v) { return Put(v, 4); }
  Bytes& Text(std::u16string_view text) {
    for (char16_t c : text) Word(c);
    return Word(0);
  }
  Bytes& PadTo(std::size_t offset) {
    EXPECT_LE(bytes.size(), offset);
    bytes.resize(offset, 0);
    return *this;
  }
  std::vector<BYTE> bytes;

 private:
  Bytes& Put(DWORD v, int n) {
    for (int i = 0; i < n; ++i) bytes.push_back(static_cast<BYTE>(v >> (8 * i)));
    return *this;
  }
};

VersionInfo SmallInfo() {
  VersionInfo info;
  info.fileVersion = 0x0001000200030004ull;
  info.productVersion = 0x0001000200030004ull;
  info.fileType = VFT_DRV;
  info.fileSubtype = VFT2_DRV_SYSTEM;
  info.strings = {{u"CompanyName", u"Ab"}};
  return info;
}

TEST(VersionResource, LayoutByteForByte) {
  Bytes expected;
  expected.Word(260).Word(52).Word(0).Text(u"VS_VERSION_INFO").PadTo(40)
      .Dword(0xFEEF04BD).Dword(0x00010000).Dword(0x00010002).Dword(0x00030004).Dword(0x00010002).Dword(0x00030004)
      .Dword(0x3F).Dword(0).Dword(0x00040004).Dword(3).Dword(7).Dword(0).Dword(0)
      .Word(98).Word(0).Word(1).Text(u"StringFileInfo")
      .Word(62).Word(0).Word(1).Text(u"040904b0")
      .Word(38).Word(3).Word(1).Text(u"CompanyName").PadTo(184).Text(u"Ab").PadTo(192)
      .Word(68).Word(0).Word(1).Text(u"VarFileInfo").PadTo(224)
      .Word(36).Word(4).Word(0).Text(u"Translation").PadTo(256).Dword(0x04B00409);
  const std::vector<BYTE> built = BuildVersionResource(SmallInfo());
  ASSERT_EQ(built.size(), 260u);
  EXPECT_EQ(built, expected.bytes);
  // The first sixteen bytes as hex: lengths, type and the start of the key.
  const BYTE head[16] = {0x04, 0x01, 0x34, 0x00, 0x00, 0x00, 'V', 0, 'S', 0, '_', 0, 'V', 0, 'E', 0};
  EXPECT_EQ(std::memcmp(built.data(), head, 16), 0);
}

TEST(VersionResource, QueriesFindEachKindOfValue) {
  const std::vector<BYTE> block = BuildVersionResource(SmallInfo());
  LPVOID value = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), u"\\", &value, &length));
  EXPECT_EQ(length, sizeof(VS_FIXEDFILEINFO));
  EXPECT_EQ(static_cast<const VS_FIXEDFILEINFO*>(value)->dwSignature, VS_FFI_SIGNATURE);
  ASSERT_TRUE(VerQueryValueW(block.data(), u"\\VarFileInfo\\Translation", &value, &length));
  EXPECT_EQ(length, 4u);
  EXPECT_EQ(*static_cast<const DWORD*>(value), 0x04B00409u);
  ASSERT_TRUE(VerQueryValueW(block.data(), u"\\stringfileinfo\\040904B0\\COMPANYNAME", &value, &length));
  EXPECT_EQ(length, 3u);
  EXPECT_EQ(std::u16string(static_cast<LPCWSTR>(value)), u"Ab");
  EXPECT_EQ(static_cast<BYTE*>(value), block.data() + 184);
  EXPECT_FALSE(VerQueryValueW(block.data(), u"\\StringFileInfo\\040904b0\\ProductName", &value, &length));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND));
  EXPECT_FALSE(VerQueryValueW(block.data(), u"\\StringFileInfo", &value, &length));  // no value of its own
  EXPECT_FALSE(VerQueryValueW(nullptr, u"\\", &value, &length));
}

TEST(VersionResource, DamagedChildLengthsFindNothing) {
  std::vector<BYTE> block = BuildVersionResource(SmallInfo());
  block[152] = 0xFF;  // the string's length runs past its table
  LPVOID value = nullptr;
  UINT length = 0;
  EXPECT_FALSE(VerQueryValueW(block.data(), u"\\StringFileInfo\\040904b0\\CompanyName", &value, &length));
  block = BuildVersionResource(SmallInfo());
  block[152] = 2;  // shorter than a block header
  block[153] = 0;
  EXPECT_FALSE(VerQueryValueW(block.data(), u"\\StringFileInfo\\040904b0\\CompanyName", &value, &length));
}

TEST(PeImage, HeadersAndTheResourceWithin) {
  const std::vector<BYTE> resource = BuildVersionResource(SmallInfo());
  const std::vector<BYTE> image = BuildResourceImage(resource);
  ASSERT_EQ(image.size(), 0x400u);
  EXPECT_EQ(image[0], 'M');
  EXPECT_EQ(image[1], 'Z');
  EXPECT_EQ(image[0x3C], 0x40);
  const BYTE pe[6] = {'P', 'E', 0, 0, 0x64, 0x86};
  EXPECT_EQ(std::memcmp(&image[0x40], pe, 6), 0);
  EXPECT_EQ(image[0x58] | image[0x59] << 8, 0x20B);  // PE32+
  std::span<const BYTE> found;
  ASSERT_TRUE(FindVersionResource(image, found));
  EXPECT_TRUE(std::equal(found.begin(), found.end(), resource.begin(), resource.end()));
}

TEST(PeImage, EveryTruncationFailsCleanly) {
  const std::vector<BYTE> image = BuildResourceImage(BuildVersionResource(SmallInfo()));
  for (std::size_t size = 0; size < 0x200 + 88 + 260; ++size) {
    std::span<const BYTE> found;
    EXPECT_FALSE(FindVersionResource(std::span<const BYTE>(image.data(), size), found)) << size;
  }
}

TEST(PeImage, NoisyImagesNeverReadOutside) {
  const std::vector<BYTE> clean = BuildResourceImage(BuildVersionResource(SmallInfo()));
  std::mt19937 random(20260);
  for (int round = 0; round < 3000; ++round) {
    std::vector<BYTE> image = clean;
    for (int flips = 0; flips < 4; ++flips)
      image[random() % (0x200 + 96)] = static_cast<BYTE>(random());
    std::span<const BYTE> found;
    if (FindVersionResource(image, found)) {
      EXPECT_GE(found.data(), image.data());
      EXPECT_LE(found.data() + found.size(), image.data() + image.size());
    }
  }
}

TEST(PeImage, ADirectoryPointingAtItselfEnds) {
  std::vector<BYTE> image = BuildResourceImage(BuildVersionResource(SmallInfo()));
  // The type directory's entry leads back to the root directory.
  image[0x200 + 24 + 20] = 0x00;
  image[0x200 + 24 + 21] = 0x00;
  std::span<const BYTE> found;
  EXPECT_FALSE(FindVersionResource(image, found));
}

using VersionFiles = zx::test::MachineTest;

TEST_F(VersionFiles, SizeAndCopyOfAFilesResource) {
  const std::vector<BYTE> resource = BuildVersionResource(SmallInfo());
  const std::vector<BYTE> image = BuildResourceImage(resource);
  WriteHostFile(root() + "/drive_c/Windows/System32/drivers/a.sys", std::string(image.begin(), image.end()));
  DWORD handle = 7;
  EXPECT_EQ(GetFileVersionInfoSizeW(u"C:\\WINDOWS\\system32\\DRIVERS\\A.SYS", &handle), 260u);
  EXPECT_EQ(handle, 0u);
  std::vector<BYTE> copy(260);
  ASSERT_TRUE(GetFileVersionInfoW(u"C:\\Windows\\System32\\drivers\\a.sys", 0, 260, copy.data()));
  EXPECT_EQ(copy, resource);
}

TEST_F(VersionFiles, FilesWithoutOne) {
  WriteHostFile(root() + "/drive_c/readme.txt", "hello");
  EXPECT_EQ(GetFileVersionInfoSizeW(u"C:\\readme.txt", nullptr), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND));
  EXPECT_EQ(GetFileVersionInfoSizeW(u"C:\\missing.sys", nullptr), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  BYTE buffer[4];
  EXPECT_FALSE(GetFileVersionInfoW(u"C:\\readme.txt", 0, 4, buffer));
  EXPECT_FALSE(GetFileVersionInfoW(u"C:\\readme.txt", 0, 0, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(ModuleVersions, TheSystemsOwnModulesAnswerFromTheirResources) {
  WCHAR program[1024];
  const DWORD length = GetModuleFileNameW(nullptr, program, 1024);
  ASSERT_GT(length, 0u);
  // The program goes by "X.exe"; the module as the system names it ("X.dll") need not exist;
  // its resources do.
  std::u16string name(program, length);
  ASSERT_TRUE(name.ends_with(u".exe"));
  name = name.substr(0, name.size() - 4) + u".dll";
  const DWORD size = GetFileVersionInfoSizeW(name.c_str(), nullptr);
  ASSERT_GT(size, 0u) << GetLastError();
  std::vector<BYTE> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(name.c_str(), 0, size, block.data()));
  LPVOID value = nullptr;
  UINT chars = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), u"\\StringFileInfo\\040904b0\\CompanyName", &value, &chars));
  EXPECT_EQ(std::u16string(static_cast<LPCWSTR>(value)), u"Corvash Vozivuved");
  ASSERT_TRUE(VerQueryValueW(block.data(), u"\\", &value, &chars));
  EXPECT_EQ(static_cast<const VS_FIXEDFILEINFO*>(value)->dwFileVersionMS, 0x00020003u);
}

}  // namespace
}  // namespace zx::version
