// CResultListCtrl: the results list as a report-style list control of the class library. It
// lays out the result columns (device, severity, risk, class, current and new driver date)
// and gives the engine the operations it writes rows with.
#pragma once
#include <afxcmn.h>

#include "ResultRows.h"

enum ResultColumn {
  kColumnDevice = 0,
  kColumnSeverity,
  kColumnRisk,
  kColumnClass,
  kColumnCurrentDate,
  kColumnNewDate,
  kResultColumns,
};

class CResultListCtrl : public IResultListView {
 public:
  // The control is the caller's and must outlive this object.
  explicit CResultListCtrl(CListCtrl& list) : m_list(list) {}
  // Adds the six columns with their headings, and check boxes and whole-row selection.
  void SetUpColumns(const CString (&headings)[kResultColumns]);

  bool HasWindow() const override;
  void DeleteAllItems() override { m_list.DeleteAllItems(); }
  int GetItemCount() const override { return m_list.GetItemCount(); }
  int InsertItem(int item, int image) override { return m_list.InsertItem(item, _T(""), image); }
  void SetItemDetails(int item, const CString& name, int severity, int riskLevel, const CString& className,
                      const CString& currentDate, const CString& newDate) override;
  void SetItemData(int item, DWORD_PTR data) override { m_list.SetItemData(item, data); }
  void SetCheck(int item, BOOL checked) override { m_list.SetCheck(item, checked); }
  void SelectSingleItem(int item) override;
  void Repaint() override;

 private:
  CListCtrl& m_list;
};
