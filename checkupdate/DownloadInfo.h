// The update answer of the update checker (CDownloadInfo) and the readers of its answer files:
// "LatestVersion.htm" (the program update, section "Application") and "LatestVersionDB.htm" or
// "dbUpdate.ini" (the database update, section "BrovikUpdates"), all in ini format.
#pragma once
#include <afx.h>
#include <afxtempl.h>

// One database file to fetch.
struct tagDBUpdateInfo {
  CString strFileName;
  CString strUrl;
  CString strHash;
  CString strSize;
  BYTE bFlag = 0;
};

class CDownloadInfo {
 public:
  void Clear();
  void ClearProgram();
  void ClearDatabase();

  // Program part.
  CString m_strProgramVersion;
  CString m_strProgramUrl;
  CString m_strProgramSize;
  int m_nOpenBrowser = 0;
  CString m_strDescription;
  CString m_strSetupFileName;  // a plain file name, empty when the answer names none usable
  CString m_strHash;           // SHA-1, hexadecimal
  BOOL m_bNewer = FALSE;

  // Database part.
  CArray<tagDBUpdateInfo, const tagDBUpdateInfo&> m_arrDbUpdates;
  int m_nDbCount = 0;
  LONGLONG m_llDbTotalSize = 0;
  BOOL m_bDbAvailable = FALSE;
};

// Reads the program answer: -1 when the file cannot be opened, 0 when it holds 2 bytes or
// less; else the answer is read (the newer flag from the versions) and 1 answered when a newer
// version is offered or in program-only mode, 0 otherwise.
int ReadAppUpdateInfo(LPCTSTR file, LPCTSTR installedVersion, BOOL programOnly, CDownloadInfo& info);
// Reads the database answer into one record "CompleteDatabase.zip" (address and digest
// lower-cased): 1, or 0 (no record) when the file is missing or holds 2 bytes or less.
int ReadDbUpdateInfo(LPCTSTR file, CDownloadInfo& info);

// True when the remote dotted version is newer than the installed one, part by part from the
// first, a missing part counting as 0.
BOOL IsNewerVersion(LPCTSTR installedVersion, LPCTSTR remoteVersion);
// The setup file's name: the answer's key, or the text after the last "/" of the address when
// the key is empty; only its last path component is kept, and a name that is then empty, "."
// or "..", or holds a character no file name may hold, is refused (empty answer).
CString SetupFileNameOf(LPCTSTR key, LPCTSTR programUrl);
// The transfer mode for a size text: 2 above 1,048,576 bytes, else 1.
int TransferModeForSize(LPCTSTR sizeText);
