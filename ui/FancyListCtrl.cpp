// CFancyListCtrl: the shared build's fonts, its check box centred in its column, white or
// second-colour rows with a focus frame, images centred in their cells, and the title over
// the wrapped text in the detail column.
#include "FancyListCtrl.h"

IMPLEMENT_DYNAMIC(CFancyListCtrl, CFancyListBase)

namespace {

constexpr UINT kOneLine = DT_SINGLELINE | DT_NOPREFIX;  // 0x820
constexpr COLORREF kWhite = 0xFFFFFF;

}  // namespace

const FancyListLook& CFancyListCtrl::SharedLook() {
  static const FancyListLook look{kCheckBitmapId,
                                  {u"Segoe UI", -12, FW_BOLD, CLEARTYPE_QUALITY},
                                  {u"Segoe UI", -11, FW_NORMAL, PROOF_QUALITY},
                                  {u"Segoe UI", -11, FW_NORMAL, PROOF_QUALITY}};
  return look;
}

CFancyListCtrl::CFancyListCtrl() : CFancyListCtrl(SharedLook()) {}

CFancyListCtrl::CFancyListCtrl(const FancyListLook& look) : CFancyListBase(look.checkBitmapId), m_look(look) {}

CFancyListCtrl::~CFancyListCtrl() = default;

void CFancyListCtrl::CreateFonts() {
  const FancyListLook::Font* looks[] = {&m_look.bold, &m_look.text, &m_look.detail};
  CFont* fonts[] = {&m_fontBold, &m_fontText, &m_fontDetail};
  for (int i = 0; i < 3; ++i) MakeListFont(*fonts[i], looks[i]->face, looks[i]->height, looks[i]->weight, looks[i]->quality);
}

BOOL CFancyListCtrl::SetItemDetails(int nItem, LPCTSTR lpszDetail, UINT, UINT, LPCTSTR, LPCTSTR, LPCTSTR) {
  if (!StoreDetail(nItem, lpszDetail)) return FALSE;
  Update(nItem);
  return TRUE;
}

CPoint CFancyListCtrl::CheckImageOrigin(int columnLeft, int columnWidth, const CRect& row) const {
  return CPoint(columnLeft + columnWidth / 2 - 8, row.top + row.Height() / 2 - 8);
}

void CFancyListCtrl::DrawRowBackground(CDC* pDC, int, const CRect& row, UINT state) {
  FillRow(pDC, row, state);
  if (state & ODS_FOCUS) {
    pDC->FillSolidRect(&row, kWhite);
    pDC->DrawFocusRect(&row);
  }
}

void CFancyListCtrl::DrawImageCell(CDC* pDC, int nItem, int x, int width, const CRect& row) {
  // A group header's title starts under the image column, so it shows no image.
  const auto at = static_cast<std::size_t>(nItem);
  const int image = m_rowKinds[at] == kFancyRowGroupHeader ? I_IMAGENONE : m_images[at];
  CImageList* images = GetImageColumnList();
  if (images && image >= 0 && image < images->GetImageCount())
    images->Draw(pDC, image, CPoint(x + width / 2 - 8, row.top + row.Height() / 2 - GetImageCell().Height() / 2),
                 ILD_TRANSPARENT);
}

void CFancyListCtrl::DrawDetailCell(CDC* pDC, int nItem, int x, int, const CRect& row) {
  const auto at = static_cast<std::size_t>(nItem);
  const int right = x + DetailAreaWidth();
  if (m_rowKinds[at] == kFancyRowGroupHeader) {
    pDC->SelectObject(&m_fontBold);
    pDC->SetTextColor(kGroupColour);
    CRect title(x - 35 + 14, row.top + 17, right, row.bottom);
    pDC->DrawText(m_details[at], &title, kOneLine);
    return;
  }
  pDC->SelectObject(&m_fontDetail);
  pDC->SetTextColor(kDetailColour);
  CRect title(x + 5, row.top + 6, right, row.bottom);
  pDC->DrawText(m_details[at], &title, kOneLine);
  pDC->SelectObject(&m_fontText);
  // The wrapped lines run to the row's last filled line: a row is first-line height + lines x
  // line height + 5 high, so two pixels less would cut its last line.
  WrapText(pDC, m_extraTexts[at], CRect(x + 5, row.top + 3 + GetFirstLineHeight(), x + 5 + DetailAreaWidth(), row.bottom),
           FALSE);
}
