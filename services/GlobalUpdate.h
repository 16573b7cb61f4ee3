// The shared library's self-update check: whether the maker publishes a newer program version
// ("LatestVersion.ini"), the download of the complete driver database with its SHA-1 check,
// the addresses the update checker program queries, and the machine id made from a network
// adapter's address.
#pragma once
#include <afx.h>

#include "HelperApi.h"

// Reads values of one ini file, with "\n", "\t", "\r" and "\\" in them turned into the
// characters they name; a missing file or value reads as empty.
class ZXHELPER_API CUpdateIniReader {
 public:
  void SetFile(LPCTSTR path) { m_strFile = path; }
  CString ReadValue(LPCTSTR section, LPCTSTR key) const;

  CString m_strFile;
};

class ZXHELPER_API CGlobalUpdate : public CObject {
  DECLARE_DYNAMIC(CGlobalUpdate)

 public:
  // True when the published program version is newer than this installation's.
  BOOL CheckForUpdate();
  // The version query address; answers its length.
  int BuildUpdateQuery(CString& address);
  // Downloads and reads "dbUpdate.ini" into the program folder; hands over the archive's
  // address and digest. True when the archive already in the program folder matches it.
  BOOL CheckDatabaseInfo(CString& archiveAddress);
  // True when the program folder holds a verified "Completedatabase.zip" at the end. A new
  // archive replaces the old one only once its digest is checked, in one rename.
  BOOL DownloadDatabaseUpdate();
  static BOOL VerifyArchiveDigest(LPCTSTR path, LPCTSTR expectedDigest);
  // Twelve upper-case hex digits of the first adapter address found (adapters, then
  // workstation transports, then the node of a sequential UUID), "111111111111" when none.
  static void GetMacAddressId(CString& id);
  // The running program's full file name, or its folder ending in a backslash.
  static CString GetModulePathText(BOOL fullPath);
  static BOOL IsConnected();

 private:
  BOOL ReadDatabaseInfo(CString& archiveAddress, CString& digest);
};

// Dotted versions compared part by part (four parts, missing or non-numeric parts as 0):
// positive when remote is newer, 0 when equal, negative when older.
ZXHELPER_API int CompareVersionTexts(LPCTSTR remote, LPCTSTR local);

// The complete database archive in use: "Completedatabase.zip" in the program folder.
ZXHELPER_API CString GetDatabaseArchivePath();
// The folder a new archive is downloaded into until its digest is checked ("DBUpdates" in the
// program folder, created when missing): the same disk as the archive in use, so that a checked
// archive takes its place in one rename.
ZXHELPER_API CString GetDatabaseStagingFolder();

ZXHELPER_API BOOL CheckForProductUpdate();
ZXHELPER_API BOOL UpdateDatabase(LPVOID unused);
// The update checker program's addresses: the language texts "IDS_CHECK_UPDATE_URL_APP" and
// "IDS_CHECK_UPDATE_URL_DB" of section "QVX", trimmed; an empty application address becomes the
// built-in default.
ZXHELPER_API void GetCheckUpdateUrl(CString& applicationAddress, CString& databaseAddress);
