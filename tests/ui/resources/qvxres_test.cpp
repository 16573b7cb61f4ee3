// The resource library qvxres: found by the shared library, and holding every bitmap, icon,
// cursor, PNG image, animation, dialog template and HTML page of the shared windows by id, at
// the sizes the windows draw them.
#include <gtest/gtest.h>

#include "GdiPlusBitmapResource.h"
#include "HalvoranApp.h"
#include "machine_fixture.h"
#include "winresource.h"
#include "zx/restemplates.h"

namespace zx::test {
namespace {

class ResourceLibrary : public MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    module_ = GetResourceModule();
    ASSERT_NE(module_, nullptr);
  }
  SIZE BitmapSize(UINT id) {
    SIZE size{-1, -1};
    const HBITMAP bitmap = LoadBitmapW(module_, MAKEINTRESOURCEW(id));
    if (bitmap == nullptr) return size;
    BITMAP info{};
    if (GetObjectW(bitmap, sizeof(info), &info)) size = SIZE{info.bmWidth, info.bmHeight};
    DeleteObject(bitmap);
    return size;
  }
  HMODULE module_ = nullptr;
};

TEST_F(ResourceLibrary, IsTheSharedLibrarysResourceModule) {
  EXPECT_EQ(GetResourceModule(), module_);
  EXPECT_NE(GetProcAddress(module_, "zx_qvxres_module"), nullptr);
}

TEST_F(ResourceLibrary, EveryBitmapOfTheSharedWindowsLoads) {
  const UINT ids[] = {1018, 1019, 1021, 1023, 1024, 1025, 1026, 1027, 1028, 1029, 1030, 1036,
                      1037, 1038, 1039, 1041, 1042, 1046, 1048, 1049, 1050, 1051, 1057, 1059,
                      1061, 1062, 1063, 1064, 1065, 1070, 1074, 1075, 1076, 1087, 1088, 1089,
                      1090, 1091, 1092, 1094, 1095, 1096, 1098, 1102, 1103, 1104, 1105, 1106,
                      1107, 1108, 1109, 1110, 1111, 1112, 1117, 1118, 1125, 1128, 1142, 1152,
                      1154, 1160, 1170, 1458, 1461, 1486, 1487, 1502};
  for (UINT id : ids) {
    const SIZE size = BitmapSize(id);
    EXPECT_GT(size.cx, 0) << id;
    EXPECT_GT(size.cy, 0) << id;
  }
}

struct Sized {
  UINT id;
  LONG width;
  LONG height;
};

TEST_F(ResourceLibrary, BitmapsHaveTheSizesTheWindowsDrawThemAt) {
  const Sized table[] = {
      {1096, 168, 473},  // left panel background
      {1094, 591, 64},   // large page header, page width
      {1070, 400, 22},   // tab strip: four states of 100 x 22
      {1038, 129, 18},   // close button: three states of 43 x 18
      {1064, 129, 18},
      {1063, 75, 18},    // maximise and restore: three states of 25 x 18
      {1062, 75, 18},
      {1051, 237, 23},   // message-box buttons: three states of 79 x 23
      {1065, 237, 23},
      {1074, 480, 28},   // large buttons: four states of 120 x 28
      {1076, 480, 28},
      {1092, 75, 16},    // check images, 15 pixels each
      {1039, 96, 24},    // tool list images, 24 x 24
      {1023, 5, 50},     // horizontal bar caps and middle column
      {1024, 1, 50},
      {1026, 40, 50},
      {1089, 545, 1},    // rounded box body line
      {1090, 516, 2},    // title rule
      {1088, 24, 24},    // page badge
  };
  for (const Sized& s : table) {
    const SIZE size = BitmapSize(s.id);
    EXPECT_EQ(size.cx, s.width) << s.id;
    EXPECT_EQ(size.cy, s.height) << s.id;
  }
}

TEST_F(ResourceLibrary, MissingBitmapDoesNotLoad) {
  EXPECT_EQ(LoadBitmapW(module_, MAKEINTRESOURCEW(1161)), nullptr);  // "no logo"
}

TEST_F(ResourceLibrary, IconsAtLargeAndSmallSizes) {
  for (UINT id : {1287u, 1294u, 1113u, 1114u, 1115u, 1116u}) {
    const HICON large =
        static_cast<HICON>(LoadImageW(module_, MAKEINTRESOURCEW(id), IMAGE_ICON, 32, 32, 0));
    EXPECT_NE(large, nullptr) << id;
    if (large) DestroyIcon(large);
  }
  for (UINT id : {1287u, 1294u}) {
    const HICON small =
        static_cast<HICON>(LoadImageW(module_, MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, 0));
    EXPECT_NE(small, nullptr) << id;
    if (small) DestroyIcon(small);
  }
}

TEST_F(ResourceLibrary, HandCursor) {
  EXPECT_NE(LoadCursorW(module_, MAKEINTRESOURCEW(1228)), nullptr);
}

TEST_F(ResourceLibrary, PngImagesDecode) {
  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartupInput input;
  ASSERT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Gdiplus::Ok);
  {
    CGdiPlusBitmapResource numbers(1364, u"PNG", module_);
    ASSERT_NE(numbers.GetBitmap(), nullptr);
    EXPECT_EQ(numbers.GetBitmap()->GetWidth(), 240u);  // 24 x 24 cells, two rows
    EXPECT_EQ(numbers.GetBitmap()->GetHeight(), 48u);
    for (UINT id : {1348u, 1352u, 1353u, 1354u, 1355u, 1356u, 1357u, 1358u, 1374u}) {
      CGdiPlusBitmapResource image(id, u"PNG", module_);
      EXPECT_NE(image.GetBitmap(), nullptr) << id;
    }
  }
  Gdiplus::GdiplusShutdown(token);
}

TEST_F(ResourceLibrary, AnimationsAndThePage) {
  for (UINT id : {1398u, 1408u}) {
    const HRSRC clip = FindResourceW(module_, MAKEINTRESOURCEW(id), u"AVI");
    ASSERT_NE(clip, nullptr) << id;
    const auto* bytes = static_cast<const char*>(LockResource(LoadResource(module_, clip)));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(std::string(bytes, 4), "RIFF");
    EXPECT_EQ(std::string(bytes + 8, 4), "AVI ");
  }
  const HRSRC page = FindResourceW(module_, MAKEINTRESOURCEW(1404), RT_HTML);
  ASSERT_NE(page, nullptr);
  const auto* html = static_cast<const char*>(LockResource(LoadResource(module_, page)));
  const std::string text(html, SizeofResource(module_, page));
  EXPECT_NE(text.find("function SetText("), std::string::npos);
}

// The templates the shared popups, the left panel, the main window, the message box and the
// restore-point wait dialog are made from.
TEST_F(ResourceLibrary, EveryDialogTemplateOfTheSharedWindowsReads) {
  for (UINT id : {1264u, 1265u, 1267u, 1268u, 1272u, 1273u, 1274u, 1276u, 1284u, 12560u}) {
    const HRSRC found = FindResourceW(module_, MAKEINTRESOURCEW(id), RT_DIALOG);
    ASSERT_NE(found, nullptr) << id;
    const void* bytes = LockResource(LoadResource(module_, found));
    res::DialogTemplate dialog;
    std::string error;
    EXPECT_TRUE(res::ReadDialogTemplate(bytes, SizeofResource(module_, found), dialog, error)) << id << error;
    EXPECT_TRUE(dialog.hasFont) << id;
    EXPECT_GT(dialog.cx, 0) << id;
  }
}

}  // namespace
}  // namespace zx::test
