// The update checker's own build of the owner-drawn update list: the check images of the
// program's bitmap 5005, its fonts, three further texts and three values per row, the band of
// each row where a click ticks the row, and the detail column's text (the database download's
// size) under a row's title.
#pragma once
#include "FancyListCtrl.h"
#include "FancyRowData.h"

namespace checkupdate {

// The row a click at client point (x, y) ticks, or -1: x within 6 to 16 pixels right of the
// check column's left edge, and the height below the header moved down by 7 and taken row by
// row from the top visible row, landing 16 to 26 pixels into a row.
int CheckClickRow(int x, int y, int checkLeft, int headerHeight, int rowHeight, int topRow);

class CFancyListCtrl : public CFancyRowData<::CFancyListCtrl, 3, 3> {
 public:
  static constexpr UINT kCheckBitmapId = 5005;
  // What a row keeps of its update: its own description, version and size texts and its kind.
  static constexpr std::size_t kDescriptionText = 0, kVersionText = 1, kSizeText = 2;
  static constexpr std::size_t kKindValue = 0;

  CFancyListCtrl();

 protected:
  void CreateFonts() override;
  int CheckBoxRowAt(CPoint point) const override;
  // The title, then the detail column's text on the line below when the row has no wrapped text.
  void DrawDetailCell(CDC* pDC, int nItem, int x, int width, const CRect& row) override;

 private:
  CFont m_fontLarge;  // the build's fourth font, bold "Segoe UI" -15, beside its look's three
};

}  // namespace checkupdate
