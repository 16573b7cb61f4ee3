// The resource file format: the bytes the writer lays out, reading them back, and refusal of
// damaged files with a message that says what is wrong.
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "hex_bytes.h"
#include "zx/resfile.h"

namespace zx::res {
namespace {

using zx::test::Hex;

std::vector<BYTE> Write(std::vector<ResourceInput> resources) {
  std::vector<BYTE> file;
  std::string error;
  EXPECT_TRUE(WriteResourceFile(std::move(resources), file, error)) << error;
  return file;
}

std::shared_ptr<const ResourceFile> Read(std::vector<BYTE> file, std::string& error) {
  return ResourceFile::Parse(std::move(file), error);
}

void PutU32(std::vector<BYTE>& file, std::size_t at, DWORD value) {
  for (int i = 0; i < 4; ++i) file[at + i] = static_cast<BYTE>(value >> (8 * i));
}

TEST(ResourceFileLayout, TwoResourcesByteForByte) {
  // Type "PNG" name 7 (3 bytes), and type 10 name 2 (1 byte): numbers sort first.
  const std::vector<BYTE> file = Write({
      {ResourceId::Name(u"PNG"), ResourceId::Number(7), 0x0409, {0xAA, 0xBB, 0xCC}},
      {ResourceId::Number(10), ResourceId::Number(2), 0x0409, {0x11}},
  });
  std::vector<BYTE> expected = Hex(
      "5a 58 52 53  01 00  20 00  02 00 00 00  00 00 00 00  00 00 00 00"  // size, crc patched
      " 50 00 00 00  08 00 00 00  00 00 00 00"
      // entry 1: type 10, name 2, language 0409, data at 0x58, 1 byte
      " 0a 00 00 00  02 00 00 00  09 04 00 00  58 00 00 00  01 00 00 00  00 00 00 00"
      // entry 2: type "PNG" at pool offset 0, name 7, data at 0x60, 3 bytes
      " 00 00 00 80  07 00 00 00  09 04 00 00  60 00 00 00  03 00 00 00  00 00 00 00"
      // name pool: 3 units "PNG", padded to 8
      " 03 00 50 00  4e 00 47 00"
      " 11 00 00 00  00 00 00 00"
      " aa bb cc");
  ASSERT_EQ(file.size(), expected.size());
  SealResourceFile(expected);
  EXPECT_EQ(file, expected);
  EXPECT_EQ(file[12], expected.size());  // the file size is in the header
}

TEST(ResourceFileLayout, ReadsBackAndFindsByTypeNameAndLanguage) {
  const std::vector<BYTE> file = Write({
      {ResourceId::Number(kBitmap), ResourceId::Number(1019), 0x0409, {1, 2, 3}},
      {ResourceId::Number(kBitmap), ResourceId::Number(1019), 0x0407, {4, 5}},
      {ResourceId::Number(kHtml), ResourceId::Name(u"PAGE"), 0, {9}},
  });
  std::string error;
  auto parsed = Read(file, error);
  ASSERT_TRUE(parsed) << error;
  EXPECT_EQ(parsed->resources().size(), 3u);
  const auto* english = parsed->Find(ResourceId::Number(kBitmap), ResourceId::Number(1019));
  ASSERT_NE(english, nullptr);
  EXPECT_EQ(english->size, 3u);
  EXPECT_EQ(english->data[2], 3);
  EXPECT_EQ(reinterpret_cast<ULONG_PTR>(english->data) % 8, 0u);
  const auto* german = parsed->Find(ResourceId::Number(kBitmap), ResourceId::Number(1019), 0x0407);
  ASSERT_NE(german, nullptr);
  EXPECT_EQ(german->size, 2u);
  EXPECT_EQ(parsed->Find(ResourceId::Number(kBitmap), ResourceId::Number(1019), 0x040C), nullptr);
  EXPECT_NE(parsed->Find(ResourceId::Number(kHtml), ResourceId::Name(u"PAGE")), nullptr);
  EXPECT_EQ(parsed->Find(ResourceId::Number(kHtml), ResourceId::Number(1)), nullptr);
  EXPECT_TRUE(parsed->HasType(ResourceId::Number(kHtml)));
  EXPECT_FALSE(parsed->HasType(ResourceId::Number(kDialog)));
}

TEST(ResourceFileLayout, TheWriterRefusesTwins) {
  std::vector<BYTE> file;
  std::string error;
  EXPECT_FALSE(WriteResourceFile({{ResourceId::Number(2), ResourceId::Number(5), 0x409, {}},
                                  {ResourceId::Number(2), ResourceId::Number(5), 0x409, {1}}},
                                 file, error));
  EXPECT_NE(error.find("twice"), std::string::npos) << error;
}

class DamagedFile : public ::testing::Test {
 protected:
  void SetUp() override {
    good_ = Write({{ResourceId::Number(kRcData), ResourceId::Number(1), 0x0409, {1, 2, 3, 4, 5}},
                   {ResourceId::Name(u"AVI"), ResourceId::Name(u"CLIP"), 0x0409, {7, 7}}});
  }
  // Parses and answers the message (empty when the file was accepted).
  std::string Problem(std::vector<BYTE> file) {
    std::string error;
    auto parsed = Read(std::move(file), error);
    return parsed ? std::string() : error;
  }
  std::vector<BYTE> good_;
};

TEST_F(DamagedFile, EveryShorterFileIsRefused) {
  for (std::size_t n = 0; n < good_.size(); ++n) {
    std::vector<BYTE> cut(good_.begin(), good_.begin() + static_cast<std::ptrdiff_t>(n));
    EXPECT_FALSE(Problem(cut).empty()) << n;
  }
}

TEST_F(DamagedFile, EveryFlippedByteIsNoticed) {
  for (std::size_t i = 0; i < good_.size(); ++i) {
    std::vector<BYTE> flipped = good_;
    flipped[i] ^= 0x01;
    EXPECT_FALSE(Problem(flipped).empty()) << i;
  }
}

TEST_F(DamagedFile, MessagesSayWhatIsWrong) {
  std::vector<BYTE> magic = good_;
  magic[0] = 'Q';
  EXPECT_EQ(Problem(magic), "not a resource file");
  std::vector<BYTE> longer = good_;
  longer.push_back(0);
  EXPECT_NE(Problem(longer).find("its header says"), std::string::npos);
  std::vector<BYTE> checksum = good_;
  checksum.back() ^= 0xFF;
  EXPECT_NE(Problem(checksum).find("checksum"), std::string::npos);
  std::vector<BYTE> version = good_;
  version[4] = 9;
  EXPECT_NE(Problem(version).find("format 9"), std::string::npos);
}

TEST_F(DamagedFile, ChecksummedButInconsistentFilesAreRefused) {
  // Data beyond the end.
  std::vector<BYTE> outside = good_;
  PutU32(outside, 32 + 16, 0x7FFFFFF0u);
  SealResourceFile(outside);
  EXPECT_NE(Problem(outside).find("outside the file"), std::string::npos);
  // Misaligned data.
  std::vector<BYTE> misaligned = good_;
  PutU32(misaligned, 32 + 12, 0x61);
  SealResourceFile(misaligned);
  EXPECT_NE(Problem(misaligned).find("outside the file"), std::string::npos);
  // A name reference past the name pool.
  std::vector<BYTE> name = good_;
  PutU32(name, 32 + 24 + 4, 0x80000400u);
  SealResourceFile(name);
  EXPECT_NE(Problem(name).find("name pool"), std::string::npos);
  // An entry count larger than the file holds.
  std::vector<BYTE> count = good_;
  PutU32(count, 8, 0x10000000u);
  SealResourceFile(count);
  EXPECT_NE(Problem(count).find("directory"), std::string::npos);
  // Entries out of order.
  std::vector<BYTE> order = good_;
  std::swap_ranges(order.begin() + 32, order.begin() + 56, order.begin() + 56);
  SealResourceFile(order);
  EXPECT_NE(Problem(order).find("out of order"), std::string::npos);
  // A number above 16 bits.
  std::vector<BYTE> big = good_;
  PutU32(big, 32 + 4, 0x12345);
  SealResourceFile(big);
  EXPECT_FALSE(Problem(big).empty());
}

TEST_F(DamagedFile, MalformedTemplatesInsideAreNamed) {
  // A dialog whose one item is cut off.
  const std::vector<BYTE> dialog = Hex(
      "01 00 ff ff  00 00 00 00  00 00 00 00  00 00 00 80  01 00  00 00 00 00 0a 00 0a 00"
      " 00 00  00 00  00 00  00 00  00 00 00 00  00 00 00 00");
  std::vector<BYTE> file = Write({{ResourceId::Number(kDialog), ResourceId::Number(1264), 0x409, dialog}});
  EXPECT_NE(Problem(file).find("dialog 1264: dialog item 1 of 1 runs past the end"), std::string::npos)
      << Problem(file);
  // A string block whose third string claims more units than there are.
  std::vector<BYTE> strings = Hex("00 00  00 00  09 00 41 00");
  file = Write({{ResourceId::Number(kString), ResourceId::Number(1), 0x409, strings}});
  EXPECT_NE(Problem(file).find("string block 1"), std::string::npos) << Problem(file);
  // An icon directory naming an image that is not there.
  std::vector<BYTE> group = Hex("00 00 01 00 01 00  10 10 00 00 01 00 20 00 00 01 00 00 05 00");
  file = Write({{ResourceId::Number(kGroupIcon), ResourceId::Number(1287), 0x409, group}});
  EXPECT_NE(Problem(file).find("image 5 of the directory is missing"), std::string::npos) << Problem(file);
  // A menu without its last item.
  std::vector<BYTE> menu = Hex("00 00 00 00  00 00 64 00 41 00 00 00");
  file = Write({{ResourceId::Number(kMenu), ResourceId::Number(200), 0x409, menu}});
  EXPECT_NE(Problem(file).find("menu 200"), std::string::npos) << Problem(file);
  // A version record that does not start right.
  std::vector<BYTE> version = Hex("0a 00 00 00 00 00 41 00 00 00");
  file = Write({{ResourceId::Number(kVersion), ResourceId::Number(1), 0x409, version}});
  EXPECT_NE(Problem(file).find("VS_VERSION_INFO"), std::string::npos) << Problem(file);
}

}  // namespace
}  // namespace zx::res
