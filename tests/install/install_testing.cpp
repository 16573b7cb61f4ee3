// The install tests' fixture: texts beside the shared library, message boxes collected.
#include "install_testing.h"

#include <winuser.h>

#include <cstdio>
#include <filesystem>

#include "zx/machine.h"

namespace zx::test {
namespace {

constexpr const char* kTextFiles[] = {"qvx.ini", "client.ini", "lang.lng"};

constexpr char kTexts[] =
    "[QVX]\r\n"
    "IDS_FILESIE_GB=%.2f GB\r\n"
    "IDS_FILESIE_MB=%.2f MB\r\n"
    "IDS_FILESIE_KB=%.10f KB\r\n"
    "IDS_BYTES=%I64d bytes\r\n"
    "IDS_DOWLOADED_OF=Downloaded %s of %s\r\n"
    "IDS_DOWNLOAD_DLL_NOTFOUND=%s cannot find its download library.\r\n"
    "IDS_HTTPDOWNLOAD_ERROR_READFILE=The download could not be read.\r\n";

}  // namespace

void InstallTest::SetUp() {
  MachineTest::SetUp();
  folder_ = zx::machine::ProgramFolder();
  for (const char* name : kTextFiles) std::remove((folder_ + "/" + name).c_str());
  WriteHostFile(folder_ + "/lang.lng", "[LANGUAGE]\r\n[ENGLISH]\r\n");
  WriteHostFile(folder_ + "/qvx.ini", kTexts);
  previous_ = zx::user::SetMessageBoxResponder([this](const zx::user::MessageBoxCall& call) {
    boxes_.push_back(call.text);
    return IDOK;
  });
}

void InstallTest::TearDown() {
  zx::user::SetMessageBoxResponder(previous_);
  for (const char* name : kTextFiles) std::remove((folder_ + "/" + name).c_str());
}

bool InstallTest::HostFileExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

}  // namespace zx::test
