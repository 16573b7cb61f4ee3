// CDriverScanUpdate: the update engine of the main program, one object owned by the main
// window. It decides at construction its own identifier test (a scanner without records), the
// excluded hardware ids and the Windows version it runs on; it keeps the scanned devices,
// writes the scan request, reads the update service's answer, matches it to the devices and
// keeps the found updates and their result rows.
#pragma once
#include <afx.h>
#include <afxcmn.h>
#include <setupapi.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string_view>
#include <vector>

#include "DeviceRecord.h"
#include "DeviceScanner.h"
#include "Markup.h"
#include "ResultRows.h"
#include "ScanRequest.h"
#include "UpdateAnswer.h"

class CDriverInstallEngine;
class CExclusionList;
class CFancyListCtrl;
class CUpdateServiceHelper;

// The main window's per-system tool folders (each with its trailing backslash); the engine
// picks one by the running Windows.
struct tagOsFolders {
  CString strXp;
  CString strAmd64;
  CString strIa64;
  CString strVista;
  CString strWin7i386;
  CString strWin7amd64;
};
// The folder of the system an OS identifier names (the identifier's parts decide Windows 6.1
// and the systems the identifier does not name): XP and older 32-bit systems take the XP
// folder, 64-bit Windows 5.2 the AMD64 one, Itanium systems the IA64 one, Windows 6.0 the Vista
// one, Windows 6.1 and later the Windows 7 folder of their architecture.
const CString& SelectOsFolder(const tagOsFolders& folders, int osId, DWORD major, DWORD minor, DWORD architecture);

class CDriverScanUpdate {
 public:
  // The update records of the first matching run, and the fewest the engine keeps.
  static constexpr int kUpdateBlockSize = 1024;

  CDriverScanUpdate();
  ~CDriverScanUpdate();
  CDriverScanUpdate(const CDriverScanUpdate&) = delete;
  CDriverScanUpdate& operator=(const CDriverScanUpdate&) = delete;

  // The identifier test the scan request writer asks.
  const CDeviceScanner& GetScanner() const { return m_scanner; }
  // The device installation services' class image list, filled at construction (null when
  // it could not be had).
  HIMAGELIST GetClassImageList() const { return m_classImages.ImageList; }
  // The image of a device class GUID ("{...}") in that list; -1 without a list or a GUID.
  int GetClassImageIndex(const CString& classGuid) const;
  // "%d.%d.%d": major, minor and build number of the running Windows.
  const CString& GetOsVersionText() const { return m_strOsVersion; }
  DWORD GetOsMajor() const { return m_dwOsMajor; }
  DWORD GetOsMinor() const { return m_dwOsMinor; }
  DWORD GetOsBuild() const { return m_dwOsBuild; }
  // The scanned devices; null before the first scan.
  CDeviceRecordArray* GetDevices() const { return m_pDevices.get(); }
  int GetDeviceCount() const { return m_nDeviceCount; }
  CMapStringToString& GetExcludedIds() { return m_mapExcludedIds; }

  // ---- Scan services
  // The scan: runs the device scan on scanPath and takes the devices it reported. 32 done
  // (scan-done flag set), 18 stopped (scan-done flag set), 38 connection problem
  // (connection-problem flag set), 33 failed; -1 when an exception stopped it before.
  int ReportScanEnd(LPCTSTR scanPath);
  // Replaces the scanned devices by the first count records (the update block goes with them).
  void SetScannedDevices(std::unique_ptr<CDeviceRecordArray> devices, int count);
  // Adds (flag set) or removes an excluded hardware id; false only when an exception stopped it.
  bool SetKeyMarked(const CString& hardwareId, BOOL flag);
  // The window told when the scan starts, the status line that shows its outcome and the
  // lookup of that line's text by string id (without one the id itself is shown).
  using TextLookup = std::function<CString(LPCTSTR stringId)>;
  void SetScanWindows(HWND progressWindow, HWND statusText, TextLookup lookup);
  // The device scan ReportScanEnd runs on the scan path: the install engine's by default.
  using DeviceScan = std::function<int(LPCTSTR scanPath)>;
  void SetDeviceScan(DeviceScan scan) { m_deviceScan = std::move(scan); }
  // Asks the running engine to stop, a scan (flag set) or a backup or restore, and waits for its
  // answer: answered, a scan stop sets the scan-done flag and another stop the finished and
  // aborted flags; unanswered, the finished and aborted flags are cleared.
  void StopOperation(BOOL flag);
  bool IsFinished() const { return m_bFinished != 0; }
  bool IsAborted() const { return m_bAborted != 0; }
  bool IsScanDone() const { return m_bScanDone != 0; }
  bool HasConnectionProblem() const { return m_bConnectionProblem != 0; }
  void SetScanDone(BOOL done) { m_bScanDone = done; }

  // ---- Scan request
  // The machine values the request names beside the devices.
  void SetRequestMachine(const tagScanRequestMachine& machine);
  const tagScanRequestMachine& GetRequestMachine() const { return m_requestMachine; }
  // Empties the document and writes the request for the first count devices.
  void BuildScanRequestXml(const CDeviceRecordArray* devices, int count, CMarkup& document) const;
  // The collected, de-duplicated "matchingid" text of one device (empty: the device is left out).
  CString CollectMatchingIds(const tagDeviceDriverInfo& device) const;

  // ---- Update answer and matching
  // Reads the answer text into answer records and matches them to the scanned devices. It is
  // an operation of the install engine: a scan stop that reaches it is answered, and the
  // answer counts as one without results. False when it stopped so.
  bool ParseUpdateResults(CMarkup& document, CString answer);
  // Called each time the parse looks for a stop (tests hold the parse there).
  void SetParseWatch(std::function<void()> watch) { m_parseWatch = std::move(watch); }
  // Stores the trimmed data of the answer's element at `element` by its tag name; "signer"
  // completes a record.
  void ParseDriverResult(std::u16string_view answer, const CMarkup::ElemPos& element, std::u16string_view tagName);
  // A scan stop seen by the parse: what it read is dropped and the stop answered.
  bool ParseStopped(CDriverInstallEngine& engine);
  void MatchUpdatesToDevices();
  DWORD ComputeUpdateRank(int deviceIndex, const CString& matchedId, const CString& compatibleIdIdx,
                          const CString& featureScore) const;
  static bool FindIdInList(const CStringArray& list, const CString& id, INT_PTR& position);
  static DWORD ParseFeatureScore(const CString& text);
  // The record of installed updates ("exc.xml") that matching consults: an update it holds for
  // the device (hardware id, MD5 and INF path) is not counted as found. Null: none is.
  void SetInstalledUpdates(const CExclusionList* record) { m_pInstalled = record; }
  // The scan's full lookup: request, exchange through the helper, answer, matching. 32 when
  // the answer was read, 38 when the service did not answer, 33 when the answer was damaged.
  int LookUpUpdates(CUpdateServiceHelper& helper);

  // The answer records read last, by driverid in arrival order, and their driverids.
  const std::multimap<int, tagDriverUpdateInfo>& GetAnswerRecords() const { return m_answerMap; }
  const std::set<int>& GetAnswerDriverIds() const { return m_answerDriverIds; }
  // The update record of a device; null outside the update block.
  const tagDeviceDriverInfo* GetUpdateRecord(int deviceIndex) const;
  int GetUpdatesFound() const { return m_nUpdatesFound; }
  const std::set<int>& GetUpdatedDevices() const { return m_updatedDevices; }
  const CSortStringArray& GetResultKeys() const { return m_arrResultKeys; }
  // Answer records left out because their driverid names no scanned device.
  int GetSkippedAnswerRecords() const { return m_nSkippedAnswers; }

  // ---- Result rows
  void SetResultList(IResultListView* list) { m_pResultList = list; }
  // The one-click popup's list, which mirrors the rows in the one-click mode.
  void SetPopupResultList(IResultListView* list) { m_pPopupList = list; }
  // Downloaded packages: stripped, lower-cased matched id to package path.
  void SetDownloadedPackages(const CMapStringToString* packages) { m_pDownloaded = packages; }
  int ClearResults();
  int FillResults();
  int RebuildResultList();
  void SetResultRowState(int listItem, int state, BYTE hidden);
  // Whether the row of that list item is checked when the list is rebuilt.
  void SetResultRowChecked(int listItem, BOOL checked);
  // A row whose downloaded package is gone: its check mark goes from the row and the list, so
  // that no install takes it again until it is downloaded anew.
  void ClearResultRowCheck(int listItem);
  const CResultRowArray& GetResultRows() const { return m_rows; }
  const CMapStringToString& GetItemMap() const { return m_mapItems; }
  int GetShownResults() const { return m_nShownResults; }
  int GetSelectedResultItem() const { return m_nSelectedItem; }

  // ---- Backup and restore trees
  // The backup page's and the restore page's trees (either may be absent). Their items hold
  // the device index (the record index for the restore tree), -1 for a class group.
  void SetTrees(CTreeCtrl* backupTree, CTreeCtrl* restoreTree);
  // Fills the backup tree from the last scan: one group per class name, in order of first
  // appearance, expanded, with the devices below it under their class icon.
  void FillClassTree();
  // The image of the item's device class in the class image list; -1 for a group item or an
  // item whose record is unknown.
  int GetClassImageIndex(CTreeCtrl& tree, HTREEITEM item);
  // The identity text of the item's device: class, date, provider, version and hardware id,
  // each followed by "|", then the signer; missing or empty texts are left out with their
  // "|". Empty
  // for a group item.
  CString GetTreeItemKey(CTreeCtrl& tree, HTREEITEM item) const;
  // Unpacks the backup archive that backupFiles names for backupName into backupFolder, reads
  // its catalogue and fills the restore tree like the backup tree, recording each device name
  // with its INF path in namesToInfPaths. A damaged archive is told to the user with
  // "IDS_CURRPT_ZIP_FILE". True when the tree was filled.
  bool FillRestoreTree(const CString& backupName, const CMapStringToString& backupFiles, const CString& backupFolder,
                       CMapStringToString& namesToInfPaths);
  // The date and time a backup archive's name carries (the backup stamp); false when the name
  // holds none that reads.
  using BackupStampReader = std::function<bool(const CString& name, SYSTEMTIME& stamp)>;
  // Lists the backups of backupFiles (names to archive paths) whose archive exists and opens:
  // latest first by their stamps (names without a stamp after them, by name regardless of
  // case), each with its name as text, item data 4 and as detail text the stamp's long date and
  // time (the name when it has no stamp); the first is selected. The
  // names are kept in that order (GetFileList).
  void RefreshFileList(CFancyListCtrl& list, const CMapStringToString& backupFiles,
                       const BackupStampReader& readStamp);
  const CStringArray& GetFileList() const { return m_arrFileList; }

  // ---- Backup services
  using BackupProgress = std::function<bool(CDeviceRecordArray* drivers, int percent)>;
  // Backs drivers up into the staging folder as the engine's operation (step code 35 first):
  // every scanned device when backupAll is set (the flag is cleared), else the checked
  // drivers below the class groups of the backup tree. 32 done (scan-done flag set), 19
  // stopped (scan-done and aborted flags set), else the backup engine's answer (33 when
  // nothing is chosen); the finished flag is set in every case.
  int BackupSelectedDrivers(LPCTSTR staging, BOOL& backupAll, const BackupProgress& progress,
                            const DriverShownFn& shown = {});
  // The backup stamp of an archive name MakeBackupArchiveName wrote, "%Y%m%d_%H%M%S" of the
  // date and time it carries (20100301_100507 for "...,01-Mar-2010_H10-M05-S07.zip"; a number
  // "_2", "_3"... before ".zip" allowed, the weekday word not checked), the time also into
  // `stamp`; empty, and `stamp` untouched, when the name holds none that reads (an impossible
  // date among them). Written beside the name's writer, in BackupArchive.cpp.
  static CString MakeBackupName(const CString& archiveName, SYSTEMTIME* stamp = nullptr);
  // The records read from the last restored catalogue, and their number.
  const CDeviceRecordArray* GetRestoreRecords() const { return m_pRestoreRecords.get(); }
  int GetRestoreRecordCount() const { return m_nRestoreCount; }

  // ---- Install services
  // The main window's per-system tool folders and the setup programs' silent switch.
  void SetInstallSettings(const tagOsFolders& folders, int silentSwitch);
  // The tool folder of the running Windows.
  CString GetOsFolder() const;
  // Installs the downloaded package of the device's update: 0 no package downloaded, -3
  // package file missing, else the install engine's result (32 installed).
  int InstallDownloadedDrivers(int deviceIndex);
  // Backs up the drivers of the selected result items (list item numbers) into the folder:
  // the count when it is 0 or less, else the backup engine's last result. A whole backup
  // (32) is told to the main window with kBackupExistsMessage. The progress is told each
  // driver's name as its backup begins with the share done before it, and 100 at the end.
  using UpdateBackupProgress = std::function<void(const CString& driverName, int percent)>;
  int BackupDriversForUpdate(const CString& backupFolder, const std::vector<int>& selectedItems,
                             const UpdateBackupProgress& progress = {});
  // The main window, told when a backup exists (message kBackupExistsMessage, wParam 1).
  void SetMainWindow(HWND mainWindow) { m_hMainWindow = mainWindow; }
  static constexpr UINT kBackupExistsMessage = WM_APP + 0x101;
  // What a restore did: the drivers it handled and those of them that failed, and whether it
  // went through the whole catalogue (neither stopped nor refused for a bad catalogue).
  struct tagRestoreOutcome {
    int handled = 0;
    int failed = 0;
    bool readToEnd = false;
  };
  // Restores the ticked drivers of a backup unpacked into backupFolder: each ticked device name
  // the map of names to hardware ids knows goes to the restore with that id; with none the
  // user is told "IDS_CURRPTZIP_BACKUP". The unpacked folder is deleted afterwards. 1 when
  // every chosen driver was restored, else 0. `progress` gets each percent, `shown` each
  // driver restored.
  int RestoreSelectedDrivers(const CString& backupFolder, const CStringArray& tickedNames,
                             const CMapStringToString& namesToIds, tagRestoreOutcome* outcome = nullptr,
                             const std::function<void(int percent)>& progress = {}, const DriverShownFn& shown = {});

 private:
  // The device's candidate ids joined by "|", written into `text`.
  void BuildCandidateIds(const tagDeviceDriverInfo& device, CString& text) const;
  // The walk over the answer's elements (UpdateAnswer.cpp).
  class CAnswerLeafReader;
  // Stores the data of the answer's element at `element`, trimmed, into the field of that
  // index of the working answer record (the order of the answer's elements).
  void StoreAnswerField(std::u16string_view answer, const CMarkup::ElemPos& element, std::size_t fieldIndex);
  // Matches the device to its answer records (m_deviceAnswers).
  void MatchDevice(int deviceIndex, const tagDeviceDriverInfo& device, tagDeviceDriverInfo& update);
  // Fills the update record from the answer record matched by that id (in lower case).
  void TakeUpdate(int deviceIndex, const tagDeviceDriverInfo& device, const tagDriverUpdateInfo& answer,
                  std::u16string_view matchedId, tagDeviceDriverInfo& update);
  // Whether a matched update is offered; installedIsOlder: the device's driver is older than
  // the update by its version alone.
  bool IsFound(const tagDeviceDriverInfo& device, const tagDeviceDriverInfo& update, std::u16string_view piece,
               bool installedIsOlder) const;
  CDeviceRecordArray* UpdateBlock() const;
  bool IsDownloaded(const tagDeviceDriverInfo& update) const;

  // The record of a tree item (the device records for the backup tree, the catalogue's for
  // the restore tree); null for a group item or an unknown index.
  const tagDeviceDriverInfo* TreeItemRecord(const CTreeCtrl& tree, HTREEITEM item) const;
  int ClassImageOf(const tagDeviceDriverInfo& device) const;
  // Empties the tree and adds the first count records below their class groups.
  void FillTree(CTreeCtrl& tree, const CDeviceRecordArray& records, int count,
                CMapStringToString* namesToInfPaths) const;

  CDeviceScanner m_scanner;
  // The list's record is handed to the image lookups, which take it writable.
  mutable SP_CLASSIMAGELIST_DATA m_classImages{};
  CTreeCtrl* m_pBackupTree = nullptr;
  CTreeCtrl* m_pRestoreTree = nullptr;
  std::unique_ptr<CDeviceRecordArray> m_pRestoreRecords;
  int m_nRestoreCount = 0;
  CStringArray m_arrFileList;
  HWND m_hMainWindow = nullptr;
  CMapStringToString m_mapExcludedIds;
  std::unique_ptr<CDeviceRecordArray> m_pDevices;
  int m_nDeviceCount = 0;
  HWND m_hProgressWindow = nullptr;
  HWND m_hStatusText = nullptr;
  TextLookup m_textLookup;
  DeviceScan m_deviceScan;
  std::function<void()> m_parseWatch;
  BOOL m_bScanDone = FALSE;
  BOOL m_bConnectionProblem = FALSE;
  BOOL m_bFinished = FALSE;
  BOOL m_bAborted = FALSE;
  DWORD m_dwOsMajor = 0;
  DWORD m_dwOsMinor = 0;
  DWORD m_dwOsBuild = 0;
  CString m_strOsVersion;
  tagScanRequestMachine m_requestMachine;

  // The working answer record, filled in a map node of its own: a complete group goes into the
  // answer map as it stands, after the groups before it, kept in arrival order.
  std::multimap<int, tagDriverUpdateInfo>::node_type m_workingAnswer;
  std::vector<std::multimap<int, tagDriverUpdateInfo>::node_type> m_arrivedAnswers;
  // Records ready to be filled: those of the previous answer while the next is read.
  std::vector<std::multimap<int, tagDriverUpdateInfo>::node_type> m_spareAnswers;
  // The texts of the answer records, and the data of the element being read.
  CAnswerTexts m_answerTexts;
  CString m_strFieldText;
  // Matching's working texts, kept from device to device: the candidate ids, the matched id
  // (in lower case) and the answer records of the device.
  CString m_strCandidateIds;
  CString m_strPiece;
  std::vector<const tagDriverUpdateInfo*> m_deviceAnswers;
  std::size_t m_nNextField = 0;  // index of the answer field expected next
  // The fields of the working record written since it was taken (a bit per field index): the
  // others still hold what a record of an earlier answer held, emptied once the group is
  // complete.
  std::uint32_t m_storedFields = 0;
  std::set<int> m_answerDriverIds;
  std::multimap<int, tagDriverUpdateInfo> m_answerMap;
  int m_nUpdatesFound = 0;
  int m_nSkippedAnswers = 0;
  std::set<int> m_updatedDevices;
  CSortStringArray m_arrResultKeys;
  const CExclusionList* m_pInstalled = nullptr;

  IResultListView* m_pResultList = nullptr;
  IResultListView* m_pPopupList = nullptr;
  const CMapStringToString* m_pDownloaded = nullptr;
  CResultRowArray m_rows;
  CMapStringToString m_mapItems;
  int m_nShownResults = 0;
  int m_nSelectedItem = -1;
  tagOsFolders m_osFolders;
  int m_nSilentSwitch = 0;
};
