// The jobs of the machine's Tasks folder as the job runner sees them: every "<name>.job" file
// read once and read again only when its size or time changes, so a runner that looks every
// second costs one listing and a look at each file's metadata. A file that is not a job is
// reported once per change and skipped.
#pragma once
#include <cstdint>
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
  Report report_;
  std::map<std::string, KnownJob> jobs_;
};

}  // namespace zx::taskscheduler
