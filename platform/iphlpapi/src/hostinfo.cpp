// Reader of host hardware files, with the replaceable host folder tests use.
#include "zx/hostinfo.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <mutex>

namespace zx::host {
namespace {

// Hardware description files are small; anything larger is not one.
constexpr std::size_t kMaxFileBytes = 16u << 20;

std::mutex g_lock;
std::string g_folder;

std::string HostPath(const std::string& linuxPath) {
  std::lock_guard<std::mutex> guard(g_lock);
  return g_folder + linuxPath;
}

}  // namespace

void UseHostFolder(const std::string& folder) {
  std::lock_guard<std::mutex> guard(g_lock);
  g_folder = folder;
}

std::optional<std::string> ReadText(const std::string& linuxPath) {
  const std::string path = HostPath(linuxPath);
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  // Kernel files may refuse the read itself (a link speed of a link that is down): that
  // file is unreadable, like one we may not open.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::string text;
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0 && text.size() + static_cast<std::size_t>(n) <= kMaxFileBytes) {
      text.append(buffer, static_cast<std::size_t>(n));
    } else if (n > 0) {
      ::close(fd);
      return std::nullopt;
    } else if (n == 0 || errno != EINTR) {
      ::close(fd);
      if (n < 0) return std::nullopt;
      return text;
    }
  }
}

std::optional<std::string> ReadLine(const std::string& linuxPath) {
  auto text = ReadText(linuxPath);
  if (!text) return std::nullopt;
  text->erase(std::min(text->find('\n'), text->size()));
  while (!text->empty() && (text->back() == ' ' || text->back() == '\t' || text->back() == '\r'))
    text->pop_back();
  return text;
}

std::vector<std::string> ListFolder(const std::string& linuxPath) {
  std::vector<std::string> names;
  std::error_code error;
  for (std::filesystem::directory_iterator it(HostPath(linuxPath), error), end; !error && it != end;
       it.increment(error))
    names.push_back(it->path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

bool Exists(const std::string& linuxPath) {
  std::error_code error;
  return std::filesystem::exists(HostPath(linuxPath), error);
}

}  // namespace zx::host
