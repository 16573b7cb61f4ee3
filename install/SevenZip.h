// Unpacking with the 7-Zip program: self-extracting packages that are no zip archives.
#pragma once
#include <afx.h>

// Time the 7-Zip program is given: a first wait and, when it runs on, a second one.
constexpr DWORD kSevenZipFirstWaitMs = 300000;
constexpr DWORD kSevenZipSecondWaitMs = 120000;

// Unpacks the archive into its own folder joined with folderName, with the program
// "7z.exe" in the "extract" folder beside the tool folder (the tool folder's parent).
// 32 when the program ended within the waits; 33 when the tool folder's parent is missing
// (errorText says so), the program could not start or ran too long: a program still running
// after the waits is ended, so nothing writes into the folder afterwards. A link the program
// made below the folder is removed and makes the run fail (33). A run whose output passes the
// extraction bound (ExtractionBound.h) is ended as soon as that is seen, its output folder is
// removed whole, and passedBound (when given) is set: 33.
int RunSevenZip(LPCTSTR folderName, LPCTSTR archivePath, LPCTSTR toolFolder, CString& errorText,
                bool* passedBound = nullptr);
