// Results list benchmark: one scroll step (a row down, then the list painted) of the main
// program's owner-drawn result list, 40 driver rows with their badges, labels and dates,
// against the same rows as texts in the plain report list. Goal: the owner-drawn step within
// four times the plain one.
#include <benchmark/benchmark.h>

#include <afxcmn.h>

#include "HalvoranApp.h"
#include "VelquorFancyList.h"
#include "bench_root.h"
#include "ratio_reporter.h"

namespace {

constexpr int kRows = 40;
constexpr int kColumns = 6;
const int kWidths[kColumns] = {40, 330, 70, 53, 0, 0};

CString RowText(int row, int column) {
  CString text;
  text.Format(u"Driver %d column %d", row, column);
  return text;
}

class ListWindow {
 public:
  ListWindow() {
    owner_.CreateEx(0, AfxRegisterWndClass(0), u"Results", WS_POPUP | WS_VISIBLE, 0, 0, 600, 320, nullptr, nullptr);
  }
  ~ListWindow() { owner_.DestroyWindow(); }
  CWnd* owner() { return &owner_; }

 private:
  CWnd owner_;
};

// A row down (back to the top at the end), then the list painted.
void ScrollStep(CListCtrl& list) {
  if (list.GetTopIndex() + list.GetCountPerPage() >= list.GetItemCount())
    list.EnsureVisible(0, FALSE);
  else
    list.SendMessage(WM_VSCROLL, SB_LINEDOWN);
  list.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void UseResourceLibrary(benchmark::State& state) {
  if (const HMODULE module = GetResourceModule()) AfxSetResourceHandle(module);
  else state.SkipWithError("the resource library qvxres did not load");
}

void BM_ResultListScrollStep(benchmark::State& state) {
  zx::bench::BenchRoot root("zx-results-bench");
  UseResourceLibrary(state);
  ListWindow window;
  velquor::CFancyListCtrl list;
  list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDRAWFIXED | LVS_NOCOLUMNHEADER, CRect(0, 0, 560, 300),
              window.owner(), 5090);
  list.InsertCheckColumn(0, u"CheckBox", kWidths[0]);
  list.InsertColumn(1, u"Image", LVCFMT_LEFT, kWidths[1]);
  list.InsertDetailColumn(2, u"Description", kWidths[2]);
  for (int c = 3; c < kColumns; ++c) list.InsertColumn(c, u"", LVCFMT_LEFT, kWidths[c]);
  for (int row = 0; row < kRows; ++row) {
    list.InsertItem(row, u"");
    list.SetItemDetails(row, RowText(row, 0), static_cast<UINT>(row % 4 + 1), 0, u"Universal Serial Bus controllers",
                        u"2006-06-21", u"2016-03-10");
    list.SetItemData(row, static_cast<DWORD_PTR>(row % 3));
    list.SetCheck(row, row % 2);
  }
  for (auto _ : state) ScrollStep(list);
  list.DestroyWindow();
}
BENCHMARK(BM_ResultListScrollStep)->Unit(benchmark::kMicrosecond);

void BM_PlainListScrollStep(benchmark::State& state) {
  zx::bench::BenchRoot root("zx-results-bench");
  ListWindow window;
  CListCtrl list;
  list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_NOCOLUMNHEADER, CRect(0, 0, 560, 300), window.owner(), 5090);
  for (int c = 0; c < kColumns; ++c) list.InsertColumn(c, u"", LVCFMT_LEFT, kWidths[c]);
  for (int row = 0; row < kRows; ++row) {
    list.InsertItem(row, RowText(row, 0));
    for (int c = 1; c < kColumns; ++c) list.SetItemText(row, c, RowText(row, c));
  }
  for (auto _ : state) ScrollStep(list);
  list.DestroyWindow();
}
BENCHMARK(BM_PlainListScrollStep)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  return zx::bench::RunWithRatios(
      argc, argv,
      {
          {"result list scroll step vs plain list", "BM_ResultListScrollStep", "BM_PlainListScrollStep", 0.25},
      });
}
