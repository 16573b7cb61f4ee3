// Resources of a module, from the compiled resource file beside the test program: finding and
// loading each kind, strings, bitmaps, icons and cursors, and files that can't be used.
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "errhandlingapi.h"
#include "gdiplus.h"
#include "libloaderapi.h"
#include "machine_fixture.h"
#include "windraw.h"
#include "winresource.h"
#include "zx/gdi.h"
#include "zx/pathmap.h"
#include "zx/resmodule.h"
#include "zx/restemplates.h"

namespace zx::test {
namespace {

using zx::res::DialogTemplate;
using zx::res::NameOrNumber;

// The module is the test program itself (null handle).
constexpr HMODULE kProgram = nullptr;

std::vector<DWORD> PixelsOf(HBITMAP bitmap, SIZE& size) {
  std::vector<DWORD> pixels;
  EXPECT_TRUE(zx::gdi::CopyBitmapPixels(bitmap, pixels, size));
  return pixels;
}

TEST(FindResource, DialogTemplateOfTheProgram) {
  HRSRC found = FindResourceW(kProgram, MAKEINTRESOURCEW(1264), RT_DIALOG);
  ASSERT_NE(found, nullptr) << GetLastError();
  const DWORD size = SizeofResource(kProgram, found);
  const void* bytes = LockResource(LoadResource(kProgram, found));
  ASSERT_NE(bytes, nullptr);
  EXPECT_EQ(reinterpret_cast<ULONG_PTR>(bytes) % 4, 0u);
  DialogTemplate d;
  std::string error;
  ASSERT_TRUE(zx::res::ReadDialogTemplate(bytes, size, d, error)) << error;
  EXPECT_TRUE(d.extended);
  // STYLE DS_SETFONT | DS_MODALFRAME | WS_POPUP, and CAPTION adds WS_CAPTION.
  EXPECT_EQ(d.style, 0x40u | 0x80u | 0x80000000u | 0x00C00000u);
  EXPECT_EQ(d.exStyle, 0x80u);
  EXPECT_EQ(d.title, u"About");
  EXPECT_EQ(d.pointSize, 8);
  EXPECT_EQ(d.face, u"Tahoma");
  ASSERT_EQ(d.items.size(), 4u);
  EXPECT_EQ(d.items[0].id, 1u);
  EXPECT_EQ(d.items[0].style, 0x50000000u | 0x0Bu | 0x00010000u);
  EXPECT_EQ(d.items[0].windowClass.number, 0x80);
  EXPECT_EQ(d.items[1].id, 0xFFFFFFFFu);
  EXPECT_EQ(d.items[1].windowClass.number, 0x82);
  EXPECT_EQ(d.items[2].title.kind, NameOrNumber::Kind::Number);
  EXPECT_EQ(d.items[2].title.number, 1287);
  EXPECT_EQ(d.items[3].windowClass.text, u"SysListView32");
  EXPECT_EQ(d.items[3].style, 0x40000000u | 0x1u);  // NOT WS_VISIBLE
  EXPECT_EQ(d.items[3].exStyle, 0x200u);
  EXPECT_EQ(d.items[3].title.kind, NameOrNumber::Kind::None);
}

TEST(FindResource, NamesAndNumbersAsWindowsWritesThem) {
  EXPECT_NE(FindResourceW(kProgram, u"settings", RT_RCDATA), nullptr);  // any case
  EXPECT_NE(FindResourceW(kProgram, u"#1398", u"AVI"), nullptr);
  EXPECT_NE(FindResourceW(kProgram, MAKEINTRESOURCEW(1364), u"png"), nullptr);
  HRSRC html = FindResourceW(kProgram, MAKEINTRESOURCEW(1404), RT_HTML);
  ASSERT_NE(html, nullptr);
  const std::string page(static_cast<const char*>(LockResource(LoadResource(kProgram, html))),
                         SizeofResource(kProgram, html));
  EXPECT_NE(page.find("id=\"message\""), std::string::npos);
}

TEST(FindResource, MissingResourcesSayWhatIsMissing) {
  SetLastError(0);
  EXPECT_EQ(FindResourceW(kProgram, MAKEINTRESOURCEW(9999), RT_DIALOG), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
  EXPECT_EQ(FindResourceW(kProgram, MAKEINTRESOURCEW(1), u"NOTHING"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND));
  EXPECT_EQ(FindResourceExW(kProgram, RT_DIALOG, MAKEINTRESOURCEW(1264), 0x0407), nullptr);
  EXPECT_NE(FindResourceExW(kProgram, RT_DIALOG, MAKEINTRESOURCEW(1264), 0x0409), nullptr);
  const HRSRC stray = reinterpret_cast<HRSRC>(static_cast<ULONG_PTR>(0x1234560));
  EXPECT_EQ(LoadResource(kProgram, stray), nullptr);
  EXPECT_EQ(SizeofResource(kProgram, stray), 0u);
  EXPECT_FALSE(FreeResource(nullptr));
}

TEST(LoadString, CopiesTruncatesAndPointsIntoTheResources) {
  WCHAR buffer[32];
  EXPECT_EQ(LoadStringW(kProgram, 1, buffer, 32), 5);
  EXPECT_EQ(std::u16string(buffer), u"First");
  EXPECT_EQ(LoadStringW(kProgram, 17, buffer, 32), 15);
  EXPECT_EQ(std::u16string(buffer), u"Seventeen &Save");
  EXPECT_EQ(LoadStringW(kProgram, 100, buffer, 32), 15);
  EXPECT_EQ(std::u16string(buffer), u"caf\u00e9 \u2013 \"quoted\"");
  EXPECT_EQ(LoadStringW(kProgram, 1, buffer, 3), 2);  // truncated and terminated
  EXPECT_EQ(std::u16string(buffer), u"Fi");
  const WCHAR* text = nullptr;
  EXPECT_EQ(LoadStringW(kProgram, 17, reinterpret_cast<LPWSTR>(&text), 0), 15);
  EXPECT_EQ(std::u16string(text, 15), u"Seventeen &Save");
  buffer[0] = u'x';
  EXPECT_EQ(LoadStringW(kProgram, 2, buffer, 32), 0);  // in a block, but empty
  EXPECT_EQ(buffer[0], 0);
  EXPECT_EQ(LoadStringW(kProgram, 5000, buffer, 32), 0);  // no such block
  EXPECT_EQ(LoadStringW(kProgram, 1, nullptr, 32), 0);
}

TEST(LoadBitmap, StripOfFourDistinctStates) {
  HBITMAP strip = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1019));
  ASSERT_NE(strip, nullptr);
  SIZE size{};
  const std::vector<DWORD> p = PixelsOf(strip, size);
  EXPECT_EQ(size.cx, 40);
  EXPECT_EQ(size.cy, 6);
  const DWORD states[4] = {p[0], p[10], p[20], p[30]};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(states[i] >> 24, 0xFFu);
    EXPECT_EQ(p[i * 10 + 9], states[i]);            // flat within a state
    EXPECT_EQ(p[5 * 40 + i * 10 + 3], states[i]);   // and down the rows
    for (int j = 0; j < i; ++j) EXPECT_NE(states[i], states[j]) << i << " " << j;
  }
  DeleteObject(strip);
  HBITMAP panel = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1096));
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(PixelsOf(panel, size)[0], 0xFF336699u);  // the colour the list names
  DeleteObject(panel);
  EXPECT_EQ(LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(4242)), nullptr);
  EXPECT_EQ(LoadBitmapW(nullptr, MAKEINTRESOURCEW(1019)), nullptr);
}

TEST(LoadImage, IconsTakeTheClosestSize) {
  HMODULE self = GetModuleHandleW(nullptr);
  for (int side : {16, 32, 48}) {
    HICON icon = static_cast<HICON>(LoadImageW(self, MAKEINTRESOURCEW(1287), IMAGE_ICON, side, side, 0));
    ASSERT_NE(icon, nullptr) << side;
    SIZE size{};
    ASSERT_TRUE(zx::gdi::GetIconSize(icon, size));
    EXPECT_EQ(size.cx, side);
    DestroyIcon(icon);
  }
  HICON near20 = static_cast<HICON>(LoadImageW(self, MAKEINTRESOURCEW(1287), IMAGE_ICON, 20, 20, 0));
  SIZE size{};
  zx::gdi::GetIconSize(near20, size);
  EXPECT_EQ(size.cx, 16);
  DestroyIcon(near20);
}

TEST(LoadImage, SharedIconsAndCursorsAreOneHandle) {
  HMODULE self = GetModuleHandleW(nullptr);
  HICON a = LoadIconW(self, MAKEINTRESOURCEW(1287));
  HICON b = LoadIconW(self, MAKEINTRESOURCEW(1287));
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a, b);
  SIZE size{};
  zx::gdi::GetIconSize(a, size);
  EXPECT_EQ(size.cx, 32);
  HCURSOR hand = LoadCursorW(self, MAKEINTRESOURCEW(1228));
  ASSERT_NE(hand, nullptr);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(hand, &info));
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 5u);
  EXPECT_EQ(info.yHotspot, 1u);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  // A shared handle destroyed by mistake is made afresh.
  DestroyIcon(a);
  HICON c = LoadIconW(self, MAKEINTRESOURCEW(1287));
  EXPECT_TRUE(zx::gdi::GetIconSize(c, size));
}

TEST(LoadImage, SystemIconsAndCursorsAreDistinctPlaceholders) {
  HICON application = LoadIconW(nullptr, IDI_APPLICATION);
  HICON warning = LoadIconW(nullptr, IDI_WARNING);
  HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
  HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
  ASSERT_NE(application, nullptr);
  ASSERT_NE(arrow, nullptr);
  auto colourAtCentre = [](HICON icon, int x, int y) {
    ICONINFO info{};
    GetIconInfo(icon, &info);
    std::vector<DWORD> pixels;
    SIZE size{};
    zx::gdi::CopyBitmapPixels(info.hbmColor, pixels, size);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return pixels[y * size.cx + x];
  };
  EXPECT_NE(colourAtCentre(application, 16, 16), colourAtCentre(warning, 16, 16));
  EXPECT_NE(colourAtCentre(arrow, 2, 10), colourAtCentre(hand, 2, 10));
  EXPECT_EQ(colourAtCentre(application, 0, 0), 0u);  // transparent corner
}

TEST(LoadImage, PngResourceDecodesThroughGdiplus) {
  HRSRC png = FindResourceW(kProgram, MAKEINTRESOURCEW(1364), u"PNG");
  ASSERT_NE(png, nullptr);
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  ASSERT_EQ(Gdiplus::GdiplusStartup(&token, &input, nullptr), Gdiplus::Ok);
  Gdiplus::Bitmap* image = zx::gdiplus::BitmapFromMemory(LockResource(LoadResource(kProgram, png)),
                                                         SizeofResource(kProgram, png));
  ASSERT_EQ(image->GetLastStatus(), Gdiplus::Ok);
  EXPECT_EQ(image->GetWidth(), 6u);
  EXPECT_EQ(image->GetHeight(), 4u);
  delete image;
  Gdiplus::GdiplusShutdown(token);
}

class ResourceFiles : public MachineTest {
 protected:
  std::string ProgramResources() {
    WCHAR name[1024];
    const DWORD length = GetModuleFileNameW(nullptr, name, 1024);
    std::string host;
    EXPECT_TRUE(zx::path::WindowsToHost(std::u16string_view(name, length), host));
    return zx::res::ResourceFilePath(host);
  }
  std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
};

TEST_F(ResourceFiles, FileNamesBesideTheModule) {
  EXPECT_EQ(zx::res::ResourceFilePath("/opt/bin/zephrinkxhelper.so"), "/opt/bin/zephrinkxhelper.res");
  EXPECT_EQ(zx::res::ResourceFilePath("/opt/bin/zephrinkx"), "/opt/bin/zephrinkx.res");
  EXPECT_EQ(zx::res::ResourceFilePath("/opt/bin/Setup.EXE"), "/opt/bin/Setup.res");
  EXPECT_EQ(zx::res::ResourceFilePath("/opt/bin/qvxres.dll"), "/opt/bin/qvxres.res");
  EXPECT_EQ(zx::res::ResourceFilePath("/opt/.so"), "/opt/.so.res");
}

TEST_F(ResourceFiles, DataModuleOverACopyOfTheFile) {
  const std::string copy = root() + "/copy.res";
  WriteHostFile(copy, ReadAll(ProgramResources()));
  HMODULE module = zx::res::OpenResourceModule(copy);
  ASSERT_NE(module, nullptr);
  WCHAR buffer[16];
  EXPECT_EQ(LoadStringW(module, 1, buffer, 16), 5);
  EXPECT_TRUE(zx::res::CloseResourceModule(module));
  EXPECT_FALSE(zx::res::CloseResourceModule(module));
}

TEST_F(ResourceFiles, DamagedOrMissingFilesAreRefused) {
  std::string bytes = ReadAll(ProgramResources());
  bytes[bytes.size() / 2] ^= 0x40;
  const std::string damaged = root() + "/damaged.res";
  WriteHostFile(damaged, bytes);
  SetLastError(0);
  EXPECT_EQ(zx::res::OpenResourceModule(damaged), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_FORMAT));
  EXPECT_EQ(zx::res::OpenResourceModule(root() + "/absent.res"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_DATA_NOT_FOUND));
  WriteHostFile(root() + "/empty.res", "");
  EXPECT_EQ(zx::res::OpenResourceModule(root() + "/empty.res"), nullptr);
}

TEST_F(ResourceFiles, ChangedFileIsReadAgainAndOldResourcesStayValid) {
  const std::string path = root() + "/changing.res";
  const std::string original = ReadAll(ProgramResources());
  WriteHostFile(path, original);
  HMODULE module = zx::res::OpenResourceModule(path);
  ASSERT_NE(module, nullptr);
  const WCHAR* before = nullptr;
  ASSERT_EQ(LoadStringW(module, 1, reinterpret_cast<LPWSTR>(&before), 0), 5);
  // Replace the file (a new inode) with one lacking the dialog.
  std::string other;
  {
    std::string error;
    std::vector<BYTE> file;
    ASSERT_TRUE(zx::res::WriteResourceFile(
        {{zx::res::ResourceId::Number(zx::res::kRcData), zx::res::ResourceId::Number(1), 0x409, {1}}},
        file, error));
    other.assign(file.begin(), file.end());
  }
  WriteHostFile(path + ".new", other);
  ASSERT_EQ(std::rename((path + ".new").c_str(), path.c_str()), 0);
  EXPECT_EQ(FindResourceW(module, MAKEINTRESOURCEW(1264), RT_DIALOG), nullptr);
  EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(1), RT_RCDATA), nullptr);
  EXPECT_EQ(std::u16string(before, 5), u"First");  // the old text is still readable
  zx::res::CloseResourceModule(module);
}

}  // namespace
}  // namespace zx::test
