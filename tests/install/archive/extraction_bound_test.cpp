// The extraction bound: an archive of each kind that unpacks to 1 GiB from a small file is
// refused by its real extractor with the bound's own reason, and nothing of it is left.
#include <gtest/gtest.h>

#include <filesystem>

#include "CabExtractor.h"
#include "RarArchive.h"
#include "SevenZip.h"
#include "ZipArchive.h"
#include "ZipExtract.h"
#include "archive_testing.h"

namespace zx::test {
namespace {

constexpr LPCTSTR kFolder = _T("C:\\pkg\\bomb\\");

// Unpacks the archive into kFolder; whether the extractor refused it for the bound.
using Refusal = bool (*)(const CString& archive);

bool ZipRefused(const CString& archive) {
  int entries = 0;
  return !ExtractWholeZip(archive, kFolder, entries) && ZipLastError() == kZipOutputBound && entries == 2;
}

bool CabRefused(const CString& archive) {
  CCabExtractor cabinet;
  return cabinet.Init() && !cabinet.ExtractCabinet(CStringA(kFolder), CStringA(archive)) &&
         cabinet.GetErrorCode() == CCabExtractor::kErrorOutputBound;
}

bool RarRefused(const CString& archive) {
  CRarArchive rar;
  if (!rar.LoadLibrary() || !rar.ListEntries(archive)) return false;
  rar.SetDestination(kFolder);
  return !rar.ExtractAll() && rar.PassedBound();
}

bool SevenZipRefused(const CString& archive) {
  CString error;
  bool passedBound = false;
  return RunSevenZip(_T("bomb"), archive, _T("C:\\Tools\\Win7\\"), error, &passedBound) == 33 && passedBound;
}

struct Bomb {
  const char* fixture;
  Refusal refused;
};

const Bomb kBombs[] = {
    {"bomb.zip", ZipRefused},       // 1 GiB of zeros deflated, after a small entry
    {"bomb.cab", CabRefused},       // 32,768 MSZIP blocks of 32 KiB of zeros
    {"bomb.rar", RarRefused},       // a stored entry whose header says 1 GiB
    {"bomb.7z", SevenZipRefused},   // 1 GiB of zeros in LZMA, cut off while 7-Zip writes
};

using ExtractionBoundTest = SevenZipArchiveTest;

TEST_F(ExtractionBoundTest, ABombOfEachKindIsRefusedAndLeavesNothing) {
  UseSevenZip();
  for (const Bomb& bomb : kBombs) {
    SCOPED_TRACE(bomb.fixture);
    const CString archive = PlaceFixture(bomb.fixture);
    const auto before = FilesBelowRoot();
    EXPECT_TRUE(bomb.refused(archive));
    EXPECT_TRUE(NewFilesBelow(before, kFolder).empty());
    std::filesystem::remove(Host(archive));
    std::filesystem::remove_all(Host(kFolder));
  }
}

}  // namespace
}  // namespace zx::test
