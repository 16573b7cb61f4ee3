// The class library's window side: command targets with message maps, CWnd (the object of a
// window, found from its handle), the thread and application objects with their message
// loops, and message boxes.
#pragma once
#include "afx.h"
#include "afxmsgmap.h"
#include "atltypes.h"
#include "processthreadsapi.h"
#include "winuser.h"
#include "winscroll.h"

class CWinThread;
class CWinApp;

// ---------------------------------------------------------------------------------------
// Objects that handle messages and commands through a message map.
struct AFX_CMDHANDLERINFO;

class CCmdTarget : public CObject {
  DECLARE_DYNAMIC(CCmdTarget)

 public:
  CCmdTarget() = default;

  // Routes a command or notification to its handler in the message map. nCode is the
  // notification code with, in its high word, the message (0 for WM_COMMAND; WM_NOTIFY;
  // WM_REFLECT_BASE + either for reflected ones); pExtra is an AFX_NOTIFY for notifications.
  // With pHandlerInfo set it only answers whether a handler exists.
  virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

 protected:
  static const AFX_MSGMAP* GetThisMessageMap();
  virtual const AFX_MSGMAP* GetMessageMap() const;
  // The first entry, along the chain of maps, for a window message (by id or registered id).
  const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT message) const;
};

// ---------------------------------------------------------------------------------------
// CWnd: the object of a window. Objects attached to a window (made by Create/CreateEx, or
// SubclassWindow on an existing window) are found from its handle by FromHandlePermanent;
// FromHandle gives any other window a temporary object, deleted when the thread is idle.
class CWnd : public CCmdTarget {
  DECLARE_DYNCREATE(CWnd)

 public:
  CWnd() = default;
  ~CWnd() override;

  HWND m_hWnd = nullptr;
  operator HWND() const { return m_hWnd; }
  HWND GetSafeHwnd() const { return m_hWnd; }

  static CWnd* FromHandle(HWND hWnd);
  static CWnd* FromHandlePermanent(HWND hWnd);
  static void DeleteTempMap();
  BOOL Attach(HWND hWndNew);
  HWND Detach();
  // Attaches to an existing window and puts AfxWndProc in front of its procedure.
  BOOL SubclassWindow(HWND hWnd);
  BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
  HWND UnsubclassWindow();

  virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                      const RECT& rect, CWnd* pParentWnd, UINT nID);
  virtual BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
                        DWORD dwStyle, int x, int y, int nWidth, int nHeight, HWND hWndParent,
                        HMENU nIDorHMenu, LPVOID lpParam = nullptr);
  BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam = nullptr);
  virtual BOOL DestroyWindow();

  // Overridables.
  virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
  virtual void PreSubclassWindow();
  virtual BOOL PreTranslateMessage(MSG* pMsg);
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  virtual void PostNcDestroy();

  // Reflection: the parent hands a notification it got back to the control that sent it.
  BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  static BOOL ReflectLastMsg(HWND hWndChild, LRESULT* pResult = nullptr);
  // Every window between the message's target and hWndStop gets PreTranslateMessage.
  static BOOL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);
  // The default handling of the message being handled now.
  LRESULT Default();

  // Messages.
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0,
                                BOOL bDeep = TRUE);
  UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr);
  BOOL KillTimer(UINT_PTR nIDEvent);

  // State.
  void SetWindowText(LPCTSTR lpszString);
  int GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const;
  void GetWindowText(CString& rString) const;
  int GetWindowTextLength() const;
  DWORD GetStyle() const;
  DWORD GetExStyle() const;
  BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
  BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
  int GetDlgCtrlID() const;
  int SetDlgCtrlID(int nID);
  BOOL ShowWindow(int nCmdShow);
  BOOL IsWindowVisible() const;
  BOOL EnableWindow(BOOL bEnable = TRUE);
  BOOL IsWindowEnabled() const;
  BOOL IsIconic() const;
  BOOL IsZoomed() const;
  CWnd* SetFocus();
  static CWnd* GetFocus();
  CWnd* SetActiveWindow();
  static CWnd* GetActiveWindow();
  BOOL SetForegroundWindow();
  static CWnd* GetForegroundWindow();
  void BringWindowToTop();

  // Geometry.
  void GetWindowRect(LPRECT lpRect) const;
  void GetClientRect(LPRECT lpRect) const;
  void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
  void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
  BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
  void ClientToScreen(LPPOINT lpPoint) const;
  void ClientToScreen(LPRECT lpRect) const;
  void ScreenToClient(LPPOINT lpPoint) const;
  void ScreenToClient(LPRECT lpRect) const;
  // Centres a child window in its parent's client area; any other window over
  // pAlternateOwner or its owner when that is shown and not minimised, else over the work
  // area; the window is then kept inside the work area (a child inside its parent).
  void CenterWindow(CWnd* pAlternateOwner = nullptr);

  // The tree.
  CWnd* GetParent() const;
  CWnd* GetOwner() const;
  CWnd* GetTopLevelParent() const;
  CWnd* GetDlgItem(int nID) const;
  CWnd* GetWindow(UINT nCmd) const;
  static CWnd* FindWindow(LPCTSTR lpszClassName, LPCTSTR lpszWindowName);

  // Modal loops: runs messages until EndModalLoop; WM_KICKIDLE goes to this window while the
  // loop is idle. WM_QUIT ends the loop (answering -1) and is posted again.
  int RunModalLoop(DWORD dwFlags = 0);
  virtual BOOL ContinueModal();
  virtual void EndModalLoop(int nResult);

  // Reflected messages' handlers (ON_WM_*_REFLECT) in controls.
  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
  virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct);

  // Painting: DCs of the window as temporary CDC objects (give them back with ReleaseDC).
  CDC* GetDC();
  CDC* GetWindowDC();
  int ReleaseDC(CDC* pDC);
  void Invalidate(BOOL bErase = TRUE);
  void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
  void ValidateRect(LPCRECT lpRect);
  void UpdateWindow();
  BOOL RedrawWindow(LPCRECT lpRectUpdate = nullptr, class CRgn* prgnUpdate = nullptr,
                    UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  void SetFont(class CFont* pFont, BOOL bRedraw = TRUE);
  class CFont* GetFont() const;

  // Dialog items.
  void CheckDlgButton(int nIDButton, UINT nCheck);
  UINT IsDlgButtonChecked(int nIDButton) const;
  void CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton);
  CWnd* GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const;
  CWnd* GetNextDlgGroupItem(CWnd* pWndCtl, BOOL bPrevious = FALSE) const;
  void SetDlgItemText(int nID, LPCTSTR lpszString);
  int GetDlgItemText(int nID, CString& rString) const;
  void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE);
  UINT GetDlgItemInt(int nID, BOOL* lpTrans = nullptr, BOOL bSigned = TRUE) const;
  LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

  // Scroll bars of the window (winscroll.h).
  int GetScrollPos(int nBar) const;
  int SetScrollPos(int nBar, int nPos, BOOL bRedraw = TRUE);
  void GetScrollRange(int nBar, int* lpMinPos, int* lpMaxPos) const;
  void SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw = TRUE);
  BOOL GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL);
  BOOL SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE);
  int GetScrollLimit(int nBar);
  void ShowScrollBar(UINT nBar, BOOL bShow = TRUE);
  BOOL EnableScrollBar(int nSBFlags, UINT nArrowFlags = ESB_ENABLE_BOTH);

 protected:
  WNDPROC m_pfnSuper = nullptr;  // the procedure AfxWndProc stands in front of
  int m_nModalResult = 0;
  UINT m_nFlags = 0;

  // Handlers of the class library's names; each does the default handling.
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnDestroy();
  afx_msg void OnNcDestroy();
  afx_msg void OnClose();
  afx_msg void OnPaint();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnMove(int x, int y);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg void OnEnable(BOOL bEnable);
  afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID);
  afx_msg BOOL OnNcActivate(BOOL bActive);
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
  afx_msg BOOL OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pCopyDataStruct);
  afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
  afx_msg void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT lpMeasureItemStruct);
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint pos);
  afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
  afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
  afx_msg void OnSettingChange(UINT uFlags, LPCTSTR lpszSection);
  afx_msg BOOL OnQueryEndSession();
  afx_msg void OnEndSession(BOOL bEnding);
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg BOOL OnDeviceChange(UINT nEventType, DWORD_PTR dwData);
  afx_msg void OnMouseHover(UINT nFlags, CPoint point);
  afx_msg void OnMouseLeave();
  afx_msg UINT OnGetDlgCode();
  afx_msg void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnSysKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
  afx_msg void OnSetText(LPCTSTR lpszText);

  DECLARE_MESSAGE_MAP()

  friend LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

 private:
  // Puts AfxWndProc in front of the window's procedure.
  void HookProcedure();
  // The end of a window: the procedure put back, the object detached, PostNcDestroy.
  void ForgetWindow();
  // Attaches the object CreateEx makes a window for, before the window's first message.
  static LRESULT CALLBACK CbtFilterHook(int code, WPARAM wParam, LPARAM lParam);
};

// The window procedure of every window with an attached CWnd.
LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
// A window class of that style (registered on first use); the name stays valid.
LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr,
                            HBRUSH hbrBackground = nullptr, HICON hIcon = nullptr);
// The rich edit 2.0 control for this process: TRUE when its class "RichEdit20W" is there.
BOOL AfxInitRichEdit2();

// RunModalLoop flags.
#define MLF_NOIDLEMSG 0x0001
#define MLF_NOKICKIDLE 0x0002
#define MLF_SHOWONIDLE 0x0004

// ---------------------------------------------------------------------------------------
// Threads and the application: the message loop with PreTranslateMessage and idle time.
// A worker thread's function: its answer is the thread's exit code.
using AFX_THREADPROC = UINT (*)(LPVOID pParam);

class CWinThread : public CCmdTarget {
  DECLARE_DYNAMIC(CWinThread)

 public:
  CWinThread();
  // The object of a worker thread, not yet started (CreateThread starts it).
  CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam);
  ~CWinThread() override;  // closes m_hThread

  CWnd* m_pMainWnd = nullptr;
  // A started thread deletes its object when it ends, unless this is FALSE by then.
  BOOL m_bAutoDelete = TRUE;
  DWORD m_nThreadID = 0;
  HANDLE m_hThread = nullptr;
  MSG m_msgCur{};
  AFX_THREADPROC m_pfnThreadProc = nullptr;
  LPVOID m_pThreadParams = nullptr;

  // Starts the object's thread (held with CREATE_SUSPENDED): a worker runs its function, any
  // other object InitInstance and then Run (or ExitInstance when InitInstance fails).
  BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0,
                    LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
  DWORD ResumeThread();
  BOOL SetThreadPriority(int nPriority);
  int GetThreadPriority();
  operator HANDLE() const { return m_hThread; }

  virtual BOOL InitInstance();
  // Runs messages until WM_QUIT, with idle time whenever the queue is empty; answers
  // ExitInstance's code.
  virtual int Run();
  virtual BOOL PreTranslateMessage(MSG* pMsg);
  // Takes and dispatches one message; FALSE on WM_QUIT.
  virtual BOOL PumpMessage();
  // Idle work; answers TRUE while it wants more idle time.
  virtual BOOL OnIdle(LONG lCount);
  virtual BOOL IsIdleMessage(MSG* pMsg);
  virtual int ExitInstance();
  virtual CWnd* GetMainWnd();

  DECLARE_MESSAGE_MAP()

 private:
  // A thread message of the map (ON_THREAD_MESSAGE); TRUE when one handled it.
  BOOL DispatchThreadMessage(MSG* pMsg);
};

class CWinApp : public CWinThread {
  DECLARE_DYNAMIC(CWinApp)

 public:
  explicit CWinApp(LPCTSTR lpszAppName = nullptr);
  ~CWinApp() override;

  LPCTSTR m_pszAppName = nullptr;
  HINSTANCE m_hInstance = nullptr;
  LPTSTR m_lpCmdLine = nullptr;
  int m_nCmdShow = SW_SHOWNORMAL;

  // The registry key the application keeps its profile under (HKCU\Software\<key>\<app>);
  // m_pszProfileName becomes the application's name.
  LPCTSTR m_pszRegistryKey = nullptr;
  LPCTSTR m_pszProfileName = nullptr;

  virtual BOOL InitApplication();
  int Run() override;
  int ExitInstance() override;
  void SetRegistryKey(LPCTSTR lpszRegistryKey);

 private:
  CString appName_;
  CString registryKey_;
};

// Makes a worker thread's object and starts it with that priority (held with
// CREATE_SUSPENDED); null on failure. A thread not held may end and delete its object before
// the call returns: set m_bAutoDelete, or read the object, only on a held thread.
CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam,
                           int nPriority = THREAD_PRIORITY_NORMAL, UINT nStackSize = 0,
                           DWORD dwCreateFlags = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
CWinApp* AfxGetApp();
// The thread object of the calling thread (the application on its main thread), or null.
CWinThread* AfxGetThread();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
void AfxPostQuitMessage(int nExitCode);
// Runs the application object: InitApplication, InitInstance, then Run (or ExitInstance when
// InitInstance fails).
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow);

// ---------------------------------------------------------------------------------------
// The application's name: the application object's, else the running program's file name
// without its folder and extension.
CString AfxGetAppName();
// A message box owned by the application, captioned with its name.
int AfxMessageBox(LPCTSTR text, UINT type = MB_OK, UINT helpId = 0);
// The module whose resources the class library loads by default: the main program until a
// program names another (the language resource library, for the system's programs).
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE module);
// The module holding a resource: the resource module above when it has it, else the
// application's own module (AfxGetInstanceHandle) when that has it, else the resource module.
HINSTANCE AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType);

// Drawing objects, the standard controls and menus of the class library.
#if __has_include(<afxgdi.h>)
#include <afxgdi.h>
#endif
#if __has_include(<afxctrls.h>)
#include <afxctrls.h>
#endif
#if __has_include(<afxmenu.h>)
#include <afxmenu.h>
#endif
