// The snapshot of a dialog of the standard controls in the system's look (white, text colour
// 0x48362D) with text, a bitmap and an owner-drawn button: painted through the window system
// it matches the checked-in PNG pixel for pixel (the font is fixed). ZX_UPDATE_SNAPSHOTS=1
// writes the reference instead, after a deliberate change of the drawing.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "dialog_template.h"
#include "richedit.h"
#include "user_testing.h"
#include "windlg.h"
#include "windraw.h"
#include "wingdi.h"
#include "winresource.h"
#include "zx/gdi.h"
#include "zx/windowpaint.h"

namespace zx::test {
namespace {

constexpr COLORREF kTextColour = 0x48362D;
constexpr int kPicture = 11, kOwnerDrawn = 20, kName = 30, kSecret = 31, kKind = 40,
              kRemind = 50, kDaily = 51, kWeekly = 52, kNotes = 60;

// This file's folder: the compiler may name it relative to the build folder, the parent of
// the test programs' folder.
std::filesystem::path SourceFolder() {
  std::filesystem::path file(__FILE__);
  if (file.is_relative())
    file = std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path() / file;
  return file.parent_path();
}

std::string ReferencePath() {
  return (SourceFolder() / ".." / ".." / "data" / "snapshots" / "user" / "controls_dialog.png")
      .lexically_normal()
      .string();
}

TemplateWriter SnapshotTemplate() {
  TemplateWriter writer(WS_POPUP | WS_VISIBLE, 0, 0, 220, 170, u"Snapshot");
  writer.Item(10, u"Static", u"Scan your drivers", SS_LEFT, 8, 6, 120, 10)
      .Item(12, u"Static", u"Centred", SS_CENTER, 8, 18, 90, 10)
      .Item(13, u"Static", u"Right", SS_RIGHT, 100, 18, 60, 10)
      .Item(kPicture, u"Static", u"", SS_BITMAP, 180, 6, 20, 20)
      .Item(14, u"Static", u"", SS_ETCHEDHORZ, 8, 31, 204, 2)
      .Item(kName, u"Edit", u"Velquor", WS_TABSTOP | WS_BORDER, 8, 38, 90, 12)
      .Item(kSecret, u"Edit", u"hidden", WS_TABSTOP | WS_BORDER | ES_PASSWORD, 104, 38, 90, 12)
      .Item(kKind, u"ComboBox", u"", WS_TABSTOP | CBS_DROPDOWNLIST, 8, 56, 90, 60)
      .Item(70, u"Button", u"Schedule", BS_GROUPBOX, 104, 54, 108, 46)
      .Item(kDaily, u"Button", u"Daily", WS_TABSTOP | BS_AUTORADIOBUTTON | WS_GROUP, 110, 66, 60, 10)
      .Item(kWeekly, u"Button", u"Weekly", BS_AUTORADIOBUTTON, 110, 80, 60, 10)
      .Item(kRemind, u"Button", u"Remind me", WS_TABSTOP | BS_AUTOCHECKBOX | WS_GROUP, 8, 74, 90, 10)
      .Item(kNotes, RICHEDIT_CLASSW, u"Notes", WS_TABSTOP | ES_MULTILINE | WS_BORDER, 8, 104, 204, 30)
      .Item(kOwnerDrawn, u"Button", u"Fix", WS_TABSTOP | BS_OWNERDRAW, 8, 142, 60, 16)
      .Item(IDOK, u"Button", u"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 104, 146, 50, 14)
      .Item(IDCANCEL, u"Button", u"Cancel", WS_TABSTOP, 162, 146, 50, 14);
  return writer;
}

HBRUSH WhiteBrush() { return static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)); }

INT_PTR CALLBACK SnapshotProc(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: return FALSE;  // no focus: the picture shows no focus marks
    case WM_CTLCOLORDLG: case WM_CTLCOLORSTATIC: case WM_CTLCOLORBTN: {
      const auto dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, kTextColour);
      SetBkColor(dc, RGB(255, 255, 255));
      return reinterpret_cast<INT_PTR>(WhiteBrush());
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      HBRUSH face = CreateSolidBrush(RGB(0x09, 0x12, 0x1B));
      FillRect(item->hDC, &item->rcItem, face);
      DeleteObject(face);
      RECT text = item->rcItem;
      SetBkMode(item->hDC, TRANSPARENT);
      SetTextColor(item->hDC, RGB(255, 255, 255));
      DrawTextW(item->hDC, u"Fix", 3, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      return TRUE;
    }
    default: return FALSE;
  }
}

// A 24 x 24 picture in four flat colours.
HBITMAP Picture() {
  std::vector<DWORD> pixels(24 * 24);
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 24; ++x)
      pixels[y * 24 + x] = x < 12 ? (y < 12 ? 0xFF2D6F2Du : 0xFF1B365Au) : (y < 12 ? 0xFF993F09u : 0xFFCFC6BDu);
  return CreateBitmap(24, 24, 1, 32, pixels.data());
}

using ControlsSnapshot = UserTest;

TEST_F(ControlsSnapshot, DialogOfTheControlsMatchesTheReference) {
  const HWND dialog = CreateDialogIndirectParamW(nullptr, SnapshotTemplate().Get(), nullptr, SnapshotProc, 0);
  ASSERT_NE(dialog, nullptr);
  const HBITMAP picture = Picture();
  SendDlgItemMessageW(dialog, kPicture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
  for (const char16_t* kind : {u"Download problem", u"Install problem"})
    SendDlgItemMessageW(dialog, kKind, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kind));
  SendDlgItemMessageW(dialog, kKind, CB_SETCURSEL, 1, 0);
  CheckDlgButton(dialog, kRemind, BST_CHECKED);
  CheckRadioButton(dialog, kDaily, kWeekly, kWeekly);
  RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);

  const std::string reference = ReferencePath();
  if (const char* update = std::getenv("ZX_UPDATE_SNAPSHOTS"); update && *update == '1') {
    std::filesystem::create_directories(std::filesystem::path(reference).parent_path());
    ASSERT_TRUE(user::SaveWindowPng(dialog, reference));
    DeleteObject(picture);
    GTEST_SKIP() << "reference written to " << reference;
  }
  TempFolder folder;
  const std::string actual = folder.path() + "/controls_dialog.png";
  ASSERT_TRUE(user::SaveWindowPng(dialog, actual));
  DeleteObject(picture);
  HBITMAP want = zx::gdi::LoadPngBitmap(reference);
  HBITMAP got = zx::gdi::LoadPngBitmap(actual);
  ASSERT_NE(want, nullptr) << "no reference picture " << reference;
  ASSERT_NE(got, nullptr);
  std::vector<DWORD> wantPixels, gotPixels;
  SIZE wantSize{}, gotSize{};
  ASSERT_TRUE(zx::gdi::CopyBitmapPixels(want, wantPixels, wantSize));
  ASSERT_TRUE(zx::gdi::CopyBitmapPixels(got, gotPixels, gotSize));
  DeleteObject(want);
  DeleteObject(got);
  ASSERT_EQ(wantSize.cx, gotSize.cx);
  ASSERT_EQ(wantSize.cy, gotSize.cy);
  int different = 0, first = -1;
  for (std::size_t i = 0; i < wantPixels.size(); ++i) {
    if ((wantPixels[i] & 0xFFFFFF) == (gotPixels[i] & 0xFFFFFF)) continue;
    if (first < 0) first = static_cast<int>(i);
    ++different;
  }
  if (different > 0) {
    const std::string kept = ::testing::TempDir() + "controls_dialog_actual_" + std::to_string(::getpid()) + ".png";
    std::filesystem::copy_file(actual, kept, std::filesystem::copy_options::overwrite_existing);
    ADD_FAILURE() << different << " pixels differ, the first at (" << first % wantSize.cx << ", "
                  << first / wantSize.cx << "); the picture drawn is " << kept;
  }
}

}  // namespace
}  // namespace zx::test
