// The 7-Zip stand-in: maps the machine's Windows paths among the arguments (a path argument,
// or the folder of an "-o" switch) to host paths and runs the host's 7-Zip with them. Its
// exit code is 7-Zip's.
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "stringapiset.h"
#include "zx/pathmap.h"

namespace {

constexpr char kSevenZip[] = "/usr/bin/7zz";

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

int main(int argc, char** argv) {
  std::vector<std::string> arguments{kSevenZip};
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    arguments.push_back(argument.rfind("-o", 0) == 0 ? "-o" + ToHost(argument.substr(2)) : ToHost(argument));
  }
  std::vector<char*> pointers;
  for (std::string& argument : arguments) pointers.push_back(argument.data());
  pointers.push_back(nullptr);
  execv(kSevenZip, pointers.data());
  std::perror(kSevenZip);
  return 2;
}
