// Message maps: each class's table of the messages, commands and notifications it handles,
// chained to its base class's table. An entry's handler is a small function made by the ON_
// macro that unpacks wParam and lParam and calls the member with its own signature, so a
// handler of the wrong signature does not compile.
//
//   class CMyWnd : public CWnd {
//     afx_msg void OnSize(UINT type, int cx, int cy);
//     afx_msg void OnOk();
//     DECLARE_MESSAGE_MAP()
//   };
//   BEGIN_MESSAGE_MAP(CMyWnd, CWnd)
//     ON_WM_SIZE()
//     ON_BN_CLICKED(IDOK, &CMyWnd::OnOk)
//   END_MESSAGE_MAP()
//
// The ON_WM_ macros call the members of the class library's names (OnSize ...); the others
// name their member as &Class::Member.
#pragma once
#include <type_traits>

#include "afxpriv.h"
#include "winuser.h"

class CCmdTarget;
class CWnd;
class CDC;

#define afx_msg

// The 16-bit message all WM_CTLCOLOR* messages are looked up under; CN_COMMAND is the code of
// a menu or accelerator command (and of a button click).
#define WM_CTLCOLOR 0x0019u
#define CN_COMMAND 0

// Calls the handler of an entry; answers whether the message counts as handled.
using AFX_PMSGHANDLER = BOOL (*)(CCmdTarget* target, UINT message, WPARAM wParam, LPARAM lParam,
                                 LRESULT* result);

struct AFX_MSGMAP_ENTRY {
  UINT nMessage;              // 0 ends the table
  UINT nCode;                 // control notification code (WM_COMMAND, WM_NOTIFY)
  UINT nID;                   // first and last control id
  UINT nLastID;
  const UINT* pnRegistered;   // ON_REGISTERED_MESSAGE: where the message's id is kept
  AFX_PMSGHANDLER pfn;
};

struct AFX_MSGMAP {
  const AFX_MSGMAP* (*pfnGetBaseMap)();
  const AFX_MSGMAP_ENTRY* lpEntries;
};

// What a WM_NOTIFY handler gets, and a reflected WM_CTLCOLOR*.
struct AFX_NOTIFY {
  LRESULT* pResult;
  NMHDR* pNMHDR;
};
struct AFX_CTLCOLOR {
  HWND hWnd;
  HDC hDC;
  UINT nCtlType;  // CTLCOLOR_* : the message minus WM_CTLCOLORMSGBOX
};

namespace zx::afx {
inline void SetResult(LRESULT* result, LRESULT value) {
  if (result) *result = value;
}
template <class T>
inline LRESULT AsResult(T value) {
  if constexpr (std::is_pointer_v<T>)
    return reinterpret_cast<LRESULT>(value);
  else
    return static_cast<LRESULT>(value);
}
}  // namespace zx::afx

#define DECLARE_MESSAGE_MAP()                          \
 protected:                                            \
  static const AFX_MSGMAP* GetThisMessageMap();        \
  const AFX_MSGMAP* GetMessageMap() const override;    \
                                                       \
 private:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                   \
  const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
  const AFX_MSGMAP* theClass::GetThisMessageMap() {                              \
    using ThisClass [[maybe_unused]] = theClass;                                 \
    using TheBaseClass = baseClass;                                              \
    static const AFX_MSGMAP_ENTRY zxMessageEntries[] = {
#define END_MESSAGE_MAP()                                                          \
  {0, 0, 0, 0, nullptr, nullptr}};                                                 \
  static const AFX_MSGMAP zxMessageMap = {&TheBaseClass::GetThisMessageMap, zxMessageEntries}; \
  return &zxMessageMap;                                                            \
  }

// One entry: body runs with `self` (this class), `msg`, `w`, `l` and `res` (may be null).
#define ZX_MAP_ENTRY(message, code, id, lastId, registered, body)                              \
  {static_cast<UINT>(message), static_cast<UINT>(code), static_cast<UINT>(id),                  \
   static_cast<UINT>(lastId), registered,                                                      \
   [](CCmdTarget* zxTarget, [[maybe_unused]] UINT msg, [[maybe_unused]] WPARAM w,              \
      [[maybe_unused]] LPARAM l, [[maybe_unused]] LRESULT* res) -> BOOL {                      \
     [[maybe_unused]] ThisClass* self = static_cast<ThisClass*>(zxTarget);                     \
     body;                                                                                     \
     return TRUE;                                                                              \
   }},
#define ZX_ON(message, body) ZX_MAP_ENTRY(message, 0, 0, 0, nullptr, body)
#define ZX_CALL(fn) self->fn
#define ZX_MEMBER(fn) (self->*(fn))

// Window messages, handled by members of the class library's names and signatures.
#define ON_WM_CREATE() ZX_ON(WM_CREATE, zx::afx::SetResult(res, ZX_CALL(OnCreate)(reinterpret_cast<LPCREATESTRUCT>(l))))
#define ON_WM_DESTROY() ZX_ON(WM_DESTROY, ZX_CALL(OnDestroy)())
#define ON_WM_NCDESTROY() ZX_ON(WM_NCDESTROY, ZX_CALL(OnNcDestroy)())
#define ON_WM_CLOSE() ZX_ON(WM_CLOSE, ZX_CALL(OnClose)())
#define ON_WM_PAINT() ZX_ON(WM_PAINT, ZX_CALL(OnPaint)())
#define ON_WM_SIZE() ZX_ON(WM_SIZE, ZX_CALL(OnSize)(static_cast<UINT>(w), LOWORD(l), HIWORD(l)))
#define ON_WM_MOVE() \
  ZX_ON(WM_MOVE, ZX_CALL(OnMove)(static_cast<SHORT>(LOWORD(l)), static_cast<SHORT>(HIWORD(l))))
#define ON_WM_TIMER() ZX_ON(WM_TIMER, ZX_CALL(OnTimer)(static_cast<UINT_PTR>(w)))
#define ON_WM_SHOWWINDOW() \
  ZX_ON(WM_SHOWWINDOW, ZX_CALL(OnShowWindow)(static_cast<BOOL>(w), static_cast<UINT>(l)))
#define ON_WM_ENABLE() ZX_ON(WM_ENABLE, ZX_CALL(OnEnable)(static_cast<BOOL>(w)))
#define ON_WM_ACTIVATE()                                                                  \
  ZX_ON(WM_ACTIVATE, ZX_CALL(OnActivate)(LOWORD(w), CWnd::FromHandle(reinterpret_cast<HWND>(l)), \
                                         static_cast<BOOL>(HIWORD(w))))
#define ON_WM_ACTIVATEAPP() \
  ZX_ON(WM_ACTIVATEAPP, ZX_CALL(OnActivateApp)(static_cast<BOOL>(w), static_cast<DWORD>(l)))
#define ON_WM_NCACTIVATE() \
  ZX_ON(WM_NCACTIVATE, zx::afx::SetResult(res, ZX_CALL(OnNcActivate)(static_cast<BOOL>(w))))
#define ON_WM_SETFOCUS() \
  ZX_ON(WM_SETFOCUS, ZX_CALL(OnSetFocus)(CWnd::FromHandle(reinterpret_cast<HWND>(w))))
#define ON_WM_KILLFOCUS() \
  ZX_ON(WM_KILLFOCUS, ZX_CALL(OnKillFocus)(CWnd::FromHandle(reinterpret_cast<HWND>(w))))
#define ON_WM_SYSCOMMAND() ZX_ON(WM_SYSCOMMAND, ZX_CALL(OnSysCommand)(static_cast<UINT>(w), l))
#define ON_WM_COPYDATA()                                                                   \
  ZX_ON(WM_COPYDATA, zx::afx::SetResult(res, ZX_CALL(OnCopyData)(                          \
                                                 CWnd::FromHandle(reinterpret_cast<HWND>(w)), \
                                                 reinterpret_cast<COPYDATASTRUCT*>(l))))
#define ON_WM_DRAWITEM() \
  ZX_ON(WM_DRAWITEM, ZX_CALL(OnDrawItem)(static_cast<int>(w), reinterpret_cast<LPDRAWITEMSTRUCT>(l)))
#define ON_WM_MEASUREITEM()                                          \
  ZX_ON(WM_MEASUREITEM, ZX_CALL(OnMeasureItem)(static_cast<int>(w), \
                                               reinterpret_cast<LPMEASUREITEMSTRUCT>(l)))
#define ON_WM_CTLCOLOR()                                                                  \
  ZX_ON(WM_CTLCOLOR, zx::afx::SetResult(res, zx::afx::AsResult(ZX_CALL(OnCtlColor)(       \
                                                 CDC::FromHandle(reinterpret_cast<HDC>(w)), \
                                                 CWnd::FromHandle(reinterpret_cast<HWND>(l)), \
                                                 msg - WM_CTLCOLORMSGBOX))))
#define ON_WM_ERASEBKGND()                                                                 \
  ZX_ON(WM_ERASEBKGND, zx::afx::SetResult(res, ZX_CALL(OnEraseBkgnd)(CDC::FromHandle(      \
                                                   reinterpret_cast<HDC>(w)))))
#define ZX_ON_MOUSE(message, fn) ZX_ON(message, ZX_CALL(fn)(static_cast<UINT>(w), CPoint(l)))
#define ON_WM_MOUSEMOVE() ZX_ON_MOUSE(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_LBUTTONDOWN() ZX_ON_MOUSE(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() ZX_ON_MOUSE(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() ZX_ON_MOUSE(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() ZX_ON_MOUSE(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() ZX_ON_MOUSE(WM_RBUTTONUP, OnRButtonUp)
#define ZX_ON_KEY(message, fn) \
  ZX_ON(message, ZX_CALL(fn)(static_cast<UINT>(w), LOWORD(l), HIWORD(l)))
#define ON_WM_KEYDOWN() ZX_ON_KEY(WM_KEYDOWN, OnKeyDown)
#define ON_WM_KEYUP() ZX_ON_KEY(WM_KEYUP, OnKeyUp)
#define ON_WM_CHAR() ZX_ON_KEY(WM_CHAR, OnChar)
#define ON_WM_CONTEXTMENU() \
  ZX_ON(WM_CONTEXTMENU, ZX_CALL(OnContextMenu)(CWnd::FromHandle(reinterpret_cast<HWND>(w)), CPoint(l)))
#define ON_WM_WINDOWPOSCHANGING() \
  ZX_ON(WM_WINDOWPOSCHANGING, ZX_CALL(OnWindowPosChanging)(reinterpret_cast<WINDOWPOS*>(l)))
#define ON_WM_WINDOWPOSCHANGED() \
  ZX_ON(WM_WINDOWPOSCHANGED, ZX_CALL(OnWindowPosChanged)(reinterpret_cast<WINDOWPOS*>(l)))
#define ON_WM_GETMINMAXINFO() \
  ZX_ON(WM_GETMINMAXINFO, ZX_CALL(OnGetMinMaxInfo)(reinterpret_cast<MINMAXINFO*>(l)))
#define ON_WM_SETTINGCHANGE() \
  ZX_ON(WM_SETTINGCHANGE, ZX_CALL(OnSettingChange)(static_cast<UINT>(w), reinterpret_cast<LPCTSTR>(l)))
#define ON_WM_QUERYENDSESSION() \
  ZX_ON(WM_QUERYENDSESSION, zx::afx::SetResult(res, ZX_CALL(OnQueryEndSession)()))
#define ON_WM_ENDSESSION() ZX_ON(WM_ENDSESSION, ZX_CALL(OnEndSession)(static_cast<BOOL>(w)))
#define ON_WM_NCHITTEST() ZX_ON(WM_NCHITTEST, zx::afx::SetResult(res, ZX_CALL(OnNcHitTest)(CPoint(l))))
#define ON_WM_SETCURSOR()                                                                 \
  ZX_ON(WM_SETCURSOR, zx::afx::SetResult(res, ZX_CALL(OnSetCursor)(                       \
                                                  CWnd::FromHandle(reinterpret_cast<HWND>(w)), \
                                                  LOWORD(l), HIWORD(l))))
#define ON_WM_MOUSEHOVER() ZX_ON_MOUSE(WM_MOUSEHOVER, OnMouseHover)
#define ON_WM_MOUSELEAVE() ZX_ON(WM_MOUSELEAVE, ZX_CALL(OnMouseLeave)())
#define ON_WM_GETDLGCODE() ZX_ON(WM_GETDLGCODE, zx::afx::SetResult(res, ZX_CALL(OnGetDlgCode)()))
#define ON_WM_SYSKEYDOWN() ZX_ON_KEY(WM_SYSKEYDOWN, OnSysKeyDown)
#define ON_WM_SYSKEYUP() ZX_ON_KEY(WM_SYSKEYUP, OnSysKeyUp)
#define ON_WM_NCLBUTTONDOWN() \
  ZX_ON(WM_NCLBUTTONDOWN, ZX_CALL(OnNcLButtonDown)(static_cast<UINT>(w), CPoint(l)))
// The handler calls Default() itself to let the text be set.
#define ON_WM_SETTEXT() ZX_ON(WM_SETTEXT, ZX_CALL(OnSetText)(reinterpret_cast<LPCTSTR>(l)); zx::afx::SetResult(res, TRUE))
#define ON_WM_DEVICECHANGE() \
  ZX_ON(WM_DEVICECHANGE, zx::afx::SetResult(res, ZX_CALL(OnDeviceChange)(static_cast<UINT>(w), static_cast<DWORD_PTR>(l))))

// Messages by id: LRESULT fn(WPARAM, LPARAM). A registered message names the UINT variable
// its id was stored in (by RegisterWindowMessage), read when the message comes.
#define ON_MESSAGE(message, fn) ZX_ON(message, zx::afx::SetResult(res, ZX_MEMBER(fn)(w, l)))
#define ON_REGISTERED_MESSAGE(idVariable, fn) \
  ZX_MAP_ENTRY(0xC000, 0, 0, 0, &(idVariable), zx::afx::SetResult(res, ZX_MEMBER(fn)(w, l)))
// Messages posted to a thread (CWinThread maps): void fn(WPARAM, LPARAM).
#define ON_THREAD_MESSAGE(message, fn) ZX_ON(message, ZX_MEMBER(fn)(w, l))
#define ON_REGISTERED_THREAD_MESSAGE(idVariable, fn) \
  ZX_MAP_ENTRY(0xC000, 0, 0, 0, &(idVariable), ZX_MEMBER(fn)(w, l))

// Commands and control notifications (WM_COMMAND): void fn() or, for ranges, void fn(UINT id).
#define ON_COMMAND(id, fn) ZX_MAP_ENTRY(WM_COMMAND, CN_COMMAND, id, id, nullptr, ZX_MEMBER(fn)())
#define ON_COMMAND_RANGE(id, lastId, fn) \
  ZX_MAP_ENTRY(WM_COMMAND, CN_COMMAND, id, lastId, nullptr, ZX_MEMBER(fn)(static_cast<UINT>(w)))
#define ON_CONTROL(code, id, fn) ZX_MAP_ENTRY(WM_COMMAND, code, id, id, nullptr, ZX_MEMBER(fn)())
#define ON_CONTROL_RANGE(code, id, lastId, fn) \
  ZX_MAP_ENTRY(WM_COMMAND, code, id, lastId, nullptr, ZX_MEMBER(fn)(static_cast<UINT>(w)))
#define ON_BN_CLICKED(id, fn) ON_CONTROL(BN_CLICKED, id, fn)
#define ON_BN_DOUBLECLICKED(id, fn) ON_CONTROL(BN_DOUBLECLICKED, id, fn)
#define ON_STN_CLICKED(id, fn) ON_CONTROL(STN_CLICKED, id, fn)
#define ON_EN_CHANGE(id, fn) ON_CONTROL(EN_CHANGE, id, fn)
#define ON_BN_SETFOCUS(id, fn) ON_CONTROL(BN_SETFOCUS, id, fn)
#define ON_BN_KILLFOCUS(id, fn) ON_CONTROL(BN_KILLFOCUS, id, fn)
#define ON_STN_DBLCLK(id, fn) ON_CONTROL(STN_DBLCLK, id, fn)
#define ON_EN_UPDATE(id, fn) ON_CONTROL(EN_UPDATE, id, fn)
#define ON_EN_SETFOCUS(id, fn) ON_CONTROL(EN_SETFOCUS, id, fn)
#define ON_EN_KILLFOCUS(id, fn) ON_CONTROL(EN_KILLFOCUS, id, fn)
#define ON_EN_MAXTEXT(id, fn) ON_CONTROL(EN_MAXTEXT, id, fn)
#define ON_CBN_SELCHANGE(id, fn) ON_CONTROL(CBN_SELCHANGE, id, fn)
#define ON_CBN_DROPDOWN(id, fn) ON_CONTROL(CBN_DROPDOWN, id, fn)
#define ON_CBN_CLOSEUP(id, fn) ON_CONTROL(CBN_CLOSEUP, id, fn)
#define ON_CBN_SETFOCUS(id, fn) ON_CONTROL(CBN_SETFOCUS, id, fn)
#define ON_CBN_KILLFOCUS(id, fn) ON_CONTROL(CBN_KILLFOCUS, id, fn)
#define ON_LBN_SELCHANGE(id, fn) ON_CONTROL(LBN_SELCHANGE, id, fn)

// Notifications (WM_NOTIFY): void fn(NMHDR*, LRESULT*); ranges void fn(UINT id, NMHDR*,
// LRESULT*); the _EX form answers BOOL, FALSE letting the message go on.
#define ZX_NOTIFY_ARGS reinterpret_cast<AFX_NOTIFY*>(l)->pNMHDR, reinterpret_cast<AFX_NOTIFY*>(l)->pResult
#define ON_NOTIFY(code, id, fn) ZX_MAP_ENTRY(WM_NOTIFY, code, id, id, nullptr, ZX_MEMBER(fn)(ZX_NOTIFY_ARGS))
#define ON_NOTIFY_RANGE(code, id, lastId, fn) \
  ZX_MAP_ENTRY(WM_NOTIFY, code, id, lastId, nullptr, ZX_MEMBER(fn)(static_cast<UINT>(w), ZX_NOTIFY_ARGS))
#define ON_NOTIFY_EX(code, id, fn) \
  ZX_MAP_ENTRY(WM_NOTIFY, code, id, id, nullptr, return ZX_MEMBER(fn)(static_cast<UINT>(w), ZX_NOTIFY_ARGS))

// Reflection: a control handles the notifications it sent its parent. The control sees them
// first; the parent's own entries run only when the control has none (or an _EX one answers
// FALSE).
#define ON_NOTIFY_REFLECT(code, fn) \
  ZX_MAP_ENTRY(WM_REFLECT_BASE + WM_NOTIFY, code, 0, 0, nullptr, ZX_MEMBER(fn)(ZX_NOTIFY_ARGS))
#define ON_NOTIFY_REFLECT_EX(code, fn) \
  ZX_MAP_ENTRY(WM_REFLECT_BASE + WM_NOTIFY, code, 0, 0, nullptr, return ZX_MEMBER(fn)(ZX_NOTIFY_ARGS))
#define ON_CONTROL_REFLECT(code, fn) \
  ZX_MAP_ENTRY(WM_REFLECT_BASE + WM_COMMAND, code, 0, 0, nullptr, ZX_MEMBER(fn)())
#define ON_CONTROL_REFLECT_EX(code, fn) \
  ZX_MAP_ENTRY(WM_REFLECT_BASE + WM_COMMAND, code, 0, 0, nullptr, return ZX_MEMBER(fn)())
#define ON_BN_CLICKED_REFLECT(fn) ON_CONTROL_REFLECT(BN_CLICKED, fn)
#define ON_WM_DRAWITEM_REFLECT() \
  ZX_ON(WM_REFLECT_BASE + WM_DRAWITEM, ZX_CALL(DrawItem)(reinterpret_cast<LPDRAWITEMSTRUCT>(l)))
#define ON_WM_MEASUREITEM_REFLECT() \
  ZX_ON(WM_REFLECT_BASE + WM_MEASUREITEM, ZX_CALL(MeasureItem)(reinterpret_cast<LPMEASUREITEMSTRUCT>(l)))
#define ON_WM_CTLCOLOR_REFLECT()                                                                 \
  ZX_ON(WM_REFLECT_BASE + WM_CTLCOLOR,                                                           \
        zx::afx::SetResult(res, zx::afx::AsResult(ZX_CALL(CtlColor)(                             \
                                    CDC::FromHandle(reinterpret_cast<AFX_CTLCOLOR*>(l)->hDC),    \
                                    reinterpret_cast<AFX_CTLCOLOR*>(l)->nCtlType))))
