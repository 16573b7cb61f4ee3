// The update answer: its exchange text, its reading into answer records, and hostile answers.
#include <gtest/gtest.h>

#include <algorithm>

#include "ExchangeAnswerReader.h"
#include "ExchangeEncoding.h"
#include "lookup_testing.h"

namespace zx::test {
namespace {

class UpdateAnswer : public LookupTest {
 protected:
  void SetUp() override {
    LookupTest::SetUp();
    DeviceSpec device;
    device.hardwareIds = {u"PCI\\VEN_1&DEV_2"};
    device.version = u"1.0";
    SetDevices({device, device, device});
  }
};

TEST_F(UpdateAnswer, ReadsEveryFieldOfAGroup) {
  Parse(Answer(Group(1, u"pci\\ven_1&dev_2", u"2.0",
                     {{u"hardwareid", u"PCI\\VEN_1&DEV_2"}, {u"liburl", u"http://x/"}, {u"riskLevel", u" 3 "}})));
  const auto& records = engine_->GetAnswerRecords();
  ASSERT_EQ(records.size(), 1u);
  const tagDriverUpdateInfo& record = records.begin()->second;
  EXPECT_EQ(record.driverid, 1);
  EXPECT_EQ(Narrow(record.hardwareidentifier), "pci\\ven_1&dev_2");
  EXPECT_EQ(Narrow(record.hardwareid), "PCI\\VEN_1&DEV_2");
  EXPECT_EQ(Narrow(record.version), "2.0");
  EXPECT_EQ(Narrow(record.riskLevel), "3");
  EXPECT_EQ(Narrow(record.liburl), "http://x/");
  EXPECT_EQ(Narrow(record.signer), "1");
}

TEST_F(UpdateAnswer, AGroupWithoutSignerMergesIntoTheNext) {
  Parse(Answer(u"<driver><driverid>0</driverid><version>9</version></driver>" +
               Group(2, u"a", u"3.0") + u"<driver><driverid>1</driverid></driver>"));
  const auto& records = engine_->GetAnswerRecords();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records.begin()->first, 2);
  EXPECT_EQ(engine_->GetAnswerDriverIds(), (std::set<int>{0, 1, 2}));
}

TEST_F(UpdateAnswer, ALeafNamedLikeTheOneBeforeIsPassedOver) {
  Parse(Answer(u"<driver><driverid>1</driverid><driverid>2</driverid><signer>1</signer></driver>"));
  ASSERT_EQ(engine_->GetAnswerRecords().size(), 1u);
  EXPECT_EQ(engine_->GetAnswerRecords().begin()->first, 1);
}

TEST_F(UpdateAnswer, DriverIdsReadTheirLeadingDigits) {
  Parse(Answer(u"<a><driverid>2abc</driverid><signer>1</signer></a><a><driverid>x</driverid><signer>1</signer></a>"));
  EXPECT_EQ(engine_->GetAnswerDriverIds(), (std::set<int>{0, 2}));
}

// Driver ids outside the scanned devices never reach the device or update records.
TEST_F(UpdateAnswer, SkipsDriverIdsOutsideTheScan) {
  Parse(Answer(Group(3, u"pci\\ven_1&dev_2", u"2.0") + Group(1024, u"pci\\ven_1&dev_2", u"2.0") +
               Group(-1, u"pci\\ven_1&dev_2", u"2.0") + Group(2147483647, u"pci\\ven_1&dev_2", u"2.0") +
               u"<a><driverid>99999999999999999999</driverid><signer>1</signer></a>" +
               Group(2, u"pci\\ven_1&dev_2", u"2.0")));
  EXPECT_EQ(engine_->GetSkippedAnswerRecords(), 5);
  EXPECT_EQ(engine_->GetUpdatedDevices(), (std::set<int>{2}));
  EXPECT_EQ(engine_->GetUpdateRecord(3)->szText[kSlotHardwareId].IsNull(), true);
}

// The records of one answer are filled again by the next: nothing of the first may show
// through, whatever the sizes and orders of the two.
TEST_F(UpdateAnswer, AnAnswerAfterAnotherKeepsNothingOfIt) {
  const std::u16string longText(300, u'x');
  std::u16string first;
  for (int n = 0; n < 150; ++n)
    first += Group(n % 3, u"pci\\ven_1&dev_2", u"2.0", {{u"liburl", longText}, {u"riskLevel", u"2"}});
  Parse(Answer(first + u"<driver><driverid>2</driverid><liburl>left over</liburl></driver>"));
  ASSERT_EQ(engine_->GetAnswerRecords().size(), 150u);

  // Out of driverid order, without liburl and riskLevel; equal driverids keep their order.
  Parse(Answer(Group(2, u"b", u"4.0") + Group(0, u"a", u"3.0") + Group(2, u"c", u"5.0") + Group(1, u"d", u"6.0")));
  std::vector<std::pair<int, std::string>> read;
  for (const auto& [driverid, record] : engine_->GetAnswerRecords()) {
    EXPECT_EQ(record.driverid, driverid);
    EXPECT_TRUE(record.liburl.IsEmpty());
    EXPECT_TRUE(record.riskLevel.IsEmpty());
    read.emplace_back(driverid, Narrow(record.hardwareidentifier) + " " + Narrow(record.version));
  }
  EXPECT_EQ(read, (std::vector<std::pair<int, std::string>>{{0, "a 3.0"}, {1, "d 6.0"}, {2, "b 4.0"}, {2, "c 5.0"}}));
  EXPECT_EQ(engine_->GetAnswerDriverIds(), (std::set<int>{0, 1, 2}));

  // Larger again than the one before.
  std::u16string third;
  for (int n = 0; n < 400; ++n) third += Group(2 - n % 3, u"e", u"8.0");
  Parse(Answer(third));
  EXPECT_EQ(engine_->GetAnswerRecords().size(), 400u);
  EXPECT_EQ(engine_->GetAnswerRecords().count(1), 133u);
  for (const auto& [driverid, record] : engine_->GetAnswerRecords()) EXPECT_EQ(Narrow(record.version), "8.0");

  // A group with only a version and a signer, in a record that last held driverid 1 and every
  // field: the record reads driverid 0 and nothing else.
  std::u16string fourth;
  for (int n = 0; n < 140; ++n) fourth += Group(2, u"f", u"9.0");
  Parse(Answer(fourth + u"<driver><version>7.0</version><signer>1</signer></driver>"));
  ASSERT_EQ(engine_->GetAnswerRecords().count(0), 1u);
  const tagDriverUpdateInfo& bare = engine_->GetAnswerRecords().begin()->second;
  EXPECT_EQ(bare.driverid, 0);
  EXPECT_EQ(Narrow(bare.version), "7.0");
  EXPECT_TRUE(bare.hardwareidentifier.IsEmpty());
  EXPECT_TRUE(bare.infpath.IsEmpty());
}

// Element names are compared without regard to ASCII case and end where the tag's name ends.
TEST_F(UpdateAnswer, FieldNamesAreReadWhateverTheirCaseAndEnd) {
  Parse(Answer(u"<driver><DriverID>1</DriverID><HardwareIdentifier>pci\\a</HardwareIdentifier><HARDWAREIE>x</HARDWAREIE>"
               u"<VERSION a='1'>2.0</VERSION><versionx>9</versionx><ISSPECIFICCASE>1</ISSPECIFICCASE>"
               u"<md5 >ab</md5 ><version2>8</version2><Signer/></driver>"));
  const auto& records = engine_->GetAnswerRecords();
  ASSERT_EQ(records.size(), 1u);
  const tagDriverUpdateInfo& record = records.begin()->second;
  EXPECT_EQ(record.driverid, 1);
  EXPECT_EQ(Narrow(record.version), "2.0");
  EXPECT_EQ(Narrow(record.md5), "ab");
  EXPECT_EQ(Narrow(record.hardwareidentifier), "pci\\a");
  EXPECT_TRUE(record.hardwareid.IsEmpty());
  EXPECT_EQ(Narrow(record.isSpecificCase), "1");
  EXPECT_TRUE(record.signer.IsEmpty());
}

// Also when whole groups came before the damage: the answer is read as it is parsed, and
// what it gave goes.
TEST_F(UpdateAnswer, DamagedDocumentsGiveNoRecords) {
  const std::u16string group = Group(1, u"pci\\ven_1&dev_2", u"2.0");
  for (const std::u16string& answer : std::vector<std::u16string>{u"", u"not xml", u"<newdataset><driver><driverid>1</driverid>",
                                      u"<newdataset><a></b></newdataset>", u"<<<>>>", u"<!-- open",
                                      u"<newdataset>" + group + group + u"<driver><driverid>2</driverid></dr",
                                      u"<newdataset>" + group + u"</newdatasex>"}) {
    Parse(answer);
    EXPECT_TRUE(engine_->GetAnswerRecords().empty()) << Narrow(CString(answer.c_str()));
    EXPECT_TRUE(engine_->GetAnswerDriverIds().empty()) << Narrow(CString(answer.c_str()));
    EXPECT_EQ(engine_->GetUpdatesFound(), 0);
  }
}

TEST_F(UpdateAnswer, HugeTextsAndDeepNestingAreRead) {
  const std::u16string huge(1 << 20, u'9');
  std::u16string deep;
  for (int i = 0; i < 5000; ++i) deep += u"<d>";
  deep += u"<driverid>1</driverid><signer>1</signer>";
  for (int i = 0; i < 5000; ++i) deep += u"</d>";
  Parse(Answer(Group(1, huge, huge, {{u"featurescore", huge}, {u"CompatibleIdIdx", huge}}) + deep));
  ASSERT_EQ(engine_->GetAnswerRecords().size(), 2u);
  EXPECT_EQ(View(engine_->GetAnswerRecords().begin()->second.featurescore), huge);
  EXPECT_TRUE(engine_->GetUpdatedDevices().empty());
}

// Every shape of answer read in pieces of any size gives what the whole text gives, and the
// text as it came.
// A text of more than one of the reader's blocks, with units of every size, enciphered; with
// a zero unit deep in it when `zeroAt` is not 0. Read in pieces of more than a block, and with
// a character that is no digit deep in it, a block is taken back.
CString LongEncoded(int zeroAt = 0) {
  CString plain;
  for (int n = 0; n < 9000; ++n) plain.AppendChar(static_cast<WCHAR>(n % 7 == 0 ? 0xE000 + n : 0x21 + n % 90));
  if (zeroAt > 0) plain.SetAt(zeroAt, 0);
  CString encoded;
  EncipherTextToHex(plain, encoded);
  return encoded;
}

TEST(ExchangeAnswer, ReadInPiecesAsWhole) {
  CString plain = _T("<r>caf\u00e9 \U0001F600</r>");
  CString encoded;
  EncipherTextToHex(plain, encoded);
  CString zeroUnit = _T("<r>a");
  zeroUnit.AppendChar(0);
  zeroUnit += _T("b</r>");
  CString withZero;
  EncipherTextToHex(zeroUnit, withZero);
  CString wrongDigest = encoded;
  wrongDigest.SetAt(3, wrongDigest[3] == '0' ? '1' : '0');
  CString lowerPayload = encoded;
  lowerPayload.SetAt(50, 'a');
  const CString texts[] = {encoded, _T(" \r\n") + encoded + _T("\t "), withZero, wrongDigest, lowerPayload,
                           encoded.Left(encoded.GetLength() - 2), encoded.Left(encoded.GetLength() - 1),
                           encoded.Left(40) + _T(" ") + encoded.Mid(40), encoded.Left(32), encoded.Left(31),
                           _T("  ") + encoded.Left(20) + _T(" x "), _T(""), _T("   "), _T("x") + encoded,
                           encoded + _T("Z"), _T("\u00e9") + encoded.Left(60) + _T("\U0001F600") + encoded.Mid(60),
                           LongEncoded(), LongEncoded(5003), LongEncoded().Left(30001) + _T("a") + LongEncoded().Mid(30002)};
  for (const CString& text : texts) {
    CString whole = text;
    const BOOL expected = getOutputStrFromHex(whole);
    for (const std::size_t piece : {1u, 3u, 7u, 4096u, 40000u}) {
      CExchangeAnswerReader reader;
      reader.Begin(static_cast<std::size_t>(text.GetLength()));
      const std::u16string_view all(text.GetString(), static_cast<std::size_t>(text.GetLength()));
      for (std::size_t at = 0; at < all.size(); at += piece) reader.Take(all.substr(at, piece));
      CString read = _T("kept");
      EXPECT_EQ(reader.Finish(read), expected) << Narrow(text) << " in pieces of " << piece;
      EXPECT_EQ(read, whole);
      EXPECT_EQ(reader.Received(), text);
      // The same text as ASCII bytes where it is ASCII, every other piece wide, and the plain
      // text handed over.
      const std::string narrow = Narrow(text);
      if (narrow.size() != all.size() || std::any_of(narrow.begin(), narrow.end(), [](char ch) { return ch & 0x80; }))
        continue;
      CExchangeAnswerReader bytes;
      bytes.Begin(narrow.size());
      for (std::size_t at = 0; at < narrow.size(); at += piece) {
        if (at / piece % 2 == 0) {
          bytes.TakeAscii(std::string_view(narrow).substr(at, piece));
        } else {
          bytes.Take(all.substr(at, piece));
        }
      }
      CString taken = _T("kept");
      EXPECT_EQ(bytes.TakePlain(taken), expected) << narrow << " in pieces of " << piece;
      EXPECT_EQ(taken, whole);
    }
  }
}

}  // namespace
}  // namespace zx::test
