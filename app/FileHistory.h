// The download and backup histories, "Download.dat" and "Backup.dat": a string-to-string
// map each (a text key to the full path of a downloaded package or a backup archive), kept in
// the data folder between runs. A file holds the 32-bit entry count, then the map in the
// class library's archive form (count, then key and value of each entry).
#pragma once
#include <afx.h>
#include <afxcoll.h>

// The selector of the two histories, as the main window names them.
enum HistoryKind { kBackupHistory = 0, kDownloadHistory = 1 };

// "Download.dat" for the download history, "Backup.dat" for the backup history.
LPCTSTR GetHistoryFileName(int kind);

// Writes the map as a history into an open file; false when a write failed.
bool WriteHistory(CFile& file, CMapStringToString& map);

// Adds the pairs of a history held in an open file to the map; false when the bytes are
// damaged (cut short, or counts and lengths the file cannot hold), the pairs read before the
// damage staying in the map.
bool ReadHistory(CFile& file, CMapStringToString& map);

// Adds the pairs stored at path to the map (a key already present takes the stored value).
// A file that cannot be opened empties the map and answers true. A damaged file answers
// false: the pairs read before the damage stay in the map and the file is moved aside (to
// path + ".damaged", or ".damaged.N" when that exists) so that nothing of it is lost.
bool LoadHistoryFile(LPCTSTR path, CMapStringToString& map);

// Stores the map at path through a temporary file beside it that replaces the old file only
// once it is written whole; false when it could not be written (the old file is unchanged).
bool SaveHistoryFile(LPCTSTR path, CMapStringToString& map);
