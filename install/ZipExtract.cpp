// Extraction of a whole zip archive into a folder.
#include "ZipExtract.h"

#include "ZipArchive.h"

bool ExtractWholeZip(const CString& archivePath, const CString& folder, int& entries) {
  entries = 0;
  HZIP zip = ZipArchiveOpen(archivePath);
  if (zip == nullptr) return false;
  ZipItemInfo archive{};
  bool whole = ZipArchiveGetItem(zip, &archive, -1) == kZipOk && ZipArchiveSetBaseFolder(zip, folder) == kZipOk;
  if (whole) entries = archive.index;
  for (int i = 0; whole && i < archive.index; ++i) {
    ZipItemInfo item{};
    whole = ZipArchiveGetItem(zip, &item, i) == kZipOk && ZipArchiveExtractItem(zip, item.name, i) == kZipOk;
  }
  ZipArchiveClose(zip);
  return whole;
}
