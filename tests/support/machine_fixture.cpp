// Test support: temporary folders and a fresh machine root per test.
#include "machine_fixture.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "profileapi.h"
#include "zx/machine.h"
#include "zx/pathmap.h"

namespace zx::test {

std::string HostPath(const char16_t* windowsPath) {
  std::string host;
  if (windowsPath != nullptr) zx::path::WindowsToHost(windowsPath, host);
  return host;
}

void SetMachineValue(const std::string& root, const std::string& section, const std::string& key,
                     const std::string& value) {
  const std::u16string ini = zx::path::HostToWindows(root + "/machine.ini");
  const std::u16string s(section.begin(), section.end()), k(key.begin(), key.end()), v(value.begin(), value.end());
  ASSERT_TRUE(WritePrivateProfileStringW(s.c_str(), k.c_str(), v.c_str(), ini.c_str()));
}

TempFolder::TempFolder(Storage storage) {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp");
  if (storage == Storage::kMemory && ::access("/dev/shm", W_OK | X_OK) == 0) pattern = "/dev/shm";
  pattern += "/zxtest-XXXXXX";
  if (char* made = ::mkdtemp(pattern.data())) path_ = made;
}

TempFolder::~TempFolder() {
  std::error_code ec;
  if (!path_.empty()) std::filesystem::remove_all(path_, ec);
}

void MachineTest::SetUp() {
  ASSERT_FALSE(folder_.path().empty());
  zx::machine::UseRoot(folder_.path());
}

void MachineTest::TearDown() {
  const char* kept = std::getenv("ZX_FAILED_ROOTS");
  if (!HasFailure() || kept == nullptr || *kept == 0 || root().empty()) return;
  const ::testing::TestInfo& test = *::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(test.test_suite_name()) + "." + test.name();
  for (char& ch : name)
    if (ch == '/') ch = '_';
  // Folders and plain files only: the window channel's sockets stay behind.
  namespace fs = std::filesystem;
  const fs::path into = fs::path(kept) / name;
  std::error_code ec;
  fs::create_directories(into, ec);
  for (auto at = fs::recursive_directory_iterator(root(), ec); !ec && at != fs::recursive_directory_iterator();
       at.increment(ec)) {
    const fs::path target = into / fs::relative(at->path(), root());
    if (at->is_directory()) fs::create_directories(target, ec);
    else if (at->is_regular_file()) fs::copy_file(at->path(), target, fs::copy_options::overwrite_existing, ec);
    ec.clear();
  }
}

void MachineTest::WriteHostFile(const std::string& path, const std::string& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::string MachineTest::ReadHostFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string MachineTest::FindInRoot(const char* name) const {
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root()))
    if (entry.path().filename() == name) return ReadHostFile(entry.path().string());
  return "";
}

}  // namespace zx::test
