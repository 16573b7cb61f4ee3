// Shared by the owner-drawn list tests: the resource library qvxres as the class library's
// resource module, and a CFancyListCtrl with a check, an image and a detail column in the
// owner window.
#pragma once
#include <string>
#include <vector>

#include "FancyListCtrl.h"
#include "libloaderapi.h"
#include "list_testing.h"
#include "zx/pathmap.h"

namespace zx::test {

// Two 16 x 16 images: a green square and a blue diamond on a magenta key.
inline HIMAGELIST TwoImages() {
  std::vector<DWORD> strip(32 * 16, 0xFFFF00FFu);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      if (x >= 3 && x < 13 && y >= 3 && y < 13) strip[static_cast<std::size_t>(y * 32 + x)] = 0xFF2E8B57u;
      if (std::abs(x - 8) + std::abs(y - 8) < 7) strip[static_cast<std::size_t>(y * 32 + 16 + x)] = 0xFF1E64C8u;
    }
  HBITMAP bitmap = CreateBitmap(32, 16, 1, 32, strip.data());
  HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 2, 1);
  ImageList_AddMasked(list, bitmap, RGB(255, 0, 255));
  DeleteObject(bitmap);
  return list;
}

class FancyListTest : public ListWindowTest {
 protected:
  static constexpr int kListId = 320;
  void SetUp() override {
    ListWindowTest::SetUp();
    const std::u16string path = path::HostToWindows(ZX_QVXRES_FILE);
    library_ = LoadLibraryW(path.c_str());
    ASSERT_NE(library_, nullptr);
    previous_ = AfxGetResourceHandle();
    AfxSetResourceHandle(library_);
    images_.Attach(TwoImages());
    ASSERT_TRUE(list_.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDRAWFIXED | LVS_SHOWSELALWAYS,
                             CRect(0, 0, 400, 220), &owner_, kListId));
  }
  void TearDown() override {
    list_.DestroyWindow();
    AfxSetResourceHandle(previous_);
    FreeLibrary(library_);
    ListWindowTest::TearDown();
  }
  // Check column 0 (20 px), image column 1 (30 px), detail column 2 (200 px, showing
  // sub-item 0) and a "Version" column 3 (80 px, sub-item 3).
  void MakeColumns() {
    ASSERT_EQ(list_.InsertDetailColumn(0, u"Driver", 200, 0), 0);
    ASSERT_EQ(list_.InsertCheckColumn(0, u"", 20), 0);
    ASSERT_EQ(list_.InsertImageColumn(1, &images_, u"", 30), 1);
    ASSERT_EQ(list_.InsertColumn(3, u"Version", LVCFMT_LEFT, 80, 3), 3);
  }
  int AddRow(const char16_t* text, int image = 0) {
    LVITEM item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = list_.GetItemCount();
    item.iImage = image;
    item.pszText = const_cast<LPTSTR>(text);
    return list_.InsertItem(&item);
  }
  int ShownRowHeight() {
    CRect r;
    EXPECT_TRUE(list_.GetItemRect(0, &r, LVIR_BOUNDS));
    return r.Height();
  }
  static void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }

  HMODULE library_ = nullptr;
  HINSTANCE previous_ = nullptr;
  CImageList images_;
  CFancyListCtrl list_;
};

}  // namespace zx::test
