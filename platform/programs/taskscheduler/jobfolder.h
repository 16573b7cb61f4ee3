// The jobs of the machine's Tasks folder as the job runner sees them: every "<name>.job" file
// read once and read again only when its size or time changes. The files are looked at when
// the folder has changed (every job written here replaces its file, which changes the folder)
// and at least every 10 s (for a file written in place), so a runner that looks every second
// mostly costs one look at the folder. A file that is not a job is reported once per change
// and skipped.
#pragma once
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "zx/jobfile.h"

namespace zx::taskscheduler {

struct KnownJob {
  std::u16string name;  // without ".job"
  std::int64_t modified = 0;
  std::uintmax_t size = 0;
  bool valid = false;
  taskschd::Job job;
};

class JobFolder {
 public:
  using Report = std::function<void(const std::string&)>;
  explicit JobFolder(Report report) : report_(std::move(report)) {}

  // Looks at the folder again: new and changed files are read, removed ones forgotten.
  void Refresh();
  // The jobs by host path, as of the last Refresh.
  const std::map<std::string, KnownJob>& Jobs() const { return jobs_; }

 private:
  // Reads the files of the folder again.
  void LookAtFiles();

  Report report_;
  std::map<std::string, KnownJob> jobs_;
  std::filesystem::file_time_type folderTime_{};
  std::uint64_t lastLookMs_ = 0;
  bool looked_ = false;
};

}  // namespace zx::taskscheduler
