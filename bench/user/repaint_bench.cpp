// Repaint benchmark of the standard controls. Goal: a full repaint of a 772 x 583 window
// (the main windows' size) with 40 controls, in the system's look, under 4 ms.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "richedit.h"
#include "windlg.h"
#include "windraw.h"
#include "wingdi.h"
#include "winresource.h"

#include "bench_root.h"

namespace {

constexpr int kWidth = 772, kHeight = 583, kColumns = 5, kRows = 8;
constexpr COLORREF kTextColour = 0x48362D;

// The parent answers the system's colours and draws the owner-drawn buttons.
LRESULT CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CTLCOLORSTATIC: case WM_CTLCOLORBTN: case WM_CTLCOLOREDIT: {
      SetTextColor(reinterpret_cast<HDC>(wParam), kTextColour);
      SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      HBRUSH face = CreateSolidBrush(RGB(0x09, 0x12, 0x1B));
      FillRect(item->hDC, &item->rcItem, face);
      DeleteObject(face);
      RECT text = item->rcItem;
      SetBkMode(item->hDC, TRANSPARENT);
      SetTextColor(item->hDC, RGB(255, 255, 255));
      DrawTextW(item->hDC, u"Scan now", -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      return TRUE;
    }
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

struct Kind {
  LPCWSTR windowClass;
  LPCWSTR text;
  DWORD style;
};

const Kind kKinds[] = {
    {WC_STATICW, u"Driver updates available for this computer", SS_LEFT},
    {WC_BUTTONW, u"Download", BS_PUSHBUTTON},
    {WC_BUTTONW, u"Create a restore point", BS_AUTOCHECKBOX},
    {WC_BUTTONW, u"Every week", BS_AUTORADIOBUTTON},
    {WC_EDITW, u"someone@example.com", WS_BORDER | ES_AUTOHSCROLL},
    {WC_COMBOBOXW, u"", CBS_DROPDOWNLIST},
    {WC_BUTTONW, u"", BS_OWNERDRAW},
    {WC_STATICW, u"", SS_BITMAP},
    {WC_BUTTONW, u"Schedule", BS_GROUPBOX},
    {RICHEDIT_CLASSW, u"Tell us what went wrong", WS_BORDER | ES_MULTILINE},
};

struct Page {
  HWND window = nullptr;
  HBITMAP picture = nullptr;
  HFONT font = nullptr;
};

Page MakePage() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = PageProc;
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = u"ZxRepaintPage";
  RegisterClassExW(&wc);
  Page page;
  page.window = CreateWindowExW(0, wc.lpszClassName, u"Repaint", WS_POPUP | WS_VISIBLE, 0, 0,
                                kWidth, kHeight, nullptr, nullptr, nullptr, nullptr);
  page.font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, u"Tahoma");
  std::vector<DWORD> pixels(32 * 32, 0xFF2D6F2Du);
  page.picture = CreateBitmap(32, 32, 1, 32, pixels.data());
  const int cellWidth = kWidth / kColumns, cellHeight = kHeight / kRows;
  for (int i = 0; i < kColumns * kRows; ++i) {
    const Kind& kind = kKinds[i % std::size(kKinds)];
    const int x = (i % kColumns) * cellWidth + 8, y = (i / kColumns) * cellHeight + 8;
    const HWND control = CreateWindowExW(
        0, kind.windowClass, kind.text, WS_CHILD | WS_VISIBLE | kind.style, x, y, cellWidth - 16,
        cellHeight - 16, page.window, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(100 + i)),
        nullptr, nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(page.font), FALSE);
    if (kind.style == SS_BITMAP)
      SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(page.picture));
    if (std::u16string_view(kind.windowClass) == WC_COMBOBOXW) {
      SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"Install problem"));
      SendMessageW(control, CB_SETCURSEL, 0, 0);
    }
  }
  return page;
}

void FullRepaintOfFortyControls(benchmark::State& state) {
  const Page page = MakePage();
  const UINT flags = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW;
  for (auto _ : state) RedrawWindow(page.window, nullptr, nullptr, flags);
  state.counters["controls"] = kColumns * kRows;
  DestroyWindow(page.window);
  DeleteObject(page.picture);
  DeleteObject(page.font);
}
BENCHMARK(FullRepaintOfFortyControls)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return zx::bench::RunInOwnRoot(argc, argv, "zx-repaint-bench");
}
