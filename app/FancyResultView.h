// CFancyResultView: the main program's result list as the scan engine writes it: each found
// update becomes a row of the owner-drawn list with its class image, title, severity badge,
// class line and the installed and available dates.
#pragma once
#include "ResultRows.h"
#include "VelquorFancyList.h"

class CFancyResultView : public IResultListView {
 public:
  // The list is the caller's and must outlive this object.
  explicit CFancyResultView(velquor::CFancyListCtrl& list) : m_list(list) {}

  bool HasWindow() const override { return m_list.GetSafeHwnd() != nullptr; }
  void DeleteAllItems() override { m_list.DeleteAllItems(); }
  int GetItemCount() const override { return m_list.GetItemCount(); }
  int InsertItem(int item, int image) override;
  void SetItemDetails(int item, const CString& name, int severity, int riskLevel, const CString& className,
                      const CString& currentDate, const CString& newDate) override;
  void SetItemData(int item, DWORD_PTR data) override { m_list.SetItemData(item, data); }
  void SetCheck(int item, BOOL checked) override { m_list.SetCheck(item, checked); }
  void SelectSingleItem(int item) override { m_list.SelectSingleItem(item); }
  void Repaint() override;

 private:
  velquor::CFancyListCtrl& m_list;
};
