// The hive's file formats, byte for byte: base text, journal header and records, replay of
// torn and damaged journals.
#include <gtest/gtest.h>

#include "winreg.h"
#include "zx/hive.h"

namespace {

using zx::registry::Change;
using zx::registry::ChangeOp;
using zx::registry::JournalScan;
using zx::registry::Tree;

std::string FromHex(std::string_view hex) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
  return bytes;
}

std::vector<BYTE> Bytes(std::string_view hex) {
  const std::string b = FromHex(hex);
  return std::vector<BYTE>(b.begin(), b.end());
}

std::vector<BYTE> Text(std::u16string_view text) {
  std::vector<BYTE> data;
  for (char16_t c : text) {
    data.push_back(static_cast<BYTE>(c & 0xFF));
    data.push_back(static_cast<BYTE>(c >> 8));
  }
  data.insert(data.end(), {0, 0});
  return data;
}

Change CreateKey(std::u16string path) { return Change{ChangeOp::CreateKey, std::move(path), {}, 0, {}}; }
Change SetValue(std::u16string path, std::u16string name, DWORD type, std::vector<BYTE> data) {
  return Change{ChangeOp::SetValue, std::move(path), std::move(name), type, std::move(data)};
}

const char16_t kPath[] = u"Software\\Zephrin";

Tree SampleTree() {
  Tree tree;
  EXPECT_TRUE(tree.Apply(SetValue(u"", u"", REG_SZ, Text(u"root"))));
  EXPECT_TRUE(tree.Apply(CreateKey(u"Software\\Zephrin")));
  EXPECT_TRUE(tree.Apply(CreateKey(u"Software\\alpha")));
  EXPECT_TRUE(tree.Apply(SetValue(kPath, u"Path", REG_SZ, Text(u"C:\\Program Files\\Zephrin"))));
  EXPECT_TRUE(tree.Apply(SetValue(kPath, u"Count", REG_DWORD, Bytes("2a000000"))));
  EXPECT_TRUE(tree.Apply(SetValue(kPath, u"Big", REG_QWORD, Bytes("0200000001000000"))));
  EXPECT_TRUE(tree.Apply(SetValue(kPath, u"Blob", REG_BINARY, Bytes("00ff10"))));
  EXPECT_TRUE(tree.Apply(SetValue(kPath, u"List", REG_MULTI_SZ, Bytes("61000000620000000000"))));
  EXPECT_TRUE(tree.Apply(SetValue(kPath, u"Odd", REG_SZ, Bytes("4100"))));
  EXPECT_TRUE(tree.Apply(SetValue(kPath, u"Quote^", REG_EXPAND_SZ,
                                  Text(u"say \"hi\" ^ tab\t \u00e9 \U0001F600 \xD800"))));
  EXPECT_TRUE(tree.Apply(SetValue(kPath, u"Custom", 1234, Bytes("01"))));
  EXPECT_TRUE(tree.Apply(SetValue(kPath, u"Empty", REG_SZ, Text(u""))));
  EXPECT_TRUE(tree.Apply(SetValue(kPath, u"NoList", REG_MULTI_SZ, Bytes("0000"))));
  return tree;
}

const char kSampleText[] =
    "ZXHIVE 1 generation 3\n"
    "[]\n"
    "@=sz:\"root\"\n"
    "[Software]\n"
    "[Software\\alpha]\n"
    "[Software\\Zephrin]\n"
    "\"Path\"=sz:\"C:\\Program Files\\Zephrin\"\n"
    "\"Count\"=dword:0000002a\n"
    "\"Big\"=qword:0000000100000002\n"
    "\"Blob\"=hex:00ff10\n"
    "\"List\"=multi_sz:\"a\",\"b\"\n"
    "\"Odd\"=hex(1):4100\n"
    "\"Quote^^\"=expand_sz:\"say ^\"hi^\" ^^ tab^u0009 \xc3\xa9 \xf0\x9f\x98\x80 ^ud800\"\n"
    "\"Custom\"=hex(1234):01\n"
    "\"Empty\"=sz:\"\"\n"
    "\"NoList\"=multi_sz:\n"
    "END\n";

TEST(HiveBaseFile, WritesTheDocumentedText) {
  EXPECT_EQ(zx::registry::FormatBase(SampleTree(), 3), kSampleText);
}

TEST(HiveBaseFile, ReadsBackWhatItWrote) {
  Tree tree;
  const auto parse = zx::registry::ParseBase(kSampleText, tree);
  EXPECT_TRUE(parse.headerGood);
  EXPECT_EQ(parse.problem, "");
  EXPECT_EQ(parse.generation, 3u);
  EXPECT_EQ(zx::registry::FormatBase(tree, 3), kSampleText);
  const zx::registry::Value* odd = tree.Find(u"software\\ZEPHRIN")->FindValue(u"odd");
  ASSERT_NE(odd, nullptr);
  EXPECT_EQ(odd->type, REG_SZ);
  EXPECT_EQ(odd->data, Bytes("4100"));
}

TEST(HiveBaseFile, AcceptsCommentsBlankLinesAndCrLf) {
  Tree tree;
  const auto parse = zx::registry::ParseBase(
      "ZXHIVE 1 generation 9\r\n; note\r\n\r\n[A]\r\n\"v\"=dword:00000001\r\nEND\r\n", tree);
  EXPECT_EQ(parse.problem, "");
  ASSERT_NE(tree.Find(u"A"), nullptr);
  EXPECT_EQ(tree.Find(u"A")->FindValue(u"v")->data, Bytes("01000000"));
}

TEST(HiveBaseFile, KeepsWhatItCanReadAroundDamage) {
  Tree tree;
  const auto parse = zx::registry::ParseBase(
      "ZXHIVE 1 generation 2\n[A]\n\"good\"=dword:00000001\n\"bad\"=dword:123\n[B\n\"lost\"=hex:00\n"
      "[C]\n\"kept\"=hex:01\nEND\n",
      tree);
  EXPECT_EQ(parse.problem, "unparsable value line at line 4");
  EXPECT_NE(tree.Find(u"A")->FindValue(u"good"), nullptr);
  EXPECT_EQ(tree.Find(u"A")->FindValue(u"bad"), nullptr);
  EXPECT_EQ(tree.Find(u"B"), nullptr);
  EXPECT_NE(tree.Find(u"C")->FindValue(u"kept"), nullptr);
}

TEST(HiveBaseFile, ReportsEachKindOfDamage) {
  const std::pair<const char*, const char*> cases[] = {
      {"ZXHIVE 2 generation 1\nEND\n", "bad header at line 1"},
      {"ZXHIVE 1 generation x\nEND\n", "bad header at line 1"},
      {"", "bad header at line 1"},
      {"ZXHIVE 1 generation 1\n[A]\n", "file cut short (no END) at line 2"},
      {"ZXHIVE 1 generation 1\nEND\n[A]\n", "text after END at line 3"},
      {"ZXHIVE 1 generation 1\n\"v\"=hex:00\nEND\n", "value outside a key at line 2"},
      {"ZXHIVE 1 generation 1\n[A\\\\B]\nEND\n", "bad key name at line 2"},
      {"ZXHIVE 1 generation 1\n[A]\n\"v\"=sz:\"x^q\"\nEND\n", "unparsable value line at line 3"},
      {"ZXHIVE 1 generation 1\n[A]\n\"v\"=sz:\"\xc0\xaf\"\nEND\n", "unparsable value line at line 3"},
      {"ZXHIVE 1 generation 1\n[A]\n\"v\"=hex(99x):00\nEND\n", "unparsable value line at line 3"},
      {"ZXHIVE 1 generation 1\n[A]\n\"\"=hex:00\nEND\n", "unparsable value line at line 3"},
  };
  for (const auto& [text, problem] : cases) {
    Tree tree;
    EXPECT_EQ(zx::registry::ParseBase(text, tree).problem, problem) << text;
  }
}

TEST(HiveBaseFile, RefusesKeysDeeperThanTheLimit) {
  std::string path = "K";
  for (std::size_t i = 1; i <= zx::registry::kMaxKeyDepth; ++i) path += "\\K";
  Tree tree;
  const auto parse = zx::registry::ParseBase("ZXHIVE 1 generation 1\n[" + path + "]\nEND\n", tree);
  EXPECT_EQ(parse.problem, "bad key name at line 2");
  EXPECT_EQ(tree.Find(u"K"), nullptr);
}

TEST(HiveJournal, HeaderBytes) {
  const std::string header = zx::registry::FormatJournalHeader(7);
  EXPECT_EQ(header, FromHex("5a58484a01000000070000000000000000000000000000000000000059821330"));
  std::uint64_t generation = 0;
  EXPECT_EQ(zx::registry::ParseJournalHeader(header, generation), zx::registry::JournalHeader::Good);
  EXPECT_EQ(generation, 7u);
  std::string flipped = header;
  flipped[9] ^= 1;
  EXPECT_EQ(zx::registry::ParseJournalHeader(flipped, generation), zx::registry::JournalHeader::Damaged);
  EXPECT_EQ(zx::registry::ParseJournalHeader(header.substr(0, 31), generation),
            zx::registry::JournalHeader::Short);
}

const char kSetRecord[] = "19000000bef6978a04010000004100010000006e0004000000040000002a000000";
const char kDeleteRecord[] = "0b0000008fe3ec3d020300000041005c004200";

TEST(HiveJournal, RecordBytes) {
  EXPECT_EQ(zx::registry::EncodeRecord(SetValue(u"A", u"n", REG_DWORD, Bytes("2a000000"))),
            FromHex(kSetRecord));
  EXPECT_EQ(zx::registry::EncodeRecord(Change{ChangeOp::DeleteTree, u"A\\B", {}, 0, {}}),
            FromHex(kDeleteRecord));
}

TEST(HiveJournal, PayloadsMustBeWholeAndKnown) {
  Change change;
  const std::string payload = FromHex(kSetRecord).substr(8);
  EXPECT_TRUE(zx::registry::DecodeRecordPayload(payload, change));
  EXPECT_EQ(change.name, u"n");
  EXPECT_FALSE(zx::registry::DecodeRecordPayload(payload + '\0', change));
  EXPECT_FALSE(zx::registry::DecodeRecordPayload(payload.substr(0, payload.size() - 1), change));
  EXPECT_FALSE(zx::registry::DecodeRecordPayload("\x09" + payload.substr(1), change));
  EXPECT_FALSE(zx::registry::DecodeRecordPayload("", change));
}

TEST(HiveJournal, ReplayAppliesRecordsInOrder) {
  Tree tree;
  tree.Apply(CreateKey(u"A\\B"));
  const std::string records = FromHex(kSetRecord) + FromHex(kDeleteRecord);
  const JournalScan scan = zx::registry::ReplayRecords(records, tree);
  EXPECT_EQ(scan.state, JournalScan::Clean);
  EXPECT_EQ(scan.end, records.size());
  EXPECT_EQ(tree.Find(u"A\\B"), nullptr);
  EXPECT_EQ(tree.Find(u"a")->FindValue(u"N")->data, Bytes("2a000000"));
}

TEST(HiveJournal, AnIncompleteLastRecordIsATornTail) {
  const std::string good = FromHex(kSetRecord);
  const std::string next = FromHex(kDeleteRecord);
  for (std::size_t cut = 1; cut < next.size(); ++cut) {
    Tree tree;
    tree.Apply(CreateKey(u"A"));
    const JournalScan scan = zx::registry::ReplayRecords(good + next.substr(0, cut), tree);
    EXPECT_EQ(scan.state, JournalScan::TornTail) << cut;
    EXPECT_EQ(scan.end, good.size());
    EXPECT_NE(tree.Find(u"A")->FindValue(u"n"), nullptr);
  }
}

TEST(HiveJournal, ABadRecordFollowedByMoreIsDamage) {
  std::string bad = FromHex(kSetRecord);
  bad.back() ^= 0x40;
  Tree tree;
  tree.Apply(CreateKey(u"A"));
  JournalScan scan = zx::registry::ReplayRecords(bad + FromHex(kDeleteRecord), tree);
  EXPECT_EQ(scan.state, JournalScan::Damaged);
  EXPECT_EQ(scan.end, 0u);
  EXPECT_EQ(scan.problem, "bad record at offset 32");
  EXPECT_EQ(tree.Find(u"A")->FindValue(u"n"), nullptr);
  // The same record at the very end is what a torn write leaves.
  scan = zx::registry::ReplayRecords(FromHex(kDeleteRecord) + bad, tree);
  EXPECT_EQ(scan.state, JournalScan::TornTail);
}

}  // namespace
