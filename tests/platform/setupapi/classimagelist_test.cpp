// The class image list: the structure's layout and size check, the list's images, class
// lookups (known, unknown, every class the machine profiles use) and refused misuse.
#include <commctrl.h>
#include <errhandlingapi.h>
#include <gtest/gtest.h>
#include <objbase.h>
#include <setupapi.h>
#include <wingdi.h>

#include <cstddef>
#include <cstring>
#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "zx/deviceclasses.h"

namespace {

GUID Guid(const char16_t* text) {
  GUID guid{};
  EXPECT_EQ(CLSIDFromString(reinterpret_cast<LPCOLESTR>(text), &guid), S_OK);
  return guid;
}

int PositionOf(const char16_t* className) {
  const auto classes = zx::devices::KnownDeviceClasses();
  return static_cast<int>(zx::devices::FindDeviceClass(className) - classes.data());
}

class ClassImageListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    data_.cbSize = sizeof data_;
    ASSERT_TRUE(SetupDiGetClassImageList(&data_));
  }
  void TearDown() override {
    if (data_.Reserved != 0) {
      EXPECT_TRUE(SetupDiDestroyClassImageList(&data_));
    }
  }

  int IndexOf(const char16_t* guidText) {
    const GUID guid = Guid(guidText);
    int index = -7;
    EXPECT_TRUE(SetupDiGetClassImageIndex(&data_, &guid, &index));
    return index;
  }

  // The pixels of image `index` drawn over a white 16 x 16 tile (0x00RRGGBB, top-down).
  std::vector<DWORD> Pixels(int index) {
    std::vector<DWORD> white(16 * 16, 0xFFFFFFFFu);
    HBITMAP tile = CreateBitmap(16, 16, 1, 32, white.data());
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, tile);
    EXPECT_TRUE(ImageList_Draw(data_.ImageList, index, dc, 0, 0, ILD_TRANSPARENT));
    SelectObject(dc, old);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 16;
    info.bmiHeader.biHeight = -16;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    std::vector<DWORD> pixels(16 * 16);
    EXPECT_EQ(GetDIBits(dc, tile, 0, 16, pixels.data(), &info, DIB_RGB_COLORS), 16);
    DeleteDC(dc);
    DeleteObject(tile);
    for (DWORD& p : pixels) p &= 0xFFFFFFu;
    return pixels;
  }

  SP_CLASSIMAGELIST_DATA data_{};
};

TEST(ClassImageListLayout, MatchesTheSixtyFourBitStructure) {
  EXPECT_EQ(sizeof(SP_CLASSIMAGELIST_DATA), 24u);
  EXPECT_EQ(offsetof(SP_CLASSIMAGELIST_DATA, cbSize), 0u);
  EXPECT_EQ(offsetof(SP_CLASSIMAGELIST_DATA, ImageList), 8u);
  EXPECT_EQ(offsetof(SP_CLASSIMAGELIST_DATA, Reserved), 16u);
  SP_CLASSIMAGELIST_DATA data;
  std::memset(&data, 0, sizeof data);
  data.cbSize = sizeof data;
  data.ImageList = reinterpret_cast<HIMAGELIST>(0x1122334455667788ull);
  data.Reserved = 0x0102030405060708ull;
  const unsigned char expected[24] = {0x18, 0, 0, 0, 0, 0, 0, 0,
                                      0x88, 0x77, 0x66, 0x55, 0x44, 0x33, 0x22, 0x11,
                                      0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01};
  EXPECT_EQ(std::memcmp(&data, expected, sizeof expected), 0);
}

TEST(ClassImageListSize, OtherSizesAreRefusedAndTheStructureLeftAlone) {
  for (DWORD size : {0u, 12u, 23u, 25u, 0xFFFFFFFFu}) {
    SP_CLASSIMAGELIST_DATA data{size, nullptr, 0};
    SetLastError(0);
    EXPECT_FALSE(SetupDiGetClassImageList(&data)) << size;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_USER_BUFFER)) << size;
    EXPECT_EQ(data.ImageList, nullptr);
    EXPECT_EQ(data.Reserved, 0u);
  }
}

TEST(ClassImageListSize, NullStructuresAreInvalidParameters) {
  SetLastError(0);
  EXPECT_FALSE(SetupDiGetClassImageList(nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  const GUID guid{};
  int index = 0;
  SetLastError(0);
  EXPECT_FALSE(SetupDiGetClassImageIndex(nullptr, &guid, &index));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  SetLastError(0);
  EXPECT_FALSE(SetupDiDestroyClassImageList(nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(ClassImageListTest, HoldsOneSmallIconPerKnownClass) {
  EXPECT_EQ(ImageList_GetImageCount(data_.ImageList),
            static_cast<int>(zx::devices::KnownDeviceClasses().size()));
  int cx = 0, cy = 0;
  ASSERT_TRUE(ImageList_GetIconSize(data_.ImageList, &cx, &cy));
  EXPECT_EQ(cx, 16);
  EXPECT_EQ(cy, 16);
  EXPECT_NE(data_.Reserved, 0u);
}

TEST_F(ClassImageListTest, EveryIconIsDistinctWithTransparentCorners) {
  std::set<std::vector<DWORD>> seen;
  const int count = ImageList_GetImageCount(data_.ImageList);
  for (int i = 0; i < count; ++i) {
    const std::vector<DWORD> pixels = Pixels(i);
    EXPECT_EQ(pixels[0], 0xFFFFFFu) << i;
    EXPECT_EQ(pixels[15], 0xFFFFFFu) << i;
    EXPECT_EQ(pixels[15 * 16], 0xFFFFFFu) << i;
    EXPECT_EQ(pixels[255], 0xFFFFFFu) << i;
    EXPECT_NE(pixels[1], 0xFFFFFFu) << i;  // the frame
    EXPECT_TRUE(seen.insert(pixels).second) << "image " << i << " repeats another";
  }
}

TEST_F(ClassImageListTest, TheUnknownIconIsGreyWithAQuestionMark) {
  const std::vector<DWORD> pixels = Pixels(PositionOf(u"Unknown"));
  EXPECT_EQ(pixels[1 * 16 + 1], 0x808080u);  // inside, away from the mark
  EXPECT_EQ(pixels[3 * 16 + 6], 0xFFFFFFu);  // top of the question mark
  EXPECT_EQ(pixels[11 * 16 + 7], 0xFFFFFFu);  // its dot
  EXPECT_EQ(pixels[9 * 16 + 7], 0x808080u);  // the gap above the dot
}

TEST_F(ClassImageListTest, KnownClassesAnswerTheirOwnImageInEitherCase) {
  EXPECT_EQ(IndexOf(u"{4d36e972-e325-11ce-bfc1-08002be10318}"), PositionOf(u"Net"));
  EXPECT_EQ(IndexOf(u"{4D36E972-E325-11CE-BFC1-08002BE10318}"), PositionOf(u"Net"));
  EXPECT_EQ(IndexOf(u"{4d36e968-e325-11ce-bfc1-08002be10318}"), PositionOf(u"Display"));
  EXPECT_EQ(IndexOf(u"{36fc9e60-c465-11cf-8056-444553540000}"), PositionOf(u"USB"));
  EXPECT_NE(PositionOf(u"Net"), PositionOf(u"Display"));
}

TEST_F(ClassImageListTest, UnknownClassesAnswerTheUnknownImage) {
  const int unknown = PositionOf(u"Unknown");
  EXPECT_EQ(IndexOf(u"{4d36e97e-e325-11ce-bfc1-08002be10318}"), unknown);
  EXPECT_EQ(IndexOf(u"{00000000-0000-0000-0000-000000000000}"), unknown);
  EXPECT_EQ(IndexOf(u"{7f2a0000-1c3d-11e5-9a7e-806e6f6e6963}"), unknown);
  // One bit away from a known class is still another class.
  EXPECT_EQ(IndexOf(u"{4d36e972-e325-11ce-bfc1-08002be10319}"), unknown);
}

TEST_F(ClassImageListTest, EveryClassOfTheMachineProfilesHasItsOwnImage) {
  const std::regex classLine(R"(^\s*class\s*=\s*(\S+)\s*$)");
  int checked = 0;
  for (const char* profile : {"laptop.profile", "desktop.profile"}) {
    std::ifstream file(std::string(ZX_PROFILES_DIR) + "/" + profile);
    ASSERT_TRUE(file) << profile;
    for (std::string line; std::getline(file, line);) {
      std::smatch match;
      if (!std::regex_match(line, match, classLine)) continue;
      const std::string name8 = match[1].str();
      const std::u16string className(name8.begin(), name8.end());
      const auto* known = zx::devices::FindDeviceClass(className);
      ASSERT_NE(known, nullptr) << line;
      EXPECT_EQ(IndexOf(std::u16string(known->guid).c_str()), PositionOf(className.c_str())) << line;
      ++checked;
    }
  }
  EXPECT_GT(checked, 5);
}

TEST_F(ClassImageListTest, IndexLookupsRefuseMissingArguments) {
  const GUID guid = Guid(u"{4d36e972-e325-11ce-bfc1-08002be10318}");
  int index = 99;
  SetLastError(0);
  EXPECT_FALSE(SetupDiGetClassImageIndex(&data_, nullptr, &index));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(index, 99);
  SetLastError(0);
  EXPECT_FALSE(SetupDiGetClassImageIndex(&data_, &guid, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(ClassImageListTest, IndexLookupsRefuseABadSizeOrForeignData) {
  const GUID guid = Guid(u"{4d36e972-e325-11ce-bfc1-08002be10318}");
  int index = 99;
  SP_CLASSIMAGELIST_DATA wrongSize = data_;
  wrongSize.cbSize = 12;
  SetLastError(0);
  EXPECT_FALSE(SetupDiGetClassImageIndex(&wrongSize, &guid, &index));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_USER_BUFFER));
  SP_CLASSIMAGELIST_DATA neverFilled{sizeof(SP_CLASSIMAGELIST_DATA), nullptr, 0};
  SetLastError(0);
  EXPECT_FALSE(SetupDiGetClassImageIndex(&neverFilled, &guid, &index));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_USER_BUFFER));
  SP_CLASSIMAGELIST_DATA forged = data_;
  forged.Reserved = reinterpret_cast<ULONG_PTR>(&index);
  SetLastError(0);
  EXPECT_FALSE(SetupDiGetClassImageIndex(&forged, &guid, &index));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_USER_BUFFER));
  EXPECT_FALSE(SetupDiDestroyClassImageList(&forged));
  EXPECT_EQ(index, 99);
}

TEST_F(ClassImageListTest, DestroyingEmptiesTheStructureAndASecondDestroyIsRefused) {
  SP_CLASSIMAGELIST_DATA copy = data_;
  ASSERT_TRUE(SetupDiDestroyClassImageList(&data_));
  EXPECT_EQ(data_.ImageList, nullptr);
  EXPECT_EQ(data_.Reserved, 0u);
  SetLastError(0);
  EXPECT_FALSE(SetupDiDestroyClassImageList(&copy));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_USER_BUFFER));
  const GUID guid{};
  int index = 0;
  EXPECT_FALSE(SetupDiGetClassImageIndex(&copy, &guid, &index));
  EXPECT_EQ(ImageList_GetImageCount(copy.ImageList), 0);
}

TEST(ClassImageLists, AreIndependentOfEachOther) {
  SP_CLASSIMAGELIST_DATA first{sizeof(SP_CLASSIMAGELIST_DATA), nullptr, 0};
  SP_CLASSIMAGELIST_DATA second = first;
  ASSERT_TRUE(SetupDiGetClassImageList(&first));
  ASSERT_TRUE(SetupDiGetClassImageList(&second));
  EXPECT_NE(first.ImageList, second.ImageList);
  EXPECT_NE(first.Reserved, second.Reserved);
  ASSERT_TRUE(SetupDiDestroyClassImageList(&first));
  const GUID net = Guid(u"{4d36e972-e325-11ce-bfc1-08002be10318}");
  int index = -1;
  EXPECT_TRUE(SetupDiGetClassImageIndex(&second, &net, &index));
  EXPECT_EQ(index, PositionOf(u"Net"));
  EXPECT_EQ(ImageList_GetImageCount(second.ImageList),
            static_cast<int>(zx::devices::KnownDeviceClasses().size()));
  EXPECT_TRUE(SetupDiDestroyClassImageList(&second));
}

}  // namespace
