// CInfPackageFiles: the files a driver package put on the machine, read from its INF file in
// the Windows INF folder (copied files with their destination folders, co-installers, the
// catalog file and the INF itself); the search for a file in a folder tree; and the lookup
// of a device in a backup catalogue. The backup engine owns one.
#pragma once
#include <afx.h>

class CInfPackageFiles {
 public:
  // Answers of SearchFolderForFile.
  enum SearchResult { kNotFound = 0, kFound = 1, kStopped = 19 };

  // windowsFolder: the Windows folder without a trailing backslash (C:\Windows).
  explicit CInfPackageFiles(LPCTSTR windowsFolder);

  // Fills the file list from the INF's install section (with the suffix, the Class key's
  // "InfSectionExt", when it is not empty). File names in the INF that hold a folder, a
  // drive or ".." steps are not taken: every entry stays in its destination folder.
  void CollectInfPackageFiles(const CString& installSection, const CString& suffix, const CString& infName);
  const CStringArray& GetFiles() const { return m_files; }

  // Looks for the sought file in the folder tree (the folder ends in a backslash): 1 when
  // found (GetFoundPath names it), 19 when a backup stop was requested, 0 otherwise. With
  // collecting on, every entry met goes to the found-list. Links to folders are not entered.
  int SearchFolderForFile(const CString& folder);
  void SetSoughtFile(const CString& name) { m_sought = name; }
  const CString& GetFoundPath() const { return m_found; }
  void SetSkipWindowsFolders(bool skip) { m_skipWindows = skip; }
  void SetCollectAll(bool collect) { m_collectAll = collect; }
  const CStringArray& GetFoundList() const { return m_foundList; }
  void ClearFoundList() { m_foundList.RemoveAll(); }

  // The folder an INF directory id stands for (ending in a backslash), empty for an id
  // outside the table. The driver store folder (id 13) is the package's own and is looked
  // up per INF by the collection.
  static CString DirectoryIdFolder(int id);

 private:
  void AddCopySection(const CString& infPath, const CString& sectionName);
  void AddSourceDisksFiles(const CString& infPath);
  bool HasFileNamed(const CString& name) const;

  CString m_windows;
  CStringArray m_files;
  CStringArray m_copySections;
  CStringArray m_coInstallerSections;
  CStringArray m_includes;
  CStringArray m_needs;
  CString m_sought;
  CString m_found;
  CStringArray m_foundList;
  bool m_skipWindows = false;
  bool m_collectAll = false;
};

// Whether the backup catalogue holds a record whose first text (the device name) equals
// the name exactly.
bool FindBackupIndexEntry(LPCTSTR indexPath, const CString& deviceName);
