// tagDeviceDriverInfo: the record of one scanned device and its installed driver; arrays of
// such records; and CSortStringArray, the sorted text array of the matching code.
#pragma once
#include <afx.h>

#include <functional>
#include <memory>
#include <vector>

// One owned wide text of a record: null until set, read as empty text while null.
class CRecordText {
 public:
  CRecordText() = default;
  CRecordText(const CRecordText&) = delete;
  CRecordText& operator=(const CRecordText&) = delete;

  bool IsNull() const { return !m_text; }
  // The text; null while unset.
  LPCWSTR Get() const { return m_text.get(); }
  // The text; empty while unset.
  LPCWSTR Text() const { return m_text ? m_text.get() : _T(""); }
  // Stores a copy of a non-empty text; an empty or null text leaves the slot as it was.
  void Set(LPCWSTR text);
  // Stores a copy of the other slot's text; an unset one becomes empty text, never null.
  void CopyFrom(const CRecordText& other);
  void Free() { m_text.reset(); }

 private:
  void Store(LPCWSTR text, int length);
  std::unique_ptr<WCHAR[]> m_text;
};

// The positions of the record's 17 texts.
enum DeviceTextSlot {
  kSlotDeviceName = 0,
  kSlotInfPath = 1,
  kSlotDriverVersion = 2,
  kSlotClassName = 3,
  kSlotUpdate4 = 4,
  kSlotProvider = 5,
  kSlotManufacturer = 6,
  kSlotHardwareId = 7,
  kSlotDriverKey = 8,
  kSlotDriverDate = 9,
  kSlotService = 10,
  kSlotSigner = 11,
  kSlotUpdate12 = 12,
  kSlotUpdate13 = 13,
  kSlotUpdate14 = 14,
  kSlotMatchingIdList = 15,
  kSlotSpare = 16,
  kDeviceTextSlots = 17,
};

class CDeviceRecordArray;

// Told the name and class of each driver a backup or a restore comes to, on its worker thread.
using DriverShownFn = std::function<void(const CString& name, const CString& className)>;

struct tagDeviceDriverInfo {
  // Initialised: every text null, every number zero, the lists empty.
  tagDeviceDriverInfo();
  ~tagDeviceDriverInfo();
  // Deep copies (see CopyFrom).
  tagDeviceDriverInfo(const tagDeviceDriverInfo& other);
  tagDeviceDriverInfo& operator=(const tagDeviceDriverInfo& other);

  // Frees every text, the lists and the linked records, then sets the numbers to their
  // reset values: 0, 0, 1, -1, -1, 0, 0, rank -1, problem 0, signed 0, extra number -1.
  void Reset();
  // Copies the numbers and fresh copies of every text (an unset text becomes empty text),
  // replaces the four lists by copies of the other's, and gives the record its own copy of
  // the other's first linked record.
  void CopyFrom(const tagDeviceDriverInfo& other);

  CRecordText szText[kDeviceTextSlots];
  int nValues[7];
  CRecordText szMatchingDeviceId;
  CStringArray arrHardwareIds;       // filtered: of the first two hardware ids
  CStringArray arrCompatibleIds;     // filtered
  CStringArray arrAllHardwareIds;
  CStringArray arrAllCompatibleIds;
  int nDriverRank;
  int nProblem;
  int nInfSigned;
  CRecordText szExtraText;
  int nExtraNumber;
  // The engine hangs its update-side records on the first device record of its list.
  std::unique_ptr<CDeviceRecordArray> pLinked;
};

// An array of device records that grows as records are added, each record initialised.
class CDeviceRecordArray {
 public:
  // The capacity the scanner and the engine start with.
  static constexpr INT_PTR kInitialCapacity = 1024;

  explicit CDeviceRecordArray(INT_PTR size = 0) { SetSize(size); }
  CDeviceRecordArray(const CDeviceRecordArray&) = delete;
  CDeviceRecordArray& operator=(const CDeviceRecordArray&) = delete;

  INT_PTR GetSize() const { return static_cast<INT_PTR>(m_records.size()); }
  // Grows with initialised records, or drops the records past newSize.
  void SetSize(INT_PTR newSize);
  void RemoveAll() { m_records.clear(); }
  // Puts every record back into its initial state, in the memory it has.
  void Renew();
  // The record at index; null outside the array.
  tagDeviceDriverInfo* GetAt(INT_PTR index);
  const tagDeviceDriverInfo* GetAt(INT_PTR index) const;
  // The record at index, growing the array to hold it.
  tagDeviceDriverInfo& ElementAtGrow(INT_PTR index);

 private:
  std::vector<std::unique_ptr<tagDeviceDriverInfo>> m_records;
};

// A string array whose sort compares without regard to case.
class CSortStringArray : public CStringArray {
 public:
  // Swaps elements index and index + 1 when the first compares greater (ignoring case);
  // answers 1 when it swapped, else 0 (also for an index without a successor).
  int CompareAndSwap(INT_PTR index);
  // Repeats the step over the array until no swap happens.
  void Sort();
};
