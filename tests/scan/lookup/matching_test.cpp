// Matching answer records to devices: version and id tests, first match, ranks, found rules,
// and the result rows filled from the found updates.
#include <gtest/gtest.h>

#include "EngineCallbacks.h"
#include "ExclusionList.h"
#include "lookup_testing.h"
#include "zx/pathmap.h"

namespace zx::test {
namespace {

class Matching : public LookupTest {
 protected:
  DeviceSpec Device(const std::u16string& version = u"1.2.3") {
    DeviceSpec device;
    device.version = version;
    device.hardwareIds = {u"PCI\\VEN_1&DEV_2&SUBSYS_3", u"PCI\\VEN_1&DEV_2"};
    device.compatibleIds = {u"PCI\\VEN_1&DEV_2&CC_01", u"PCI\\VEN_1&DEV_2&CC_02", u"PCI\\VEN_1&DEV_2&CC_03"};
    return device;
  }
  const tagDeviceDriverInfo& Update(int index = 0) { return *engine_->GetUpdateRecord(index); }
  std::string Matched(int index = 0) { return Narrow(Update(index).szText[kSlotHardwareId].Text()); }
};

TEST_F(Matching, ComparesVersionsAsNumbers) {
  SetDevices({Device(u"1.2.3"), Device(u"1.2.10"), Device(u"1.2.3.0")});
  Parse(Answer(Group(0, u"pci\\ven_1&dev_2&cc_02", u"1.2.3.1") + Group(1, u"pci\\ven_1&dev_2&cc_02", u"1.2.9") +
               Group(2, u"pci\\ven_1&dev_2&cc_02", u"1.2.3")));
  EXPECT_EQ(Matched(0), "pci\\ven_1&dev_2&cc_02");
  EXPECT_EQ(Matched(1), "");
  EXPECT_EQ(Matched(2), "");
}

TEST_F(Matching, ADriverOfTheRunningWindowsTakesAnyVersion) {
  CString own;
  own.Format(_T("%d.%d.%d.17514"), engine_->GetOsMajor(), engine_->GetOsMinor(), engine_->GetOsBuild());
  SetDevices({Device(Text(own))});
  Parse(Answer(Group(0, u"pci\\ven_1&dev_2&cc_01", u"1.0")));
  EXPECT_EQ(Matched(), "pci\\ven_1&dev_2&cc_01");
}

TEST_F(Matching, TheFirstCandidatePieceWinsThenTheFirstRecord) {
  SetDevices({Device()});
  Parse(Answer(Group(0, u"pci\\ven_1&dev_2&cc_03", u"9", {{u"md5", u"a"}}) + Group(0, u"pci\\ven_1&dev_2&cc_02", u"9", {{u"md5", u"b"}}) +
               Group(0, u"pci\\ven_1&dev_2&cc_02", u"9", {{u"md5", u"c"}})));
  EXPECT_EQ(Matched(), "pci\\ven_1&dev_2&cc_02");
  EXPECT_EQ(Narrow(Update().szText[kSlotUpdate13].Text()), "b");
  EXPECT_EQ(engine_->GetUpdatesFound(), 1);
}

// Each device is handed its own records however the answer orders them, a driverid of no
// scanned device is skipped, and a later answer starts from empty update records.
TEST_F(Matching, HandsEachDeviceItsRecordsAndStartsEachAnswerAfresh) {
  SetDevices({Device(), Device(), Device()});
  Parse(Answer(Group(2, u"pci\\ven_1&dev_2&cc_02", u"9", {{u"md5", u"d"}}) + Group(7, u"pci\\ven_1&dev_2&cc_01", u"9") +
               Group(0, u"pci\\ven_1&dev_2&cc_01", u"1") + Group(2, u"pci\\ven_1&dev_2&cc_01", u"9", {{u"md5", u"c"}}) +
               Group(0, u"pci\\ven_1&dev_2&cc_03", u"9", {{u"md5", u"a"}})));
  EXPECT_EQ(Matched(0), "pci\\ven_1&dev_2&cc_03");
  EXPECT_EQ(Narrow(Update(0).szText[kSlotUpdate13].Text()), "a");
  EXPECT_EQ(Matched(1), "");
  EXPECT_EQ(Matched(2), "pci\\ven_1&dev_2&cc_01");
  EXPECT_EQ(Narrow(Update(2).szText[kSlotUpdate13].Text()), "c");
  EXPECT_EQ(engine_->GetUpdatesFound(), 2);
  EXPECT_EQ(engine_->GetSkippedAnswerRecords(), 1);

  Parse(Answer(Group(1, u"pci\\ven_1&dev_2&cc_02", u"9")));
  EXPECT_TRUE(Update(0).szText[kSlotHardwareId].IsNull());
  EXPECT_TRUE(Update(0).szText[kSlotUpdate13].IsNull());
  EXPECT_EQ(Update(0).nDriverRank, 0);
  EXPECT_EQ(Matched(1), "pci\\ven_1&dev_2&cc_02");
  EXPECT_TRUE(Update(2).szText[kSlotHardwareId].IsNull());
  EXPECT_EQ(engine_->GetUpdatesFound(), 1);
  EXPECT_EQ(engine_->GetSkippedAnswerRecords(), 0);
}

TEST_F(Matching, RanksByWhereTheIdStandsAndTheSigner) {
  SetDevices({Device(), Device(), Device()});
  // The hardware id without its subsystem is a candidate; the second hardware id, index 1.
  Parse(Answer(Group(0, u"pci\\ven_1&dev_2", u"9", {{u"CompatibleIdIdx", u"0"}}) +
               Group(1, u"pci\\ven_1&dev_2&cc_03", u"9", {{u"CompatibleIdIdx", u"2"}}) +
               Group(2, u"pci\\ven_1&dev_2&cc_01", u"9", {{u"signer", u"0"}})));
  const DWORD feature = engine_->GetOsMajor() > 5 ? 0 : 0;
  EXPECT_EQ(static_cast<DWORD>(Update(0).nDriverRank), 1u + feature);
  EXPECT_EQ(static_cast<DWORD>(Update(1).nDriverRank), 0x3102u);
  EXPECT_EQ(static_cast<DWORD>(Update(2).nDriverRank), 0x80002000u);
}

TEST_F(Matching, ReadsFeatureScores) {
  EXPECT_EQ(CDriverScanUpdate::ParseFeatureScore(_T("GG")), 0xFF0000u);
  EXPECT_EQ(CDriverScanUpdate::ParseFeatureScore(_T("gg")), 0xFF0000u);
  EXPECT_EQ(CDriverScanUpdate::ParseFeatureScore(_T("0x0A")), 0xA0000u);
  EXPECT_EQ(CDriverScanUpdate::ParseFeatureScore(_T("123")), 0xFF0000u);
  EXPECT_EQ(CDriverScanUpdate::ParseFeatureScore(_T("")), 0u);
}

TEST_F(Matching, TheDevicesRankDecidesWhetherTheUpdateCounts) {
  DeviceSpec noRank = Device(), blocking = Device(), lower = Device();
  noRank.rank = -1;
  blocking.rank = 0;
  lower.rank = 0x2000;
  SetDevices({noRank, blocking, lower});
  Parse(Answer(Group(0, u"pci\\ven_1&dev_2&cc_02", u"9") + Group(1, u"pci\\ven_1&dev_2&cc_02", u"9") + Group(2, u"pci\\ven_1&dev_2&cc_02", u"9")));
  EXPECT_EQ(engine_->GetUpdatedDevices(), (std::set<int>{0}));
  // Filled though not counted.
  EXPECT_EQ(Matched(1), "pci\\ven_1&dev_2&cc_02");
  EXPECT_EQ(Matched(2), "pci\\ven_1&dev_2&cc_02");
}

TEST_F(Matching, ARecordedUpdateIsHiddenOnlyWhileTheDeviceHoldsIt) {
  // A driver carrying the system's own version counts as older than any offered one, so the
  // record alone tells that the offered update of that version is the one installed.
  const CString& os = engine_->GetOsVersionText();
  const std::u16string system = std::u16string(os.GetString(), os.GetLength()) + u".5";
  struct Case {
    std::u16string installed, offered;
    int installError;
    bool found;
  } const cases[] = {
      {system, system, 0, false},     // installed: the device holds it
      {system, system, 1603, true},   // the recorded install failed
      {u"1.0.0.0", u"9", 0, true},    // the device holds an older driver again (a restore)
      {u"1.0.0.0", u"9", 1603, true}, // the install failed and left the old driver
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(&c - cases));
    DeviceSpec device = Device();
    device.version = c.installed;
    SetDevices({device, Device()});
    CExclusionList installed(path::HostToWindows(root()).c_str());
    ExclusionEntry entry;
    entry.szText[ExclusionEntry::kHardwareId] = _T("PCI\\VEN_1&DEV_2&SUBSYS_3");
    entry.szText[ExclusionEntry::kMd5] = _T("ABC");
    entry.szText[ExclusionEntry::kInfPath] = _T("pkg\\a.inf");
    entry.nInstallErrorCode = c.installError;
    ASSERT_TRUE(installed.Add(entry));
    engine_->SetInstalledUpdates(&installed);
    // The second device is offered another update (another MD5) of the same package.
    Parse(Answer(Group(0, u"pci\\ven_1&dev_2&cc_02", c.offered, {{u"md5", u"abc"}, {u"infpath", u"C:\\Extract\\Pkg\\A.inf"}}) +
                 Group(1, u"pci\\ven_1&dev_2&cc_02", u"9", {{u"md5", u"abd"}, {u"infpath", u"C:\\Extract\\Pkg\\A.inf"}})));
    EXPECT_EQ(Matched(0), "pci\\ven_1&dev_2&cc_02") << "filled whether found or not";
    EXPECT_EQ(engine_->GetUpdatedDevices(), c.found ? (std::set<int>{0, 1}) : (std::set<int>{1}));
    engine_->SetInstalledUpdates(nullptr);
  }
}

TEST_F(Matching, FillsTheUpdateRecordFromTheAnswer) {
  SetDevices({Device()});
  Parse(Answer(Group(0, u"PCI\\VEN_1&DEV_2&CC_02", u"9.1",
                     {{u"severity", u"7"}, {u"downloadid", u"-2"}, {u"isInstall", u""}, {u"isSpecificCase", u"1"},
                      {u"featurescore", u"0x0A"}})));
  const tagDeviceDriverInfo& update = Update();
  EXPECT_EQ(Narrow(update.szText[kSlotHardwareId].Text()), "pci\\ven_1&dev_2&cc_02");
  EXPECT_EQ(Narrow(update.szText[kSlotClassName].Text()), "System");
  EXPECT_EQ(update.nValues[1], 1);
  EXPECT_EQ(update.nValues[2], 1);
  EXPECT_EQ(update.nValues[3], -2);
  EXPECT_EQ(update.nValues[4], -1);
  EXPECT_EQ(update.nValues[5], 4);
  EXPECT_EQ(Narrow(update.szExtraText.Text()), "0x0A");
  EXPECT_EQ(update.nExtraNumber, 0);
}

TEST_F(Matching, KeysTheFoundUpdatesByClassAndName) {
  DeviceSpec a = Device(), b = Device(), c = Device();
  a.className = u"Net";
  a.name = u"b";
  b.className = u"audio";
  c.className = u"NET";
  c.name = u"a";
  SetDevices({a, b, c});
  Parse(Answer(Group(0, u"pci\\ven_1&dev_2&cc_01", u"9") + Group(1, u"pci\\ven_1&dev_2&cc_01", u"9") + Group(2, u"pci\\ven_1&dev_2&cc_01", u"9")));
  const CSortStringArray& keys = engine_->GetResultKeys();
  ASSERT_EQ(keys.GetSize(), 3);
  EXPECT_EQ(Narrow(keys[0]), "audio|Device|1");
  EXPECT_EQ(Narrow(keys[1]), "NET|a|2");
  EXPECT_EQ(Narrow(keys[2]), "Net|b|0");
}

class ResultRows : public Matching {};

TEST_F(ResultRows, FillsOneRowPerFoundUpdate) {
  DeviceSpec shortName = Device(), longName = Device(), exact = Device();
  longName.name = std::u16string(69, u'x');
  exact.name = std::u16string(68, u'y');
  shortName.date = u"6-1-2006";
  SetDevices({shortName, longName, exact});
  Parse(Answer(Group(0, u"pci\\ven_1&dev_2&cc_01", u"9", {{u"infdate", u"2015-06-19T00:00:00"}, {u"riskLevel", u"2"}}) +
               Group(1, u"pci\\ven_1&dev_2&cc_01", u"9") + Group(2, u"pci\\ven_1&dev_2&cc_01", u"9")));
  RecordingList list;
  EXPECT_EQ(engine_->FillResults(), 0);
  engine_->SetResultList(&list);
  engine_->SetScanDone(TRUE);
  ASSERT_EQ(engine_->FillResults(), 1);
  ASSERT_EQ(list.items.size(), 3u);
  EXPECT_EQ(list.items[0].name, u"Device");
  EXPECT_EQ(list.items[0].currentDate, u"2006-06-01");
  EXPECT_EQ(list.items[0].newDate, u"2015-06-19");
  EXPECT_EQ(list.items[0].risk, 2);
  EXPECT_EQ(list.items[0].severity, 2);
  EXPECT_EQ(list.items[1].name, std::u16string(65, u'x') + u"...");
  EXPECT_EQ(list.items[2].name, std::u16string(68, u'y'));
  EXPECT_EQ(list.selected, 0);
  EXPECT_EQ(engine_->GetResultRows().GetSize(), 3);
  ASSERT_EQ(engine_->FillResults(), 1);
  EXPECT_EQ(engine_->GetShownResults(), 3);
  CString index;
  ASSERT_TRUE(engine_->GetItemMap().Lookup(_T("1"), index));
  EXPECT_EQ(Narrow(index), "1");

  engine_->SetResultRowState(99, kRowInstalled, 0);
  engine_->SetResultRowState(1, kRowDownloaded, 0);
  engine_->SetResultRowState(2, 0, 1);
  ASSERT_EQ(engine_->RebuildResultList(), 1);
  ASSERT_EQ(list.items.size(), 2u);
  EXPECT_EQ(list.items[1].name, std::u16string(69, u'x'));
  EXPECT_EQ(list.items[1].data, static_cast<DWORD_PTR>(kRowDownloaded));
  EXPECT_EQ(list.items[1].checked, TRUE);
}

// In the one-click mode the popup's list mirrors the rows, and installed rows are left out.
TEST_F(ResultRows, OneClickRebuildMirrorsRowsAndLeavesOutInstalledOnes) {
  SetDevices({Device(), Device(), Device()});
  Parse(Answer(Group(0, u"pci\\ven_1&dev_2&cc_01", u"9") + Group(1, u"pci\\ven_1&dev_2&cc_01", u"9") +
               Group(2, u"pci\\ven_1&dev_2&cc_01", u"9", {{u"severity", u"1"}})));
  RecordingList list, popup;
  engine_->SetResultList(&list);
  engine_->SetPopupResultList(&popup);
  engine_->SetScanDone(TRUE);
  ASSERT_EQ(engine_->FillResults(), 1);
  CEngineProgressView view;
  view.bOneClick = true;
  SetEngineProgressView(&view);
  engine_->SetResultRowState(1, kRowInstalled, 0);
  ASSERT_EQ(engine_->RebuildResultList(), 1);
  SetEngineProgressView(nullptr);
  ASSERT_EQ(list.items.size(), 2u);
  ASSERT_EQ(popup.items.size(), 2u);
  EXPECT_EQ(popup.items[1].severity, 4);
  EXPECT_EQ(popup.items[1].className, u"");
  EXPECT_EQ(list.items[1].severity, 1);
  EXPECT_EQ(engine_->GetShownResults(), 2);
  CString index;
  ASSERT_TRUE(engine_->GetItemMap().Lookup(_T("1"), index));
  EXPECT_EQ(Narrow(index), "2");
}

TEST(ResultRowArray, KeepsTheFirstRowOfADevice) {
  CResultRowArray rows;
  tagUpdateResultsStruct row;
  row.nDeviceIndex = 4;
  row.strDeviceName = _T("first");
  rows.AddResultRow(row);
  row.strDeviceName = _T("second");
  rows.AddResultRow(row);
  ASSERT_EQ(rows.GetSize(), 1);
  EXPECT_EQ(Narrow(rows[0].strDeviceName), "first");
}

TEST(ResultDates, AcceptsTheServiceAndScannerFormsOnly) {
  EXPECT_EQ(Narrow(FormatResultDate(_T("2015-6-9"))), "2015-06-09");
  EXPECT_EQ(Narrow(FormatResultDate(_T("12-31-2010"))), "2010-12-31");
  EXPECT_EQ(Narrow(FormatResultDate(_T("2-30-2010"))), "");
  EXPECT_EQ(Narrow(FormatResultDate(_T("soon"))), "");
  EXPECT_EQ(Narrow(FormatResultDate(_T(""))), "");
}

}  // namespace
}  // namespace zx::test
