// Small services of the update engine: excluded hardware ids, the stop request, and MD5 texts.
#include <gtest/gtest.h>

#include "ScanServices.h"
#include "lookup_testing.h"
#include "zx/pathmap.h"

namespace zx::test {
namespace {

class ScanServices : public LookupTest {};

TEST_F(ScanServices, MarksAndUnmarksExcludedIds) {
  EXPECT_TRUE(engine_->SetKeyMarked(_T("PCI\\VEN_1&DEV_2"), TRUE));
  EXPECT_TRUE(engine_->SetKeyMarked(_T("PCI\\VEN_1&DEV_2"), TRUE));
  EXPECT_EQ(engine_->GetExcludedIds().GetCount(), 1);
  EXPECT_TRUE(engine_->SetKeyMarked(_T("pci\\ven_1&dev_2"), FALSE));
  EXPECT_EQ(engine_->GetExcludedIds().GetCount(), 1);
  EXPECT_TRUE(engine_->SetKeyMarked(_T("PCI\\VEN_1&DEV_2"), FALSE));
  EXPECT_EQ(engine_->GetExcludedIds().GetCount(), 0);
}

// With nothing running the stop is answered at once.
TEST_F(ScanServices, AStopWithNothingRunningIsAnswered) {
  EXPECT_FALSE(engine_->IsScanDone());
  engine_->StopOperation(TRUE);
  EXPECT_TRUE(engine_->IsScanDone());
  engine_->StopOperation(FALSE);
  EXPECT_TRUE(engine_->IsFinished());
  EXPECT_TRUE(engine_->IsAborted());
}

TEST_F(ScanServices, GivesMd5TextsOfFilesAndBuffers) {
  WriteHostFile(root() + "/abc.bin", "abc");
  const CString path = path::HostToWindows(root() + "/abc.bin").c_str();
  EXPECT_EQ(Narrow(GetFileMd5IfExists(path)), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(Narrow(GetFileMd5IfExists(path + _T(".missing"))), "");
  EXPECT_EQ(Narrow(GetFileMd5IfExists(CString())), "");
  const BYTE bytes[] = {'a', 'b', 'c'};
  EXPECT_EQ(Narrow(Md5HexOfBuffer(bytes, 3)), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(Narrow(Md5HexOfBuffer(bytes, 0)), "");
  EXPECT_EQ(Narrow(Md5HexOfBuffer(nullptr, 3)), "");
}

}  // namespace
}  // namespace zx::test
