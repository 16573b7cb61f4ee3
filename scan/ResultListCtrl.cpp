// The results list over the class library's list control.
#include "ResultListCtrl.h"

void CResultListCtrl::SetUpColumns(const CString (&headings)[kResultColumns]) {
  static const int kWidths[kResultColumns] = {260, 60, 50, 150, 90, 90};
  for (int column = 0; column < kResultColumns; ++column)
    m_list.InsertColumn(column, headings[column], LVCFMT_LEFT, kWidths[column]);
  m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
}

bool CResultListCtrl::HasWindow() const {
  const HWND window = m_list.GetSafeHwnd();
  return window != nullptr && IsWindow(window);
}

void CResultListCtrl::SetItemDetails(int item, const CString& name, int severity, int riskLevel,
                                     const CString& className, const CString& currentDate, const CString& newDate) {
  CString severityText, riskText;
  severityText.Format(_T("%d"), severity);
  riskText.Format(_T("%d"), riskLevel);
  m_list.SetItemText(item, kColumnDevice, name);
  m_list.SetItemText(item, kColumnSeverity, severityText);
  m_list.SetItemText(item, kColumnRisk, riskText);
  m_list.SetItemText(item, kColumnClass, className);
  m_list.SetItemText(item, kColumnCurrentDate, currentDate);
  m_list.SetItemText(item, kColumnNewDate, newDate);
}

void CResultListCtrl::SelectSingleItem(int item) {
  m_list.SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  m_list.SetItemState(item, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  m_list.EnsureVisible(item, FALSE);
}

void CResultListCtrl::Repaint() {
  if (HasWindow()) m_list.Invalidate();
}
