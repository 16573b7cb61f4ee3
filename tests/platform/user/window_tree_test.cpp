// Windows: creation and destruction messages, the window tree, classes, text, values kept
// with a window, and the CBT hook.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "errhandlingapi.h"
#include "processthreadsapi.h"
#include "user_testing.h"

namespace zx::test {
namespace {

using WindowCreation = UserTest;
using WindowTree = UserTest;
using WindowClasses = UserTest;
using WindowText = UserTest;
using WindowLongs = UserTest;
using CbtHook = UserTest;

TEST_F(WindowCreation, SendsNcCreateCreateSizeAndMoveInOrder) {
  CREATESTRUCTW seen{};
  std::u16string seenName;
  OnMessage(WM_CREATE, [&](HWND, UINT, WPARAM, LPARAM lParam) -> LRESULT {
    seen = *reinterpret_cast<CREATESTRUCTW*>(lParam);
    seenName = seen.lpszName;
    return 0;
  });
  int param = 7;
  const HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, RecorderClass(), u"Main", WS_POPUP, 10,
                                      20, 300, 200, nullptr, nullptr, nullptr, &param);
  ASSERT_NE(window, nullptr);
  const std::vector<UINT> expected{WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE};
  EXPECT_EQ(RecordedFor(window), expected);
  EXPECT_EQ(seen.lpCreateParams, &param);
  EXPECT_EQ(seen.x, 10);
  EXPECT_EQ(seen.cy, 200);
  EXPECT_EQ(seen.dwExStyle, WS_EX_TOOLWINDOW);
  EXPECT_EQ(seenName, u"Main");
}

TEST_F(WindowCreation, HandlesFitThirtyOneBitsAndCarryTheProcessSlot) {
  const HWND a = MakeWindow();
  const HWND b = MakeWindow();
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_NE(a, b);
  for (HWND h : {a, b}) {
    const auto value = reinterpret_cast<std::uintptr_t>(h);
    EXPECT_LT(value, 0x80000000u);
    EXPECT_GE(value >> 20, 1u) << "a slot of the runtime folder";
  }
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(a) >> 20, reinterpret_cast<std::uintptr_t>(b) >> 20);
}

TEST_F(WindowCreation, CreateAnsweringMinusOneDestroysTheWindow) {
  OnMessage(WM_CREATE, [](HWND, UINT, WPARAM, LPARAM) -> LRESULT { return -1; });
  EXPECT_EQ(MakeWindow(), nullptr);
  const std::vector<UINT> expected{WM_GETMINMAXINFO, WM_NCCREATE, WM_CREATE, WM_DESTROY,
                                   WM_NCDESTROY};
  ASSERT_FALSE(Recorded().empty());
  const HWND made = Recorded().front().window;
  EXPECT_EQ(RecordedFor(made), expected);
  EXPECT_FALSE(IsWindow(made));
}

TEST_F(WindowCreation, NcCreateAnsweringFalseStopsBeforeCreate) {
  OnMessage(WM_NCCREATE, [](HWND, UINT, WPARAM, LPARAM) -> LRESULT { return FALSE; });
  EXPECT_EQ(MakeWindow(), nullptr);
  const std::vector<UINT> expected{WM_GETMINMAXINFO, WM_NCCREATE, WM_NCDESTROY};
  EXPECT_EQ(RecordedFor(Recorded().front().window), expected);
}

TEST_F(WindowCreation, RefusesUnknownClassAndChildWithoutParent) {
  EXPECT_EQ(CreateWindowExW(0, u"NoSuchClass", u"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
            nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));
  EXPECT_EQ(MakeWindow(WS_CHILD), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TLW_WITH_WSCHILD));
  EXPECT_EQ(MakeWindow(WS_CHILD, reinterpret_cast<HWND>(0x123456)), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(WindowCreation, DestroySendsDestroyTopDownAndNcDestroyChildrenFirst) {
  const HWND parent = MakeWindow();
  const HWND first = MakeWindow(WS_CHILD, parent, 1);
  const HWND second = MakeWindow(WS_CHILD, parent, 2);
  const HWND grandchild = MakeWindow(WS_CHILD, second, 3);
  ClearRecorded();
  ASSERT_TRUE(DestroyWindow(parent));
  std::vector<std::pair<HWND, UINT>> order;
  for (const Delivered& d : Recorded())
    if (d.message == WM_DESTROY || d.message == WM_NCDESTROY) order.emplace_back(d.window, d.message);
  const std::vector<std::pair<HWND, UINT>> expected{
      {parent, WM_DESTROY},       {first, WM_DESTROY},         {second, WM_DESTROY},
      {grandchild, WM_DESTROY},   {first, WM_NCDESTROY},       {grandchild, WM_NCDESTROY},
      {second, WM_NCDESTROY},     {parent, WM_NCDESTROY}};
  EXPECT_EQ(order, expected);
  for (HWND h : {parent, first, second, grandchild}) EXPECT_FALSE(IsWindow(h));
  EXPECT_FALSE(DestroyWindow(parent));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(WindowCreation, IsWindowHoldsDuringNcDestroy) {
  BOOL alive = FALSE;
  OnMessage(WM_NCDESTROY, [&](HWND window, UINT, WPARAM, LPARAM) -> LRESULT {
    alive = IsWindow(window);
    return 0;
  });
  DestroyWindow(MakeWindow());
  EXPECT_TRUE(alive);
}

TEST_F(WindowCreation, OwnedWindowsAreDestroyedWithTheirOwner) {
  const HWND owner = MakeWindow();
  const HWND owned = MakeWindow(WS_POPUP, owner);
  EXPECT_EQ(GetWindow(owned, GW_OWNER), owner);
  DestroyWindow(owner);
  EXPECT_FALSE(IsWindow(owned));
}

TEST_F(WindowCreation, ChildCreationAndDestructionNotifyTheParent) {
  const HWND parent = MakeWindow();
  ClearRecorded();
  const HWND child = MakeWindow(WS_CHILD, parent, 42);
  DestroyWindow(child);
  std::vector<std::pair<WPARAM, LPARAM>> notes;
  for (const Delivered& d : Recorded())
    if (d.window == parent && d.message == WM_PARENTNOTIFY) notes.emplace_back(d.wParam, d.lParam);
  const std::vector<std::pair<WPARAM, LPARAM>> expected{
      {MAKELONG(WM_CREATE, 42), reinterpret_cast<LPARAM>(child)},
      {MAKELONG(WM_DESTROY, 42), reinterpret_cast<LPARAM>(child)}};
  EXPECT_EQ(notes, expected);
}

TEST_F(WindowCreation, OnlyTheOwningThreadDestroysAndAnEndedThreadsWindowsGo) {
  HWND made = nullptr;
  std::thread([&] { made = MakeWindow(); }).join();
  EXPECT_FALSE(IsWindow(made)) << "the thread that made it ended";
  const HWND mine = MakeWindow();
  BOOL destroyed = TRUE;
  DWORD error = 0;
  std::thread([&] {
    destroyed = DestroyWindow(mine);
    error = GetLastError();
  }).join();
  EXPECT_FALSE(destroyed);
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_TRUE(IsWindow(mine));
}

TEST_F(WindowTree, ChildrenWalkInCreationOrder) {
  const HWND parent = MakeWindow();
  std::vector<HWND> children;
  for (int id = 1; id <= 4; ++id) children.push_back(MakeWindow(WS_CHILD, parent, id));
  std::vector<HWND> walked;
  for (HWND h = GetWindow(parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) walked.push_back(h);
  EXPECT_EQ(walked, children);
  EXPECT_EQ(GetWindow(children[2], GW_HWNDPREV), children[1]);
  EXPECT_EQ(GetWindow(children[2], GW_HWNDFIRST), children[0]);
  EXPECT_EQ(GetWindow(children[0], GW_HWNDLAST), children[3]);
  EXPECT_EQ(GetDlgItem(parent, 3), children[2]);
  EXPECT_EQ(GetDlgCtrlID(children[3]), 4);
  EXPECT_EQ(GetDlgItem(parent, 99), nullptr);
  EXPECT_EQ(GetParent(children[0]), parent);
  EXPECT_TRUE(IsChild(parent, children[1]));
  EXPECT_FALSE(IsChild(children[1], parent));
}

TEST_F(WindowTree, ParentsOwnersAndAncestors) {
  const HWND top = MakeWindow();
  const HWND child = MakeWindow(WS_CHILD, top, 1);
  const HWND grandchild = MakeWindow(WS_CHILD, child, 2);
  const HWND popup = MakeWindow(WS_POPUP, child);  // owned by the top-level window
  const HWND overlapped = MakeWindow(WS_OVERLAPPED, top);
  EXPECT_EQ(GetParent(top), nullptr);
  EXPECT_EQ(GetParent(popup), top);
  EXPECT_EQ(GetParent(overlapped), nullptr);
  EXPECT_EQ(GetWindow(overlapped, GW_OWNER), top);
  EXPECT_EQ(GetAncestor(grandchild, GA_ROOT), top);
  EXPECT_EQ(GetAncestor(grandchild, GA_PARENT), child);
  EXPECT_EQ(GetAncestor(top, GA_PARENT), GetDesktopWindow());
  EXPECT_EQ(GetAncestor(popup, GA_ROOTOWNER), top);
  EXPECT_TRUE(IsWindow(GetDesktopWindow()));
}

TEST_F(WindowTree, SetParentMovesAWindowAndRefusesALoop) {
  const HWND a = MakeWindow();
  const HWND b = MakeWindow();
  const HWND child = MakeWindow(WS_CHILD, a, 1);
  EXPECT_EQ(SetParent(child, b), a);
  EXPECT_EQ(GetWindow(b, GW_CHILD), child);
  EXPECT_EQ(GetWindow(a, GW_CHILD), nullptr);
  EXPECT_EQ(SetParent(b, child), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(WindowTree, NewTopLevelWindowsGoOnTopAndZOrderMoves) {
  const HWND first = MakeWindow();
  const HWND second = MakeWindow();
  EXPECT_EQ(GetTopWindow(nullptr), second);
  EXPECT_EQ(GetWindow(second, GW_HWNDNEXT), first);
  ASSERT_TRUE(BringWindowToTop(first));
  EXPECT_EQ(GetTopWindow(nullptr), first);
  ASSERT_TRUE(SetWindowPos(first, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE));
  EXPECT_EQ(GetTopWindow(nullptr), second);
  const HWND parent = MakeWindow();
  const HWND c1 = MakeWindow(WS_CHILD, parent, 1);
  const HWND c2 = MakeWindow(WS_CHILD, parent, 2);
  const HWND c3 = MakeWindow(WS_CHILD, parent, 3);
  SetWindowPos(c1, c3, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_EQ(GetWindow(parent, GW_CHILD), c2);
  EXPECT_EQ(GetWindow(c3, GW_HWNDNEXT), c1);
}

BOOL CALLBACK Collect(HWND window, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
  return TRUE;
}

BOOL CALLBACK StopAtFirst(HWND window, LPARAM param) {
  *reinterpret_cast<HWND*>(param) = window;
  return FALSE;
}

TEST_F(WindowTree, FindAndEnumerate) {
  const HWND plain = MakeWindow(WS_OVERLAPPEDWINDOW, nullptr, 0, u"Driver Updater");
  const HWND dialog = CreateWindowExW(0, u"#32770", u"Driver Updater", WS_POPUP, 0, 0, 10, 10,
                                      nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(FindWindowW(u"#32770", u"driver updater"), dialog) << "names compare without case";
  EXPECT_EQ(FindWindowW(WC_DIALOG, nullptr), dialog);
  EXPECT_EQ(FindWindowW(u"zxrecorder", u"Driver Updater"), plain);
  EXPECT_EQ(FindWindowW(nullptr, u"Nothing"), nullptr);
  const HWND parent = MakeWindow();
  const HWND a = MakeWindow(WS_CHILD, parent, 1, u"x");
  const HWND b = MakeWindow(WS_CHILD, a, 2, u"x");
  const HWND c = MakeWindow(WS_CHILD, parent, 3, u"x");
  EXPECT_EQ(FindWindowExW(parent, nullptr, nullptr, u"x"), a);
  EXPECT_EQ(FindWindowExW(parent, a, nullptr, u"x"), c) << "direct children only";
  std::vector<HWND> all;
  EXPECT_TRUE(EnumChildWindows(parent, Collect, reinterpret_cast<LPARAM>(&all)));
  EXPECT_EQ(all, (std::vector<HWND>{a, b, c}));
  std::vector<HWND> top;
  EnumWindows(Collect, reinterpret_cast<LPARAM>(&top));
  EXPECT_EQ(top, (std::vector<HWND>{parent, dialog, plain}));
  HWND firstSeen = nullptr;
  EXPECT_FALSE(EnumWindows(StopAtFirst, reinterpret_cast<LPARAM>(&firstSeen)));
  EXPECT_EQ(firstSeen, parent);
}

TEST_F(WindowClasses, RegistrationRules) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcW;
  wc.cbWndExtra = 8;
  wc.style = CS_DBLCLKS;
  wc.lpszClassName = u"ZxPlain";
  const ATOM atom = RegisterClassExW(&wc);
  ASSERT_GE(atom, 0xC000);
  wc.lpszClassName = u"ZXPLAIN";
  EXPECT_EQ(RegisterClassExW(&wc), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
  wc.cbSize = 12;
  wc.lpszClassName = u"ZxOther";
  EXPECT_EQ(RegisterClassExW(&wc), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  WNDCLASSEXW info{};
  ASSERT_TRUE(GetClassInfoExW(nullptr, u"zxplain", &info));
  EXPECT_EQ(info.style, CS_DBLCLKS);
  EXPECT_EQ(info.cbWndExtra, 8);
  const HWND window = CreateWindowExW(0, MAKEINTATOM(atom), u"", WS_POPUP, 0, 0, 1, 1, nullptr,
                                      nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  WCHAR name[8];
  EXPECT_EQ(GetClassNameW(window, name, 8), 7);
  EXPECT_EQ(std::u16string(name), u"ZxPlain");
  EXPECT_EQ(GetClassNameW(window, name, 4), 3);
  EXPECT_EQ(std::u16string(name), u"ZxP");
  EXPECT_EQ(GetClassLongPtrW(window, GCW_ATOM), atom);
  EXPECT_FALSE(UnregisterClassW(u"ZxPlain", nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_HAS_WINDOWS));
  DestroyWindow(window);
  EXPECT_TRUE(UnregisterClassW(u"ZxPlain", nullptr));
  EXPECT_FALSE(UnregisterClassW(u"#32770", nullptr));
}

INT_PTR CALLBACK AnsweringDialogProc(HWND dialog, UINT message, WPARAM, LPARAM) {
  if (message != WM_USER + 5) return FALSE;
  SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 1234);
  return TRUE;
}

TEST_F(WindowClasses, DialogClassRunsItsDialogProcedure) {
  const HWND dialog = CreateWindowExW(0, u"#32770", u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                      nullptr, nullptr);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(GetClassLongPtrW(dialog, GCL_CBWNDEXTRA), static_cast<ULONG_PTR>(DLGWINDOWEXTRA));
  SetWindowLongPtrW(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(AnsweringDialogProc));
  SetWindowLongPtrW(dialog, DWLP_USER, 77);
  EXPECT_EQ(SendMessageW(dialog, WM_USER + 5, 0, 0), 1234);
  EXPECT_EQ(GetWindowLongPtrW(dialog, DWLP_USER), 77);
  // Closing a dialog asks for IDCANCEL.
  SendMessageW(dialog, WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(dialog));
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, dialog, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_COMMAND);
  EXPECT_EQ(msg.wParam, static_cast<WPARAM>(IDCANCEL));
}

TEST_F(WindowText, SetGetAndTruncate) {
  const HWND window = MakeWindow(WS_OVERLAPPEDWINDOW, nullptr, 0, u"Start");
  EXPECT_EQ(GetWindowTextLengthW(window), 5);
  ASSERT_TRUE(SetWindowTextW(window, u"Scan complete"));
  WCHAR text[32];
  EXPECT_EQ(GetWindowTextW(window, text, 32), 13);
  EXPECT_EQ(std::u16string(text), u"Scan complete");
  EXPECT_EQ(GetWindowTextW(window, text, 5), 4);
  EXPECT_EQ(std::u16string(text), u"Scan");
  EXPECT_EQ(GetWindowTextW(window, text, 0), 0);
  ASSERT_TRUE(SetWindowTextW(window, nullptr));
  EXPECT_EQ(GetWindowTextLengthW(window), 0);
  EXPECT_EQ(GetWindowTextW(reinterpret_cast<HWND>(0x7654321), text, 32), 0);
  EXPECT_EQ(text[0], u'\0');
}

TEST_F(WindowText, TextGoesThroughTheWindowsMessages) {
  OnMessage(WM_GETTEXT, [](HWND, UINT, WPARAM capacity, LPARAM buffer) -> LRESULT {
    auto* out = reinterpret_cast<LPWSTR>(buffer);
    if (capacity < 3) return 0;
    out[0] = u'o';
    out[1] = u'k';
    out[2] = 0;
    return 2;
  });
  const HWND window = MakeWindow();
  WCHAR text[8];
  EXPECT_EQ(GetWindowTextW(window, text, 8), 2);
  EXPECT_EQ(std::u16string(text), u"ok");
}

LRESULT CALLBACK Doubling(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
WNDPROC g_previous = nullptr;
LRESULT CALLBACK Doubling(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_USER) return 2 * CallWindowProcW(g_previous, window, message, wParam, lParam);
  return CallWindowProcW(g_previous, window, message, wParam, lParam);
}

TEST_F(WindowLongs, SubclassingChainsToThePreviousProcedure) {
  OnMessage(WM_USER, [](HWND, UINT, WPARAM wParam, LPARAM) -> LRESULT { return static_cast<LRESULT>(wParam); });
  const HWND window = MakeWindow();
  g_previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Doubling)));
  ASSERT_NE(g_previous, nullptr);
  EXPECT_EQ(SendMessageW(window, WM_USER, 21, 0), 42);
  EXPECT_EQ(GetWindowLongPtrW(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(Doubling));
}

TEST_F(WindowLongs, StylesIdsAndUserValues) {
  const HWND parent = MakeWindow();
  const HWND child = MakeWindow(WS_CHILD | WS_TABSTOP, parent, 1001);
  EXPECT_EQ(GetWindowLongPtrW(child, GWLP_ID), 1001);
  EXPECT_EQ(SetWindowLongPtrW(child, GWLP_ID, 1002), 1001);
  EXPECT_EQ(GetDlgItem(parent, 1002), child);
  EXPECT_EQ(SetWindowLongPtrW(child, GWLP_USERDATA, 0x5555), 0);
  EXPECT_EQ(GetWindowLongPtrW(child, GWLP_USERDATA), 0x5555);
  EXPECT_EQ(GetWindowLongPtrW(child, GWLP_HWNDPARENT), reinterpret_cast<LONG_PTR>(parent));
  ClearRecorded();
  const LONG_PTR old = SetWindowLongPtrW(child, GWL_STYLE, WS_CHILD | WS_DISABLED);
  EXPECT_EQ(old, static_cast<LONG_PTR>(WS_CHILD | WS_TABSTOP));
  EXPECT_FALSE(IsWindowEnabled(child));
  EXPECT_EQ(RecordedFor(child), (std::vector<UINT>{WM_STYLECHANGING, WM_STYLECHANGED}));
  SetWindowLongPtrW(child, GWL_EXSTYLE, WS_EX_CLIENTEDGE);
  EXPECT_EQ(GetWindowLongW(child, GWL_EXSTYLE), static_cast<LONG>(WS_EX_CLIENTEDGE));
  // Extra bytes of the class: 16 for the recorder class.
  EXPECT_EQ(SetWindowLongPtrW(child, 8, 99), 0);
  EXPECT_EQ(GetWindowLongPtrW(child, 8), 99);
  SetLastError(0);
  EXPECT_EQ(GetWindowLongPtrW(child, 9), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
  EXPECT_EQ(SetWindowLongPtrW(child, -1000, 1), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
}

std::vector<int> g_cbtCodes;
HHOOK g_hook = nullptr;
LRESULT CALLBACK RecordingCbt(int code, WPARAM wParam, LPARAM lParam) {
  g_cbtCodes.push_back(code);
  if (code == HCBT_CREATEWND) {
    const auto* cbt = reinterpret_cast<CBT_CREATEWNDW*>(lParam);
    // The window exists, no message has reached it yet, and the hook may refuse it.
    EXPECT_TRUE(IsWindow(reinterpret_cast<HWND>(wParam)));
    EXPECT_TRUE(RecordedFor(reinterpret_cast<HWND>(wParam)).empty());
    if (std::u16string(cbt->lpcs->lpszName) == u"refused") return 1;
  }
  return CallNextHookEx(g_hook, code, wParam, lParam);
}

TEST_F(CbtHook, SeesCreationFirstAndCanRefuseIt) {
  g_cbtCodes.clear();
  g_hook = SetWindowsHookExW(WH_CBT, RecordingCbt, nullptr, GetCurrentThreadId());
  ASSERT_NE(g_hook, nullptr);
  const HWND window = MakeWindow();
  EXPECT_NE(window, nullptr);
  EXPECT_EQ(MakeWindow(WS_OVERLAPPEDWINDOW, nullptr, 0, u"refused"), nullptr);
  DestroyWindow(window);
  EXPECT_TRUE(UnhookWindowsHookEx(g_hook));
  EXPECT_FALSE(UnhookWindowsHookEx(g_hook));
  EXPECT_EQ(g_cbtCodes, (std::vector<int>{HCBT_CREATEWND, HCBT_CREATEWND, HCBT_DESTROYWND}));
  EXPECT_NE(MakeWindow(WS_OVERLAPPEDWINDOW, nullptr, 0, u"refused"), nullptr);
  EXPECT_EQ(SetWindowsHookExW(99, RecordingCbt, nullptr, 0), nullptr);
}

}  // namespace
}  // namespace zx::test
