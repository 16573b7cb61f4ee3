// The restore page's list of backups: the archives that exist, latest first, each row showing
// when its backup was made (the archive's name stays the row's own text).
#include <windows.h>

#include <algorithm>
#include <vector>

#include "DriverScanUpdate.h"
#include "FancyListCtrl.h"

namespace {

// The item data of a backup's row.
constexpr DWORD_PTR kBackupRowData = 4;

struct BackupEntry {
  CString name;
  bool dated = false;
  ULONGLONG stamp = 0;  // FILETIME units
  CString shown;        // the row's text under "Date and time"
};

// When the backup was made, in the user's long date and time pictures; empty when either
// does not write.
CString StampText(const SYSTEMTIME& time) {
  WCHAR date[128], clock[64];
  if (GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, &time, nullptr, date, 128) == 0 ||
      GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, nullptr, clock, 64) == 0)
    return CString();
  return CString(date) + _T(' ') + clock;
}

// Whether the archive exists and can be opened for reading.
bool CanOpen(const CString& path) {
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

}  // namespace

void CDriverScanUpdate::RefreshFileList(CFancyListCtrl& list, const CMapStringToString& backupFiles,
                                        const BackupStampReader& readStamp) {
  m_arrFileList.RemoveAll();
  list.DeleteAllItems();
  std::vector<BackupEntry> entries;
  for (POSITION position = backupFiles.GetStartPosition(); position != nullptr;) {
    CString name, path;
    backupFiles.GetNextAssoc(position, name, path);
    if (!CanOpen(path)) continue;
    BackupEntry entry;
    entry.name = name;
    SYSTEMTIME time{};
    FILETIME file{};
    if (readStamp && readStamp(name, time) && SystemTimeToFileTime(&time, &file)) {
      entry.dated = true;
      entry.stamp = (static_cast<ULONGLONG>(file.dwHighDateTime) << 32) | file.dwLowDateTime;
      entry.shown = StampText(time);
    }
    // A name that tells no date is shown as it stands.
    if (entry.shown.IsEmpty()) entry.shown = name;
    entries.push_back(entry);
  }
  // Latest first; names without a stamp follow, in name order.
  std::sort(entries.begin(), entries.end(), [](const BackupEntry& a, const BackupEntry& b) {
    if (a.dated != b.dated) return a.dated;
    if (a.dated && a.stamp != b.stamp) return a.stamp > b.stamp;
    return a.name.CompareNoCase(b.name) < 0;
  });
  for (const BackupEntry& entry : entries) {
    const int item = list.InsertItem(list.GetItemCount(), entry.name);
    if (item < 0) continue;
    list.SetItemData(item, kBackupRowData);
    list.SetItemDetails(item, entry.shown);
    m_arrFileList.Add(entry.name);
  }
  if (list.GetItemCount() > 0) list.SelectSingleItem(0);
}
