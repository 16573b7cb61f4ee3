// CFancyRowData: a build of the owner-drawn list that keeps further data per row beside the
// shared ones: a fixed number of texts and of 32-bit values, each row's entries inserted,
// removed, cleared and sorted with the row itself.
#pragma once
#include <afx.h>

#include <array>
#include <cstddef>
#include <vector>

template <class Base, std::size_t Texts, std::size_t Values>
class CFancyRowData : public Base {
 public:
  using Base::Base;

  // The row's further text or value number `which`; FALSE (nothing stored) outside the list
  // or past the build's count.
  BOOL SetItemFurtherText(int nItem, std::size_t which, LPCTSTR lpszText) {
    if (!this->ValidRow(nItem) || which >= Texts) return FALSE;
    m_texts[which][static_cast<std::size_t>(nItem)] = lpszText ? lpszText : _T("");
    return TRUE;
  }
  CString GetItemFurtherText(int nItem, std::size_t which) const {
    return this->ValidRow(nItem) && which < Texts ? m_texts[which][static_cast<std::size_t>(nItem)] : CString();
  }
  BOOL SetItemValue(int nItem, std::size_t which, DWORD dwValue) {
    if (!this->ValidRow(nItem) || which >= Values) return FALSE;
    m_values[which][static_cast<std::size_t>(nItem)] = dwValue;
    return TRUE;
  }
  DWORD GetItemValue(int nItem, std::size_t which) const {
    return this->ValidRow(nItem) && which < Values ? m_values[which][static_cast<std::size_t>(nItem)] : 0;
  }

 protected:
  void OnRowInserted(std::size_t at) override {
    Base::OnRowInserted(at);
    for (auto& texts : m_texts) Base::InsertAt(texts, at, CString());
    for (auto& values : m_values) Base::InsertAt(values, at, DWORD{0});
  }
  void OnRowRemoved(std::size_t at) override {
    Base::OnRowRemoved(at);
    for (auto& texts : m_texts) Base::EraseAt(texts, at);
    for (auto& values : m_values) Base::EraseAt(values, at);
  }
  void OnRowsCleared() override {
    Base::OnRowsCleared();
    for (auto& texts : m_texts) texts.clear();
    for (auto& values : m_values) values.clear();
  }
  void OnRowsReordered(const std::vector<std::size_t>& before) override {
    Base::OnRowsReordered(before);
    for (auto& texts : m_texts) Base::Reorder(texts, before);
    for (auto& values : m_values) Base::Reorder(values, before);
  }

 private:
  std::array<std::vector<CString>, Texts> m_texts;
  std::array<std::vector<DWORD>, Values> m_values;
};
