// Extraction of a whole zip archive into a folder, within the extraction bound.
#include "ZipExtract.h"

#include "ExtractionBound.h"
#include "ZipArchive.h"

bool ExtractWholeZip(const CString& archivePath, const CString& folder, int& entries) {
  entries = 0;
  HZIP zip = ZipArchiveOpen(archivePath);
  if (zip == nullptr) return false;
  ZipItemInfo archive{};
  ULONGLONG unpacked = 0;
  bool whole = ZipArchiveGetItem(zip, &archive, -1) == kZipOk && ZipArchiveSetBaseFolder(zip, folder) == kZipOk &&
               ZipArchiveGetUnpackedTotal(zip, &unpacked) == kZipOk;
  if (whole) entries = archive.index;
  if (whole && unpacked > ExtractionBound(ArchiveFileSize(archivePath), folder)) {
    SetZipLastError(kZipOutputBound);
    whole = false;
  }
  for (int i = 0; whole && i < archive.index; ++i) {
    ZipItemInfo item{};
    whole = ZipArchiveGetItem(zip, &item, i) == kZipOk && ZipArchiveExtractItem(zip, item.name, i) == kZipOk;
  }
  // Closing answers its own result; the last call's reason is kept.
  const DWORD result = ZipLastError();
  ZipArchiveClose(zip);
  SetZipLastError(result);
  return whole;
}
