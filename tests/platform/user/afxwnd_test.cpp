// The class library's windows: message maps chained to the base class, commands and
// notifications, reflection to controls, the handle map and subclassing, the end of a
// window's object, the application's message loop and modal loops.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "afxwin.h"
#include "cstring_printer.h"
#include "user_testing.h"
#include "zx/modal.h"

namespace zx::test {
namespace {

constexpr UINT kClick = static_cast<UINT>(-2);
UINT g_registered = 0;

class CTestWnd : public CWnd {
 public:
  std::vector<std::string> calls;
  int createAnswer = 0;
  HWND attachedBeforeCreate = nullptr;

 protected:
  void PreSubclassWindow() override { attachedBeforeCreate = m_hWnd; }
  afx_msg int OnCreate(LPCREATESTRUCT cs) {
    calls.push_back("create");
    return createAnswer ? createAnswer : CWnd::OnCreate(cs);
  }
  afx_msg void OnSize(UINT type, int cx, int cy) {
    calls.push_back("size " + std::to_string(cx) + "x" + std::to_string(cy));
    CWnd::OnSize(type, cx, cy);
  }
  afx_msg void OnTimer(UINT_PTR id) { calls.push_back("timer " + std::to_string(id)); }
  afx_msg BOOL OnCopyData(CWnd*, COPYDATASTRUCT* data) { return data->dwData == 10 ? 16 : 0; }
  afx_msg LRESULT OnUser(WPARAM wParam, LPARAM lParam) {
    calls.push_back("user");
    return static_cast<LRESULT>(wParam) + lParam;
  }
  afx_msg LRESULT OnRegistered(WPARAM, LPARAM) { return 7; }
  afx_msg void OnSave() { calls.push_back("save"); }
  afx_msg void OnTab(UINT id) { calls.push_back("tab " + std::to_string(id)); }
  afx_msg void OnOk() { calls.push_back("ok"); }
  afx_msg void OnListClick(NMHDR*, LRESULT* result) {
    calls.push_back("parent notify");
    *result = 5;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestWnd, CWnd)
  ON_WM_CREATE()
  ON_WM_SIZE()
  ON_WM_TIMER()
  ON_WM_COPYDATA()
  ON_MESSAGE(WM_USER + 1, &CTestWnd::OnUser)
  ON_REGISTERED_MESSAGE(g_registered, &CTestWnd::OnRegistered)
  ON_COMMAND(100, &CTestWnd::OnSave)
  ON_COMMAND_RANGE(200, 210, &CTestWnd::OnTab)
  ON_BN_CLICKED(IDOK, &CTestWnd::OnOk)
  ON_NOTIFY(kClick, 400, &CTestWnd::OnListClick)
END_MESSAGE_MAP()

class CDerivedWnd : public CTestWnd {
 protected:
  afx_msg LRESULT OnUserAgain(WPARAM, LPARAM) {
    calls.push_back("derived user");
    return -1;
  }
  afx_msg void OnClose() { calls.push_back("close"); }  // the window stays
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedWnd, CTestWnd)
  ON_MESSAGE(WM_USER + 1, &CDerivedWnd::OnUserAgain)
  ON_WM_CLOSE()
END_MESSAGE_MAP()

// A control that handles what it sends its parent.
class CReflectingCtrl : public CWnd {
 public:
  std::vector<std::string> calls;
  BOOL letParentHandle = FALSE;
  UINT colorType = 99;

 protected:
  afx_msg void OnClickReflect(NMHDR* header, LRESULT* result) {
    calls.push_back("reflected notify " + std::to_string(header->idFrom));
    *result = 9;
  }
  afx_msg BOOL OnClickReflectEx(NMHDR*, LRESULT*) {
    calls.push_back("reflected notify ex");
    return !letParentHandle;
  }
  afx_msg void OnClicked() { calls.push_back("reflected click"); }
  void DrawItem(LPDRAWITEMSTRUCT item) override { calls.push_back("draw " + std::to_string(item->itemID)); }
  afx_msg LRESULT OnColor(WPARAM, LPARAM lParam) {
    colorType = reinterpret_cast<AFX_CTLCOLOR*>(lParam)->nCtlType;
    return 0x1234;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectingCtrl, CWnd)
  ON_NOTIFY_REFLECT(kClick, &CReflectingCtrl::OnClickReflect)
  ON_NOTIFY_REFLECT_EX(kClick - 1, &CReflectingCtrl::OnClickReflectEx)
  ON_CONTROL_REFLECT(BN_CLICKED, &CReflectingCtrl::OnClicked)
  ON_WM_DRAWITEM_REFLECT()
  ON_MESSAGE(WM_REFLECT_BASE + WM_CTLCOLOR, &CReflectingCtrl::OnColor)
END_MESSAGE_MAP()

class AfxWindows : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    g_registered = RegisterWindowMessageW(u"ZX_AFX_TEST");
  }
  void TearDown() override {
    CWnd::DeleteTempMap();
    UserTest::TearDown();
  }
  static bool MakePopup(CWnd& wnd, int width = 100, int height = 50) {
    return wnd.CreateEx(0, nullptr, u"popup", WS_POPUP, 0, 0, width, height, nullptr, nullptr);
  }
};

TEST_F(AfxWindows, CreateExAttachesTheObjectBeforeTheFirstMessage) {
  CTestWnd wnd;
  ASSERT_TRUE(MakePopup(wnd, 100, 50));
  EXPECT_EQ(wnd.attachedBeforeCreate, wnd.m_hWnd);
  EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
  EXPECT_EQ(wnd.calls, (std::vector<std::string>{"create", "size 100x50"}));
  CString text;
  wnd.GetWindowText(text);
  EXPECT_EQ(text, CString(u"popup")) << "WM_SETTEXT and WM_GETTEXT went to the default handling";
  const HWND hWnd = wnd.m_hWnd;
  EXPECT_TRUE(wnd.DestroyWindow());
  EXPECT_EQ(wnd.m_hWnd, nullptr);
  EXPECT_FALSE(IsWindow(hWnd));
  EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);

  CTestWnd refused;
  refused.createAnswer = -1;
  EXPECT_FALSE(MakePopup(refused));
  EXPECT_EQ(refused.m_hWnd, nullptr);
}

TEST_F(AfxWindows, MessageMapCallsHandlersWithTheirSignatures) {
  CTestWnd wnd;
  ASSERT_TRUE(MakePopup(wnd));
  wnd.calls.clear();
  EXPECT_EQ(wnd.SendMessage(WM_USER + 1, 40, 2), 42);
  EXPECT_EQ(wnd.SendMessage(g_registered), 7);
  wnd.SendMessage(WM_COMMAND, 100);
  wnd.SendMessage(WM_COMMAND, 205);
  wnd.SendMessage(WM_COMMAND, 211);  // outside the range: nobody
  COPYDATASTRUCT copy{10, 0, nullptr};
  EXPECT_EQ(wnd.SendMessage(WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy)), 16);
  wnd.SetTimer(3, 0);
  PumpWaiting();
  wnd.KillTimer(3);
  const HWND button = MakeWindow(WS_CHILD, wnd.m_hWnd, IDOK);
  wnd.SendMessage(WM_COMMAND, MAKELONG(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  wnd.SendMessage(WM_COMMAND, MAKELONG(IDOK, EN_CHANGE), reinterpret_cast<LPARAM>(button));
  NMHDR header{button, 400, kClick};
  EXPECT_EQ(wnd.SendMessage(WM_NOTIFY, 400, reinterpret_cast<LPARAM>(&header)), 5);
  EXPECT_EQ(wnd.calls, (std::vector<std::string>{"user", "save", "tab 205", "timer 3", "ok",
                                                 "parent notify"}));
}

TEST_F(AfxWindows, DerivedMapsComeFirstAndChainToTheBase) {
  CDerivedWnd wnd;
  ASSERT_TRUE(MakePopup(wnd));
  wnd.calls.clear();
  EXPECT_EQ(wnd.SendMessage(WM_USER + 1, 40, 2), -1);
  wnd.SendMessage(WM_CLOSE);
  EXPECT_TRUE(IsWindow(wnd.m_hWnd));
  wnd.SendMessage(WM_COMMAND, 100);
  EXPECT_EQ(wnd.calls, (std::vector<std::string>{"derived user", "close", "save"}));
}

TEST_F(AfxWindows, ControlsHandleTheirReflectedNotificationsFirst) {
  CTestWnd parent;
  ASSERT_TRUE(MakePopup(parent));
  CReflectingCtrl control;
  ASSERT_TRUE(control.Create(nullptr, u"", WS_VISIBLE, CRect(0, 0, 10, 10), &parent, 400));
  parent.calls.clear();
  NMHDR header{control.m_hWnd, 400, kClick};
  EXPECT_EQ(parent.SendMessage(WM_NOTIFY, 400, reinterpret_cast<LPARAM>(&header)), 9);
  parent.SendMessage(WM_COMMAND, MAKELONG(400, BN_CLICKED), reinterpret_cast<LPARAM>(control.m_hWnd));
  DRAWITEMSTRUCT item{};
  item.CtlID = 400;
  item.itemID = 12;
  item.hwndItem = control.m_hWnd;
  parent.SendMessage(WM_DRAWITEM, 400, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(parent.SendMessage(WM_CTLCOLORBTN, 0x55, reinterpret_cast<LPARAM>(control.m_hWnd)), 0x1234);
  EXPECT_EQ(control.colorType, 3u) << "CTLCOLOR_BTN";
  EXPECT_TRUE(parent.calls.empty()) << parent.calls.front();
  EXPECT_EQ(control.calls, (std::vector<std::string>{"reflected notify 400", "reflected click", "draw 12"}));

  // An _EX handler answering FALSE lets the parent's own entry run as well.
  control.calls.clear();
  control.letParentHandle = TRUE;
  NMHDR other{control.m_hWnd, 400, kClick - 1};
  parent.SendMessage(WM_NOTIFY, 400, reinterpret_cast<LPARAM>(&other));
  EXPECT_EQ(control.calls, (std::vector<std::string>{"reflected notify ex"}));
}

class CSubclassed : public CWnd {
 public:
  int preSubclassCalls = 0;

 protected:
  void PreSubclassWindow() override { ++preSubclassCalls; }
  afx_msg LRESULT OnUser(WPARAM wParam, LPARAM lParam) { return static_cast<LRESULT>(wParam * 100) + lParam; }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSubclassed, CWnd)
  ON_MESSAGE(WM_USER + 1, &CSubclassed::OnUser)
END_MESSAGE_MAP()

TEST_F(AfxWindows, SubclassingPutsTheObjectInFrontOfTheWindowsProcedure) {
  const HWND window = MakeWindow();
  const LONG_PTR original = GetWindowLongPtrW(window, GWLP_WNDPROC);
  CSubclassed object;
  ASSERT_TRUE(object.SubclassWindow(window));
  EXPECT_EQ(object.preSubclassCalls, 1);
  EXPECT_EQ(CWnd::FromHandlePermanent(window), &object);
  EXPECT_FALSE(CSubclassed().SubclassWindow(window)) << "one object per window";
  ClearRecorded();
  EXPECT_EQ(SendMessageW(window, WM_USER + 1, 3, 4), 304);
  SendMessageW(window, WM_USER + 50, 0, 0);
  EXPECT_EQ(RecordedFor(window), (std::vector<UINT>{WM_USER + 50})) << "the rest reaches the old procedure";
  EXPECT_EQ(object.UnsubclassWindow(), window);
  EXPECT_EQ(GetWindowLongPtrW(window, GWLP_WNDPROC), original);
  EXPECT_EQ(CWnd::FromHandlePermanent(window), nullptr);
}

TEST_F(AfxWindows, OtherWindowsGetTemporaryObjects) {
  const HWND window = MakeWindow();
  CWnd* temporary = CWnd::FromHandle(window);
  ASSERT_NE(temporary, nullptr);
  EXPECT_EQ(temporary->m_hWnd, window);
  EXPECT_EQ(CWnd::FromHandle(window), temporary);
  EXPECT_EQ(CWnd::FromHandlePermanent(window), nullptr);
  EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
  CWnd::DeleteTempMap();
  EXPECT_TRUE(IsWindow(window));
  CWnd attached;
  ASSERT_TRUE(attached.Attach(window));
  EXPECT_EQ(CWnd::FromHandle(window), &attached);
  EXPECT_EQ(attached.Detach(), window);
  EXPECT_TRUE(IsWindow(window));
}

int g_deleted = 0;
class CSelfDeleting : public CWnd {
 protected:
  void PostNcDestroy() override {
    ++g_deleted;
    delete this;
  }
};

TEST_F(AfxWindows, TheEndOfAWindowEndsItsObject) {
  g_deleted = 0;
  auto* object = new CSelfDeleting;
  ASSERT_TRUE(MakePopup(*object));
  const HWND window = object->m_hWnd;
  DestroyWindow(window);
  EXPECT_EQ(g_deleted, 1);
  EXPECT_EQ(CWnd::FromHandlePermanent(window), nullptr);
  HWND kept = nullptr;
  {
    CTestWnd scoped;
    ASSERT_TRUE(MakePopup(scoped));
    kept = scoped.m_hWnd;
  }
  EXPECT_FALSE(IsWindow(kept)) << "an object's end destroys its window";
}

class CMainWnd : public CWnd {
 public:
  int pretranslated = 0;
  BOOL PreTranslateMessage(MSG* msg) override {
    if (msg->message == WM_USER + 7) ++pretranslated;
    return msg->message == WM_USER + 8;  // eaten before dispatch
  }

 protected:
  void PostNcDestroy() override { delete this; }
  afx_msg LRESULT OnFinish(WPARAM, LPARAM) {
    DestroyWindow();
    return 0;
  }
  afx_msg LRESULT OnEaten(WPARAM, LPARAM) {
    ADD_FAILURE() << "PreTranslateMessage took it";
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CMainWnd, CWnd)
  ON_MESSAGE(WM_APP, &CMainWnd::OnFinish)
  ON_MESSAGE(WM_USER + 8, &CMainWnd::OnEaten)
END_MESSAGE_MAP()

class CTestApp : public CWinApp {
 public:
  CTestApp() : CWinApp(u"Zephrin Tunevo") {}
  int idleCalls = 0;
  std::vector<WPARAM> threadMessages;
  int pretranslatedByMain = 0;

  BOOL InitInstance() override {
    auto* main = new CMainWnd;
    if (!main->CreateEx(0, nullptr, u"main", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr))
      return FALSE;
    m_pMainWnd = main;
    const HWND child = MakeWindow(WS_CHILD, main->m_hWnd, 5);
    ::PostMessageW(child, WM_USER + 7, 0, 0);
    ::PostMessageW(child, WM_USER + 8, 0, 0);
    ::PostThreadMessageW(m_nThreadID, WM_APP + 5, 33, 0);
    return TRUE;
  }
  // Once the queue has run dry, the main window is told to finish.
  BOOL OnIdle(LONG count) override {
    ++idleCalls;
    const BOOL more = CWinApp::OnIdle(count);
    if (!more && m_pMainWnd) m_pMainWnd->PostMessage(WM_APP);
    return more;
  }
  BOOL PreTranslateMessage(MSG* msg) override {
    if (auto* main = static_cast<CMainWnd*>(m_pMainWnd)) pretranslatedByMain = main->pretranslated;
    return CWinApp::PreTranslateMessage(msg);
  }

 protected:
  afx_msg void OnThreadMessage(WPARAM wParam, LPARAM) { threadMessages.push_back(wParam); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
  ON_THREAD_MESSAGE(WM_APP + 5, &CTestApp::OnThreadMessage)
END_MESSAGE_MAP()

TEST_F(AfxWindows, TheApplicationRunsUntilItsMainWindowEnds) {
  CTestApp app;
  EXPECT_EQ(AfxGetApp(), &app);
  EXPECT_EQ(AfxGetThread(), &app);
  EXPECT_EQ(AfxGetAppName(), CString(u"Zephrin Tunevo"));
  EXPECT_EQ(AfxWinMain(nullptr, nullptr, nullptr, SW_SHOW), 0);
  EXPECT_EQ(app.m_pMainWnd, nullptr);
  EXPECT_EQ(app.threadMessages, (std::vector<WPARAM>{33}));
  EXPECT_EQ(app.pretranslatedByMain, 1) << "the walk from the child reached the main window";
  EXPECT_EQ(app.idleCalls, 2) << "counts 0 and 1, then no more idle time";
}

class CModalWnd : public CWnd {
 public:
  int kicks = 0;

 protected:
  afx_msg LRESULT OnKickIdle(WPARAM, LPARAM) {
    ++kicks;
    return 0;
  }
  afx_msg LRESULT OnEnd(WPARAM wParam, LPARAM) {
    EndModalLoop(static_cast<int>(wParam));
    return 0;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CModalWnd, CWnd)
  ON_MESSAGE(WM_KICKIDLE, &CModalWnd::OnKickIdle)
  ON_MESSAGE(WM_APP, &CModalWnd::OnEnd)
END_MESSAGE_MAP()

TEST_F(AfxWindows, ModalLoopsKickIdleAndEndOnRequestOrQuit) {
  CModalWnd wnd;
  ASSERT_TRUE(MakePopup(wnd));
  const HWND window = wnd.m_hWnd;
  const auto previous = zx::user::SetIdleHook([window] { PostMessageW(window, WM_APP, IDOK, 0); });
  EXPECT_EQ(wnd.RunModalLoop(), IDOK);
  EXPECT_EQ(wnd.kicks, 1);
  zx::user::SetIdleHook(previous);
  PostQuitMessage(4);
  EXPECT_EQ(wnd.RunModalLoop(), -1);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.wParam, 4u);
}

}  // namespace
}  // namespace zx::test
