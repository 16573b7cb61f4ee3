// What the archive readers share: entry names made safe (whatever an archive calls an entry,
// a drive, a leading slash, a server share, ".." steps, it lands below the folder it is
// extracted into), the containment test, the check of a folder another program extracted,
// folder creation and MS-DOS times.
#pragma once
#include <afx.h>

// The entry's name as a relative path with backslashes: drive prefixes, leading slashes and
// "." steps dropped, ".." steps taken back inside the name and dropped where nothing is left
// to take back. "..\..\windows\x.sys" gives "windows\x.sys", "C:\x.sys" gives "x.sys",
// "a/../../b" gives "b". Empty when nothing is left.
CString MakeSafeEntryName(LPCWSTR name);

// Whether `path` (after resolving "." and ".." steps) lies inside `folder`, the folder
// itself not counted. Names compare without regard to case.
bool IsPathInsideFolder(const CString& folder, const CString& path);

// Checks what another program unpacked into `folder`: every link below it, to a file or a
// folder, is removed (the link goes, what it names stays). True when there was no link and
// every name is a plain name ("..." is none).
bool RemoveExtractedLinks(const CString& folder);

// The folder with exactly one trailing backslash.
CString WithTrailingBackslash(const CString& folder);

// Creates each missing folder of `folder` one level at a time.
bool CreateFolderPath(const CString& folder);

// An MS-DOS date and time as a file time of the same wall-clock value; false when the
// fields name no valid time.
bool DosTimeToFileTime(WORD dosDate, WORD dosTime, FILETIME& time);
