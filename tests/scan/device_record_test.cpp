// Device records: initial and reset values, deep copies, the one-extra-character texts,
// growing record arrays, and the case-blind sort of the matching code.
#include <gtest/gtest.h>

#include "DeviceRecord.h"

namespace {

TEST(DeviceRecord, InitialisedRecordsHoldNothing) {
  const tagDeviceDriverInfo record;
  for (const CRecordText& text : record.szText) EXPECT_TRUE(text.IsNull());
  for (int value : record.nValues) EXPECT_EQ(value, 0);
  EXPECT_EQ(record.nDriverRank, 0);
  EXPECT_EQ(record.nExtraNumber, 0);
  EXPECT_EQ(record.arrAllHardwareIds.GetSize(), 0);
  EXPECT_EQ(record.pLinked, nullptr);
}

TEST(DeviceRecord, ResetFreesEverythingAndSetsTheResetNumbers) {
  tagDeviceDriverInfo record;
  record.szText[kSlotDeviceName].Set(u"Disk");
  record.szMatchingDeviceId.Set(u"gendisk");
  record.szExtraText.Set(u"x");
  record.arrHardwareIds.Add(u"a");
  record.arrAllCompatibleIds.Add(u"b");
  record.pLinked = std::make_unique<CDeviceRecordArray>(2);
  record.nProblem = 28;
  record.nInfSigned = 1;
  record.Reset();
  EXPECT_TRUE(record.szText[kSlotDeviceName].IsNull());
  EXPECT_TRUE(record.szMatchingDeviceId.IsNull());
  EXPECT_TRUE(record.szExtraText.IsNull());
  EXPECT_EQ(record.arrHardwareIds.GetSize() + record.arrAllCompatibleIds.GetSize(), 0);
  EXPECT_EQ(record.pLinked, nullptr);
  const int expected[7] = {0, 0, 1, -1, -1, 0, 0};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(record.nValues[i], expected[i]) << i;
  EXPECT_EQ(record.nDriverRank, -1);
  EXPECT_EQ(record.nProblem, 0);
  EXPECT_EQ(record.nInfSigned, 0);
  EXPECT_EQ(record.nExtraNumber, -1);
}

TEST(DeviceRecord, SettingFromAnEmptyTextKeepsTheEarlierValue) {
  CRecordText text;
  text.Set(u"");
  EXPECT_TRUE(text.IsNull());
  EXPECT_STREQ(reinterpret_cast<const char*>(text.Text()), "");
  text.Set(u"Intel");
  text.Set(u"");
  text.Set(nullptr);
  EXPECT_EQ(std::u16string(text.Get()), u"Intel");
}

TEST(DeviceRecord, CopyingTurnsUnsetTextsIntoEmptyOnes) {
  tagDeviceDriverInfo source;
  source.Reset();
  source.szText[kSlotService].Set(u"e1cexpress");
  source.arrAllHardwareIds.Add(u"PCI\\VEN_8086&DEV_1502");
  source.nDriverRank = 0x1001;
  const tagDeviceDriverInfo copy(source);
  for (int slot = 0; slot < kDeviceTextSlots; ++slot) {
    ASSERT_FALSE(copy.szText[slot].IsNull()) << slot;
  }
  EXPECT_EQ(std::u16string(copy.szText[kSlotService].Get()), u"e1cexpress");
  EXPECT_EQ(std::u16string(copy.szText[kSlotDeviceName].Get()), u"");
  EXPECT_FALSE(copy.szMatchingDeviceId.IsNull());
  EXPECT_EQ(copy.arrAllHardwareIds.GetSize(), 1);
  EXPECT_EQ(copy.nDriverRank, 0x1001);
  EXPECT_EQ(copy.nValues[2], 1);
  EXPECT_EQ(copy.nExtraNumber, -1);
}

TEST(DeviceRecord, CopyingReplacesTheListsRatherThanAddingToThem) {
  tagDeviceDriverInfo source, target;
  source.arrCompatibleIds.Add(u"a");
  target.CopyFrom(source);
  target.CopyFrom(source);
  EXPECT_EQ(target.arrCompatibleIds.GetSize(), 1);
}

TEST(DeviceRecord, ACopyGetsItsOwnCopyOfTheFirstLinkedRecord) {
  tagDeviceDriverInfo source;
  source.pLinked = std::make_unique<CDeviceRecordArray>(1024);
  source.pLinked->GetAt(0)->szText[kSlotDriverVersion].Set(u"2.0");
  source.pLinked->GetAt(1)->szText[kSlotDriverVersion].Set(u"3.0");
  tagDeviceDriverInfo copy;
  copy.CopyFrom(source);
  ASSERT_NE(copy.pLinked, nullptr);
  EXPECT_EQ(copy.pLinked->GetSize(), 1);
  EXPECT_NE(copy.pLinked->GetAt(0), source.pLinked->GetAt(0));
  EXPECT_EQ(std::u16string(copy.pLinked->GetAt(0)->szText[kSlotDriverVersion].Get()), u"2.0");
  source.pLinked.reset();
  copy.CopyFrom(source);
  EXPECT_EQ(copy.pLinked, nullptr);
}

TEST(DeviceRecordArray, GrowsWithInitialisedRecords) {
  CDeviceRecordArray records(CDeviceRecordArray::kInitialCapacity);
  EXPECT_EQ(records.GetSize(), 1024);
  EXPECT_EQ(records.GetAt(1024), nullptr);
  EXPECT_EQ(records.GetAt(-1), nullptr);
  records.ElementAtGrow(1500).szText[kSlotDeviceName].Set(u"far");
  EXPECT_EQ(records.GetSize(), 1501);
  EXPECT_TRUE(records.GetAt(1200)->szText[kSlotDeviceName].IsNull());
  records.SetSize(3);
  EXPECT_EQ(records.GetSize(), 3);
}

TEST(SortStringArray, OneStepSwapsOnlyWhenTheFirstIsGreater) {
  CSortStringArray list;
  list.Add(u"beta");
  list.Add(u"ALPHA");
  list.Add(u"alpha");
  EXPECT_EQ(list.CompareAndSwap(0), 1);
  EXPECT_EQ(list[0], CString(u"ALPHA"));
  EXPECT_EQ(list.CompareAndSwap(0), 0);  // equal without regard to case
  EXPECT_EQ(list.CompareAndSwap(2), 0);  // no successor
  EXPECT_EQ(list.CompareAndSwap(-1), 0);
}

TEST(SortStringArray, SortsWithoutRegardToCase) {
  CSortStringArray list;
  for (const char16_t* text : {u"pci\\ven_8086", u"USB\\VID_8087", u"acpi\\pnp0a03", u"HID_DEVICE", u"Hid_a"})
    list.Add(text);
  list.Sort();
  const char16_t* expected[] = {u"acpi\\pnp0a03", u"Hid_a", u"HID_DEVICE", u"pci\\ven_8086", u"USB\\VID_8087"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(list[i], CString(expected[i])) << i;
}

}  // namespace
