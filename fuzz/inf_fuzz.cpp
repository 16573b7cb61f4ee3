// Fuzz target: hostile bytes as a driver package's INF file, read as the package installation
// reads it (its version, models, services and source files) and as the backup reads it for
// the files a package put on the machine. Reading must never crash; the source files named
// are plain names beside the INF, there is a service entry per model, and every file the
// backup would take is a path of drive C: (relative below an unknown folder id) without "."
// or ".." steps.
// Links: zephrinkx_core
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "../platform/setupapi/src/difx_inf.h"
#include "DriverPackageFiles.h"
#include "fuzz_support.h"

namespace {

constexpr std::size_t kLongest = 16384;

// A full path of drive C:, or (below a folder the INF names by an id the system does not
// know) a relative one, in either case without empty, "." or ".." steps.
bool CleanPath(const CString& path) {
  const bool full = path.GetLength() >= 3 && path.Left(3).CompareNoCase(_T("C:\\")) == 0;
  const CString steps = _T("\\") + (full ? path.Mid(3) : path) + _T("\\");
  return steps.GetLength() > 2 && steps.Find(_T("\\..\\")) < 0 && steps.Find(_T("\\.\\")) < 0 &&
         steps.Find(_T("\\\\")) < 0 && steps.FindOneOf(_T("/:")) < 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Each file listed is looked up by reading the INF again: longer files only cost time.
  if (size > kLongest) return 0;
  zx::fuzz::ScratchRoot();
  const std::string host = zx::machine::DriveCFolder() + "/Windows/inf/oem1.inf";
  zx::fuzz::WriteHostFile(host, data, size);

  zx::devices::InfPackage package;
  CString section = _T("Install.NT");
  if (zx::devices::ReadInfPackage(host, package) == 0) {
    if (package.services.size() != package.models.size()) std::abort();
    for (const std::u16string& name : package.sourceFiles) {
      if (name.empty() || name == u"." || name == u".." || name.find_first_of(u"\\/:") != std::u16string::npos)
        std::abort();
    }
    if (!package.models.empty()) section = package.models.front().section.c_str();
  }

  CInfPackageFiles files(_T("C:\\Windows"));
  files.CollectInfPackageFiles(section, CString(), _T("oem1.inf"));
  for (INT_PTR i = 0; i < files.GetFiles().GetSize(); ++i)
    if (!CleanPath(files.GetFiles()[i])) std::abort();
  return 0;
}
