// Device records: owned texts, reset, deep copy, record arrays and the case-blind sort.
#include "DeviceRecord.h"

#include <cstring>
#include <memory>

void CRecordText::Store(LPCWSTR text, int length) {
  // Room for one character more than the text, as the records have always kept it.
  m_text = std::make_unique<WCHAR[]>(static_cast<std::size_t>(length) + 2);
  std::memcpy(m_text.get(), text, static_cast<std::size_t>(length) * sizeof(WCHAR));
}

void CRecordText::Set(LPCWSTR text) {
  if (text == nullptr || text[0] == 0) return;
  Store(text, lstrlenW(text));
}

void CRecordText::CopyFrom(const CRecordText& other) {
  if (this == &other) return;
  Store(other.Text(), lstrlenW(other.Text()));
}

tagDeviceDriverInfo::tagDeviceDriverInfo()
    : nValues{}, nDriverRank(0), nProblem(0), nInfSigned(0), nExtraNumber(0) {}

tagDeviceDriverInfo::~tagDeviceDriverInfo() = default;

tagDeviceDriverInfo::tagDeviceDriverInfo(const tagDeviceDriverInfo& other) : tagDeviceDriverInfo() {
  CopyFrom(other);
}

tagDeviceDriverInfo& tagDeviceDriverInfo::operator=(const tagDeviceDriverInfo& other) {
  CopyFrom(other);
  return *this;
}

void tagDeviceDriverInfo::Reset() {
  for (CRecordText& text : szText) text.Free();
  szMatchingDeviceId.Free();
  szExtraText.Free();
  arrHardwareIds.RemoveAll();
  arrCompatibleIds.RemoveAll();
  arrAllHardwareIds.RemoveAll();
  arrAllCompatibleIds.RemoveAll();
  pLinked.reset();
  static constexpr int kResetValues[7] = {0, 0, 1, -1, -1, 0, 0};
  std::memcpy(nValues, kResetValues, sizeof nValues);
  nDriverRank = -1;
  nProblem = 0;
  nInfSigned = 0;
  nExtraNumber = -1;
}

void tagDeviceDriverInfo::CopyFrom(const tagDeviceDriverInfo& other) {
  if (this == &other) return;
  std::memcpy(nValues, other.nValues, sizeof nValues);
  nDriverRank = other.nDriverRank;
  nProblem = other.nProblem;
  nInfSigned = other.nInfSigned;
  nExtraNumber = other.nExtraNumber;
  for (int i = 0; i < kDeviceTextSlots; ++i) szText[i].CopyFrom(other.szText[i]);
  szMatchingDeviceId.CopyFrom(other.szMatchingDeviceId);
  szExtraText.CopyFrom(other.szExtraText);
  arrHardwareIds.Copy(other.arrHardwareIds);
  arrCompatibleIds.Copy(other.arrCompatibleIds);
  arrAllHardwareIds.Copy(other.arrAllHardwareIds);
  arrAllCompatibleIds.Copy(other.arrAllCompatibleIds);
  const tagDeviceDriverInfo* linked = other.pLinked ? other.pLinked->GetAt(0) : nullptr;
  if (linked == nullptr) {
    pLinked.reset();
    return;
  }
  auto copy = std::make_unique<CDeviceRecordArray>(1);
  copy->GetAt(0)->CopyFrom(*linked);
  pLinked = std::move(copy);
}

void CDeviceRecordArray::SetSize(INT_PTR newSize) {
  const std::size_t size = newSize < 0 ? 0 : static_cast<std::size_t>(newSize);
  if (size < m_records.size()) {
    m_records.resize(size);
    return;
  }
  m_records.reserve(size);
  while (m_records.size() < size) m_records.push_back(std::make_unique<tagDeviceDriverInfo>());
}

void CDeviceRecordArray::Renew() {
  for (const std::unique_ptr<tagDeviceDriverInfo>& record : m_records) {
    std::destroy_at(record.get());
    std::construct_at(record.get());
  }
}

tagDeviceDriverInfo* CDeviceRecordArray::GetAt(INT_PTR index) {
  return index >= 0 && index < GetSize() ? m_records[static_cast<std::size_t>(index)].get() : nullptr;
}

const tagDeviceDriverInfo* CDeviceRecordArray::GetAt(INT_PTR index) const {
  return index >= 0 && index < GetSize() ? m_records[static_cast<std::size_t>(index)].get() : nullptr;
}

tagDeviceDriverInfo& CDeviceRecordArray::ElementAtGrow(INT_PTR index) {
  if (index >= GetSize()) SetSize(index + 1);
  return *m_records[static_cast<std::size_t>(index)];
}

int CSortStringArray::CompareAndSwap(INT_PTR index) {
  if (index < 0 || index + 1 >= GetSize()) return 0;
  if (GetAt(index).CompareNoCase(GetAt(index + 1)) <= 0) return 0;
  const CString first = GetAt(index);
  SetAt(index, GetAt(index + 1));
  SetAt(index + 1, first);
  return 1;
}

void CSortStringArray::Sort() {
  for (bool swapped = true; swapped;) {
    swapped = false;
    for (INT_PTR i = 0; i + 1 < GetSize(); ++i) swapped = CompareAndSwap(i) != 0 || swapped;
  }
}
