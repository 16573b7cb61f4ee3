// Reader of host hardware files, with the replaceable host folder tests use.
#include "zx/hostinfo.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>

namespace zx::host {
namespace {

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
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return text;
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
