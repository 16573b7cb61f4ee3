// CListSortClass: sorts the rows of a report list by the text of one column, through the
// list's own sort, with a number, text, date-time or decimal comparison.
#pragma once
#include "HelperApi.h"
#include <afxcmn.h>

#include <memory>
#include <unordered_set>
#include <vector>

// How the column texts are compared; the sign of the value passed to the list gives the
// direction (positive ascending, negative descending).
enum ListSortKey {
  kListSortNumber = 1,   // the digits of the text as one whole number
  kListSortText = 2,     // text without regard to case
  kListSortDate = 3,     // date and time
  kListSortDecimal = 4,  // a decimal number
};

class ZXHELPER_API CListSortClass {
 public:
  // Each row's item data is replaced by a record holding it and the column's text until the
  // sorter goes away. A null list makes a sorter that does nothing.
  CListSortClass(CListCtrl* pList, int nColumn);
  virtual ~CListSortClass();
  CListSortClass(const CListSortClass&) = delete;
  CListSortClass& operator=(const CListSortClass&) = delete;

  // The list's answer to LVM_SORTITEMS with the key (ascending) or the negated key.
  virtual BOOL Sort(BOOL bAscending, int nSortKey);

  // The comparison of two column texts under a sort parameter (the key, negated for
  // descending): below 0 when the first comes first. Other keys answer 0.
  static int CompareTexts(const CString& first, const CString& second, LPARAM lParamSort);

 private:
  struct SortRecord {
    DWORD_PTR itemData;
    CString text;
  };
  // The list's comparator: two rows' item data; a value that is not one of the sorting
  // sorter's records compares equal to everything.
  static int CALLBACK Compare(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort);
  const SortRecord* RecordOf(LPARAM value) const;

  CListCtrl* m_pList;
  std::vector<std::unique_ptr<SortRecord>> m_records;
  std::unordered_set<LPARAM> m_recordValues;  // the records' addresses as item data
};
