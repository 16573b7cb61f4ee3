// Helpers of the archive tests.
#include "archive_testing.h"

#include <filesystem>
#include <fstream>

#include "zx/pathmap.h"

namespace zx::test {

std::string ArchiveTest::Host(LPCTSTR windowsPath) {
  std::string host;
  const CString path(windowsPath);
  zx::path::WindowsToHost(std::u16string_view(path.GetString(), path.GetLength()), host);
  return host;
}

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

}  // namespace zx::test
