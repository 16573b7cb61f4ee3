// The bitmap button: state strips and three-piece pictures.
#include "HoverButton.h"

#include <winresource.h>

#include <algorithm>

#include "DrawingHelpers.h"

IMPLEMENT_DYNAMIC(CHoverButton, CBaseGUIButton)

namespace {

// Width and height of a bitmap; 0 x 0 for none.
SIZE BitmapSize(const CBitmap& bitmap) {
  BITMAP info{};
  if (!bitmap.GetSafeHandle() || !bitmap.GetBitmap(&info)) return SIZE{0, 0};
  return SIZE{info.bmWidth, info.bmHeight};
}

}  // namespace

CHoverButton::CHoverButton() = default;
CHoverButton::~CHoverButton() = default;

BOOL CHoverButton::AdoptStrip(HBITMAP hBitmap, int nStates) {
  m_bmpStrip.DeleteObject();
  m_nStateWidth = m_nStateHeight = 0;
  if (!hBitmap) return FALSE;
  m_bmpStrip.Attach(hBitmap);
  const SIZE size = BitmapSize(m_bmpStrip);
  m_nStateHeight = size.cy;
  m_nStateWidth = size.cx / nStates;
  if (m_hWnd)
    SetWindowPos(nullptr, 0, 0, m_nStateWidth, m_nStateHeight, SWP_NOMOVE | SWP_NOOWNERZORDER);
  m_bHighlighted = FALSE;
  m_bSingleStrip = TRUE;
  return TRUE;
}

BOOL CHoverButton::LoadBitmap(UINT nIDResource) {
  LPCWSTR name = MAKEINTRESOURCEW(nIDResource);
  return AdoptStrip(::LoadBitmapW(AfxFindResourceHandle(name, RT_BITMAP), name), m_bFourState ? 4 : 3);
}

// A strip handed over is cut in three whatever the four-state switch.
BOOL CHoverButton::SetBitmap(HBITMAP hBitmap) { return AdoptStrip(hBitmap, 3); }

BOOL CHoverButton::LoadThreePieces(UINT nLeftId, UINT nMiddleId, UINT nRightId, int nWidth, int nHeight) {
  const HINSTANCE module = AfxGetResourceHandle();
  CBitmap* pieces[] = {&m_bmpLeft, &m_bmpMiddle, &m_bmpRight};
  const UINT ids[] = {nLeftId, nMiddleId, nRightId};
  int* widths[] = {&m_nLeftWidth, &m_nMiddleWidth, &m_nRightWidth};
  int* heights[] = {&m_nLeftHeight, &m_nMiddleHeight, &m_nRightHeight};
  BOOL all = TRUE;
  for (int i = 0; i < 3; ++i) {
    pieces[i]->DeleteObject();
    HANDLE image = ::LoadImageW(module, MAKEINTRESOURCEW(ids[i]), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS);
    if (image) pieces[i]->Attach(image);
    // Each piece holds its three states side by side.
    const SIZE size = BitmapSize(*pieces[i]);
    *widths[i] = size.cx / 3;
    *heights[i] = size.cy;
    all = all && image != nullptr;
  }
  // The button's size is kept as its state size.
  m_nStateWidth = nWidth;
  m_nStateHeight = nHeight;
  if (m_hWnd) SetWindowPos(nullptr, 0, 0, nWidth, nHeight, SWP_NOMOVE | SWP_NOOWNERZORDER);
  m_bHighlighted = FALSE;
  m_bSingleStrip = FALSE;
  return all;
}

void CHoverButton::SetStickyPressed(BOOL bSticky) {
  m_bStickyPressed = bSticky ? TRUE : FALSE;
  if (m_hWnd) Invalidate(FALSE);
}

BOOL CHoverButton::IsDisabled(const DRAWITEMSTRUCT& item) const {
  return (item.itemState & ODS_DISABLED) || !IsWindowEnabled();
}

bool CHoverButton::HasDisabledImage() const {
  return m_bFourState && m_nStateWidth > 0 && BitmapSize(m_bmpStrip).cx >= 4 * m_nStateWidth;
}

int CHoverButton::StripSourceX(const DRAWITEMSTRUCT& item) const {
  if (HasDisabledImage() && IsDisabled(item)) return 3 * m_nStateWidth;
  if ((item.itemState & ODS_SELECTED) || m_bStickyPressed) return m_nStateWidth;
  if (!IsHot()) return 0;
  return 2 * m_nStateWidth;
}

void CHoverButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (!lpDrawItemStruct) return;
  if (!m_bSingleStrip) {
    DrawThreePiece(lpDrawItemStruct);
    return;
  }
  if (!m_bmpStrip.GetSafeHandle()) return;
  const CRect item(lpDrawItemStruct->rcItem);
  DrawState(CDC::FromHandle(lpDrawItemStruct->hDC), StripSourceX(*lpDrawItemStruct), item.Width(), item.Height());
}

// A button of its state's size shows the state as it is. One placed at another size (a page
// lays its buttons out at their own sizes after loading their strips) gets the whole button
// covered: the state's corners keep their size, its edges and middle stretch between them.
void CHoverButton::DrawState(CDC* pDC, int xSource, int nWidth, int nHeight) {
  if (nWidth == m_nStateWidth && nHeight == m_nStateHeight) {
    DrawBitmapPart(pDC, 0, 0, xSource, 0, m_nStateWidth, m_nStateHeight, m_bmpStrip, SRCCOPY);
    return;
  }
  if (nWidth <= 0 || nHeight <= 0 || m_nStateWidth <= 0 || m_nStateHeight <= 0) return;
  const int corner = std::min({4, m_nStateWidth / 3, m_nStateHeight / 3, nWidth / 2, nHeight / 2});
  // Source and destination offsets and lengths of the three bands across and down.
  const int sourceX[3] = {0, corner, m_nStateWidth - corner}, sourceW[3] = {corner, m_nStateWidth - 2 * corner, corner};
  const int sourceY[3] = {0, corner, m_nStateHeight - corner}, sourceH[3] = {corner, m_nStateHeight - 2 * corner, corner};
  const int destX[3] = {0, corner, nWidth - corner}, destW[3] = {corner, nWidth - 2 * corner, corner};
  const int destY[3] = {0, corner, nHeight - corner}, destH[3] = {corner, nHeight - 2 * corner, corner};
  for (int row = 0; row < 3; ++row)
    for (int column = 0; column < 3; ++column) {
      if (destW[column] <= 0 || destH[row] <= 0 || sourceW[column] <= 0 || sourceH[row] <= 0) continue;
      StretchBitmap(pDC, destX[column], destY[row], destW[column], destH[row], xSource + sourceX[column],
                    sourceY[row], sourceW[column], sourceH[row], m_bmpStrip, SRCCOPY);
    }
}

void CHoverButton::DrawThreePiece(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (!lpDrawItemStruct) return;
  const DRAWITEMSTRUCT& item = *lpDrawItemStruct;
  const int state = (item.itemState & ODS_SELECTED) ? 1 : IsHot() ? 2 : 0;
  const int width = item.rcItem.right - item.rcItem.left;
  CDC* dc = CDC::FromHandle(item.hDC);
  // A middle piece that did not load (width 0) is not tiled.
  if (m_bmpMiddle.GetSafeHandle() && m_nMiddleWidth > 0)
    for (int x = 0; x < width; x += m_nMiddleWidth)
      DrawBitmapPart(dc, x, 0, m_nMiddleWidth * state, 0, m_nMiddleWidth, m_nMiddleHeight, m_bmpMiddle, SRCCOPY);
  if (m_bmpLeft.GetSafeHandle())
    DrawBitmapPart(dc, 0, 0, m_nLeftWidth * state, 0, m_nLeftWidth, m_nLeftHeight, m_bmpLeft, SRCCOPY);
  if (m_bmpRight.GetSafeHandle())
    DrawBitmapPart(dc, width - m_nRightWidth, 0, m_nRightWidth * state, 0, m_nRightWidth, m_nLeftHeight, m_bmpRight,
                   SRCCOPY);
}
