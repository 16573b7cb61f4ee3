// CWnd and its window: the map from handles to objects, attaching and subclassing, creating a
// window for an object (attached before its first message through a CBT hook) and the end of
// a window's object.
#include <cstdio>
#include <mutex>
#include <set>

#include "afxstate.h"
#include "libloaderapi.h"
#include "processthreadsapi.h"
#include "zx/afxkinds.h"

namespace zx::afx {
namespace {

struct PermanentMap {
  std::mutex lock;
  std::unordered_map<HWND, CWnd*> objects;
};

PermanentMap& Permanent() {
  static auto* map = new PermanentMap;
  return *map;
}

}  // namespace

ThreadState::~ThreadState() {
  if (cbtHook) UnhookWindowsHookEx(cbtHook);
  for (auto& [window, object] : temporary) object->m_hWnd = nullptr;
}

ThreadState& State() {
  thread_local ThreadState state;
  return state;
}

}  // namespace zx::afx

using zx::afx::State;

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

CWnd::~CWnd() {
  if (!m_hWnd) return;
  if (FromHandlePermanent(m_hWnd) == this && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
  if (m_hWnd) Detach();
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
  auto& map = zx::afx::Permanent();
  std::lock_guard<std::mutex> guard(map.lock);
  const auto it = map.objects.find(hWnd);
  return it == map.objects.end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
  if (!hWnd) return nullptr;
  if (CWnd* permanent = FromHandlePermanent(hWnd)) return permanent;
  auto& temporary = State().temporary;
  auto& object = temporary[hWnd];
  if (!object) {
    object = zx::afx::MakeTemporaryObject(hWnd);
    object->m_hWnd = hWnd;
  }
  return object.get();
}

void CWnd::DeleteTempMap() {
  auto& temporary = State().temporary;
  for (auto& [window, object] : temporary) object->m_hWnd = nullptr;  // the windows stay
  temporary.clear();
  CDC::DeleteTempMap();
  CGdiObject::DeleteTempMap();
}

BOOL CWnd::Attach(HWND hWndNew) {
  if (!hWndNew || m_hWnd) return FALSE;
  auto& map = zx::afx::Permanent();
  std::lock_guard<std::mutex> guard(map.lock);
  if (map.objects.count(hWndNew)) return FALSE;
  map.objects[hWndNew] = this;
  m_hWnd = hWndNew;
  return TRUE;
}

HWND CWnd::Detach() {
  const HWND hWnd = m_hWnd;
  if (hWnd) {
    auto& map = zx::afx::Permanent();
    std::lock_guard<std::mutex> guard(map.lock);
    const auto it = map.objects.find(hWnd);
    if (it != map.objects.end() && it->second == this) map.objects.erase(it);
  }
  m_hWnd = nullptr;
  return hWnd;
}

void CWnd::HookProcedure() {
  const auto previous = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
  if (previous != AfxWndProc) m_pfnSuper = previous;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
  if (!::IsWindow(hWnd) || !Attach(hWnd)) return FALSE;
  PreSubclassWindow();
  HookProcedure();
  return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
  if (!pParent) return FALSE;
  const HWND control = ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID));
  return control && SubclassWindow(control);
}

HWND CWnd::UnsubclassWindow() {
  if (!m_hWnd) return nullptr;
  if (m_pfnSuper) ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
  m_pfnSuper = nullptr;
  return Detach();
}

void CWnd::ForgetWindow() {
  if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC)) == AfxWndProc && m_pfnSuper)
    ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
  m_pfnSuper = nullptr;
  Detach();
  PostNcDestroy();  // may delete this
}

void CWnd::PostNcDestroy() {}
void CWnd::PreSubclassWindow() {}

LRESULT CALLBACK CWnd::CbtFilterHook(int code, WPARAM wParam, LPARAM lParam) {
  auto& state = State();
  if (code == HCBT_CREATEWND && state.creating) {
    CWnd* object = state.creating;
    state.creating = nullptr;
    if (object->Attach(reinterpret_cast<HWND>(wParam))) {
      object->PreSubclassWindow();
      object->HookProcedure();
    }
  }
  return CallNextHookEx(state.cbtHook, code, wParam, lParam);
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs) {
  if (!cs.lpszClass) cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS);
  return cs.lpszClass != nullptr;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                    int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                    LPVOID lpParam) {
  if (m_hWnd) return FALSE;
  CREATESTRUCT cs{lpParam, AfxGetInstanceHandle(), nIDorHMenu,
                  hWndParent, nHeight, nWidth, y, x, static_cast<LONG>(dwStyle), lpszWindowName,
                  lpszClassName, dwExStyle};
  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }
  auto& state = State();
  if (!state.cbtHook)
    state.cbtHook = ::SetWindowsHookExW(WH_CBT, CbtFilterHook, nullptr, GetCurrentThreadId());
  state.creating = this;
  const HWND hWnd = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName,
                                      static_cast<DWORD>(cs.style), cs.x, cs.y, cs.cx, cs.cy,
                                      cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
  state.creating = nullptr;
  return hWnd != nullptr;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam) {
  return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                  rect.right - rect.left, rect.bottom - rect.top,
                  pParentWnd ? pParentWnd->m_hWnd : nullptr,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID) {
  return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID);
}

BOOL CWnd::DestroyWindow() {
  if (!m_hWnd) return FALSE;
  const HWND hWnd = m_hWnd;
  const bool permanent = FromHandlePermanent(hWnd) == this;
  const BOOL destroyed = ::DestroyWindow(hWnd);
  if (!destroyed) return FALSE;
  if (!permanent)
    m_hWnd = nullptr;  // a temporary object: the window is gone
  else if (FromHandlePermanent(hWnd) == this)
    Detach();  // attached without its procedure, so it never saw WM_NCDESTROY
  // Otherwise WM_NCDESTROY detached the object, which may be gone by now.
  return TRUE;
}

LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
  static std::mutex lock;
  static auto* names = new std::set<std::u16string>;
  const HINSTANCE instance = AfxGetInstanceHandle();
  char text[128];
  std::snprintf(text, sizeof text, "Afx:%p:%x:%p:%p:%p", static_cast<void*>(instance), nClassStyle,
                static_cast<void*>(hCursor), static_cast<void*>(hbrBackground), static_cast<void*>(hIcon));
  const std::u16string name(text, text + std::char_traits<char>::length(text));
  std::lock_guard<std::mutex> guard(lock);
  const auto [it, added] = names->insert(name);
  if (added) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = nClassStyle;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.hIcon = hIcon;
    wc.lpszClassName = it->c_str();
    WNDCLASSEXW existing;
    if (!::GetClassInfoExW(instance, it->c_str(), &existing) && !::RegisterClassExW(&wc)) {
      names->erase(it);
      return nullptr;
    }
  }
  return it->c_str();
}
