// Result rows: tagUpdateResultsStruct, one found update as the results list shows it, the
// array of rows, and the list the engine writes rows into (the main window's results list).
#pragma once
#include <afx.h>

#include <vector>

enum ResultRowState { kRowFound = 0, kRowDownloaded = 1, kRowInstalled = 2 };

struct tagUpdateResultsStruct {
  // The reset values: indexes -1, texts empty, hidden 0, checked 1, state 0, severity 4, risk 0.
  void Reset() { *this = tagUpdateResultsStruct(); }
  void CopyFrom(const tagUpdateResultsStruct& other) { *this = other; }

  int nDeviceIndex = -1;
  int nListItem = -1;
  int nImageIndex = -1;
  CString strClassName;
  CString strDeviceName;
  BYTE bHidden = 0;
  BYTE bChecked = 1;
  int nState = kRowFound;
  CString strCurrentDate;
  CString strNewDate;
  int nSeverity = 4;
  int nRiskLevel = 0;
};

class CResultRowArray {
 public:
  // Appends a copy unless a row of the same device index is there already.
  void AddResultRow(const tagUpdateResultsStruct& row);
  void RemoveAll() { m_rows.clear(); }
  INT_PTR GetSize() const { return static_cast<INT_PTR>(m_rows.size()); }
  const tagUpdateResultsStruct& operator[](INT_PTR index) const { return m_rows[static_cast<std::size_t>(index)]; }
  tagUpdateResultsStruct& operator[](INT_PTR index) { return m_rows[static_cast<std::size_t>(index)]; }
  // The rows in a state.
  int CountInState(int state) const {
    int count = 0;
    for (const tagUpdateResultsStruct& row : m_rows) count += row.nState == state ? 1 : 0;
    return count;
  }

 private:
  std::vector<tagUpdateResultsStruct> m_rows;
};

// What the engine asks of the results list.
class IResultListView {
 public:
  virtual ~IResultListView() = default;
  // False while the list's window does not exist.
  virtual bool HasWindow() const = 0;
  virtual void DeleteAllItems() = 0;
  virtual int GetItemCount() const = 0;
  // Inserts an item at the position with the class image; its number, -1 on failure.
  virtual int InsertItem(int item, int image) = 0;
  // The columns of one row.
  virtual void SetItemDetails(int item, const CString& name, int severity, int riskLevel, const CString& className,
                              const CString& currentDate, const CString& newDate) = 0;
  virtual void SetItemData(int item, DWORD_PTR data) = 0;
  virtual void SetCheck(int item, BOOL checked) = 0;
  // Selects and focuses this item alone.
  virtual void SelectSingleItem(int item) = 0;
  virtual void Repaint() = 0;
};

// A device or driver date read as a date and written "%Y-%m-%d": year-month-day (the service's
// form, also with "/" or "." between) or month-day-year (the scanner's form); empty when the
// text does not read as a date.
CString FormatResultDate(const CString& text);

// The device name as the first filling shows it: a name of more than 68 characters becomes its
// first 65 characters and "...".
CString ShortenedDeviceName(const CString& name);
