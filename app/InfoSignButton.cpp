// The information-sign button: its picture stretched over the button, the sign centred on it.
#include "InfoSignButton.h"

#include "DlgButtonStyles.h"

namespace {
constexpr UINT kLightStrip = 1059;
constexpr UINT kInformationSign = 1115;
constexpr int kSignSize = 17;
}  // namespace

void CInfoSignButton::Place(CWnd& parent, UINT nID, const CRect& place) {
  SubclassDlgItem(nID, &parent);
  SetFourState(TRUE);
  LoadBitmap(kLightStrip);
  MoveWindow(&place);
}

void CInfoSignButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (!lpDrawItemStruct) return;
  CHoverButton::DrawItem(lpDrawItemStruct);
  if (!m_hSign) m_hSign = LoadIconFromResources(kInformationSign);
  if (!m_hSign) return;
  const CRect item(lpDrawItemStruct->rcItem);
  const int pressed = (lpDrawItemStruct->itemState & ODS_SELECTED) ? 1 : 0;
  ::DrawIconEx(lpDrawItemStruct->hDC, item.left + (item.Width() - kSignSize) / 2 + pressed,
               item.top + (item.Height() - kSignSize) / 2 + pressed, m_hSign, kSignSize, kSignSize, 0, nullptr,
               DI_NORMAL);
}
