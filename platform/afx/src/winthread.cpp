// Threads and the application object: the message loop with PreTranslateMessage and idle
// time, thread messages, modal loops of windows, and starting the application.
#include "afxstate.h"
#include "handleapi.h"
#include "libloaderapi.h"
#include "processthreadsapi.h"

using zx::afx::State;

namespace {

constexpr UINT kModalLoop = 0x0010;
constexpr UINT kContinueModal = 0x0020;

CWinApp* g_app = nullptr;

// One message through PreTranslateMessage, for a thread without a thread object.
BOOL PumpWithoutThread(MSG* msg) {
  if (!::GetMessageW(msg, nullptr, 0, 0)) return FALSE;
  if (!CWnd::WalkPreTranslateTree(nullptr, msg)) {
    ::TranslateMessage(msg);
    ::DispatchMessageW(msg);
  }
  return TRUE;
}

}  // namespace

// ---- CWinThread ---------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

BEGIN_MESSAGE_MAP(CWinThread, CCmdTarget)
END_MESSAGE_MAP()

CWinThread::CWinThread() : m_nThreadID(GetCurrentThreadId()) {}

CWinThread::~CWinThread() {
  if (State().thread == this) State().thread = nullptr;
  if (m_hThread) ::CloseHandle(m_hThread);
}

BOOL CWinThread::InitInstance() { return FALSE; }
CWnd* CWinThread::GetMainWnd() { return m_pMainWnd; }
int CWinThread::ExitInstance() { return static_cast<int>(m_msgCur.wParam); }

int CWinThread::Run() {
  BOOL idle = TRUE;
  LONG idleCount = 0;
  for (;;) {
    while (idle && !::PeekMessageW(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE))
      if (!OnIdle(idleCount++)) idle = FALSE;
    do {
      if (!PumpMessage()) return ExitInstance();
      if (IsIdleMessage(&m_msgCur)) {
        idle = TRUE;
        idleCount = 0;
      }
    } while (::PeekMessageW(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE));
  }
}

BOOL CWinThread::PumpMessage() {
  if (!::GetMessageW(&m_msgCur, nullptr, 0, 0)) return FALSE;
  if (!PreTranslateMessage(&m_msgCur)) {
    ::TranslateMessage(&m_msgCur);
    ::DispatchMessageW(&m_msgCur);
  }
  return TRUE;
}

BOOL CWinThread::DispatchThreadMessage(MSG* pMsg) {
  const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(pMsg->message);
  return entry && entry->pfn(this, pMsg->message, pMsg->wParam, pMsg->lParam, nullptr);
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg) {
  if (!pMsg->hwnd) return DispatchThreadMessage(pMsg);
  CWnd* main = GetMainWnd();
  const HWND mainWindow = main ? main->m_hWnd : nullptr;
  if (CWnd::WalkPreTranslateTree(mainWindow, pMsg)) return TRUE;
  // A message of another top-level window (a modeless dialog) has a last chance through the
  // main window.
  if (mainWindow && ::GetAncestor(pMsg->hwnd, GA_ROOT) != mainWindow) return main->PreTranslateMessage(pMsg);
  return FALSE;
}

BOOL CWinThread::OnIdle(LONG lCount) {
  if (lCount <= 0) {
    CWnd* main = GetMainWnd();
    if (main && main->m_hWnd && main->IsWindowVisible())
      main->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE);
    return TRUE;
  }
  CWnd::DeleteTempMap();
  return FALSE;
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg) {
  return pMsg->message != WM_PAINT && pMsg->message != WM_SYSTIMER;
}

// ---- CWinApp ------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

CWinApp::CWinApp(LPCTSTR lpszAppName) {
  if (lpszAppName) {
    appName_ = lpszAppName;
    m_pszAppName = appName_;
  }
  g_app = this;
  State().thread = this;
}

CWinApp::~CWinApp() {
  if (g_app == this) g_app = nullptr;
}

BOOL CWinApp::InitApplication() { return TRUE; }

int CWinApp::Run() {
  if (!m_pMainWnd) AfxPostQuitMessage(0);  // nothing to run for
  return CWinThread::Run();
}

int CWinApp::ExitInstance() { return CWinThread::ExitInstance(); }

CWinApp* AfxGetApp() { return g_app; }
CWinThread* AfxGetThread() { return State().thread; }

CWnd* AfxGetMainWnd() {
  CWinThread* thread = AfxGetThread();
  return thread ? thread->GetMainWnd() : nullptr;
}

HINSTANCE AfxGetInstanceHandle() {
  return g_app && g_app->m_hInstance ? g_app->m_hInstance : ::GetModuleHandleW(nullptr);
}

void AfxPostQuitMessage(int nExitCode) { ::PostQuitMessage(nExitCode); }

int AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPTSTR lpCmdLine, int nCmdShow) {
  CWinApp* app = AfxGetApp();
  if (!app) return -1;
  app->m_hInstance = hInstance;
  app->m_lpCmdLine = lpCmdLine;
  app->m_nCmdShow = nCmdShow;
  if (!app->InitApplication() || !app->InitInstance()) {
    if (app->m_pMainWnd && app->m_pMainWnd->m_hWnd) app->m_pMainWnd->DestroyWindow();
    return app->ExitInstance();
  }
  return app->Run();
}

// ---- Modal loops of windows ---------------------------------------------------------------

int CWnd::RunModalLoop(DWORD dwFlags) {
  BOOL idle = TRUE;
  LONG idleCount = 0;
  BOOL showIdle = (dwFlags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
  const HWND parent = ::GetParent(m_hWnd);
  m_nFlags |= kModalLoop | kContinueModal;
  CWinThread* thread = AfxGetThread();
  MSG own{};
  MSG* msg = thread ? &thread->m_msgCur : &own;
  auto pump = [&] { return thread ? thread->PumpMessage() : PumpWithoutThread(msg); };
  for (;;) {
    // Idle while nothing waits: the owner hears WM_ENTERIDLE once, this window WM_KICKIDLE
    // for as long as it asks for more.
    while (idle && !::PeekMessageW(msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (showIdle) {
        ShowWindow(SW_SHOWNORMAL);
        showIdle = FALSE;
      }
      if (!(dwFlags & MLF_NOIDLEMSG) && parent && idleCount == 0)
        ::SendMessageW(parent, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(m_hWnd));
      if ((dwFlags & MLF_NOKICKIDLE) || !SendMessage(WM_KICKIDLE, MSGF_DIALOGBOX, idleCount++))
        idle = FALSE;
    }
    do {
      if (!ContinueModal()) {
        m_nFlags &= ~(kModalLoop | kContinueModal);
        return m_nModalResult;
      }
      if (!pump()) {
        ::PostQuitMessage(static_cast<int>(msg->wParam));  // for the enclosing loop
        m_nFlags &= ~(kModalLoop | kContinueModal);
        return -1;
      }
      if (showIdle && (msg->message == WM_SYSTIMER || msg->message == WM_SYSKEYDOWN)) {
        ShowWindow(SW_SHOWNORMAL);
        showIdle = FALSE;
      }
      if (!thread || thread->IsIdleMessage(msg)) {
        idle = TRUE;
        idleCount = 0;
      }
    } while (ContinueModal() && ::PeekMessageW(msg, nullptr, 0, 0, PM_NOREMOVE));
  }
}

BOOL CWnd::ContinueModal() { return (m_nFlags & kContinueModal) != 0; }

void CWnd::EndModalLoop(int nResult) {
  m_nModalResult = nResult;
  if (m_nFlags & kContinueModal) {
    m_nFlags &= ~kContinueModal;
    PostMessage(WM_NULL);  // wakes the loop
  }
}
