// A key's security descriptor in the hive's files: its line in the base text, its journal
// record byte for byte, and hives written before keys had one.
#include <gtest/gtest.h>

#include "zx/hive.h"

namespace {

using zx::registry::Change;
using zx::registry::ChangeOp;
using zx::registry::Tree;

Change SetSecurity(std::u16string path, std::vector<BYTE> data) {
  return Change{ChangeOp::SetSecurity, std::move(path), {}, 0, std::move(data)};
}

TEST(KeySecurityFormat, TheBaseCarriesItRightAfterTheKeysSection) {
  Tree tree;
  ASSERT_TRUE(tree.Apply(Change{ChangeOp::CreateKey, u"Software\\Zx", {}, 0, {}}));
  ASSERT_TRUE(tree.Apply(SetSecurity(u"Software", {0x01, 0x00, 0x04, 0x80})));
  ASSERT_TRUE(tree.Apply(Change{ChangeOp::SetValue, u"Software", u"v", 4, {1, 0, 0, 0}}));
  const std::string text = zx::registry::FormatBase(tree, 3);
  EXPECT_EQ(text,
            "ZXHIVE 1 generation 3\n[]\n[Software]\n!security=hex:01000480\n\"v\"=dword:00000001\n"
            "[Software\\Zx]\nEND\n");
  Tree read;
  const auto parse = zx::registry::ParseBase(text, read);
  EXPECT_TRUE(parse.problem.empty()) << parse.problem;
  EXPECT_EQ(read.Find(u"Software")->security(), (std::vector<BYTE>{0x01, 0x00, 0x04, 0x80}));
  EXPECT_TRUE(read.Find(u"Software\\Zx")->security().empty());
  EXPECT_EQ(zx::registry::FormatBase(read, 3), text);
}

TEST(KeySecurityFormat, HivesWithoutSecurityLinesLoadAsBefore) {
  Tree tree;
  const auto parse = zx::registry::ParseBase("ZXHIVE 1 generation 1\n[]\n[A]\n@=sz:\"x\"\nEND\n", tree);
  EXPECT_TRUE(parse.problem.empty());
  EXPECT_TRUE(tree.Find(u"A")->security().empty());
}

TEST(KeySecurityFormat, DamagedSecurityLinesAreReportedAndSkipped) {
  Tree tree;
  auto parse = zx::registry::ParseBase("ZXHIVE 1 generation 1\n[]\n[A]\n!security=hex:0g\nEND\n", tree);
  EXPECT_EQ(parse.problem, "unparsable security line at line 4");
  EXPECT_TRUE(tree.Find(u"A")->security().empty());
  Tree other;
  parse = zx::registry::ParseBase("ZXHIVE 1 generation 1\n!security=hex:01\n[]\nEND\n", other);
  EXPECT_EQ(parse.problem, "security outside a key at line 2");
}

TEST(KeySecurityFormat, TheJournalRecord) {
  const std::string record = zx::registry::EncodeRecord(SetSecurity(u"K", {0xAB, 0xCD}));
  // size 13, CRC, then: op 6, path "K" (1 unit), 2 bytes of data.
  const std::string payload("\x06\x01\x00\x00\x00K\x00\x02\x00\x00\x00\xAB\xCD", 13);
  ASSERT_EQ(record.size(), 8u + payload.size());
  EXPECT_EQ(record.substr(0, 4), std::string("\x0D\x00\x00\x00", 4));
  EXPECT_EQ(record.substr(8), payload);
  Change change;
  ASSERT_TRUE(zx::registry::DecodeRecordPayload(payload, change));
  EXPECT_EQ(change.op, ChangeOp::SetSecurity);
  EXPECT_EQ(change.path, u"K");
  EXPECT_EQ(change.data, (std::vector<BYTE>{0xAB, 0xCD}));
  EXPECT_FALSE(zx::registry::DecodeRecordPayload(payload.substr(0, 12), change));  // cut short
  std::string unknown = payload;
  unknown[0] = 7;
  EXPECT_FALSE(zx::registry::DecodeRecordPayload(unknown, change));
}

TEST(KeySecurityFormat, SettingSecurityOnAMissingKeyDoesNothing) {
  Tree tree;
  EXPECT_FALSE(tree.Apply(SetSecurity(u"Nowhere", {1})));
  ASSERT_TRUE(tree.Apply(SetSecurity(u"", {1})));  // the hive's root may have one
  EXPECT_EQ(tree.root()->security(), std::vector<BYTE>{1});
}

}  // namespace
