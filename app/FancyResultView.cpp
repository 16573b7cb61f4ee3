// CFancyResultView: the engine's rows written into the main program's owner-drawn list.
#include "FancyResultView.h"

int CFancyResultView::InsertItem(int item, int image) {
  LVITEM row{};
  row.mask = LVIF_TEXT | LVIF_IMAGE;
  row.iItem = item;
  row.iImage = image;
  row.pszText = const_cast<LPTSTR>(_T(""));
  return m_list.InsertItem(&row);
}

void CFancyResultView::SetItemDetails(int item, const CString& name, int severity, int riskLevel,
                                      const CString& className, const CString& currentDate, const CString& newDate) {
  m_list.SetItemDetails(item, name, static_cast<UINT>(severity), static_cast<UINT>(riskLevel), className, currentDate,
                        newDate);
}

void CFancyResultView::Repaint() {
  if (m_list.GetSafeHwnd()) m_list.Invalidate();
}
