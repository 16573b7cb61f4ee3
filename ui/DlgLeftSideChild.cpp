// CDlgLeftSideChild: page layout, page header painting and the large-layout placement.
#include "DlgLeftSideChild.h"

#include <cmath>

#include <winresource.h>

#include "DlgBaseShared.h"
#include "XTMemDC.h"

IMPLEMENT_DYNAMIC(CDlgLeftSideChild, CDlgBaseWnd)

BEGIN_MESSAGE_MAP(CDlgLeftSideChild, CDlgBaseWnd)
  ON_WM_PAINT()
END_MESSAGE_MAP()

namespace {

constexpr UINT kPageIcon = 1075;
constexpr UINT kBottomStrip = 1019;
constexpr UINT kLargeHeader = 1094;
constexpr UINT kBadge = 1088;
constexpr COLORREF kTitleShadow = 0xD8C6BD;
constexpr COLORREF kTitleColour = 0x323232;
constexpr COLORREF kLargeTitleColour = 0x3B3633;
constexpr double kScaleAcross = 1.5016077;
constexpr double kScaleDown = 1.62378;
constexpr UINT kTitleFormat = DT_SINGLELINE | DT_LEFT | DT_TOP | DT_NOPREFIX;

int ScaledUp(int value, double factor) { return static_cast<int>(std::ceil(value * factor)); }

}  // namespace

CDlgLeftSideChild::CDlgLeftSideChild() = default;

CDlgLeftSideChild::CDlgLeftSideChild(UINT nIDTemplate, CWnd* pParentWnd) : CDlgBaseWnd(nIDTemplate, pParentWnd) {}

BOOL CDlgLeftSideChild::OnInitDialog() {
  CDlgBaseWnd::OnInitDialog();
  m_rcAction.SetRect(353, 406, 550, 438);
  const LPCTSTR name = MAKEINTRESOURCEW(m_nTemplateId);
  m_fontScaler.Apply(AfxFindResourceHandle(name, RT_DIALOG), m_hWnd, static_cast<int>(m_nTemplateId), 96.0);
  SendFontToDescendants(m_hWnd, GetSharedDialogFont());
  SetWindowPos(nullptr, 0, 0, kPageWidth, kPageHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  return TRUE;
}

void CDlgLeftSideChild::OnPaint() {
  CPaintDC paint(this);
  CRect client;
  GetClientRect(&client);
  if (PaintThroughCallback(&paint, client)) return;
  CXTMemDC memory(&paint, client, kDialogBackColour);
  PaintPage(&memory, client, TRUE);
}

void CDlgLeftSideChild::PaintBottomStrip(CDC* pDC, const CRect& rect) const {
  if (!m_bBottomStrip) return;
  const CHVBitmap& strip = SharedBitmap(kBottomStrip);
  TileAcross(pDC, strip, 0, rect.Width(), rect.bottom - strip.GetHeight());
}

void CDlgLeftSideChild::PaintPage(CDC* pDC, const CRect& rect, BOOL bDrawIcon) {
  CString title;
  GetWindowText(title);
  DrawShadowedText(pDC, title, CRect(22, 14, 562, 34), GetSharedTitleFont(-15, FW_BOLD), kTitleShadow,
                   kTitleColour, kTitleFormat);
  if (bDrawIcon) DrawWhole(pDC, SharedBitmap(kPageIcon), 22, 42);
  PaintBottomStrip(pDC, rect);
}

void CDlgLeftSideChild::PaintLargePageHeader(CDC* pDC, const CRect& rect, int nLeftMargin, BOOL bDrawIcon) {
  DrawWhole(pDC, SharedBitmap(kLargeHeader), 0, 0);
  CString title;
  GetWindowText(title);
  DrawShadowedText(pDC, title, CRect(nLeftMargin, 14, rect.right - nLeftMargin, 64),
                   GetSharedTitleFont(-22, FW_NORMAL), kTitleShadow, kLargeTitleColour, kTitleFormat);
  if (bDrawIcon) DrawWhole(pDC, SharedBitmap(kPageIcon), nLeftMargin, 50);
  PaintBottomStrip(pDC, rect);
}

void CDlgLeftSideChild::DrawPageBadge(CDC* pDC, int x, int y) { DrawWhole(pDC, SharedBitmap(kBadge), x, y); }

void CDlgLeftSideChild::MoveDlgItemScaled(UINT nID, int x, int y, int nWidth, int nHeight) {
  if (CWnd* item = GetDlgItem(static_cast<int>(nID)))
    item->MoveWindow(ScaledUp(x, kScaleAcross), ScaledUp(y, kScaleDown), nWidth, nHeight);
}

void CDlgLeftSideChild::MoveDlgItemScaledSize(UINT nID, int x, int y, int nWidth, int nHeight) {
  if (CWnd* item = GetDlgItem(static_cast<int>(nID)))
    item->MoveWindow(ScaledUp(x, kScaleAcross), ScaledUp(y, kScaleDown), ScaledUp(nWidth, kScaleAcross),
                     ScaledUp(nHeight, kScaleDown));
}
