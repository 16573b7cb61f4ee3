// Windows paths among the 7-Zip stand-in's arguments mapped to host paths.
#include "arguments.h"

#include "stringapiset.h"
#include "zx/pathmap.h"

namespace zx::sevenzip {
namespace {

bool IsWindowsPath(const std::string& text) {
  return text.size() >= 3 && text[1] == ':' && (text[2] == '\\' || text[2] == '/');
}

// The host path of a Windows path given as UTF-8; the text itself when it is none.
std::string ToHost(const std::string& text) {
  if (!IsWindowsPath(text)) return text;
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::u16string wide(static_cast<std::size_t>(length), u'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  std::string host;
  return zx::path::WindowsToHost(wide, host) ? host : text;
}

}  // namespace

std::vector<std::string> HostArguments(const std::string& program, const std::vector<std::string>& arguments) {
  std::vector<std::string> mapped{program};
  for (const std::string& argument : arguments)
    mapped.push_back(argument.rfind("-o", 0) == 0 ? "-o" + ToHost(argument.substr(2)) : ToHost(argument));
  return mapped;
}

}  // namespace zx::sevenzip
