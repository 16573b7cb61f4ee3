// A small program on the application base, started twice by the single-instance tests. The
// first start opens its main dialog window, says "ready" and waits for a second start's
// hand-off, which it prints as "received <text>" before it ends. A second start ends with
// exit code 3 when the base stopped it, or says "further instance" when it may go on. With
// "--hold" the first start keeps the instance without any window.
#include <cstdio>
#include <string>

#include "HalvoranApp.h"

namespace {

constexpr LPCTSTR kTitle = _T("ZX Single Instance Probe");
WNDPROC g_dialogProc = nullptr;

class CProbeApp : public CHalvoranApp {
 public:
  CProbeApp() : CHalvoranApp(kTitle, _T("qvx.ini")) {}
};

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CString text;
  if (message == WM_COPYDATA && ReadRunningInstanceText(lParam, text)) {
    std::printf("received %s\n", CStringA(text).GetString());
    std::fflush(stdout);
    PostQuitMessage(0);
    return 1;
  }
  return CallWindowProcW(g_dialogProc, window, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
  std::string line = argv[0];
  for (int index = 1; index < argc; ++index) line += std::string(" ") + argv[index];
  CString commandLine(line.c_str());
  CProbeApp app;
  app.m_lpCmdLine = commandLine.GetBuffer();
  if (!app.InitInstance()) {
    app.ExitInstance();
    return 3;
  }
  if (g_bSecondInstance) {
    std::printf("further instance\n");
    return 4;
  }
  if (line.find("--hold") != std::string::npos) {
    // Holds the instance without a window until the test ends it.
    std::printf("holding\n");
    std::fflush(stdout);
    for (;;) Sleep(1000);
  }
  const HWND main = CreateWindowExW(0, _T("#32770"), kTitle, WS_POPUP | WS_CAPTION | WS_VISIBLE, 10, 10, 200, 100,
                                    nullptr, nullptr, nullptr, nullptr);
  if (!main) return 2;
  g_dialogProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(main, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MainProc)));
  std::printf("ready\n");
  std::fflush(stdout);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0)) DispatchMessageW(&msg);
  DestroyWindow(main);
  app.ExitInstance();
  return 0;
}
