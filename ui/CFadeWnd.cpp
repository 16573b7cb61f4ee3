// CFadeWnd: the fade window's class, its snapshot of the screen, the fade loop on its own
// thread and the window's life (the faded window disabled while it lives).
#include "CFadeWnd.h"

#include "wininput.h"
#include "winresource.h"

namespace {

constexpr LPCWSTR kClassName = u"Fade_Wnd_1";
constexpr DWORD kFadeStyle = 0xD0000000;  // WS_POPUP | WS_CHILD | WS_VISIBLE
constexpr UINT kClassStyle = 11;          // CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS
constexpr DWORD kFadeMs = 1500;

void RegisterFadeClass() {
  WNDCLASSW wc{};
  const HINSTANCE instance = AfxGetInstanceHandle();
  if (::GetClassInfoW(instance, kClassName, &wc)) return;
  wc.style = kClassStyle;
  wc.lpfnWndProc = ::DefWindowProcW;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kClassName;
  // A class that can't be registered shows as Fade failing to make its window.
  ::RegisterClassW(&wc);
}

BYTE Channel(DWORD pixel, int shift) { return static_cast<BYTE>((pixel >> shift) & 0xFF); }

}  // namespace

BEGIN_MESSAGE_MAP(CFadeWnd, CWnd)
  ON_WM_LBUTTONDOWN()
  ON_WM_RBUTTONDOWN()
  ON_WM_KILLFOCUS()
  ON_WM_PAINT()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CFadeWnd::CFadeWnd() {
  RegisterFadeClass();
  SetColors(0xFFFFFF, 0);
}

CFadeWnd::CFadeWnd(CWnd* pWnd, COLORREF crLight, COLORREF crDark) {
  RegisterFadeClass();
  SetColors(crLight, crDark);
  if (pWnd && ::IsWindow(pWnd->m_hWnd)) Fade(pWnd, FALSE);
}

CFadeWnd::~CFadeWnd() {
  StopFade();
  if (m_hWnd) DestroyWindow();
  if (m_wndInvisible.m_hWnd) m_wndInvisible.DestroyWindow();
  if (m_hbmpScreen) ::DeleteObject(m_hbmpScreen);
  if (m_hbmpFaded) ::DeleteObject(m_hbmpFaded);
  if (m_pWndLock && ::IsWindow(m_pWndLock->m_hWnd)) {
    m_pWndLock->EnableWindow(TRUE);
    m_pWndLock->SetFocus();
  }
}

void CFadeWnd::BuildColorTable(COLORREF crLight, COLORREF crDark, COLORREF* table) {
  for (int k = 0; k < kColors; ++k) {
    const auto mix = [&](BYTE dark, BYTE light) {
      return static_cast<BYTE>((dark * (255 - k) + light * k) / 256);
    };
    table[k] = RGB(mix(GetRValue(crDark), GetRValue(crLight)), mix(GetGValue(crDark), GetGValue(crLight)),
                   mix(GetBValue(crDark), GetBValue(crLight)));
  }
}

void CFadeWnd::SetColors(COLORREF crLight, COLORREF crDark) { BuildColorTable(crLight, crDark, m_colors); }

DWORD CFadeWnd::BlendPixel(const COLORREF* table, DWORD pixel, int alpha) {
  const int red = Channel(pixel, 16), green = Channel(pixel, 8), blue = Channel(pixel, 0);
  const COLORREF target = table[(red * 54 + green * 182 + blue * 19) / 256];
  const auto mix = [&](int to, int from) { return static_cast<DWORD>((to * alpha + from * (255 - alpha)) / 256); };
  // The fourth byte (the surface's opacity) is kept as it is.
  return (pixel & 0xFF000000u) | (mix(GetRValue(target), red) << 16) | (mix(GetGValue(target), green) << 8) |
         mix(GetBValue(target), blue);
}

int CFadeWnd::StepFor(DWORD frameMs) {
  // A first frame slower than the whole fade leaves no frames to share: the largest step.
  const DWORD frames = frameMs == 0 ? 20 : kFadeMs / frameMs;
  if (frames == 0) return 49;
  const int step = static_cast<int>(100 / frames);
  return step < 4 ? 3 : (step > 49 ? 49 : step);
}

BOOL CFadeWnd::Fade(CWnd* pWnd, BOOL bSelfDelete, CRect rect) {
  if (m_hWnd) return FALSE;  // already fading: the object stays as it is
  m_bSelfDelete = bSelfDelete;
  const auto refuse = [this] {
    if (m_bSelfDelete) delete this;
    return FALSE;
  };
  if (!pWnd || !::IsWindow(pWnd->m_hWnd)) return refuse();
  const HDC screen = ::GetDC(nullptr);
  const int caps = screen ? ::GetDeviceCaps(screen, RASTERCAPS) : RC_PALETTE;
  if (screen) ::ReleaseDC(nullptr, screen);
  if (!CanFade(caps)) return refuse();

  if (rect.IsRectEmpty()) pWnd->GetWindowRect(&rect);
  if (rect.left < 0) rect.left = 0;
  if (rect.top < 0) rect.top = 0;
  CString title;
  pWnd->GetWindowText(title);
  if (!CreateEx(0, kClassName, title, kFadeStyle, rect, pWnd, 0)) return refuse();

  if (pWnd->m_hWnd != ::GetDesktopWindow()) {
    m_pWndLock = pWnd;
    pWnd->EnableWindow(FALSE);
    const HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    if (::GetWindowRgn(pWnd->m_hWnd, region) != ERROR)
      ::SetWindowRgn(m_hWnd, region, FALSE);
    else
      ::DeleteObject(region);
  }
  if (!TakeSnapshot(rect)) {
    DestroyWindow();  // a self-deleting object is gone now
    if (!bSelfDelete && m_pWndLock) m_pWndLock->EnableWindow(TRUE);
    return FALSE;
  }
  m_pThread = AfxBeginThread(&CFadeWnd::FadeThread, this, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
  if (!m_pThread) return TRUE;  // the window shows the snapshot unfaded
  m_pThread->m_bAutoDelete = FALSE;
  m_pThread->ResumeThread();
  return TRUE;
}

BOOL CFadeWnd::TakeSnapshot(const CRect& rect) {
  const HDC display = ::CreateDCW(u"DISPLAY", nullptr, nullptr, nullptr);
  if (!display) return FALSE;
  CRect clipped(0, 0, ::GetDeviceCaps(display, HORZRES), ::GetDeviceCaps(display, VERTRES));
  BOOL taken = FALSE;
  if (clipped.IntersectRect(&clipped, &rect)) {
    const HDC memory = ::CreateCompatibleDC(display);
    m_hbmpScreen = ::CreateCompatibleBitmap(display, clipped.Width(), clipped.Height());
    if (memory && m_hbmpScreen) {
      const HGDIOBJ old = ::SelectObject(memory, m_hbmpScreen);
      taken = ::BitBlt(memory, 0, 0, clipped.Width(), clipped.Height(), display, clipped.left, clipped.top, SRCCOPY);
      ::SelectObject(memory, old);
    }
    if (memory) ::DeleteDC(memory);
  }
  ::DeleteDC(display);
  return taken;
}

UINT CFadeWnd::FadeThread(LPVOID pParam) {
  static_cast<CFadeWnd*>(pParam)->RunFade();
  return 0;
}

void CFadeWnd::RunFade() {
  int percent = 0, step = 0;
  while (percent < 100 && !m_bStop) {
    const DWORD start = ::timeGetTime();
    const HBITMAP image = MakeFadedImage(percent);
    {
      std::lock_guard<std::mutex> hold(m_lock);
      if (image) {
        if (m_hbmpFaded) ::DeleteObject(m_hbmpFaded);
        m_hbmpFaded = image;
      }
      m_steps.push_back(percent);
    }
    if (const HDC dc = ::GetDC(m_hWnd)) {
      PaintFaded(dc);
      ::ReleaseDC(m_hWnd, dc);
    }
    OnFadeStep(percent);
    if (step == 0) step = StepFor(::timeGetTime() - start);
    percent += step;
  }
}

void CFadeWnd::OnFadeStep(int) {}

HBITMAP CFadeWnd::MakeFadedImage(int nPercent) const {
  BITMAP size{};
  if (!::GetObjectW(m_hbmpScreen, sizeof(size), &size)) return nullptr;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = size.bmWidth;
  info.bmiHeader.biHeight = -size.bmHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const HDC memory = ::CreateCompatibleDC(nullptr);
  const HBITMAP image = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (image && ::GetDIBits(memory, m_hbmpScreen, 0, static_cast<UINT>(size.bmHeight), bits, &info, DIB_RGB_COLORS)) {
    const int alpha = AlphaFor(nPercent);
    auto* pixels = static_cast<DWORD*>(bits);
    const std::size_t count = static_cast<std::size_t>(size.bmWidth) * static_cast<std::size_t>(size.bmHeight);
    for (std::size_t i = 0; i < count; ++i) pixels[i] = BlendPixel(m_colors, pixels[i], alpha);
  }
  ::DeleteDC(memory);
  return image;
}

void CFadeWnd::PaintFaded(HDC dc) {
  std::lock_guard<std::mutex> hold(m_lock);
  if (!m_hbmpFaded) return;
  CRect client;
  ::GetClientRect(m_hWnd, &client);
  const HDC memory = ::CreateCompatibleDC(dc);
  const HGDIOBJ old = ::SelectObject(memory, m_hbmpFaded);
  ::BitBlt(dc, 0, 0, client.Width(), client.Height(), memory, 0, 0, SRCCOPY);
  ::SelectObject(memory, old);
  ::DeleteDC(memory);
}

void CFadeWnd::WaitForFade() {
  if (m_pThread) ::WaitForSingleObject(m_pThread->m_hThread, INFINITE);
}

void CFadeWnd::StopFade() {
  m_bStop = true;
  WaitForFade();
  delete m_pThread;
  m_pThread = nullptr;
}

std::vector<int> CFadeWnd::PaintedSteps() const {
  std::lock_guard<std::mutex> hold(m_lock);
  return m_steps;
}

BOOL CFadeWnd::PreCreateWindow(CREATESTRUCT& cs) {
  if (!m_wndInvisible.m_hWnd) {
    CWnd* main = AfxGetMainWnd();
    m_wndInvisible.CreateEx(0, AfxRegisterWndClass(0), u"", WS_POPUP, CW_USEDEFAULT, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, main ? main->m_hWnd : nullptr, nullptr);
  }
  // A child of the hidden owner would never be seen: the fade window stays a top-level popup
  // over the screen, owned by the hidden window.
  cs.style &= ~static_cast<LONG>(WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CHILD);
  cs.dwExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
  cs.hwndParent = m_wndInvisible.m_hWnd;
  return CWnd::PreCreateWindow(cs);
}

void CFadeWnd::OnDestroy() {
  StopFade();
  CWnd::OnDestroy();
}

void CFadeWnd::PostNcDestroy() {
  if (m_bSelfDelete)
    delete this;
  else
    CWnd::PostNcDestroy();
}

void CFadeWnd::OnLButtonDown(UINT nFlags, CPoint point) {
  CWnd::OnLButtonDown(nFlags, point);
  if (m_bSelfDelete && CloseOnLButton()) DestroyWindow();
}

void CFadeWnd::OnRButtonDown(UINT nFlags, CPoint point) {
  CWnd::OnRButtonDown(nFlags, point);
  if (m_bSelfDelete && CloseOnRButton()) DestroyWindow();
}

void CFadeWnd::OnKillFocus(CWnd* pNewWnd) {
  CWnd::OnKillFocus(pNewWnd);
  // Taking the focus back starts a focus change from within this one: a loss while it runs is
  // let go, or the two would call each other without end.
  if (m_bTakingFocus) return;
  m_bTakingFocus = true;
  SetFocus();
  m_bTakingFocus = false;
}

void CFadeWnd::OnPaint() {
  PAINTSTRUCT ps;
  const HDC dc = ::BeginPaint(m_hWnd, &ps);
  PaintFaded(dc);
  ::EndPaint(m_hWnd, &ps);
}

BOOL FadeWindow(CWnd* pWnd, COLORREF crLight, COLORREF crDark) {
  auto* fade = new CFadeWnd();
  fade->SetColors(crLight, crDark);
  return fade->Fade(pWnd, TRUE);
}
