// CExclusionList: the record of installed updates, "exc.xml" in the program's data folder.
// Per hardware identifier it keeps the last driver update the program installed: its MD5,
// INF path, the device's matching id and two error codes.
#pragma once
#include <afx.h>

#include <map>

// One recorded update. Texts 4-6 travel with copies and are never stored in the file.
struct ExclusionEntry {
  enum Text { kHardwareId = 0, kMatchingId = 1, kMd5 = 2, kInfPath = 3, kTextCount = 7 };

  ExclusionEntry() { Reset(); }
  // Empty texts, index -1, no pointer, both codes 0.
  void Reset();

  CString szText[kTextCount];
  int nIndex;
  void* pData;
  int nDeviceErrorCode;
  int nInstallErrorCode;
};

// The lower-cased INF path; under a folder named "extract" only the part behind that folder
// (so a path under the extraction folder compares equal however deep that folder lies).
CString NormalizeInfPath(const CString& infPath);

class CExclusionList {
 public:
  // The file lies in `dataFolder`, or in the program's data folder when none is given.
  explicit CExclusionList(LPCTSTR dataFolder = nullptr);

  // The file's text passed through the XML document; false when the file is missing or
  // cannot be read.
  bool LoadFile(CString& text);
  // Empties the list and reads the file again. A file that is not a readable record is
  // moved aside (GetDamagedCopy names where) and the list stays empty.
  void Reload();
  // Walks the document and takes each "device" element; the first entry of a key wins.
  // False when the text is not an XML document of this record.
  bool Parse(const CString& text);

  // Whether the key's entry records the entry's update (MD5 and INF path, case ignored) as
  // installed: an entry whose install error code is not 0 records a failed install.
  bool Contains(const ExclusionEntry& entry) const;
  // Stores the entry under its key with its INF path normalised (NormalizeInfPath),
  // replacing another update or another outcome of that key; false (and no change) when the
  // same update (MD5 and normalised INF path, exact) is already stored with the same two
  // codes. Paths read from the file are kept as they are, so a written record reads back to
  // the same entries.
  bool Add(const ExclusionEntry& entry);
  // Writes the file through a temporary file renamed over it, so a failed write never loses
  // the record already there. False when it could not be written.
  bool Save();
  // The document text: "newdataset" with one "device" element per entry, in key order.
  CString BuildXml() const;

  const ExclusionEntry* Find(LPCTSTR hardwareId) const;
  int GetCount() const { return static_cast<int>(m_entries.size()); }
  CString GetFilePath() const;
  // Where the last damaged file was moved, empty when none was.
  const CString& GetDamagedCopy() const { return m_damagedCopy; }

 private:
  void Commit();
  void TakeLeaf(const CString& tag, const CString& data);

  CString m_fileName;
  CString m_dataFolder;
  CString m_damagedCopy;
  std::map<std::u16string, ExclusionEntry> m_entries;
  ExclusionEntry m_parseEntry;
};
