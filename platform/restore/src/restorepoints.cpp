// Restore points: the record file of the machine root and SRSetRestorePointW /
// SRRemoveRestorePoint over it.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <limits>
#include <sstream>

#include "srrestoreptapi.h"
#include "stringapiset.h"
#include "zx/clock.h"
#include "zx/machine.h"
#include "zx/restorepoints.h"

namespace zx::restore {
namespace {

constexpr std::uint64_t kDayIn100ns = 24ull * 3600 * 10000000;

std::string Folder() { return machine::Root() + "/restore"; }

// Control characters (which would break the line format) are written as blanks.
std::string Utf8(std::u16string text) {
  std::replace_if(text.begin(), text.end(), [](char16_t c) { return c < u' '; }, u' ');
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(std::max(size, 0)), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

std::u16string Utf16(const std::string& text) {
  const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::u16string out(static_cast<std::size_t>(std::max(size, 0)), u'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
  return out;
}

std::vector<RestorePoint> Read() {
  std::vector<RestorePoint> points;
  std::ifstream in(Folder() + "/points.txt");
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string sequence, state, type, created, description;
    if (!std::getline(fields, sequence, '\t') || !std::getline(fields, state, '\t') ||
        !std::getline(fields, type, '\t') || !std::getline(fields, created, '\t'))
      continue;
    std::getline(fields, description);
    try {
      points.push_back({std::stoll(sequence), state == "complete", static_cast<DWORD>(std::stoul(type)),
                        std::stoull(created), Utf16(description)});
    } catch (const std::exception&) {
    }
  }
  std::sort(points.begin(), points.end(), [](const auto& a, const auto& b) { return a.sequence < b.sequence; });
  return points;
}

bool Write(const std::vector<RestorePoint>& points) {
  const std::string temporary = Folder() + "/points.txt.new";
  {
    std::ofstream out(temporary, std::ios::trunc);
    for (const RestorePoint& point : points) {
      out << point.sequence << '\t' << (point.complete ? "complete" : "begun") << '\t' << point.type
          << '\t' << point.created << '\t' << Utf8(point.description) << '\n';
    }
    out.flush();
    if (!out) return false;
  }
  return ::rename(temporary.c_str(), (Folder() + "/points.txt").c_str()) == 0;
}

// Holds the store's lock between processes while it lives.
class StoreLock {
 public:
  StoreLock() {
    ::mkdir(Folder().c_str(), 0755);
    fd_ = ::open((Folder() + "/points.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ >= 0) ::flock(fd_, LOCK_EX);
  }
  ~StoreLock() {
    if (fd_ >= 0) ::close(fd_);
  }
  StoreLock(const StoreLock&) = delete;
  StoreLock& operator=(const StoreLock&) = delete;
  bool Held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

bool Disabled() { return machine::ProfileValue("SystemRestore", "Disabled", "0") == "1"; }

BOOL Fail(PSTATEMGRSTATUS status, DWORD error) {
  if (status) status->nStatus = error;
  return FALSE;
}

}  // namespace

std::vector<RestorePoint> ListRestorePoints() {
  StoreLock lock;
  return Read();
}

}  // namespace zx::restore

using namespace zx::restore;

BOOL SRSetRestorePointW(PRESTOREPOINTINFOW restorePoint, PSTATEMGRSTATUS status) {
  if (!restorePoint || !status) return Fail(status, ERROR_INVALID_PARAMETER);
  const WCHAR* end = std::find(restorePoint->szDescription, restorePoint->szDescription + MAX_DESC_W, u'\0');
  if (end == restorePoint->szDescription + MAX_DESC_W ||
      (restorePoint->dwEventType != BEGIN_SYSTEM_CHANGE && restorePoint->dwEventType != END_SYSTEM_CHANGE))
    return Fail(status, ERROR_INVALID_PARAMETER);
  if (Disabled()) return Fail(status, ERROR_SERVICE_DISABLED);
  StoreLock lock;
  if (!lock.Held()) return Fail(status, ERROR_WRITE_FAULT);
  std::vector<RestorePoint> points = Read();
  const std::uint64_t now = zx::CurrentClock().WallTime();
  status->llSequenceNumber = 0;
  if (restorePoint->dwEventType == BEGIN_SYSTEM_CHANGE) {
    const auto recent = std::find_if(points.rbegin(), points.rend(), [&](const RestorePoint& p) {
      return p.created <= now && now - p.created < kDayIn100ns;
    });
    if (recent != points.rend()) {
      status->nStatus = ERROR_SUCCESS;
      status->llSequenceNumber = recent->sequence;
      return TRUE;
    }
    // The records are a file anyone can edit: the last point may already hold the highest
    // number there is, and then no point can follow it.
    if (!points.empty() && points.back().sequence == std::numeric_limits<std::int64_t>::max())
      return Fail(status, ERROR_INVALID_DATA);
    RestorePoint point;
    point.sequence = points.empty() ? 1 : points.back().sequence + 1;
    point.type = restorePoint->dwRestorePtType;
    point.created = now;
    point.description.assign(static_cast<const WCHAR*>(restorePoint->szDescription), end);
    points.push_back(point);
    if (!Write(points)) return Fail(status, ERROR_WRITE_FAULT);
    status->nStatus = ERROR_SUCCESS;
    status->llSequenceNumber = point.sequence;
    return TRUE;
  }
  const auto found = std::find_if(points.begin(), points.end(), [&](const RestorePoint& p) {
    return p.sequence == restorePoint->llSequenceNumber;
  });
  if (found == points.end()) return Fail(status, ERROR_INVALID_DATA);
  status->llSequenceNumber = found->sequence;
  status->nStatus = ERROR_SUCCESS;
  if (found->complete) return TRUE;  // a point made earlier: the end of a skipped begin
  if (restorePoint->dwRestorePtType == CANCELLED_OPERATION) {
    points.erase(found);
  } else {
    found->complete = true;
  }
  return Write(points) ? TRUE : Fail(status, ERROR_WRITE_FAULT);
}

DWORD SRRemoveRestorePoint(DWORD sequenceNumber) {
  if (Disabled()) return ERROR_SERVICE_DISABLED;
  StoreLock lock;
  std::vector<RestorePoint> points = Read();
  const auto removed = std::erase_if(points, [&](const RestorePoint& p) { return p.sequence == sequenceNumber; });
  if (removed == 0) return ERROR_INVALID_DATA;
  return Write(points) ? ERROR_SUCCESS : ERROR_WRITE_FAULT;
}
