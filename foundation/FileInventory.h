// The file inventory: CFileInfo, the record of one file or folder as found on disk, with a
// resumable word-sum checksum and CRC-32 of its contents, and CFileInfoArray, an ordered
// array of records filled by a recursive folder scan.
//
// The checksum and the CRC are computed in steps a worker thread may take one after the
// other: each call goes on from where the last one stopped, reads at most up to its target
// (never past it) and stops early when the caller's abort flag is set, leaving the block it
// read uncounted. The caller's progress counter is 64-bit and grows atomically by the bytes
// taken in.
#pragma once
#include <afx.h>

#include "HelperApi.h"

class ZXHELPER_API CFileInfo {
 public:
  CFileInfo();

  // Fills the record from a directory entry of folder (which ends in a backslash); the
  // progress of the checksum and the CRC starts again.
  void Create(const WIN32_FIND_DATAW& entry, const CString& folder, DWORD userValue);
  // Finds the path on disk and fills the record from it; a path not found leaves it as it is.
  void Create(const CString& path, DWORD userValue);

  CString GetFilePath() const { return m_strFilePath; }
  // Name and extension.
  CString GetFileName() const;
  // Name without extension.
  CString GetFileTitle() const;
  // Extension with its dot.
  CString GetFileExt() const;
  // The folder with its trailing backslash ("C:\dir\"), the drive ("C:") and the drive's
  // root ("C:\"); empty where the path has none.
  CString GetFileDir() const;
  CString GetFileDrive() const;
  CString GetFileRoot() const;
  DWORD GetLength() const { return static_cast<DWORD>(m_qwSize); }
  ULONGLONG GetLength64() const { return m_qwSize; }
  CTime GetCreationTime() const { return m_timCreation; }
  CTime GetLastAccessTime() const { return m_timLastAccess; }
  DWORD GetAttributes() const { return m_dwAttributes; }

  BOOL IsDirectory() const { return (m_dwAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
  BOOL IsArchived() const { return (m_dwAttributes & FILE_ATTRIBUTE_ARCHIVE) != 0; }
  BOOL IsReadOnly() const { return (m_dwAttributes & FILE_ATTRIBUTE_READONLY) != 0; }
  BOOL IsCompressed() const { return (m_dwAttributes & 0x800) != 0; }
  BOOL IsSystem() const { return (m_dwAttributes & FILE_ATTRIBUTE_SYSTEM) != 0; }
  BOOL IsHidden() const { return (m_dwAttributes & FILE_ATTRIBUTE_HIDDEN) != 0; }
  BOOL IsTemporary() const { return (m_dwAttributes & FILE_ATTRIBUTE_TEMPORARY) != 0; }
  BOOL IsNormal() const { return m_dwAttributes == 0; }

  // The sum of the file's little-endian 32-bit words (a last group of 1 to 3 bytes counts as
  // a word with zero high bytes), over the whole file (maximum 0 or beyond the size) or over
  // the maximum rounded up to a multiple of 4. Reset starts again from the file's start.
  DWORD ComputeWordSum(ULONGLONG maximum, BOOL reset, volatile LONG* abort, volatile LONGLONG* progress);
  // The CRC-32 the same way: the running register until the whole file was taken in, then
  // the published CRC-32 of the file.
  DWORD ComputeCrc32(ULONGLONG maximum, BOOL reset, volatile LONG* abort, volatile LONGLONG* progress);

 private:
  template <class Feed>
  void TakeIn(ULONGLONG target, ULONGLONG& done, volatile LONG* abort, volatile LONGLONG* progress,
              Feed feed);
  ULONGLONG Target(ULONGLONG maximum) const;

  DWORD m_dwUserValue;
  CString m_strFilePath;
  DWORD m_dwAttributes;
  ULONGLONG m_qwSize;
  CTime m_timCreation;
  CTime m_timLastAccess;
  CTime m_timLastWrite;
  DWORD m_dwChecksum;
  DWORD m_dwCrc;
  ULONGLONG m_qwCrcProgress;
  ULONGLONG m_qwChecksumProgress;
  bool m_bCrcFinal;  // the register was turned into the file's CRC-32
};

// Where CFileInfoArray::AddFileInfo puts a record; among equal records the new one goes first.
enum FileInfoSort {
  kFileInfoAppend = 0,
  kFileInfoBySizeAscending = 2,
  kFileInfoBySizeDescending = 3,
  kFileInfoByPathAscending = 4,
  kFileInfoByPathDescending = 5,
};

class ZXHELPER_API CFileInfoArray : public CArray<CFileInfo, CFileInfo&> {
  DECLARE_DYNAMIC(CFileInfoArray)
 public:
  CFileInfoArray();

  // Inserts a copy by the sort mode (any other value appends); answers its index.
  virtual INT_PTR AddFileInfo(CFileInfo& record, int sortMode);
  // Adds the record of a path, also when the path was not found (an empty record then).
  INT_PTR AddPath(const CString& path, int sortMode);
  // Adds the records of folder (ending in a backslash): with includeFolders a record for
  // each sub-folder, with recurse the contents of each sub-folder (right after its record),
  // then the folder's files that match mask. Stops when *abort becomes non-zero; *counter
  // (when given) grows by one per record, atomically. Answers the number of records added.
  INT_PTR ScanFolder(const CString& folder, const CString& mask, BOOL recurse, int sortMode,
                     BOOL includeFolders, volatile LONG* abort, volatile LONGLONG* counter);
};
