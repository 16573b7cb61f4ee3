// The job files of the Tasks folder, read again only when they change.
#include "jobfolder.h"

#include <cstdio>
#include <filesystem>

#include "sysinfoapi.h"
#include "zx/casefold.h"
#include "zx/pathmap.h"
#include "zx/processes.h"

namespace zx::taskscheduler {
namespace fs = std::filesystem;

namespace {

// "Name" of ".../Name.job"; empty for any other file.
std::u16string JobName(const fs::path& path) {
  std::u16string name = path::HostToWindows(path.string());
  name.erase(0, name.find_last_of(u'\\') + 1);
  if (name.size() <= 4 || !EqualNoCase(name.c_str() + name.size() - 4, u".job")) return {};
  name.resize(name.size() - 4);
  return taskschd::PlainName(name) ? name : std::u16string();
}

}  // namespace

void JobFolder::Refresh() {
  constexpr std::uint64_t kLookAtFilesMs = 10000;
  std::error_code error;
  const fs::file_time_type folderTime = fs::last_write_time(taskschd::TasksFolder(), error);
  const std::uint64_t nowMs = GetTickCount64();
  if (looked_ && !error && folderTime == folderTime_ && nowMs - lastLookMs_ < kLookAtFilesMs) return;
  looked_ = true;
  folderTime_ = folderTime;
  lastLookMs_ = nowMs;
  LookAtFiles();
}

void JobFolder::LookAtFiles() {
  std::map<std::string, KnownJob> seen;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(taskschd::TasksFolder(), error)) {
    std::error_code statError;
    if (!entry.is_regular_file(statError)) continue;
    const std::u16string name = JobName(entry.path());
    if (name.empty()) continue;
    const std::string host = entry.path().string();
    const std::int64_t modified = entry.last_write_time(statError).time_since_epoch().count();
    const std::uintmax_t size = entry.file_size(statError);
    if (statError) continue;
    const auto known = jobs_.find(host);
    if (known != jobs_.end() && known->second.modified == modified && known->second.size == size) {
      seen.emplace(host, std::move(known->second));
      continue;
    }
    KnownJob job;
    job.name = name;
    job.modified = modified;
    job.size = size;
    std::vector<std::uint8_t> bytes;
    const HRESULT parsed = taskschd::ReadWholeFile(host, bytes) ? taskschd::ParseJob(bytes, job.job) : E_FAIL;
    job.valid = SUCCEEDED(parsed);
    if (!job.valid) {
      char code[16];
      std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(parsed));
      report_(process::Utf8(path::HostToWindows(host)) + ": not a readable job (" + code + "), skipped");
    }
    seen.emplace(host, std::move(job));
  }
  jobs_ = std::move(seen);
}

}  // namespace zx::taskscheduler
