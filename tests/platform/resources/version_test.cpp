// Version records of the system's own modules, read from the resource file beside the
// module file (the version API answers them for files that are no PE images).
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "errhandlingapi.h"
#include "libloaderapi.h"
#include "machine_fixture.h"
#include "winresource.h"
#include "zx/pathmap.h"
#include "zx/resmodule.h"

namespace zx::test {
namespace {

std::string ProgramFile() {
  WCHAR name[1024];
  const DWORD length = GetModuleFileNameW(nullptr, name, 1024);
  std::string host;
  EXPECT_TRUE(zx::path::WindowsToHost(std::u16string_view(name, length), host));
  return host;
}

DWORD At32(const std::vector<BYTE>& bytes, std::size_t at) {
  DWORD v;
  std::memcpy(&v, bytes.data() + at, 4);
  return v;
}

bool Holds(const std::vector<BYTE>& bytes, const std::u16string& text) {
  const auto* units = reinterpret_cast<const BYTE*>(text.data());
  return std::search(bytes.begin(), bytes.end(), units, units + text.size() * 2) != bytes.end();
}

TEST(ModuleVersion, RecordOfTheProgram) {
  std::vector<BYTE> record;
  ASSERT_TRUE(zx::res::ModuleVersionRecord(ProgramFile(), record)) << GetLastError();
  ASSERT_GT(record.size(), 92u);
  EXPECT_EQ(record[0] | (record[1] << 8), static_cast<int>(record.size()));  // the root's length
  EXPECT_EQ(record[2], 52);  // the fixed information follows the key
  EXPECT_TRUE(Holds(record, u"VS_VERSION_INFO"));
  EXPECT_EQ(At32(record, 40), 0xFEEF04BDu);
  EXPECT_EQ(At32(record, 48), 0x00060001u);  // file version 6.1
  EXPECT_EQ(At32(record, 52), 0x0000000Cu);  // .0.12
  EXPECT_EQ(At32(record, 76), 1u);           // VFT_APP
  EXPECT_TRUE(Holds(record, u"Zephrin Software"));
  EXPECT_TRUE(Holds(record, u"040904b0"));
}

TEST(ModuleVersion, TheModuleFileNeedNotExistOnlyItsResources) {
  std::vector<BYTE> viaDll;
  const std::string program = ProgramFile();
  ASSERT_TRUE(zx::res::ModuleVersionRecord(program + ".dll", viaDll));
  std::vector<BYTE> direct;
  ASSERT_TRUE(zx::res::ModuleVersionRecord(program, direct));
  EXPECT_EQ(viaDll, direct);
}

class ModuleVersionFiles : public MachineTest {};

TEST_F(ModuleVersionFiles, MissingRecordsAndFiles) {
  std::vector<BYTE> record;
  SetLastError(0);
  EXPECT_FALSE(zx::res::ModuleVersionRecord(root() + "/absent.so", record));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_DATA_NOT_FOUND));
  std::vector<BYTE> file;
  std::string error;
  ASSERT_TRUE(zx::res::WriteResourceFile(
      {{zx::res::ResourceId::Number(zx::res::kRcData), zx::res::ResourceId::Number(1), 0x409, {1}}},
      file, error));
  WriteHostFile(root() + "/plain.res", std::string(file.begin(), file.end()));
  EXPECT_FALSE(zx::res::ModuleVersionRecord(root() + "/plain.so", record));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND));
  EXPECT_TRUE(record.empty());
}

}  // namespace
}  // namespace zx::test
