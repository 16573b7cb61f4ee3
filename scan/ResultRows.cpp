// Result rows: the found updates written into the results list, the rows kept beside it, and
// the list rebuilt from the rows.
#include "ResultRows.h"

#include "DriverInstallEngine.h"
#include "DriverScanUpdate.h"
#include "EngineCallbacks.h"
#include "ScanServices.h"

namespace {

constexpr int kShownNameLength = 68;
constexpr int kCutNameLength = 65;

// A text of decimal digits only, as a number; -1 otherwise (or when it has more than nine).
int DigitsNumber(const CString& text) {
  if (text.IsEmpty() || text.GetLength() > 9) return -1;
  int value = 0;
  for (int i = 0; i < text.GetLength(); ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

bool IsDate(int year, int month, int day) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1601 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
  return day <= kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

bool IsOneClick() {
  const CEngineProgressView* view = GetEngineProgressView();
  return view != nullptr && view->bOneClick.load();
}

}  // namespace

void CResultRowArray::AddResultRow(const tagUpdateResultsStruct& row) {
  for (const tagUpdateResultsStruct& own : m_rows)
    if (own.nDeviceIndex == row.nDeviceIndex) return;
  m_rows.push_back(row);
}

CString FormatResultDate(const CString& text) {
  CString trimmed = text;
  trimmed.Trim();
  CStringArray parts;
  int position = 0;
  for (int i = 0; i <= trimmed.GetLength(); ++i) {
    if (i < trimmed.GetLength() && trimmed[i] != '-' && trimmed[i] != '/' && trimmed[i] != '.') continue;
    parts.Add(trimmed.Mid(position, i - position));
    position = i + 1;
  }
  if (parts.GetSize() != 3) return CString();
  for (INT_PTR i = 0; i < 3; ++i)
    if (DigitsNumber(parts[i]) < 0 || parts[i].GetLength() > 4) return CString();
  const bool yearFirst = parts[0].GetLength() == 4;
  const int year = DigitsNumber(parts[yearFirst ? 0 : 2]);
  const int month = DigitsNumber(parts[yearFirst ? 1 : 0]);
  const int day = DigitsNumber(parts[yearFirst ? 2 : 1]);
  if (!IsDate(year, month, day)) return CString();
  CString date;
  date.Format(_T("%04d-%02d-%02d"), year, month, day);
  return date;
}

CString ShortenedDeviceName(const CString& name) {
  if (name.GetLength() <= kShownNameLength) return name;
  return name.Left(kCutNameLength) + _T("...");
}

bool CDriverScanUpdate::IsDownloaded(const tagDeviceDriverInfo& update) const {
  if (m_pDownloaded == nullptr) return false;
  CString key = update.szText[kSlotHardwareId].Text();
  StripFileNameChars(key);
  key.MakeLower();
  CString path;
  if (!m_pDownloaded->Lookup(key, path)) return false;
  const CString digest = GetFileMd5IfExists(path);
  return !digest.IsEmpty() && digest.CompareNoCase(update.szText[kSlotUpdate13].Text()) == 0;
}

int CDriverScanUpdate::ClearResults() {
  m_mapItems.RemoveAll();
  m_rows.RemoveAll();
  // No row is shown any more: a refill counts its rows afresh.
  m_nShownResults = 0;
  m_nSelectedItem = -1;
  if (m_pResultList == nullptr) return 0;
  m_pResultList->DeleteAllItems();
  return 1;
}

int CDriverScanUpdate::FillResults() {
  if (!ClearResults()) return 0;
  int firstItem = -1;
  if (m_bScanDone && m_nUpdatesFound > 0) {
    int rowNumber = 0;
    for (INT_PTR k = 0; k < m_arrResultKeys.GetSize(); ++k) {
      const CString& key = m_arrResultKeys[k];
      const int lastBar = key.ReverseFind('|');
      const int deviceIndex = lastBar >= 0 ? DigitsNumber(key.Mid(lastBar + 1)) : -1;
      const tagDeviceDriverInfo* device =
          deviceIndex >= 0 && deviceIndex < m_nDeviceCount ? m_pDevices->GetAt(deviceIndex) : nullptr;
      const tagDeviceDriverInfo* update = GetUpdateRecord(deviceIndex);
      if (device == nullptr || update == nullptr || update->szText[kSlotHardwareId].IsNull()) continue;

      tagUpdateResultsStruct row;
      row.nDeviceIndex = deviceIndex;
      row.strClassName = device->szText[kSlotClassName].Text();
      row.strDeviceName = device->szText[kSlotDeviceName].Text();
      row.strCurrentDate = FormatResultDate(device->szText[kSlotDriverDate].Text());
      CString newDate = update->szText[kSlotDriverDate].Text();
      const int timeMark = newDate.Find('T');
      if (timeMark >= 0) newDate = newDate.Left(timeMark);
      row.strNewDate = FormatResultDate(newDate);
      row.nSeverity = update->nValues[5];
      row.nRiskLevel = update->nValues[6];
      row.nImageIndex = ClassImageOf(*device);

      const int item = m_pResultList->InsertItem(rowNumber, row.nImageIndex);
      if (item < 0) continue;
      ++rowNumber;
      CString itemText, indexText, known;
      itemText.Format(_T("%d"), item);
      indexText.Format(_T("%d"), deviceIndex);
      if (!m_mapItems.Lookup(itemText, known)) m_mapItems.SetAt(itemText, indexText);
      const bool downloaded = IsDownloaded(*update);
      m_pResultList->SetItemDetails(item, ShortenedDeviceName(row.strDeviceName), row.nSeverity, row.nRiskLevel,
                                    row.strClassName, row.strCurrentDate, row.strNewDate);
      m_pResultList->SetItemData(item, downloaded ? 1 : 0);
      row.nListItem = item;
      row.nState = downloaded ? kRowDownloaded : kRowFound;
      m_rows.AddResultRow(row);
      ++m_nShownResults;
      if (firstItem < 0) firstItem = item;
    }
  }
  m_pResultList->Repaint();
  if (m_pResultList->GetItemCount() > 0 && firstItem >= 0) {
    m_pResultList->SelectSingleItem(firstItem);
    m_nSelectedItem = firstItem;
  }
  return 1;
}

int CDriverScanUpdate::RebuildResultList() {
  if (m_pResultList == nullptr || !m_pResultList->HasWindow()) return 0;
  const bool oneClick = IsOneClick();
  IResultListView* popup = oneClick ? m_pPopupList : nullptr;
  m_pResultList->DeleteAllItems();
  m_mapItems.RemoveAll();
  if (popup != nullptr) popup->DeleteAllItems();
  m_nShownResults = 0;
  int item = 0;
  for (INT_PTR i = 0; i < m_rows.GetSize(); ++i) {
    tagUpdateResultsStruct& row = m_rows[i];
    if (row.bHidden != 0 || (oneClick && row.nState == kRowInstalled)) continue;
    const int inserted = m_pResultList->InsertItem(item, row.nImageIndex);
    if (inserted < 0) continue;
    m_pResultList->SetItemDetails(inserted, row.strDeviceName, row.nSeverity, row.nRiskLevel, row.strClassName,
                                  row.strCurrentDate, row.strNewDate);
    m_pResultList->SetItemData(inserted, static_cast<DWORD_PTR>(row.nState));
    if (popup != nullptr && popup->InsertItem(item, row.nImageIndex) >= 0) {
      popup->SetItemDetails(inserted, row.strDeviceName, 4, 0, CString(), CString(), CString());
      popup->SetItemData(inserted, static_cast<DWORD_PTR>(row.nState));
      popup->SetCheck(inserted, row.bChecked);
    }
    row.nListItem = inserted;
    CString itemText, indexText, known;
    itemText.Format(_T("%d"), inserted);
    indexText.Format(_T("%d"), row.nDeviceIndex);
    if (!m_mapItems.Lookup(itemText, known)) m_mapItems.SetAt(itemText, indexText);
    m_pResultList->SetCheck(inserted, row.bChecked);
    ++m_nShownResults;
    item = inserted + 1;
  }
  if (m_pResultList->GetItemCount() > 0) {
    m_pResultList->SelectSingleItem(0);
    m_nSelectedItem = 0;
  }
  return 1;
}

void CDriverScanUpdate::SetResultRowState(int listItem, int state, BYTE hidden) {
  for (INT_PTR i = 0; i < m_rows.GetSize(); ++i) {
    tagUpdateResultsStruct& row = m_rows[i];
    if (row.nListItem != listItem) continue;
    if (hidden != 0)
      row.bHidden = hidden;
    else
      row.nState = state;
  }
}

void CDriverScanUpdate::ClearResultRowCheck(int listItem) {
  SetResultRowChecked(listItem, FALSE);
  if (m_pResultList != nullptr && m_pResultList->HasWindow() && listItem >= 0 && listItem < m_pResultList->GetItemCount())
    m_pResultList->SetCheck(listItem, FALSE);
}

void CDriverScanUpdate::SetResultRowChecked(int listItem, BOOL checked) {
  for (INT_PTR i = 0; i < m_rows.GetSize(); ++i)
    if (m_rows[i].nListItem == listItem && m_rows[i].bHidden == 0) m_rows[i].bChecked = checked ? 1 : 0;
}
