// Helpers of the archive tests.
#include "archive_testing.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "zx/pathmap.h"

namespace zx::test {

std::string ArchiveTest::Host(LPCTSTR windowsPath) { return HostPath(windowsPath); }

CString ArchiveTest::PlaceFixture(const char* name, std::size_t keepBytes) {
  std::string bytes = ReadHostFile(std::string(ZX_ARCHIVES_DIR) + "/" + name);
  if (keepBytes < bytes.size()) bytes.resize(keepBytes);
  const CString path = CString(_T("C:\\pkg\\")) + CString(name);
  WriteHostFile(Host(path), bytes);
  return path;
}

std::set<std::string> ArchiveTest::FilesBelowRoot() const {
  std::set<std::string> files;
  namespace fs = std::filesystem;
  for (auto it = fs::recursive_directory_iterator(root()); it != fs::recursive_directory_iterator(); ++it) {
    if (it->is_symlink() || it->is_regular_file()) files.insert(fs::relative(it->path(), root()).string());
  }
  return files;
}

std::set<std::string> ArchiveTest::NewFilesBelow(const std::set<std::string>& before, LPCTSTR folder) const {
  namespace fs = std::filesystem;
  const std::string base = fs::relative(Host(folder), root()).string() + "/";
  std::set<std::string> written;
  for (const std::string& file : FilesBelowRoot()) {
    if (before.count(file) != 0) continue;
    written.insert(file.rfind(base, 0) == 0 ? file.substr(base.size()) : "OUTSIDE:" + file);
  }
  return written;
}

bool ArchiveTest::HaveTool(const char* program) {
  return Shell(std::string("command -v ") + program);
}

bool ArchiveTest::Shell(const std::string& command) {
  return std::system(("(" + command + ") >/dev/null 2>&1").c_str()) == 0;
}

std::map<std::string, std::string> ArchiveTest::Tree(const std::string& hostFolder) {
  namespace fs = std::filesystem;
  std::map<std::string, std::string> tree;
  for (auto it = fs::recursive_directory_iterator(hostFolder); it != fs::recursive_directory_iterator(); ++it) {
    const std::string relative = fs::relative(it->path(), hostFolder).string();
    if (it->is_symlink()) tree[relative] = "<link>";
    else if (it->is_directory()) tree[relative + "/"] = "";
    else tree[relative] = ReadHostFile(it->path().string());
  }
  return tree;
}

std::string ArchiveTest::WorkFolder(const std::string& name) const {
  const std::string folder = root() + "/work/" + name;
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder;
}

void SevenZipArchiveTest::SetUp() {
  ArchiveTest::SetUp();
  std::filesystem::create_directories(Host(kToolFolder));
  std::filesystem::create_directories(Host(_T("C:\\Tools\\extract")));
  // The programs the test starts find the same machine.
  setenv("ZX_MACHINE_ROOT", root().c_str(), 1);
}

void SevenZipArchiveTest::TearDown() { unsetenv("ZX_MACHINE_ROOT"); }

void SevenZipArchiveTest::UseSevenZip() const {
  std::filesystem::copy_file(ZX_SEVENZIP_PROGRAM, Host(_T("C:\\Tools\\extract\\7z.exe")));
}

}  // namespace zx::test
