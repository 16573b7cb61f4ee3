// CTransparentCheckRadio: the reflected colour message of check boxes and radio buttons.
#include "CTransparentCheckRadio.h"

namespace {
constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kTextColour = 0x48362D;
}  // namespace

BEGIN_MESSAGE_MAP(CTransparentCheckRadio, CButton)
  ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

HBRUSH CTransparentCheckRadio::WhiteBrush() {
  static const HBRUSH brush = CreateSolidBrush(kWhite);
  return brush;
}

HBRUSH CTransparentCheckRadio::CtlColor(CDC* pDC, UINT) {
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetBkColor(kWhite);
  pDC->SetTextColor(kTextColour);
  return WhiteBrush();
}
