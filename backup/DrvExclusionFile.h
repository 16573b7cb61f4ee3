// The user's list of drivers excluded from updates and its file "exclusion.xml" in the
// program's data folder: one tagExclusionItem per driver, kept in list order. Not the record
// of installed updates "exc.xml"; the two never share a file.
#pragma once
#include <afx.h>

#include <functional>
#include <vector>

// One excluded driver.
struct tagExclusionItem {
  int nExclusionId = 1;    // number of the entry in the file
  int nListIndex = 1;      // row of the entry in the page's list
  CString strReserved;     // always empty
  CString strDriverName;   // the text shown in the list
  CString strHardwareId;   // unique in the list without regard to case
};

class CDrvExclusionFile {
 public:
  // Told of every hardware id that joins the list (mark set) or leaves it (mark clear), so
  // that the scan engine's set of excluded ids stays equal to the list.
  using Marker = std::function<void(const CString& hardwareId, BOOL mark)>;

  // Largest file read; a longer one is refused as damaged.
  static constexpr ULONGLONG kMaxFileBytes = 4u << 20;

  enum LoadResult { kLoadMissing, kLoadRead, kLoadRefused };

  // The file lies in `dataFolder`, or in the program's data folder (created when missing)
  // when none is given.
  explicit CDrvExclusionFile(LPCTSTR dataFolder = nullptr);
  void SetMarker(Marker marker) { m_marker = std::move(marker); }

  // Empties the list and reads the file again, marking every hardware id read. A missing
  // file gives an empty list. A file that is not such a list (cut, too long, another root)
  // is moved aside (GetDamagedCopy names where) so that the next write cannot lose it, and
  // the list stays empty.
  LoadResult Load();
  // Takes the entries of a document text; false (and nothing taken) when it is not an
  // exclusion list. Entries without a driver name, or without a hardware id after the name,
  // and repeats of a listed hardware id are left out.
  static bool Parse(const CString& text, std::vector<tagExclusionItem>& items);
  // The document: root "Exclusion", one "ExclusionInfo" per entry in list order.
  CString BuildXml() const { return BuildXml(m_items); }
  static CString BuildXml(const std::vector<tagExclusionItem>& items);
  // Writes the trimmed document through a temporary file renamed over the file, so a failed
  // write keeps the file there before; false when it could not be written.
  bool Save();

  // 0 without change when the hardware id (case ignored) is listed or empty; else the new
  // entry's exclusion id (the highest listed plus one, 1 for an empty list). The entry is
  // marked, appended and the file written.
  int Add(const CString& driverName, const CString& hardwareId);
  // Removes the entry of that row, unmarks its hardware id and writes the file; false for a
  // row outside the list.
  bool RemoveAt(int row);
  // Empties the list, unmarks every id and writes a document with the root element only.
  void RemoveAll();

  const std::vector<tagExclusionItem>& GetItems() const { return m_items; }
  int GetCount() const { return static_cast<int>(m_items.size()); }
  int FindHardwareId(const CString& hardwareId) const;
  CString GetFilePath() const;
  const CString& GetDamagedCopy() const { return m_damagedCopy; }

 private:
  void Mark(const CString& hardwareId, BOOL mark) const;
  void Renumber();

  CString m_strFileName;
  CString m_dataFolder;
  CString m_damagedCopy;
  std::vector<tagExclusionItem> m_items;
  Marker m_marker;
};
