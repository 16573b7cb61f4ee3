// Whole files of the Task Scheduler store: read at once, written through a temporary file of
// the same folder that is renamed over the target.
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "zx/jobfile.h"

namespace zx::taskschd {
namespace {

HRESULT ErrorOf(int error) {
  switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
      return HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
    case ENOSPC:
    case EDQUOT:
      return HRESULT_FROM_WIN32(ERROR_DISK_FULL);
    default:
      return HRESULT_FROM_WIN32(ERROR_WRITE_FAULT);
  }
}

// A name no other writer of this process or another one picks at the same time.
std::string TemporaryPath(const std::filesystem::path& target) {
  static std::atomic<unsigned> counter{0};
  return (target.parent_path() / ("." + target.filename().string() + "." + std::to_string(::getpid()) + "." +
                                  std::to_string(++counter) + ".tmp"))
      .string();
}

}  // namespace

bool ReadWholeFile(const std::string& hostPath, std::vector<std::uint8_t>& bytes) {
  std::ifstream in(hostPath, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

HRESULT WriteFileAtomically(const std::string& hostPath, const std::vector<std::uint8_t>& bytes) {
  const std::filesystem::path target(hostPath);
  std::error_code error;
  std::filesystem::create_directories(target.parent_path(), error);
  if (error) return ErrorOf(error.value());
  const std::string temporary = TemporaryPath(target);
  const int file = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (file < 0) return ErrorOf(errno);
  std::size_t done = 0;
  int failure = 0;
  while (done < bytes.size() && failure == 0) {
    const ssize_t written = ::write(file, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno != EINTR) failure = errno;
    if (written > 0) done += static_cast<std::size_t>(written);
  }
  if (failure == 0 && ::fsync(file) != 0) failure = errno;
  if (::close(file) != 0 && failure == 0) failure = errno;
  if (failure == 0 && ::rename(temporary.c_str(), hostPath.c_str()) != 0) failure = errno;
  if (failure == 0) return S_OK;
  ::unlink(temporary.c_str());
  return ErrorOf(failure);
}

}  // namespace zx::taskschd
