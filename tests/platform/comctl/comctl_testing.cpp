// The recording parent window of the common-control tests.
#include "comctl_testing.h"

namespace zx::test {
namespace {

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ParentLog& log = Log();
  switch (message) {
    case WM_NOTIFY: {
      auto* nm = reinterpret_cast<NMHDR*>(lParam);
      Notification n{nm->hwndFrom, nm->code, -1, 0, 0, 0, 0, -1};
      WCHAR className[32] = {};
      GetClassNameW(nm->hwndFrom, className, 32);
      const std::u16string cls(className);
      if (cls == WC_LISTVIEWW && nm->code != NM_CLICK && nm->code != NM_DBLCLK &&
          nm->code != NM_SETFOCUS && nm->code != NM_KILLFOCUS && nm->code != LVN_KEYDOWN) {
        auto* lv = reinterpret_cast<NMLISTVIEW*>(lParam);
        n.item = lv->iItem;
        n.changed = lv->uChanged;
        n.newState = lv->uNewState;
        n.oldState = lv->uOldState;
        n.param = lv->lParam;
      } else if (nm->code == NM_CLICK || nm->code == NM_DBLCLK) {
        if (cls == WC_LISTVIEWW) n.item = reinterpret_cast<NMITEMACTIVATE*>(lParam)->iItem;
      } else if (cls == WC_HEADERW) {
        auto* hd = reinterpret_cast<NMHEADERW*>(lParam);
        n.item = hd->iItem;
        if (hd->pitem && (hd->pitem->mask & HDI_WIDTH)) n.headerWidth = hd->pitem->cxy;
      }
      log.notifications.push_back(n);
      return log.answer ? log.answer(nm) : 0;
    }
    case WM_MEASUREITEM: {
      ++log.measureAnswers;
      auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (log.measuredHeight) measure->itemHeight = log.measuredHeight;
      return TRUE;
    }
    case WM_DRAWITEM:
      log.draws.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_COMMAND:
      log.commands.push_back(wParam);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

LPCWSTR ParentClass() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = ParentProc;
    wc.lpszClassName = u"ZxComctlParent";
    return RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
  return u"ZxComctlParent";
}

}  // namespace

std::vector<UINT> ParentLog::Codes() const {
  std::vector<UINT> codes;
  for (const Notification& n : notifications) codes.push_back(n.code);
  return codes;
}

ParentLog& Log() {
  static ParentLog log;
  return log;
}

void ControlTest::SetUp() {
  MachineTest::SetUp();
  InitCommonControls();
  Log() = ParentLog{};
  parent_ = CreateWindowExW(0, ParentClass(), u"parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400,
                            300, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(parent_, nullptr);
}

void ControlTest::TearDown() {
  if (IsWindow(parent_)) DestroyWindow(parent_);
  Log() = ParentLog{};
  MachineTest::TearDown();
}

HWND ControlTest::MakeChild(LPCWSTR className, DWORD style, int id, int width, int height) {
  return CreateWindowExW(0, className, u"", WS_CHILD | WS_VISIBLE | style, 10, 10, width, height,
                         parent_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

COLORREF PixelOf(HWND window, int x, int y) {
  HDC dc = GetDC(window);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return c;
}

void PaintNow(HWND window) { RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN); }

}  // namespace zx::test
