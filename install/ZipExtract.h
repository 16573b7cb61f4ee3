// Extraction of a whole zip archive into a folder through the zip wrapper.
#pragma once
#include <afx.h>

// Extracts every entry of the archive below the folder; entries gets the number the archive
// holds. False when the archive cannot be opened or an entry cannot be extracted whole, and
// before anything is written when the entries would unpack past the extraction bound
// (ExtractionBound.h). ZipLastError() then tells why (kZipOutputBound for the bound).
bool ExtractWholeZip(const CString& archivePath, const CString& folder, int& entries);
