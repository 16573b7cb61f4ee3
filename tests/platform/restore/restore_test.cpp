// Restore points: a begun and ended change leaves one complete point; within 24 hours of it
// no new point is made; cancelled and removed points go; bad requests and a switched-off
// System Restore fail with their status.
#include <gtest/gtest.h>

#include <cstring>

#include "machine_fixture.h"
#include "srrestoreptapi.h"
#include "zx/clock.h"
#include "zx/restorepoints.h"

namespace {

constexpr std::uint64_t kHourMs = 3600ull * 1000;

class RestorePointTest : public zx::test::MachineTest {
 protected:
  void SetUp() override {
    MachineTest::SetUp();
    zx::SetClock(&clock_);
  }
  void TearDown() override { zx::SetClock(nullptr); }
  static RESTOREPOINTINFOW Request(DWORD event, DWORD type, INT64 sequence, const char16_t* text) {
    RESTOREPOINTINFOW info{};
    info.dwEventType = event;
    info.dwRestorePtType = type;
    info.llSequenceNumber = sequence;
    std::char_traits<char16_t>::copy(info.szDescription, text, std::char_traits<char16_t>::length(text) + 1);
    return info;
  }
  // Begins and ends a change; answers the sequence number the begin gave.
  INT64 MakePoint(const char16_t* text) {
    RESTOREPOINTINFOW begin = Request(BEGIN_SYSTEM_CHANGE, MODIFY_SETTINGS, 0, text);
    STATEMGRSTATUS status{};
    EXPECT_TRUE(SRSetRestorePointW(&begin, &status));
    EXPECT_EQ(status.nStatus, static_cast<DWORD>(ERROR_SUCCESS));
    RESTOREPOINTINFOW end = Request(END_SYSTEM_CHANGE, MODIFY_SETTINGS, status.llSequenceNumber, u"");
    STATEMGRSTATUS ended{};
    EXPECT_TRUE(SRSetRestorePointW(&end, &ended));
    return status.llSequenceNumber;
  }
  zx::ManualClock clock_;
};

TEST_F(RestorePointTest, BegunAndEndedChangeLeavesACompletePoint) {
  RESTOREPOINTINFOW begin = Request(BEGIN_SYSTEM_CHANGE, MODIFY_SETTINGS, 0, u"Before Zephrin Tunevo é");
  STATEMGRSTATUS status{};
  ASSERT_TRUE(SRSetRestorePointW(&begin, &status));
  EXPECT_EQ(status.llSequenceNumber, 1);
  auto points = zx::restore::ListRestorePoints();
  ASSERT_EQ(points.size(), 1u);
  EXPECT_FALSE(points[0].complete);
  RESTOREPOINTINFOW end = Request(END_SYSTEM_CHANGE, MODIFY_SETTINGS, 1, u"");
  ASSERT_TRUE(SRSetRestorePointW(&end, &status));
  points = zx::restore::ListRestorePoints();
  ASSERT_EQ(points.size(), 1u);
  EXPECT_TRUE(points[0].complete);
  EXPECT_EQ(points[0].type, static_cast<DWORD>(MODIFY_SETTINGS));
  EXPECT_EQ(points[0].description, u"Before Zephrin Tunevo é");
  EXPECT_EQ(points[0].created, clock_.WallTime());
}

TEST_F(RestorePointTest, NoNewPointWithin24HoursOfTheLast) {
  ASSERT_EQ(MakePoint(u"first"), 1);
  clock_.Advance(24 * kHourMs - 1);
  EXPECT_EQ(MakePoint(u"second"), 1);  // answered with the existing point
  EXPECT_EQ(zx::restore::ListRestorePoints().size(), 1u);
  clock_.Advance(1);
  EXPECT_EQ(MakePoint(u"third"), 2);
  const auto points = zx::restore::ListRestorePoints();
  ASSERT_EQ(points.size(), 2u);
  EXPECT_EQ(points[1].description, u"third");
  EXPECT_TRUE(points[1].complete);
}

TEST_F(RestorePointTest, CancelledChangeLeavesNoPoint) {
  RESTOREPOINTINFOW begin = Request(BEGIN_SYSTEM_CHANGE, APPLICATION_INSTALL, 0, u"x");
  STATEMGRSTATUS status{};
  ASSERT_TRUE(SRSetRestorePointW(&begin, &status));
  RESTOREPOINTINFOW cancel = Request(END_SYSTEM_CHANGE, CANCELLED_OPERATION, status.llSequenceNumber, u"");
  ASSERT_TRUE(SRSetRestorePointW(&cancel, &status));
  EXPECT_TRUE(zx::restore::ListRestorePoints().empty());
}

TEST_F(RestorePointTest, LineBreaksInADescriptionCannotSplitTheRecord) {
  MakePoint(u"a\tb\nc");
  const auto points = zx::restore::ListRestorePoints();
  ASSERT_EQ(points.size(), 1u);
  EXPECT_EQ(points[0].description, u"a b c");
  EXPECT_TRUE(points[0].complete);
}

TEST_F(RestorePointTest, RemoveDropsThePoint) {
  const INT64 sequence = MakePoint(u"gone");
  EXPECT_EQ(SRRemoveRestorePoint(static_cast<DWORD>(sequence)), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_TRUE(zx::restore::ListRestorePoints().empty());
  EXPECT_EQ(SRRemoveRestorePoint(static_cast<DWORD>(sequence)), static_cast<DWORD>(ERROR_INVALID_DATA));
}

TEST_F(RestorePointTest, BadRequestsFailWithTheirStatus) {
  STATEMGRSTATUS status{};
  RESTOREPOINTINFOW end = Request(END_SYSTEM_CHANGE, MODIFY_SETTINGS, 42, u"");
  EXPECT_FALSE(SRSetRestorePointW(&end, &status));
  EXPECT_EQ(status.nStatus, static_cast<DWORD>(ERROR_INVALID_DATA));
  RESTOREPOINTINFOW odd = Request(7, MODIFY_SETTINGS, 0, u"");
  EXPECT_FALSE(SRSetRestorePointW(&odd, &status));
  EXPECT_EQ(status.nStatus, static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  RESTOREPOINTINFOW unterminated = Request(BEGIN_SYSTEM_CHANGE, MODIFY_SETTINGS, 0, u"");
  std::fill(std::begin(unterminated.szDescription), std::end(unterminated.szDescription), u'a');
  EXPECT_FALSE(SRSetRestorePointW(&unterminated, &status));
  EXPECT_EQ(status.nStatus, static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_FALSE(SRSetRestorePointW(nullptr, &status));
  EXPECT_TRUE(zx::restore::ListRestorePoints().empty());
}

TEST_F(RestorePointTest, SwitchedOffSystemRestoreRefusesEveryCall) {
  WriteHostFile(root() + "/machine.ini", "[SystemRestore]\nDisabled=1\n");
  RESTOREPOINTINFOW begin = Request(BEGIN_SYSTEM_CHANGE, MODIFY_SETTINGS, 0, u"x");
  STATEMGRSTATUS status{};
  EXPECT_FALSE(SRSetRestorePointW(&begin, &status));
  EXPECT_EQ(status.nStatus, static_cast<DWORD>(ERROR_SERVICE_DISABLED));
  EXPECT_EQ(SRRemoveRestorePoint(1), static_cast<DWORD>(ERROR_SERVICE_DISABLED));
}

TEST_F(RestorePointTest, DamagedRecordLinesAreDroppedAndTheRestKept) {
  WriteHostFile(root() + "/restore/points.txt",
                "3\tcomplete\t12\t125911584000000000\tkept\nnot a record\n4\tcomplete\tx\t1\tbad\n");
  auto points = zx::restore::ListRestorePoints();
  ASSERT_EQ(points.size(), 1u);
  EXPECT_EQ(points[0].sequence, 3);
  clock_.Advance(25 * kHourMs);
  EXPECT_EQ(MakePoint(u"next"), 4);
  EXPECT_EQ(zx::restore::ListRestorePoints().size(), 2u);
}

TEST_F(RestorePointTest, NoPointFollowsARecordHoldingTheHighestNumber) {
  const std::string records = "9223372036854775807\tcomplete\t1\t1\tlast\n";
  WriteHostFile(root() + "/restore/points.txt", records);
  clock_.Advance(25 * kHourMs);
  RESTOREPOINTINFOW begin = Request(BEGIN_SYSTEM_CHANGE, MODIFY_SETTINGS, 0, u"next");
  STATEMGRSTATUS status{};
  EXPECT_FALSE(SRSetRestorePointW(&begin, &status));
  EXPECT_EQ(status.nStatus, static_cast<DWORD>(ERROR_INVALID_DATA));
  EXPECT_EQ(ReadHostFile(root() + "/restore/points.txt"), records);
}

}  // namespace
