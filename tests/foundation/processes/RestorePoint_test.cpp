// The daily restore point: when one is due on the test clock, the record of the last one,
// and an attempt that makes a point, or reports why it could not.
#include <gtest/gtest.h>

#include <srrestoreptapi.h>

#include <thread>

#include "Registry.h"
#include "RestorePoint.h"
#include "machine_fixture.h"
#include "zx/clock.h"
#include "zx/restorepoints.h"
#include "zx/waits.h"

namespace {

constexpr std::uint64_t kMinuteMs = 60ull * 1000;

class RestorePointTest : public zx::test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    zx::SetClock(&clock_);
  }
  void TearDown() override { zx::SetClock(nullptr); }
  static CString KeyPath() { return CString(GetProductRegistryKeyText()) + _T("\\SYSRES"); }
  // Runs the attempt while another thread moves the clock over its 512 ms pause.
  BOOL CreateWithPause(LPCTSTR description) {
    std::thread mover([this] {
      if (zx::AwaitBlockedWaiters(1)) clock_.Advance(512);
    });
    const BOOL answer = CreateSystemRestorePoint(description);
    mover.join();
    return answer;
  }
  zx::ManualClock clock_;
};

TEST_F(RestorePointTest, DueWithoutARecord) { EXPECT_TRUE(ShouldCreateRestorePoint()); }

TEST_F(RestorePointTest, DueAfterMoreThan24WholeHours) {
  ASSERT_TRUE(SaveRestorePointTime());
  EXPECT_FALSE(ShouldCreateRestorePoint());
  clock_.Advance((24 * 60 + 59) * kMinuteMs);
  EXPECT_FALSE(ShouldCreateRestorePoint());
  clock_.Advance(kMinuteMs);
  EXPECT_TRUE(ShouldCreateRestorePoint());
}

TEST_F(RestorePointTest, RecordFromTheFutureIsDue) {
  clock_.Advance(48 * 60 * kMinuteMs);
  ASSERT_TRUE(SaveRestorePointTime());
  zx::ManualClock earlier;  // the clock set back two days
  zx::SetClock(&earlier);
  EXPECT_TRUE(ShouldCreateRestorePoint());
  zx::SetClock(&clock_);
}

TEST_F(RestorePointTest, RecordOfTheWrongSizeIsDue) {
  const BYTE shortRecord[8] = {0xD0, 0x07, 1, 0, 6, 0, 1, 0};
  ASSERT_TRUE(RegWriteString(HKEY_CURRENT_USER, KeyPath(), _T("Other"), _T("x")));
  CRegistry key;
  ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, KeyPath()));
  ASSERT_TRUE(key.WriteBinary(_T("LastRestorePointTime"), shortRecord, sizeof shortRecord));
  SYSTEMTIME time{};
  EXPECT_FALSE(LoadRestorePointTime(time));
  EXPECT_TRUE(ShouldCreateRestorePoint());
}

TEST_F(RestorePointTest, RecordIsTheUtcSystemTime) {
  ASSERT_TRUE(SaveRestorePointTime());
  SYSTEMTIME time{};
  ASSERT_TRUE(LoadRestorePointTime(time));
  EXPECT_EQ(time.wYear, 2000);
  EXPECT_EQ(time.wMonth, 1);
  EXPECT_EQ(time.wDay, 1);
  EXPECT_EQ(time.wHour, 0);
}

TEST_F(RestorePointTest, DuePointIsMadeAndRecorded) {
  EXPECT_FALSE(CreateWithPause(_T("Before driver update")));
  const auto points = zx::restore::ListRestorePoints();
  ASSERT_EQ(points.size(), 1u);
  EXPECT_TRUE(points[0].complete);
  EXPECT_EQ(points[0].description, u"Before driver update");
  EXPECT_EQ(points[0].type, static_cast<DWORD>(MODIFY_SETTINGS));
  EXPECT_EQ(GetRestorePointStatusText(), CString(_T("IDS_CREATED_RESPOINT")));
  EXPECT_FALSE(ShouldCreateRestorePoint());
  EXPECT_TRUE(CreateSystemRestorePoint(_T("again")));  // not due: nothing tried
  EXPECT_EQ(zx::restore::ListRestorePoints().size(), 1u);
}

TEST_F(RestorePointTest, LongDescriptionIsCutTo255Characters) {
  EXPECT_FALSE(CreateWithPause(CString(_T('d'), 400)));
  const auto points = zx::restore::ListRestorePoints();
  ASSERT_EQ(points.size(), 1u);
  EXPECT_EQ(points[0].description.size(), 255u);
}

TEST_F(RestorePointTest, RefusedPointIsReportedAndNotRecorded) {
  WriteHostFile(root() + "/machine.ini", "[SystemRestore]\nDisabled=1\n");
  EXPECT_FALSE(CreateSystemRestorePoint(_T("x")));
  EXPECT_EQ(GetRestorePointStatusText(), CString(_T("IDS_UNSET_RESTORE_POINT")));
  EXPECT_TRUE(ShouldCreateRestorePoint());
  EXPECT_TRUE(zx::restore::ListRestorePoints().empty());
}

}  // namespace
