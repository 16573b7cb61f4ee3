// Helpers of the window-system tests: the recorder window class and the fixture.
#include "user_testing.h"

#include <map>
#include <mutex>

#include "processthreadsapi.h"

namespace zx::test {
namespace {

struct Record {
  std::mutex lock;
  std::vector<Delivered> log;
  std::map<UINT, Handler> handlers;
};

Record& TheRecord() {
  static auto* record = new Record;
  return *record;
}

LRESULT CALLBACK RecorderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Handler handler;
  {
    Record& r = TheRecord();
    std::lock_guard<std::mutex> guard(r.lock);
    r.log.push_back(Delivered{window, message, wParam, lParam, GetCurrentThreadId()});
    const auto it = r.handlers.find(message);
    if (it != r.handlers.end()) handler = it->second;
  }
  return handler ? handler(window, message, wParam, lParam)
                 : DefWindowProcW(window, message, wParam, lParam);
}

BOOL CALLBACK CollectThreadWindow(HWND window, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
  return TRUE;
}

}  // namespace

LPCWSTR RecorderClass() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = RecorderProc;
    wc.cbWndExtra = 16;
    wc.lpszClassName = u"ZxRecorder";
    return RegisterClassExW(&wc) != 0;
  }();
  return registered ? u"ZxRecorder" : nullptr;
}

HWND MakeWindow(DWORD style, HWND parent, int id, LPCWSTR title, int x, int y, int width,
                int height) {
  return CreateWindowExW(0, RecorderClass(), title, style, x, y, width, height, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
}

void OnMessage(UINT message, Handler handler) {
  Record& r = TheRecord();
  std::lock_guard<std::mutex> guard(r.lock);
  r.handlers[message] = std::move(handler);
}

std::vector<Delivered> Recorded() {
  Record& r = TheRecord();
  std::lock_guard<std::mutex> guard(r.lock);
  return r.log;
}

std::vector<UINT> RecordedFor(HWND window) {
  std::vector<UINT> out;
  for (const Delivered& d : Recorded())
    if (d.window == window) out.push_back(d.message);
  return out;
}

void ClearRecorded() {
  Record& r = TheRecord();
  std::lock_guard<std::mutex> guard(r.lock);
  r.log.clear();
}

void UserTest::SetUp() {
  MachineTest::SetUp();
  SetClock(&clock_);
  Record& r = TheRecord();
  std::lock_guard<std::mutex> guard(r.lock);
  r.log.clear();
  r.handlers.clear();
}

void UserTest::TearDown() {
  std::vector<HWND> left;
  EnumThreadWindows(GetCurrentThreadId(), CollectThreadWindow, reinterpret_cast<LPARAM>(&left));
  for (HWND window : left) DestroyWindow(window);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
  {
    Record& r = TheRecord();
    std::lock_guard<std::mutex> guard(r.lock);
    r.handlers.clear();
  }
  SetClock(nullptr);
}

int PumpWaiting() {
  int count = 0;
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    DispatchMessageW(&msg);
    ++count;
  }
  return count;
}

}  // namespace zx::test
