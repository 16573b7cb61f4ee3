// Helpers of the dialog tests.
#include "dialogs_testing.h"

#include <filesystem>
#include <fstream>

#include "DlgBaseMessageBoxWndBase.h"
#include "DlgBaseShared.h"
#include "DlgCreateRestorePoint.h"
#include "HalvoranApp.h"
#include "snapshot_compare.h"
#include "zx/gdi.h"
#include "zx/input.h"
#include "zx/menus.h"
#include "zx/modal.h"
#include "zx/msgbox.h"
#include "zx/windowpaint.h"

namespace zx::test {

namespace {

// The language file beside the shared library. Texts are read once per process, so every
// test writes the same file.
std::filesystem::path LanguageFile() { return std::filesystem::read_symlink("/proc/self/exe").parent_path() / "qvx.ini"; }

constexpr char kLanguageTexts[] =
    "[QVX]\r\n"
    "IDS_OK=OK\r\nIDS_CANCEL=Cancel\r\nIDS_YES=Yes\r\nIDS_NO=No\r\n"
    "IDS_CHK_MSGBOX=Do not show this again\r\n"
    "IDD_DLG_ABOUT=About\r\nIDOK=OK\r\nID_OPENWEBSITE=Visit our web site\r\nIDC_BTN_SUPPORT=Mail support\r\n"
    "IDS_QVX_DESC=%s keeps the drivers of this computer up to date and backs them up before every change, "
    "so that any driver can be put back as it was. It looks for updates of every device.\r\n"
    "IDS_QVX_VERSION=Version %s\r\nIDS_VERSION=Version\r\n"
    "IDS_TRAD_OWNERS=All trademarks belong to their owners.\r\n"
    "IDS_QVX_WARNING=Warning: this program is protected by copyright law.\r\n"
    // The driver-age levels dialog of the main program.
    "IDS_HWOLD_DRIVER=How old is a driver?\r\nIDS_STATUS_BAR_UPDATE=Keep every device working at its best.\r\n"
    "IDS_LEVELS=Driver age levels\r\nIDS_OLD=Old\r\nIDS_DRIVRERECENTLY_INSTALL=A newer driver came out lately.\r\n"
    "IDS_VERY_OLD=Very old\r\nIDS_LVL_UPDATE_REQUUIRED=An update is required.\r\nIDS_ANCIENT=Ancient\r\n"
    "IDS_LVL_UPDATE_IMMEDIATELY=Update at once.\r\nIDS_LVL_CRITERIA=What sets the level\r\n"
    "IDS_LVL_CRITERIA_DESC1=The installed driver's date.\r\nIDS_LVL_CRITERIA_DESC2=The newest driver's date.\r\n"
    "IDS_LVL_CRITERIA_DESC3=<b>Not</b> markup & 100% text.\r\n"
    "[IDD_DLG_CREATE_RESTORE_POINT]\r\n"
    "IDC_ST_PLS_WAIT=%s is making a restore point. Please wait.\r\n";

}  // namespace

void DialogTest::SetUp() {
  MachineTest::SetUp();
  std::ofstream(LanguageFile()) << kLanguageTexts;
  SetClock(&clock_);
  user::SetMessageBoxResponder([](const user::MessageBoxCall&) { return IDOK; });
  user::ResetInput();
  // The caption the frames draw when no application title is loaded.
  g_strAppName = u"Zephrin Tunevo";
  previous_ = AfxGetResourceHandle();
  const HMODULE resources = GetResourceModule();
  ASSERT_NE(resources, nullptr);
  AfxSetResourceHandle(resources);
}

void DialogTest::TearDown() {
  user::SetIdleHook(nullptr);
  Pump();
  AfxSetResourceHandle(previous_);
  user::SetMessageBoxResponder(nullptr);
  user::ResetInput();
  g_strAppName.Empty();
  std::filesystem::remove(LanguageFile());
  SetClock(nullptr);
  MachineTest::TearDown();
}

void DialogTest::WhileModal(std::vector<std::function<bool()>> steps) {
  steps_ = std::move(steps);
  next_ = 0;
  user::SetIdleHook([this] {
    if (next_ < steps_.size() && steps_[next_]()) ++next_;
  });
}

void DialogTest::ExpectAllStepsRan() {
  user::SetIdleHook(nullptr);
  EXPECT_EQ(next_, steps_.size()) << "steps that never ran";
}

void DialogTest::AnswerBox(int button, CString* shown) {
  WhileModal({[button, shown] {
    auto* box = dynamic_cast<CDlgBaseMessageBoxWndBase*>(CWnd::FromHandle(ActiveWindow()));
    if (box == nullptr) return false;
    if (shown) *shown = box->GetText();
    Click(::GetDlgItem(box->m_hWnd, kMessageBoxFirstButton + button));
    return true;
  }});
}

void DialogTest::Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

void DialogTest::Key(int virtualKey, bool down) { user::InjectKey(virtualKey, down); }

void DialogTest::Tap(int virtualKey) {
  Key(virtualKey, true);
  Key(virtualKey, false);
}

void DialogTest::Click(HWND window) {
  RECT r{};
  ::GetWindowRect(window, &r);
  ClickAt(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

void DialogTest::ClickAt(POINT screen) {
  user::InjectMouse(screen, WM_MOUSEMOVE);
  user::InjectMouse(screen, WM_LBUTTONDOWN);
  user::InjectMouse(screen, WM_LBUTTONUP);
}

HWND DialogTest::ActiveWindow() { return ::GetActiveWindow(); }

std::vector<COLORREF> DialogTest::Pixels(HWND window, SIZE& size) {
  TempFolder temp;
  const std::string path = temp.path() + "/window.png";
  std::vector<COLORREF> pixels;
  if (!user::SaveWindowPng(window, path)) return pixels;
  const HBITMAP bitmap = gdi::LoadPngBitmap(path);
  std::vector<DWORD> bits;
  if (bitmap && gdi::CopyBitmapPixels(bitmap, bits, size))
    for (DWORD p : bits) pixels.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
  if (bitmap) ::DeleteObject(bitmap);
  return pixels;
}

COLORREF DialogTest::PictureColour(UINT id, int x, int y) {
  const HDC dc = ::CreateCompatibleDC(nullptr);
  const HGDIOBJ old = ::SelectObject(dc, SharedBitmap(id).GetSafeHandle());
  const COLORREF colour = ::GetPixel(dc, x, y);
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  return colour;
}

void DialogTest::ExpectWindowMatches(HWND window, const std::string& name, bool redrawn) {
  TempFolder temp;
  const std::string drawn = temp.path() + "/" + name;
  ASSERT_TRUE(redrawn ? user::SaveRedrawnWindowPng(window, drawn) : user::SaveWindowPng(window, drawn));
  ExpectSameAsReference(drawn, std::string(ZX_UI_SNAPSHOTS) + "/" + name, name.substr(0, name.find('.')));
}

void DialogTest::ExpectScreenMatches(const RECT& area, const std::string& name) {
  TempFolder temp;
  const std::string drawn = temp.path() + "/" + name;
  ASSERT_TRUE(user::SaveScreenPng(drawn, &area));
  ExpectSameAsReference(drawn, std::string(ZX_UI_SNAPSHOTS) + "/" + name, name.substr(0, name.find('.')));
}

CString DialogTest::ShownRestorePointWaitText() {
  CString shown;
  CDlgCreateRestorePoint dialog;
  WhileModal({[&] {
    ::GetDlgItemTextW(dialog.GetSafeHwnd(), 12549, shown.GetBuffer(256), 256);
    shown.ReleaseBuffer();
    dialog.EndDialog(IDCANCEL);
    return true;
  }});
  dialog.Run(u"Before the update");
  ExpectAllStepsRan();
  return shown;
}

std::vector<std::pair<UINT, CString>> DialogTest::TrackedMenuItems() {
  std::vector<std::pair<UINT, CString>> items;
  const HMENU menu = user::TrackedMenu();
  for (int position = 0; menu != nullptr && position < ::GetMenuItemCount(menu); ++position) {
    WCHAR text[80] = {};
    ::GetMenuStringW(menu, position, text, 80, MF_BYPOSITION);
    items.emplace_back(::GetMenuItemID(menu, position), CString(text));
  }
  return items;
}

}  // namespace zx::test
