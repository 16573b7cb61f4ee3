// CListSortClass: the records that stand in for the rows' item data while a sort runs, the
// comparison of the column texts, and giving the item data back.
#include "ListSortClass.h"

#include <stringapiset.h>

#include <cstdlib>

#include "ListSortDate.h"

namespace {

// The sorter whose LVM_SORTITEMS is running on this thread: the comparator only reads
// records that sorter made.
thread_local const CListSortClass* t_sorting = nullptr;

// The decimal digits of the text read as one number; a text without digits is 0, one
// beyond the 32-bit range is the largest 32-bit value.
LONG DigitsValue(const CString& text) {
  constexpr long long kLargest = 0x7FFFFFFF;
  long long value = 0;
  for (int i = 0; i < text.GetLength(); ++i) {
    const WCHAR c = text[i];
    if (c < u'0' || c > u'9') continue;
    value = value * 10 + (c - u'0');
    if (value > kLargest) return static_cast<LONG>(kLargest);
  }
  return static_cast<LONG>(value);
}

// The text in the ANSI code page (at most 255 bytes) read as a decimal number.
double DecimalValue(const CString& text) {
  char narrow[256] = {};
  const int length = text.GetLength() < 255 ? text.GetLength() : 255;
  if (length > 0) WideCharToMultiByte(CP_ACP, 0, text.GetString(), length, narrow, 255, nullptr, nullptr);
  return std::atof(narrow);
}

int CompareDates(const CString& first, const CString& second) {
  long long firstValue = 0, secondValue = 0;
  const ListDateRead a = ReadListDate(first, &firstValue);
  const ListDateRead b = ReadListDate(second, &secondValue);
  if (a == ListDateRead::kNotDate || b == ListDateRead::kNotDate) return 0;
  if (a == ListDateRead::kInvalid || b == ListDateRead::kInvalid) return 1;
  return firstValue < secondValue ? -1 : 1;
}

}  // namespace

CListSortClass::CListSortClass(CListCtrl* pList, int nColumn) : m_pList(pList) {
  if (m_pList == nullptr) return;
  const int count = m_pList->GetItemCount();
  m_records.reserve(static_cast<std::size_t>(count > 0 ? count : 0));
  for (int row = 0; row < count; ++row) {
    auto record = std::make_unique<SortRecord>(SortRecord{m_pList->GetItemData(row),
                                                          m_pList->GetItemText(row, nColumn)});
    m_pList->SetItemData(row, reinterpret_cast<DWORD_PTR>(record.get()));
    m_recordValues.insert(reinterpret_cast<LPARAM>(record.get()));
    m_records.push_back(std::move(record));
  }
}

CListSortClass::~CListSortClass() {
  if (m_pList == nullptr) return;
  const int count = m_pList->GetItemCount();
  for (int row = 0; row < count; ++row) {
    if (const SortRecord* record = RecordOf(static_cast<LPARAM>(m_pList->GetItemData(row))))
      m_pList->SetItemData(row, record->itemData);
  }
}

BOOL CListSortClass::Sort(BOOL bAscending, int nSortKey) {
  if (m_pList == nullptr) return FALSE;
  const CListSortClass* outer = t_sorting;
  t_sorting = this;
  const BOOL sorted = m_pList->SortItems(&CListSortClass::Compare,
                                         static_cast<DWORD_PTR>(static_cast<LPARAM>(bAscending ? nSortKey : -nSortKey)));
  t_sorting = outer;
  return sorted;
}

const CListSortClass::SortRecord* CListSortClass::RecordOf(LPARAM value) const {
  if (value == 0 || m_recordValues.count(value) == 0) return nullptr;
  return reinterpret_cast<const SortRecord*>(value);
}

int CALLBACK CListSortClass::Compare(LPARAM lParam1, LPARAM lParam2, LPARAM lParamSort) {
  if (t_sorting == nullptr) return 0;
  const SortRecord* first = t_sorting->RecordOf(lParam1);
  const SortRecord* second = t_sorting->RecordOf(lParam2);
  if (first == nullptr || second == nullptr) return 0;
  return CompareTexts(first->text, second->text, lParamSort);
}

int CListSortClass::CompareTexts(const CString& first, const CString& second, LPARAM lParamSort) {
  const int direction = lParamSort < 0 ? -1 : 1;
  const LPARAM key = lParamSort < 0 ? -lParamSort : lParamSort;
  switch (key) {
    case kListSortNumber: {
      const long long difference = static_cast<long long>(DigitsValue(first)) - DigitsValue(second);
      return static_cast<int>(difference) * direction;
    }
    case kListSortText:
      return first.CompareNoCase(second) * direction;
    case kListSortDate:
      return CompareDates(first, second) * direction;
    case kListSortDecimal:
      return (DecimalValue(first) < DecimalValue(second) ? -1 : 1) * direction;
    default:
      return 0;
  }
}
