// Shared-window benchmark. Goals: the own message box opened and painted for the first time
// in under 8 ms, and a framed popup run over its translucent backdrop up to its first paint
// in under 8 ms, each on one core.
#include <benchmark/benchmark.h>

#include "DlgBaseMessageBoxWndBase.h"
#include "DlgBaseWndPopupNagBase.h"
#include "DlgParentTransculent.h"
#include "HalvoranApp.h"
#include "bench_root.h"
#include "zx/modal.h"

namespace {

// A nag popup made from the message box's template, ended at its first wait for input.
class BenchPopup : public CDlgBaseWndPopupNagBase {
 public:
  BenchPopup() : CDlgBaseWndPopupNagBase(CQVXMessageBox::kTemplateId, nullptr) {}
};

void UseResourceLibrary(benchmark::State& state) {
  if (const HMODULE module = GetResourceModule()) AfxSetResourceHandle(module);
  else state.SkipWithError("the resource library qvxres did not load");
}

void MessageBoxOpenAndFirstPaint(benchmark::State& state) {
  UseResourceLibrary(state);
  for (auto _ : state) {
    CQVXMessageBox box(nullptr, TRUE);
    box.SetButtons(kMessageBoxOkCancel, 0, nullptr, 0, 0);
    box.SetIcon(1115);
    box.SetBoxRect(CRect(0, 0, 315, 171));
    box.SetText(u"Three drivers were updated & installed. Restart the computer now?");
    box.Create(CQVXMessageBox::kTemplateId, nullptr);
    box.ShowWindow(SW_SHOW);
    box.UpdateWindow();
    box.DestroyWindow();
  }
}
BENCHMARK(MessageBoxOpenAndFirstPaint)->Unit(benchmark::kMillisecond);

void FramedPopupOverBackdropToFirstPaint(benchmark::State& state) {
  UseResourceLibrary(state);
  CWnd owner;
  owner.CreateEx(0, AfxRegisterWndClass(0), u"Owner", WS_POPUP | WS_VISIBLE, 0, 0, 772, 583, nullptr, nullptr);
  for (auto _ : state) {
    BenchPopup popup;
    zx::user::SetIdleHook([&popup] {
      popup.UpdateWindow();
      popup.EndWithResult(IDOK);
    });
    RunModalWithBackdrop(&owner, &popup, CQVXMessageBox::kTemplateId);
  }
  zx::user::SetIdleHook(nullptr);
  owner.DestroyWindow();
}
BENCHMARK(FramedPopupOverBackdropToFirstPaint)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return zx::bench::RunInOwnRoot(argc, argv, "zx-ui-bench"); }
